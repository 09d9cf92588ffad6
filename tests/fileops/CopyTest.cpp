// Copying: temporary names, links kept as links, collisions, replacing, merging, refusals and failures.
#include "FileOpsHelpers.h"
#include "fileops/engine/TreeCopier.h"
#include "platform/posix/Faults.h"
#include "platform/posix/FileOps.h"
#include <fcntl.h>
#include <optional>
#include <sys/file.h>

using namespace fotest;
using fileops::FO_COPY;

namespace {

TEST(Copy, TreeWithLinksModesAndTimesArrivesWhole)
{
    test::TempTree t;
    t.file("src/a.txt", QByteArray("alpha"));
    t.file("src/sub/deep/b.bin", QByteArray("\0\1\2beta", 7));
    t.setMode("src/sub/deep/b.bin", 0640);
    t.link("src/rel", "a.txt");
    t.link("src/dangling", "/nonexistent/orvo");
    t.link("src/outside", t.path("elsewhere"));
    t.file("elsewhere/secret", QByteArray("never copied"));
    t.dir("src/ro");
    t.file("src/ro/inside", QByteArray("x"));
    t.setMode("src/ro", 0555);
    t.setTimes("src/a.txt", QDateTime::fromString("2020-01-02T03:04:05Z", Qt::ISODate),
               QDateTime::fromString("2019-05-06T07:08:09Z", Qt::ISODate));
    t.dir("dst");
    test::RecordingPrompter ui;

    const auto r = run(FO_COPY, kCopyFlags, {t.path("src")}, {t.path("dst/src")}, ui);
    EXPECT_TRUE(r.success());
    EXPECT_EQ(snapshot(t.path("dst/src")), snapshot(t.path("src")));
    EXPECT_EQ(linkTarget(t.path("dst/src/outside")), t.path("elsewhere"));   // the link, not its folder
    EXPECT_EQ(lstatOf(t.path("dst/src/a.txt")).st_mtim.tv_sec, lstatOf(t.path("src/a.txt")).st_mtim.tv_sec);
    EXPECT_TRUE(tempsBelow(t.root()).isEmpty());
    EXPECT_TRUE(ui.calls().empty());
    t.setMode("src/ro", 0755);
    t.setMode("dst/src/ro", 0755);
}

// Set-user-ID survives a copy only when the copy keeps the user, set-group-ID only when it keeps the
// group. The copying process's user and group are pretended, so no file has to be given away.
struct OwnerCase {
    const char* name;
    bool pretend;       // else the real process, which owns the source
    int otherUser;      // added to the source's user ID
    int otherGroup;     // added to the source's group ID
    mode_t expected;
};

class SetIdBits : public testing::TestWithParam<OwnerCase> {};

TEST_P(SetIdBits, SurviveOnlyWithTheSameOwner)
{
    const OwnerCase& c = GetParam();
    test::TempTree t;
    const QString src = t.file("src", QByteArray("s"));
    t.setMode("src", 06755);
    const struct stat st = lstatOf(src);
    ASSERT_EQ(st.st_mode & 07777, 06755u);
    std::optional<plat::posix::faults::ScopedOwner> owner;
    if (c.pretend)
        owner.emplace(plat::posix::Owner{uid_t(st.st_uid + c.otherUser), gid_t(st.st_gid + c.otherGroup)});
    fileops::SilentPrompter ui;
    EXPECT_TRUE(run(FO_COPY, kCopyFlags, {src}, {t.path("copy")}, ui).success());
    EXPECT_EQ(lstatOf(t.path("copy")).st_mode & 07777, c.expected);
    EXPECT_EQ(readAll(t.path("copy")), QByteArray("s"));
}

INSTANTIATE_TEST_SUITE_P(Copy, SetIdBits,
                         testing::Values(OwnerCase{"RealOwner", false, 0, 0, 06755},
                                         OwnerCase{"SameUserAndGroup", true, 0, 0, 06755},
                                         OwnerCase{"OtherUser", true, 1, 0, 02755},
                                         OwnerCase{"OtherGroup", true, 0, 1, 04755},
                                         OwnerCase{"OtherUserAndGroup", true, 1, 1, 0755}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Copy, FileGoesThroughATemporaryNameInTheTargetFolder)
{
    test::TempTree t;
    t.file("src/big", 3 << 20, 'q');
    t.dir("dst");
    HookGuard guard;
    QStringList seenInTarget;
    fileops::FileOpHooks::copyFault = [&](const QString&, qint64) {
        seenInTarget = QDir(t.path("dst")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        return 0;
    };
    fileops::SilentPrompter ui;
    EXPECT_TRUE(run(FO_COPY, kCopyFlags, {t.path("src/big")}, {t.path("dst/big")}, ui).success());
    EXPECT_EQ(seenInTarget, QStringList{".big.orvo-part"});   // never the real name while writing
    EXPECT_EQ(readAll(t.path("dst/big")), readAll(t.path("src/big")));
}

// A copy that fails part way leaves nothing under the real name and no temporary file, and says so.
TEST(Copy, FailureLeavesNoPartialTargetAndIsReported)
{
    test::TempTree t;
    t.file("src/one", QByteArray("1"));
    t.file("src/sub/two", 100000, 'z');
    t.file("keep", QByteArray("old content"));
    t.dir("dst");
    HookGuard guard;
    fileops::FileOpHooks::copyFault = [](const QString& src, qint64) { return src.endsWith("two") ? ENOSPC : 0; };
    test::RecordingPrompter ui;

    const auto folder = run(FO_COPY, kCopyFlags, {t.path("src")}, {t.path("dst/src")}, ui);
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(exists(t.path("dst/src")));
    ASSERT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.callsOf("error")[0].text,
              QStringLiteral("无法复制“%1”：No space left on device").arg(t.path("src/sub/two")));

    // Replacing an existing file: the old content survives a failed copy.
    fileops::FileOpHooks::copyFault = [](const QString&, qint64) { return EIO; };
    const auto file = run(FO_COPY, kCopyFlags | fileops::FOF_NOCONFIRMATION, {t.path("src/sub/two")}, {t.path("keep")}, ui);
    EXPECT_FALSE(file.success());
    EXPECT_EQ(readAll(t.path("keep")), QByteArray("old content"));
    EXPECT_TRUE(tempsBelow(t.root()).isEmpty());
}

// A write the file system refuses (ENOSPC, injected on the file being written) fails the item with a
// message naming the source file, and leaves neither the target nor a temporary copy; a move keeps its source.
struct WriteFailureCase {
    const char* name;
    int op;
    const char* source;     // the item copied or moved into dst/
    const char* inner;      // the file being written, below the item's temporary copy ("" : the item itself)
    const char* failing;    // the source file named in the message
    const char* verb;
};

class InjectedWriteFailure : public testing::TestWithParam<WriteFailureCase> {};

TEST_P(InjectedWriteFailure, IsReportedAndLeavesNothing)
{
    const WriteFailureCase& c = GetParam();
    test::TempTree t;
    t.file("src/one", QByteArray("1"));
    t.file("src/sub/two", 100000, 'z');
    t.dir("dst");
    HookGuard guard;
    fileops::FileOpHooks::forceCrossDevice = true;   // a move copies too
    const QString name = QFileInfo(t.path(c.source)).fileName();
    QString written = QDir(t.path("dst")).canonicalPath() + u'/' +
                      plat::posix::decodePath(fileops::TreeCopier::tempName(name, 0));
    if (*c.inner)
        written += u'/' + QString::fromUtf8(c.inner);
    const QStringList before = snapshot(t.path("src"));
    plat::posix::faults::Scoped fault(plat::posix::faults::Op::Write, written, ENOSPC);
    test::RecordingPrompter ui;

    const auto r = run(c.op, kCopyFlags, {t.path(c.source)}, {t.path("dst/") + name}, ui);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.callsOf("error")[0].text, QStringLiteral("无法%1“%2”：No space left on device")
                                               .arg(QString::fromUtf8(c.verb), t.path(c.failing)));
    EXPECT_TRUE(QDir(t.path("dst")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(snapshot(t.path("src")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Copy, InjectedWriteFailure,
    testing::Values(WriteFailureCase{"File", fileops::FO_COPY, "src/sub/two", "", "src/sub/two", "复制"},
                    WriteFailureCase{"FileInAFolder", fileops::FO_COPY, "src", "sub/two", "src/sub/two", "复制"},
                    WriteFailureCase{"CrossDeviceMove", fileops::FO_MOVE, "src", "sub/two", "src/sub/two", "移动"}),
    [](const auto& info) { return std::string(info.param.name); });

// The same file reached through a linked folder is never copied onto itself.
TEST(Copy, OntoItselfThroughALinkedFolderDoesNothing)
{
    test::TempTree t;
    t.file("real/f.txt", QByteArray("precious"));
    t.link("alias", t.path("real"));
    fileops::SilentPrompter ui;
    const auto r = run(FO_COPY, kCopyFlags | fileops::FOF_NOCONFIRMATION, {t.path("real/f.txt")}, {t.path("alias/f.txt")}, ui);
    EXPECT_TRUE(r.success());
    EXPECT_EQ(readAll(t.path("real/f.txt")), QByteArray("precious"));
    EXPECT_EQ(QDir(t.path("real")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"f.txt"});
    EXPECT_TRUE(ui.texts.isEmpty());

    // With rename on collision the copy goes beside it.
    EXPECT_TRUE(run(FO_COPY, kRenameFlags, {t.path("real/f.txt")}, {t.path("alias/f.txt")}, ui).success());
    EXPECT_EQ(readAll(t.path("real/复件 f.txt")), QByteArray("precious"));
}

TEST(Copy, FolderIntoItsOwnSubtreeIsRefusedEvenThroughLinks)
{
    test::TempTree t;
    t.file("tree/a", QByteArray("a"));
    t.dir("tree/sub/inner");
    t.link("way", t.path("tree/sub"));
    const QStringList before = snapshot(t.path("tree"));
    test::RecordingPrompter ui;
    for (const QString& target : {t.path("tree/sub/tree"), t.path("way/inner/tree"), t.path("tree/tree")}) {
        const auto r = run(FO_COPY, kRenameFlags, {t.path("tree")}, {target}, ui);
        EXPECT_FALSE(r.ok) << target.toStdString();
    }
    EXPECT_EQ(snapshot(t.path("tree")), before);
    ASSERT_EQ(ui.callsOf("error").size(), 3u);
    EXPECT_EQ(ui.callsOf("error")[0].text,
              QStringLiteral("无法复制“%1”：目标文件夹是源文件夹本身或它的子文件夹").arg(t.path("tree")));
}

TEST(Copy, RenameOnCollisionTakesTheFirstFreeCopyName)
{
    test::TempTree t;
    t.file("src/n.txt", QByteArray("new"));
    t.file("dst/n.txt", QByteArray("old"));
    t.file("dst/复件 n.txt", QByteArray("old copy"));
    t.dir("src/d");
    t.dir("dst/d");
    fileops::SilentPrompter ui;
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(run(FO_COPY, kRenameFlags, {t.path("src/n.txt"), t.path("src/d")},
                        {t.path("dst/n.txt"), t.path("dst/d")}, ui).success());
    }
    EXPECT_EQ(readAll(t.path("dst/n.txt")), QByteArray("old"));
    EXPECT_EQ(readAll(t.path("dst/复件 n.txt")), QByteArray("old copy"));
    EXPECT_EQ(readAll(t.path("dst/复件 (2) n.txt")), QByteArray("new"));
    EXPECT_EQ(readAll(t.path("dst/复件 (3) n.txt")), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(t.path("dst/复件 d")).isDir());
    EXPECT_TRUE(QFileInfo(t.path("dst/复件 (2) d")).isDir());
    EXPECT_EQ(fileops::collisionName("x", 1), QStringLiteral("复件 x"));
    EXPECT_EQ(fileops::collisionName("x", 7), QStringLiteral("复件 (7) x"));
}

struct ReplaceCase {
    const char* name;
    Prompt::Answer answer;
    const char* expected;
    bool success;
    bool secondRuns;   // the item after the clash is still copied
};

class ReplaceAnswers : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAnswers, AskPerItem)
{
    const ReplaceCase& c = GetParam();
    test::TempTree t;
    t.file("src/a", QByteArray("new"));
    t.file("src/b", QByteArray("bee"));
    t.file("dst/a", QByteArray("old"));
    test::RecordingPrompter ui;
    ui.answer(c.answer);
    const auto r = run(FO_COPY, kCopyFlags, {t.path("src/a"), t.path("src/b")}, {t.path("dst/a"), t.path("dst/b")}, ui);
    EXPECT_EQ(r.success(), c.success);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(readAll(t.path("dst/a")), QByteArray(c.expected));
    EXPECT_EQ(exists(t.path("dst/b")), c.secondRuns);
    ASSERT_EQ(ui.callsOf("question").size(), 1u);
    EXPECT_EQ(ui.callsOf("question")[0].caption, QStringLiteral("确认文件替换"));
    EXPECT_EQ(ui.callsOf("question")[0].flags, int(Prompt::EscCancels));   // Esc cancels the whole operation
    EXPECT_EQ(ui.callsOf("question")[0].text, QStringLiteral("此位置已包含名为“a”的项目。是否替换？"));
}

INSTANTIATE_TEST_SUITE_P(Copy, ReplaceAnswers,
                         testing::Values(ReplaceCase{"yes", Prompt::Yes, "new", true, true},
                                         ReplaceCase{"no", Prompt::No, "old", false, true},
                                         ReplaceCase{"cancel", Prompt::Cancel, "old", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Copy, FolderOntoFolderMergesAndAsksPerFile)
{
    test::TempTree t;
    t.file("src/d/same", QByteArray("new"));
    t.file("src/d/fresh", QByteArray("fresh"));
    t.file("src/d/sub/x", QByteArray("x"));
    t.file("dst/d/same", QByteArray("old"));
    t.file("dst/d/mine", QByteArray("mine"));
    t.dir("dst/d/sub");
    test::RecordingPrompter ui;
    ui.answer(Prompt::No);
    const auto r = run(FO_COPY, kCopyFlags, {t.path("src/d")}, {t.path("dst/d")}, ui);
    EXPECT_FALSE(r.success());   // one file was left out
    EXPECT_EQ(readAll(t.path("dst/d/same")), QByteArray("old"));
    EXPECT_EQ(readAll(t.path("dst/d/mine")), QByteArray("mine"));
    EXPECT_EQ(readAll(t.path("dst/d/fresh")), QByteArray("fresh"));
    EXPECT_EQ(readAll(t.path("dst/d/sub/x")), QByteArray("x"));
    EXPECT_EQ(ui.callsOf("question").size(), 1u);
}

TEST(Copy, ReplacingNeverPutsAFileOverAFolder)
{
    test::TempTree t;
    t.file("src/x", QByteArray("file"));
    t.file("dst/x/inside", QByteArray("keep"));
    fileops::SilentPrompter ui;
    const auto r = run(FO_COPY, kCopyFlags | fileops::FOF_NOCONFIRMATION, {t.path("src/x")}, {t.path("dst/x")}, ui);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(readAll(t.path("dst/x/inside")), QByteArray("keep"));
}

TEST(Copy, SpecialFilesAreAnErrorAndLeaveNothing)
{
    test::TempTree t;
    t.file("src/a", QByteArray("a"));
    t.fifo("src/pipe");
    t.dir("dst");
    test::RecordingPrompter ui;
    const auto r = run(FO_COPY, kCopyFlags, {t.path("src")}, {t.path("dst/src")}, ui);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(exists(t.path("dst/src")));
    EXPECT_TRUE(tempsBelow(t.path("dst")).isEmpty());
    ASSERT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.callsOf("error")[0].text,
              QStringLiteral("无法复制“%1”：不是普通文件、文件夹或链接").arg(t.path("src/pipe")));
}

TEST(Copy, MissingTargetFolderIsCreatedOnlyWhenAllowed)
{
    test::TempTree t;
    t.file("src/a", QByteArray("a"));
    test::RecordingPrompter ui;
    ui.answer(Prompt::No);
    EXPECT_FALSE(run(FO_COPY, kCopyFlags, {t.path("src/a")}, {t.path("new/deeper/a")}, ui).success());
    EXPECT_FALSE(exists(t.path("new")));
    ASSERT_EQ(ui.callsOf("question").size(), 1u);
    EXPECT_EQ(ui.callsOf("question")[0].text,
              QStringLiteral("目标文件夹“%1”不存在。是否创建？").arg(t.path("new/deeper/")));
    EXPECT_TRUE(run(FO_COPY, kCopyFlags | fileops::FOF_NOCONFIRMMKDIR, {t.path("src/a")}, {t.path("new/deeper/a")}, ui)
                    .success());
    EXPECT_EQ(readAll(t.path("new/deeper/a")), QByteArray("a"));
}

TEST(Copy, SparseFilesStaySparseAndCompleteWithoutWindows)
{
    test::TempTree t;
    const QString src = t.file("src/sparse", QByteArray("head"));
    ASSERT_EQ(::truncate(encodePath(src).constData(), qint64(1) << 30), 0);   // 1 GiB, almost all hole
    t.dir("dst");
    fileops::SilentPrompter ui;
    // The copy into one folder without full target names.
    fileops::FileOpRequest r;
    r.op = FO_COPY;
    r.flags = fileops::FOF_SILENT;
    r.sources = {src};
    r.targets = {t.path("dst")};
    EXPECT_TRUE(fileops::runFileOperation(r, ui).success());
    const struct stat st = lstatOf(t.path("dst/sparse"));
    EXPECT_EQ(st.st_size, qint64(1) << 30);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(16) << 20);
    QFile f(t.path("dst/sparse"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(4), QByteArray("head"));
}

} // namespace

namespace {

// The file a copy has taken the stat of is swapped for a FIFO before the copier opens it: the copier
// neither waits for a writer nor copies anything, and says what is wrong.
TEST(Copy, FileSwappedForAFifoAfterItsStatIsRefusedWithoutWaiting)
{
    test::TempTree t;
    t.file("src/a", QByteArray("a"));
    t.dir("dst");
    const struct stat before = lstatOf(t.path("src/a"));
    ASSERT_EQ(::unlink(encodePath(t.path("src/a")).constData()), 0);
    t.fifo("src/a");
    fileops::FileOpProgress progress;
    const plat::posix::Fd dst = plat::posix::openPath(t.path("dst"), O_RDONLY | O_DIRECTORY);
    ASSERT_TRUE(dst.valid());
    const fileops::StepResult r = fileops::TreeCopier(fileops::Verb::Copy, progress)
                                      .copyEntry(t.path("src/a"), before, dst.get(), QStringLiteral("a"),
                                                 fileops::Place::Exclusive);
    EXPECT_EQ(r.state, fileops::StepResult::Failed);
    EXPECT_EQ(fileops::texts::failure(r.error),
              QStringLiteral("无法复制“%1”：不是普通文件、文件夹或链接").arg(t.path("src/a")));
    EXPECT_TRUE(snapshot(t.path("dst")).isEmpty());
}

} // namespace

namespace {

// Every running operation stopped from outside (the command line on Ctrl-C): the copy takes its temporary
// entry away and the final name never appears.
TEST(Copy, StoppingAllOperationsMidCopyLeavesNoPart)
{
    test::TempTree t;
    t.file("src/big", 3 << 20);
    t.file("src/small", QByteArray("s"));
    t.dir("dst");
    HookGuard guard;
    int calls = 0;
    fileops::FileOpHooks::copyFault = [&](const QString&, qint64) {
        if (++calls == 1)
            fileops::FileOpProgress::stopAll();
        return 0;
    };
    fileops::SilentPrompter ui;
    const auto r = run(FO_COPY, kCopyFlags | fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT, {t.path("src")},
                       {t.path("dst/src")}, ui);
    EXPECT_TRUE(r.userCancelled);
    EXPECT_GE(calls, 1);
    EXPECT_TRUE(snapshot(t.path("dst")).isEmpty());
    EXPECT_EQ(readAll(t.path("src/small")), QByteArray("s"));
}

// Temporary entries left by a copy that was killed are removed by the next copy of that name into that
// folder; one whose copy still runs (it holds the lock) and those of other names stay.
TEST(Copy, StalePartsOfTheSameNameAreRemovedButNotOnesInUse)
{
    test::TempTree t;
    t.file("a", QByteArray("new"));
    t.file("dst/.a.orvo-part", QByteArray("stale"));
    t.file("dst/.a.orvo-part1/inner", QByteArray("stale"));
    t.file("dst/.a.orvo-part2", QByteArray("busy"));
    t.file("dst/.b.orvo-part", QByteArray("other"));
    const plat::posix::Fd busy = plat::posix::openPath(t.path("dst/.a.orvo-part2"), O_RDONLY);
    ASSERT_TRUE(busy.valid());
    ASSERT_EQ(::flock(busy.get(), LOCK_EX | LOCK_NB), 0);
    fileops::SilentPrompter ui;
    ASSERT_TRUE(run(FO_COPY, kCopyFlags | fileops::FOF_SILENT, {t.path("a")}, {t.path("dst/a")}, ui).success());
    EXPECT_EQ(readAll(t.path("dst/a")), QByteArray("new"));
    EXPECT_FALSE(exists(t.path("dst/.a.orvo-part")));
    EXPECT_FALSE(exists(t.path("dst/.a.orvo-part1")));
    EXPECT_EQ(readAll(t.path("dst/.a.orvo-part2")), QByteArray("busy"));
    EXPECT_EQ(readAll(t.path("dst/.b.orvo-part")), QByteArray("other"));
}

} // namespace
