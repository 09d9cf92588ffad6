#include "platform/posix/EntryOps.h"
#include "platform/posix/FileIO.h"
#include "platform/posix/Faults.h"
#include "platform/posix/PathCodec.h"
#include "support/TempTree.h"
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

namespace posix = plat::posix;

TEST(EntryOps, FailuresNameTheCallAndThePath)
{
    test::TempTree t;
    const QString dir = t.path("made");
    EXPECT_FALSE(posix::makeDir(dir, 0700));
    EXPECT_TRUE(posix::entryExists(dir));
    const struct {
        const char* label;
        posix::SysError error;
        int code;
        const char* op;
        QString path;
    } cases[] = {
        {"folder twice", posix::makeDir(dir, 0700), EEXIST, "mkdir", dir},
        {"file over a folder", posix::createEmptyFile(dir, 0644), EEXIST, "open", dir},
        {"remove missing", posix::removeFile(t.path("missing")), ENOENT, "unlink", t.path("missing")},
        {"rename missing", posix::renameOver(t.path("missing"), t.path("x")), ENOENT, "rename", t.path("missing")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.code, c.code) << c.label;
        EXPECT_EQ(c.error.op, QLatin1String(c.op)) << c.label;
        EXPECT_EQ(c.error.path, c.path) << c.label;
    }
    EXPECT_FALSE(posix::entryExists(t.path("missing")));
    EXPECT_EQ(errno, ENOENT);
}

TEST(EntryOps, CreateRenameRemove)
{
    test::TempTree t;
    const QString a = t.path("a");
    EXPECT_FALSE(posix::createEmptyFile(a, 0644));
    EXPECT_EQ(QFile(a).size(), 0);
    // A link in the new name's place is never written through.
    t.link("link", t.path("target"));
    EXPECT_EQ(posix::createEmptyFile(t.path("link"), 0644).code, EEXIST);
    EXPECT_FALSE(posix::entryExists(t.path("target")));

    const QString b = t.file("b", QByteArray("old"));
    EXPECT_FALSE(posix::renameOver(a, b));   // replaces
    EXPECT_FALSE(posix::entryExists(a));
    EXPECT_EQ(QFile(b).size(), 0);
    EXPECT_FALSE(posix::removeFile(b));
    EXPECT_FALSE(posix::entryExists(b));
    EXPECT_TRUE(posix::mayWrite(t.root()));
}

TEST(FileIO, RegularFilesOnlyAndInjectedWriteFailures)
{
    test::TempTree t;
    const QString f = t.file("ten", QByteArray("0123456789"));
    qint64 size = -1;
    posix::SysError error;
    const posix::Fd in = posix::openRegularFile(f, &size, &error);
    ASSERT_TRUE(in.valid());
    EXPECT_EQ(size, 10);
    char buf[16];
    EXPECT_EQ(posix::readFull(in.get(), buf, 16), 10);
    EXPECT_EQ(posix::seekFile(in.get(), 4, SEEK_SET), 4);
    EXPECT_EQ(posix::readSome(in.get(), buf, 2), 2);
    EXPECT_EQ(QByteArray(buf, 2), "45");
    EXPECT_EQ(::fcntl(in.get(), F_GETFL) & O_NONBLOCK, 0);   // blocking reads once it is known to be a file

    // With O_NOFOLLOW a link is refused; the descriptor's own stat is handed out.
    t.link("to-ten", f);
    EXPECT_FALSE(posix::openRegularFileAt(AT_FDCWD, posix::encodePath(t.path("to-ten")).constData(), nullptr, O_NOFOLLOW)
                     .valid());
    EXPECT_EQ(errno, ELOOP);
    struct stat st {};
    EXPECT_TRUE(posix::openRegularFileAt(AT_FDCWD, posix::encodePath(f).constData(), nullptr, O_NOFOLLOW, &st).valid());
    EXPECT_EQ(st.st_size, 10);

    const struct {
        QString path;
        int code;
    } refused[] = {{t.dir("folder"), EISDIR}, {t.fifo("pipe"), EINVAL}, {t.path("missing"), ENOENT}};
    for (const auto& c : refused) {
        EXPECT_FALSE(posix::openRegularFile(c.path, nullptr, &error).valid()) << c.path.toStdString();
        EXPECT_EQ(error.code, c.code) << c.path.toStdString();
        EXPECT_EQ(error.op, QLatin1String("open"));
        EXPECT_EQ(error.path, c.path);
    }

    const QString out = t.path("out");
    posix::Fd w = posix::openPath(out, O_WRONLY | O_CREAT, 0644);
    ASSERT_TRUE(w.valid());
    {
        const posix::faults::Scoped full(posix::faults::Op::Write, out, ENOSPC);
        EXPECT_EQ(posix::writeAll(w.get(), QByteArray("abc")), ENOSPC);
    }
    EXPECT_EQ(posix::writeAll(w.get(), QByteArray("abc")), 0);
    EXPECT_EQ(w.close(), 0);
    EXPECT_EQ(QFile(out).size(), 3);
}

} // namespace
