// Deleting: the recycle bin by default, permanent deletes only after a question, links never followed.
#include "FileOpsHelpers.h"
#include "fileops/ShellFileOperation.h"
#include "platform/posix/FileOps.h"
#include "fileops/engine/Trash.h"
#include "support/Fakes.h"
#include <QRegularExpression>
#include <QUrl>

using namespace fotest;
using fileops::FO_DELETE;

namespace {

QString homeTrash()
{
    return fileops::TrashCan::homeTrash() + u'/';
}

TEST(Delete, PermanentAsksFirstAndNoKeepsEverything)
{
    test::TempTree t;
    t.file("a", QByteArray("a"));
    t.file("b", QByteArray("b"));
    test::RecordingPrompter ui;
    ui.answer(Prompt::No);
    ui.answer(Prompt::No);
    EXPECT_FALSE(fileops::ShellFileOperation(ui, FO_DELETE, true, {t.path("a"), t.path("b")}));
    EXPECT_FALSE(fileops::ShellFileOperation(ui, FO_DELETE, true, {t.path("a")}));
    EXPECT_TRUE(exists(t.path("a")));
    EXPECT_TRUE(exists(t.path("b")));
    const auto q = ui.callsOf("question");
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].text, QStringLiteral("确实要永久删除这 2 项吗？"));
    EXPECT_EQ(q[1].text, QStringLiteral("确实要永久删除“%1”吗？").arg(t.path("a")));

    ui.answer(Prompt::Yes);
    EXPECT_TRUE(fileops::ShellFileOperation(ui, FO_DELETE, true, {t.path("a"), t.path("b")}));
    EXPECT_FALSE(exists(t.path("a")));
    EXPECT_FALSE(exists(t.path("b")));
}

TEST(Delete, PermanentRemovesLinksNotWhatTheyPointTo)
{
    test::TempTree t;
    t.file("victim/data", QByteArray("must survive"));
    t.file("doomed/own", QByteArray("x"));
    t.link("doomed/to-folder", t.path("victim"));
    t.link("doomed/to-file", t.path("victim/data"));
    t.link("top-link", t.path("victim"));
    fileops::SilentPrompter ui;
    EXPECT_TRUE(run(FO_DELETE, fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT, {t.path("doomed"), t.path("top-link/")},
                    {}, ui).success());
    EXPECT_FALSE(exists(t.path("doomed")));
    EXPECT_FALSE(exists(t.path("top-link")));
    EXPECT_EQ(readAll(t.path("victim/data")), QByteArray("must survive"));
}

TEST(Delete, RecycleBinWithoutQuestionsKeepsAnInfoRecord)
{
    test::TempTree t;
    t.file("folder/x.txt", QByteArray("x"));
    t.link("dangling", "/nonexistent/orvo");
    test::RecordingPrompter ui;
    EXPECT_TRUE(fileops::ShellFileOperation(ui, FO_DELETE, false, {t.path("folder"), t.path("dangling")}));
    EXPECT_TRUE(ui.calls().empty());
    EXPECT_FALSE(exists(t.path("folder")));
    EXPECT_EQ(readAll(homeTrash() + "files/folder/x.txt"), QByteArray("x"));
    EXPECT_EQ(linkTarget(homeTrash() + "files/dangling"), QStringLiteral("/nonexistent/orvo"));
    const QString info = QString::fromUtf8(readAll(homeTrash() + "info/folder.trashinfo"));
    EXPECT_TRUE(info.startsWith(QStringLiteral("[Trash Info]\nPath=") +
                                QString::fromLatin1(QUrl::toPercentEncoding(QDir(t.path("")).canonicalPath() + "/folder", "/"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")));
    test::FakeVolumes none;
    plat::ScopedServices scoped(test::withVolumes(&none));
    fileops::TrashCan::emptyAll();
}

TEST(Delete, FailedTrashAsksBeforeDeletingForGood)
{
    test::TempTree t;
    t.file("a", QByteArray("a"));
    t.file("b", QByteArray("b"));
    HookGuard guard;
    fileops::FileOpHooks::trashFault = [](const QString&) { return EROFS; };
    test::RecordingPrompter ui;
    ui.answer(Prompt::No);
    ui.answer(Prompt::Yes);
    const auto r = run(FO_DELETE, fileops::shellFlags(FO_DELETE, false), {t.path("a"), t.path("b")}, {}, ui);
    EXPECT_FALSE(r.success());
    EXPECT_TRUE(exists(t.path("a")));
    EXPECT_FALSE(exists(t.path("b")));
    const auto q = ui.callsOf("question");
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].text, QStringLiteral("无法将“%1”移到回收站。是否永久删除？").arg(t.path("a")));
    EXPECT_EQ(q[0].caption, QStringLiteral("删除"));

    // Without windows the answer is No: nothing is lost, and no box is shown.
    test::ScriptedDialogs boxes;
    EXPECT_FALSE(fileops::ShellFileOperation(static_cast<QWidget*>(nullptr), FO_DELETE, false, {t.path("a")}));
    EXPECT_TRUE(exists(t.path("a")));
    EXPECT_TRUE(boxes.calls().empty());
}

TEST(Delete, MissingItemIsAnError)
{
    test::TempTree t;
    test::RecordingPrompter ui;
    EXPECT_FALSE(fileops::ShellFileOperation(ui, FO_DELETE, false, {t.path("gone")}));
    ASSERT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.callsOf("error")[0].text,
              QStringLiteral("无法删除“%1”：No such file or directory").arg(t.path("gone")));
}

TEST(Rename, NeverReplacesAnExistingEntry)
{
    test::TempTree t;
    t.file("a", QByteArray("a"));
    t.file("b", QByteArray("b"));
    test::RecordingPrompter ui;
    EXPECT_FALSE(fileops::ShellFileOperation(ui, fileops::FO_RENAME, false, {t.path("a")}, {t.path("b")}));
    EXPECT_EQ(readAll(t.path("b")), QByteArray("b"));
    EXPECT_EQ(readAll(t.path("a")), QByteArray("a"));
    ASSERT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.callsOf("error")[0].text, QStringLiteral("无法重命名“%1”：File exists").arg(t.path("a")));
    EXPECT_TRUE(fileops::ShellFileOperation(ui, fileops::FO_RENAME, false, {t.path("a")}, {t.path("c")}));
    EXPECT_EQ(readAll(t.path("c")), QByteArray("a"));
}

TEST(Rename, StaysInTheSourceFolder)
{
    test::TempTree t;
    t.file("a", QByteArray("a"));
    t.dir("sub");
    test::RecordingPrompter ui;
    for (const QString& target : QStringList{t.path("sub/a"), t.path("a") + QChar(0) + QStringLiteral("x")}) {
        EXPECT_FALSE(fileops::ShellFileOperation(ui, fileops::FO_RENAME, false, {t.path("a")}, {target}));
        ASSERT_EQ(ui.callsOf("error").size(), 1u);
        EXPECT_EQ(ui.callsOf("error")[0].text, QStringLiteral("无法重命名“%1”：Invalid argument").arg(t.path("a")));
        ui.clear();
    }
    EXPECT_EQ(readAll(t.path("a")), QByteArray("a"));
    EXPECT_FALSE(QFile::exists(t.path("sub/a")));
}

TEST(Flags, ShellFileOperationPassesTheDocumentedBits)
{
    EXPECT_EQ(fileops::shellFlags(fileops::FO_COPY, false), 0x41u);
    EXPECT_EQ(fileops::shellFlags(fileops::FO_COPY, true), 0x49u);
    EXPECT_EQ(fileops::shellFlags(fileops::FO_MOVE, true), 0x49u);
    EXPECT_EQ(fileops::shellFlags(FO_DELETE, true), 0x04u);
    EXPECT_EQ(fileops::shellFlags(FO_DELETE, false), 0x54u);
    const int table[][2] = {{0, 2}, {1, 3}, {2, 1}, {3, 4}};
    for (const auto& row : table)
        EXPECT_EQ(fileops::platformOp(row[0]), row[1]);
}

} // namespace

namespace {

// Where the file system refuses RENAME_NOREPLACE the fallback still never replaces anything.
TEST(Rename, FallbackWithoutTheNoReplaceFlag)
{
    struct Refuse {
        Refuse() { plat::posix::refuseNoReplaceForTests = true; }
        ~Refuse() { plat::posix::refuseNoReplaceForTests = false; }
    } refuse;
    test::TempTree t;
    t.file("a", QByteArray("a"));
    t.file("b", QByteArray("b"));
    t.file("d/inner", QByteArray("i"));
    t.file("e/other", QByteArray("o"));
    using plat::posix::renameNoReplace;
    EXPECT_EQ(renameNoReplace(t.path("a"), t.path("b")), EEXIST);
    EXPECT_EQ(renameNoReplace(t.path("d"), t.path("e")), EEXIST);
    EXPECT_EQ(readAll(t.path("b")), QByteArray("b"));
    EXPECT_EQ(readAll(t.path("e/other")), QByteArray("o"));
    EXPECT_EQ(renameNoReplace(t.path("a"), t.path("c")), 0);
    EXPECT_EQ(renameNoReplace(t.path("d"), t.path("f")), 0);
    EXPECT_FALSE(exists(t.path("a")));
    EXPECT_FALSE(exists(t.path("d")));
    EXPECT_EQ(readAll(t.path("c")), QByteArray("a"));
    EXPECT_EQ(readAll(t.path("f/inner")), QByteArray("i"));
    EXPECT_EQ(lstatOf(t.path("c")).st_nlink, 1u);
}

} // namespace
