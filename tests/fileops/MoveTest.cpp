// Moving: a rename within one file system; across file systems a whole copy before the source goes.
#include "FileOpsHelpers.h"
#include "platform/posix/Faults.h"
#include <sys/xattr.h>
#include <QStorageInfo>

using namespace fotest;
using fileops::FO_MOVE;

namespace {

TEST(Move, WithinOneFileSystemIsARename)
{
    test::TempTree t;
    t.file("src/big", 1 << 20, 'b');
    t.file("src/d/inner", QByteArray("i"));
    t.dir("dst");
    const ino_t fileIno = lstatOf(t.path("src/big")).st_ino;
    const ino_t dirIno = lstatOf(t.path("src/d")).st_ino;
    HookGuard guard;
    int copied = 0;
    fileops::FileOpHooks::copyFault = [&](const QString&, qint64) { ++copied; return 0; };
    fileops::SilentPrompter ui;
    EXPECT_TRUE(run(FO_MOVE, kCopyFlags, {t.path("src/big"), t.path("src/d")}, {t.path("dst/big"), t.path("dst/d")}, ui)
                    .success());
    EXPECT_EQ(copied, 0);
    EXPECT_EQ(lstatOf(t.path("dst/big")).st_ino, fileIno);
    EXPECT_EQ(lstatOf(t.path("dst/d")).st_ino, dirIno);
    EXPECT_FALSE(exists(t.path("src/big")));
    EXPECT_FALSE(exists(t.path("src/d")));
}

TEST(Move, OntoItselfOrIntoItsOwnSubtreeChangesNothing)
{
    test::TempTree t;
    t.file("real/f", QByteArray("f"));
    t.dir("real/sub");
    t.link("alias", t.path("real"));
    const QStringList before = snapshot(t.path("real"));
    test::RecordingPrompter ui;
    EXPECT_TRUE(run(FO_MOVE, kRenameFlags, {t.path("real/f")}, {t.path("alias/f")}, ui).success());
    EXPECT_FALSE(run(FO_MOVE, kRenameFlags, {t.path("real")}, {t.path("alias/sub/real")}, ui).ok);
    EXPECT_EQ(snapshot(t.path("real")), before);
    EXPECT_EQ(ui.callsOf("error").size(), 1u);
}

TEST(Move, ReplacingAFileIsOneAtomicRename)
{
    test::TempTree t;
    t.file("src/a", QByteArray("new"));
    t.file("dst/a", QByteArray("old"));
    const struct stat before = lstatOf(t.path("src/a"));
    test::RecordingPrompter ui;
    ui.answer(Prompt::Yes);
    EXPECT_TRUE(run(FO_MOVE, kCopyFlags, {t.path("src/a")}, {t.path("dst/a")}, ui).success());
    EXPECT_EQ(readAll(t.path("dst/a")), QByteArray("new"));
    EXPECT_FALSE(exists(t.path("src/a")));
    // The moved file itself, not a copy of it: same inode on the same device.
    const struct stat after = lstatOf(t.path("dst/a"));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_dev, before.st_dev);
}

TEST(Move, MergingFoldersRemovesTheSourceOnlyWhenEverythingMoved)
{
    test::TempTree t;
    t.file("src/d/a", QByteArray("new a"));
    t.file("src/d/b", QByteArray("b"));
    t.file("dst/d/a", QByteArray("old a"));
    test::RecordingPrompter ui;
    ui.answer(Prompt::No);
    EXPECT_FALSE(run(FO_MOVE, kCopyFlags, {t.path("src/d")}, {t.path("dst/d")}, ui).success());
    EXPECT_EQ(readAll(t.path("src/d/a")), QByteArray("new a"));   // declined: stays at the source
    EXPECT_EQ(readAll(t.path("dst/d/a")), QByteArray("old a"));
    EXPECT_EQ(readAll(t.path("dst/d/b")), QByteArray("b"));
    EXPECT_FALSE(exists(t.path("src/d/b")));
}

// Moves across file systems, forced through the copy path, and on a real second file system when there is one.
class CrossDevice : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            other.reset(new QTemporaryDir(QStringLiteral("/dev/shm/orvo-move-XXXXXX")));
            if (!other->isValid() || lstatOf(other->path()).st_dev == lstatOf(t.root()).st_dev)
                GTEST_SKIP() << "no second file system";
            targetRoot = other->path() + u'/';
        } else {
            fileops::FileOpHooks::forceCrossDevice = true;
            targetRoot = t.path("dst/");
            t.dir("dst");
        }
    }
    test::TempTree t;
    std::unique_ptr<QTemporaryDir> other;
    QString targetRoot;
    HookGuard guard;
};

TEST_P(CrossDevice, CopiesEverythingThenRemovesTheSource)
{
    t.file("src/tree/a", QByteArray("alpha"));
    t.file("src/tree/sub/b", 200000, 'b');
    t.link("src/tree/link", "a");
    t.link("src/tree/out", t.path("outside"));
    t.file("outside/keep", QByteArray("keep"));
    const QStringList before = snapshot(t.path("src/tree"));
    fileops::SilentPrompter ui;
    EXPECT_TRUE(run(FO_MOVE, kCopyFlags, {t.path("src/tree")}, {targetRoot + "tree"}, ui).success());
    EXPECT_EQ(snapshot(targetRoot + "tree"), before);
    EXPECT_FALSE(exists(t.path("src/tree")));
    EXPECT_EQ(readAll(t.path("outside/keep")), QByteArray("keep"));   // the link went, not what it points to
}

TEST_P(CrossDevice, AFailedCopyKeepsTheSourceAndRemovesThePartialTarget)
{
    t.file("src/tree/a", QByteArray("alpha"));
    t.file("src/tree/z", 300000, 'z');
    t.file("src/single", 300000, 's');
    const QStringList before = snapshot(t.path("src"));
    fileops::FileOpHooks::copyFault = [](const QString& src, qint64) {
        return src.endsWith("/z") || src.endsWith("/single") ? ENOSPC : 0;
    };
    test::RecordingPrompter ui;
    EXPECT_FALSE(run(FO_MOVE, kCopyFlags, {t.path("src/tree")}, {targetRoot + "tree"}, ui).ok);
    EXPECT_FALSE(run(FO_MOVE, kCopyFlags, {t.path("src/single")}, {targetRoot + "single"}, ui).ok);
    EXPECT_EQ(snapshot(t.path("src")), before);
    EXPECT_FALSE(exists(targetRoot + "tree"));
    EXPECT_FALSE(exists(targetRoot + "single"));
    EXPECT_TRUE(tempsBelow(targetRoot).isEmpty());
    ASSERT_EQ(ui.callsOf("error").size(), 2u);
    EXPECT_EQ(ui.callsOf("error")[1].text,
              QStringLiteral("无法移动“%1”：No space left on device").arg(t.path("src/single")));
}

TEST_P(CrossDevice, WhatChangesInTheSourceDuringTheCopyIsKept)
{
    t.file("src/tree/a", 1000, 'a');
    t.file("src/tree/b", 1000, 'b');
    QString changed;
    fileops::FileOpHooks::copyFault = [&](const QString& src, qint64) {
        if (changed.isEmpty()) {
            changed = src;
            QFile f(src);
            EXPECT_TRUE(f.open(QIODevice::Append));
            f.write("written during the move");
        }
        return 0;
    };
    test::RecordingPrompter ui;
    const auto r = run(FO_MOVE, kCopyFlags, {t.path("src/tree")}, {targetRoot + "tree"}, ui);
    EXPECT_FALSE(r.ok);   // the source could not be removed whole
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_TRUE(readAll(changed).endsWith("written during the move"));
    const QString other = changed.endsWith("/a") ? t.path("src/tree/b") : t.path("src/tree/a");
    EXPECT_FALSE(exists(other));   // unchanged and copied: moved
    ASSERT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.callsOf("error")[0].text,
              QStringLiteral("无法删除“%1”：移动时被修改或新建，已保留").arg(changed));
}

// Every changed or new entry is kept and reported, each on its own line, not only the first.
TEST_P(CrossDevice, EveryChangedEntryIsReported)
{
    t.file("src/tree/a", 1000, 'a');
    t.file("src/tree/b", 1000, 'b');
    t.file("src/tree/sub/c", 1000, 'c');
    t.file("src/tree/d", 1000, 'd');
    QStringList changed;
    fileops::FileOpHooks::copyFault = [&](const QString& src, qint64) {
        if (!src.endsWith("/d") && !changed.contains(src)) {
            changed << src;
            QFile f(src);
            EXPECT_TRUE(f.open(QIODevice::Append));
            f.write("written during the move");
        }
        return 0;
    };
    test::RecordingPrompter ui;
    const auto r = run(FO_MOVE, kCopyFlags, {t.path("src/tree")}, {targetRoot + "tree"}, ui);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(changed.size(), 3);
    QStringList expected;
    for (const QString& c : changed) {
        EXPECT_TRUE(readAll(c).endsWith("written during the move")) << c.toStdString();
        expected << QStringLiteral("无法删除“%1”：移动时被修改或新建，已保留").arg(c);
    }
    QStringList problems = r.problems;
    problems.sort();
    expected.sort();
    EXPECT_EQ(problems, expected);
    EXPECT_FALSE(exists(t.path("src/tree/d")));   // unchanged and copied: moved
    EXPECT_EQ(readAll(targetRoot + "tree/d").size(), 1000);
    EXPECT_EQ(ui.callsOf("error").size(), 1u);
}

// A move across file systems keeps what a copy drops: owner and group, user.* extended attributes,
// hard links inside the tree and folder times. Where the target cannot hold an attribute the source of
// that item stays and the failure says why.
TEST_P(CrossDevice, OwnerAttributesHardLinksAndFolderTimesAreKept)
{
    t.file("src/tree/a", QByteArray("a"));
    t.dir("src/tree/sub");
    ASSERT_EQ(::link(encodePath(t.path("src/tree/a")).constData(), encodePath(t.path("src/tree/sub/b")).constData()), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(encodePath(t.path("src/tree/a")).constData(), 1234, 5678), 0);
    }
    for (const char* p : {"src/tree/a", "src/tree/sub"})
        ASSERT_EQ(::setxattr(encodePath(t.path(p)).constData(), "user.note", "kept", 4, 0), 0) << p;
    const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6));
    t.setTimes("src/tree/sub", when, when);
    // Whether the target holds user attributes at all.
    const QString probe = targetRoot + "probe";
    QFile(probe).open(QIODevice::WriteOnly);
    const bool holdsAttributes = ::setxattr(encodePath(probe).constData(), "user.p", "1", 1, 0) == 0;
    QFile::remove(probe);

    test::RecordingPrompter ui;
    const auto r = run(FO_MOVE, kCopyFlags, {t.path("src/tree")}, {targetRoot + "tree"}, ui);
    const QString a = targetRoot + "tree/a";
    EXPECT_EQ(readAll(a), QByteArray("a"));
    EXPECT_EQ(lstatOf(a).st_ino, lstatOf(targetRoot + "tree/sub/b").st_ino);
    EXPECT_EQ(lstatOf(a).st_nlink, 2u);
    if (root) {
        EXPECT_EQ(lstatOf(a).st_uid, 1234u);
        EXPECT_EQ(lstatOf(a).st_gid, 5678u);
    }
    EXPECT_EQ(lstatOf(targetRoot + "tree/sub").st_mtim.tv_sec, when.toSecsSinceEpoch());
    if (holdsAttributes) {
        EXPECT_TRUE(r.success()) << r.problems.join(u'\n').toStdString();
        for (const QString& p : QStringList{a, targetRoot + "tree/sub"}) {
            char value[16] = {};
            EXPECT_EQ(::getxattr(encodePath(p).constData(), "user.note", value, sizeof value), 4) << p.toStdString();
            EXPECT_EQ(QByteArray(value), QByteArray("kept"));
        }
        EXPECT_FALSE(exists(t.path("src/tree")));
    } else {
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.problems.contains(
            QStringLiteral("无法删除“%1”：目标位置无法保存它的所有者或扩展属性，已保留").arg(t.path("src/tree/sub"))))
            << r.problems.join(u'\n').toStdString();
        EXPECT_TRUE(exists(t.path("src/tree/a")));
    }
}

// Where a folder's attributes cannot be carried over (injected, so it runs on any target and as any
// user), the move says so and that folder stays at the source.
TEST_P(CrossDevice, AFolderWhoseAttributesCannotBeKeptStaysAtTheSource)
{
    t.file("src/tree/x", QByteArray("x"));
    t.file("src/tree/sub/y", QByteArray("y"));
    plat::posix::faults::Scoped fault(plat::posix::faults::Op::Attributes, t.path("src/tree/sub"), ENOTSUP);
    test::RecordingPrompter ui;
    const auto r = run(FO_MOVE, kCopyFlags, {t.path("src/tree")}, {targetRoot + "tree"}, ui);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.problems.contains(
        QStringLiteral("无法删除“%1”：目标位置无法保存它的所有者或扩展属性，已保留").arg(t.path("src/tree/sub"))))
        << r.problems.join(u'\n').toStdString();
    EXPECT_TRUE(exists(t.path("src/tree/sub")));
    EXPECT_EQ(readAll(targetRoot + "tree/x"), QByteArray("x"));
    EXPECT_EQ(readAll(targetRoot + "tree/sub/y"), QByteArray("y"));
}

INSTANTIATE_TEST_SUITE_P(Move, CrossDevice, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "RealSecondFileSystem" : "Forced"; });

} // namespace
