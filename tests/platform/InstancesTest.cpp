#include "platform/LocalInstances.h"
#include "platform/PrivateDir.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void pumpUntil(const std::function<bool()>& done, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

TEST(LocalInstances, TenSlotsThenRefusalAndAFreedSlotIsTakenAgain)
{
    std::vector<std::unique_ptr<plat::LocalInstances>> running;
    for (int n = 1; n <= 10; ++n) {
        running.push_back(std::make_unique<plat::LocalInstances>());
        EXPECT_EQ(running.back()->takeSlot(), n);
    }
    plat::LocalInstances eleventh;
    EXPECT_EQ(eleventh.takeSlot(), 0);
    EXPECT_TRUE(eleventh.slotTaken(3));

    running[2]->release();
    EXPECT_FALSE(eleventh.slotTaken(3));
    EXPECT_EQ(eleventh.takeSlot(), 3);
}

TEST(LocalInstances, StaleSocketFileOfACrashedInstanceDoesNotBlockItsSlot)
{
    // A socket file nobody listens on, as a killed instance leaves it.
    const QString path = plat::LocalInstances::socketPath(1);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    plat::LocalInstances inst;
    EXPECT_EQ(inst.takeSlot(), 1);
}

TEST(LocalInstances, PostedMessagesReachEveryInstanceIncludingTheSender)
{
    plat::LocalInstances a, b;
    ASSERT_EQ(a.takeSlot(), 1);
    ASSERT_EQ(b.takeSlot(), 2);
    std::vector<int> gotA, gotB;
    a.onMessage = [&](int m) { gotA.push_back(m); };
    b.onMessage = [&](int m) { gotB.push_back(m); };
    a.post(plat::WM_TREE_SUSPEND);
    a.post(plat::WM_TREE_RESUME);
    pumpUntil([&] { return gotA.size() == 2 && gotB.size() == 2; });
    EXPECT_EQ(gotA, (std::vector<int>{5125, 5126}));
    EXPECT_EQ(gotB, (std::vector<int>{5125, 5126}));
}

TEST(PrivateDir, IsAPrivateFolderUnderTheCacheHome)
{
    const QString dir = plat::privateDir();
    ASSERT_FALSE(dir.isEmpty());
    EXPECT_EQ(dir, qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/orvo/"));
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(dir).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(PrivateDir, RefusesALinkedFolderAndLinkedListFiles)
{
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    const QString victim = cache + QStringLiteral("/victim");
    QDir().mkpath(victim);
    ASSERT_FALSE(plat::privateDir().isEmpty());
    // A list file that is a link is never opened.
    const QString linkName = plat::privateDir() + QStringLiteral("linked.txt");
    ASSERT_EQ(::symlink(QFile::encodeName(victim + QStringLiteral("/x")).constData(),
                        QFile::encodeName(linkName).constData()), 0);
    EXPECT_EQ(plat::openPrivateFile(QStringLiteral("linked.txt"), O_WRONLY | O_CREAT), -1);
    EXPECT_FALSE(QFileInfo::exists(victim + QStringLiteral("/x")));
    ::unlink(QFile::encodeName(linkName).constData());

    // The folder itself replaced by a link: refused.
    const QString saved = cache + QStringLiteral("/orvo.saved");
    ASSERT_TRUE(QDir().rename(cache + QStringLiteral("/orvo"), saved));
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(),
                        QFile::encodeName(cache + QStringLiteral("/orvo")).constData()), 0);
    EXPECT_TRUE(plat::privateDir().isEmpty());
    ::unlink(QFile::encodeName(cache + QStringLiteral("/orvo")).constData());
    ASSERT_TRUE(QDir().rename(saved, cache + QStringLiteral("/orvo")));
}
