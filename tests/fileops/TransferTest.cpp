// The transfer list: Cut and Copy, the paste command and PasteFiles with its pending list.
#include "FileOpsHelpers.h"
#include "fileops/engine/Transfer.h"

using namespace fotest;
using fileops::ListItem;
using fileops::TransferList;

namespace {

ListItem fileItem(const QString& path)
{
    return {QFileInfo(path).fileName(), path, QStringLiteral("file")};
}

ListItem dirItem(const QString& path)
{
    return {QFileInfo(path).fileName(), path, QStringLiteral("dir")};
}

QString missingText(const QString& p)
{
    return QStringLiteral("无法读取源文件（夹）“") + p +
           QStringLiteral("”，源文件（夹）不存在，可能被删除或者被改名了。此项操作取消。");
}

struct Paste : testing::Test {
    test::TempTree t;
    test::RecordingPrompter ui;
    TransferList list;
    int relists = 0;
    void SetUp() override { list.OnRelist = [this] { ++relists; }; }
};

TEST_F(Paste, CutCopySkipsDrivesAndTheParentRowWithOneMessageEach)
{
    list.ClipList = {"stale"};
    list.CutCopy({{"..", t.path(".."), "dir"}, fileItem(t.path("a")), {" (/)  ", "/", "drv"}, dirItem(t.path("d"))},
                 TransferList::kMove, ui);
    EXPECT_EQ(list.ClipList, QStringList({t.path("a"), t.path("d")}));
    EXPECT_EQ(list.ClipOperation, TransferList::kMove);
    const auto m = ui.callsOf("message");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, QStringLiteral("  磁盘或上一级文件夹不能复制或者剪贴。此项操作已跳过。"));
}

TEST_F(Paste, ACopyStaysPendingForAnotherPaste)
{
    t.file("src/a", QByteArray("a"));
    t.file("src/d/x", QByteArray("x"));
    t.dir("one");
    t.dir("two");
    list.CutCopy({fileItem(t.path("src/a")), dirItem(t.path("src/d"))}, TransferList::kCopy, ui);
    EXPECT_TRUE(list.PasteFiles(t.path("one"), true, ui));
    EXPECT_TRUE(list.PasteFiles(t.path("two/"), true, ui));
    EXPECT_EQ(readAll(t.path("one/a")), QByteArray("a"));
    EXPECT_EQ(readAll(t.path("two/d/x")), QByteArray("x"));
    EXPECT_EQ(list.ClipList.size(), 2);
    EXPECT_EQ(relists, 2);
    EXPECT_TRUE(ui.calls().empty());
}

TEST_F(Paste, AMoveRemovesExactlyTheMovedEntries)
{
    t.file("src/a", QByteArray("a"));
    t.file("src/c", QByteArray("c"));
    t.file("dst/c", QByteArray("older c"));
    t.dir("dst");
    list.CutCopy({fileItem(t.path("src/a")), fileItem(t.path("src/missing")), fileItem(t.path("src/c"))},
                 TransferList::kMove, ui);
    ui.answer(Prompt::No);   // keep the older c: that entry is not moved
    EXPECT_TRUE(list.PasteFiles(t.path("dst"), false, ui));   // the last entry failed, the first succeeded
    EXPECT_EQ(relists, 1);
    EXPECT_EQ(list.ClipList, QStringList({t.path("src/missing"), t.path("src/c")}));
    EXPECT_EQ(readAll(t.path("dst/a")), QByteArray("a"));
    EXPECT_EQ(readAll(t.path("src/c")), QByteArray("c"));
    ASSERT_EQ(ui.callsOf("message").size(), 1u);
    EXPECT_EQ(ui.callsOf("message")[0].text, missingText(t.path("src/missing")));

    // Nothing left to move succeeds: no re-list, false, the list unchanged.
    ui.answer(Prompt::No);
    EXPECT_FALSE(list.PasteFiles(t.path("dst"), false, ui));
    EXPECT_EQ(relists, 1);
    EXPECT_EQ(list.ClipList.size(), 2);
}

TEST_F(Paste, FolderIntoItselfOrItsSubfolderIsRefusedAndTheNextEntryGoes)
{
    t.file("tree/sub/f", QByteArray("f"));
    t.file("other", QByteArray("o"));
    t.link("alias", t.path("tree/sub"));
    list.CutCopy({dirItem(t.path("tree")), fileItem(t.path("other"))}, TransferList::kCopy, ui);
    EXPECT_TRUE(list.PasteFiles(t.path("tree/sub"), true, ui));
    EXPECT_TRUE(list.PasteFiles(t.path("alias"), true, ui));     // the same sub-folder through a link
    EXPECT_TRUE(list.PasteFiles(t.path("tree"), true, ui));
    const auto m = ui.callsOf("message");
    ASSERT_EQ(m.size(), 3u);
    const QString sub = QStringLiteral("目标文件夹是源文件夹“") + t.path("tree") + QStringLiteral("”的子文件夹，此项操作取消。");
    EXPECT_EQ(m[0].text, sub);
    EXPECT_EQ(m[1].text, sub);
    EXPECT_EQ(m[2].text, QStringLiteral("目标文件夹“") + t.path("tree") + QStringLiteral("”和源文件夹相同，此项操作取消。"));
    EXPECT_EQ(readAll(t.path("tree/sub/other")), QByteArray("o"));
    EXPECT_FALSE(exists(t.path("tree/sub/tree")));
}

struct SameFolderCase {
    const char* name;
    int mode;
    bool rename;
    bool copied;
};

class PasteIntoOwnFolder : public testing::TestWithParam<SameFolderCase> {};

TEST_P(PasteIntoOwnFolder, CopyNameOrNothing)
{
    const SameFolderCase& c = GetParam();
    test::TempTree t;
    t.file("f.txt", QByteArray("f"));
    test::RecordingPrompter ui;
    TransferList list;
    list.CutCopy({fileItem(t.path("f.txt"))}, c.mode, ui);
    EXPECT_EQ(list.PasteFiles(t.root(), c.rename, ui), c.copied);
    EXPECT_EQ(readAll(t.path("复件 f.txt")), c.copied ? QByteArray("f") : QByteArray("<unreadable>"));
    EXPECT_EQ(readAll(t.path("f.txt")), QByteArray("f"));
    EXPECT_EQ(list.ClipList.size(), 1);
    EXPECT_TRUE(ui.calls().empty());   // ends silently
}

INSTANTIATE_TEST_SUITE_P(Paste, PasteIntoOwnFolder,
                         testing::Values(SameFolderCase{"CopyWithCopyName", TransferList::kCopy, true, true},
                                         SameFolderCase{"CopyWithReplace", TransferList::kCopy, false, false},
                                         SameFolderCase{"MoveWithCopyName", TransferList::kMove, true, false},
                                         SameFolderCase{"MoveWithReplace", TransferList::kMove, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Paste, RefusalsOfPasteFiles)
{
    EXPECT_FALSE(list.PasteFiles(t.path("nowhere"), true, ui));
    EXPECT_FALSE(list.PasteFiles(t.root(), true, ui));
    ASSERT_EQ(ui.calls().size(), 2u);
    EXPECT_EQ(ui.calls()[0].kind, QStringLiteral("error"));
    EXPECT_EQ(ui.calls()[0].text, QStringLiteral("粘贴到的路径不存在，粘贴取消。"));
    EXPECT_EQ(ui.calls()[1].kind, QStringLiteral("warning"));
    EXPECT_EQ(ui.calls()[1].text, QStringLiteral("无文件选择复制或是剪切。"));
}

TEST_F(Paste, CommandRefusesDrivesAndEmptyPathsAndAsksFirst)
{
    t.file("src/a", QByteArray("a"));
    t.dir("dst");
    list.CutCopy({fileItem(t.path("src/a"))}, TransferList::kMove, ui);
    EXPECT_EQ(fileops::pasteCommand(list, false, "dRiVeS", fileops::dirboxHintCut(), true, ui).step,
              fileops::PasteOutcome::Refused);
    EXPECT_EQ(fileops::pasteCommand(list, false, "", fileops::dirboxHintCut(), true, ui).step,
              fileops::PasteOutcome::Refused);
    ui.answer(Prompt::No);
    EXPECT_EQ(fileops::pasteCommand(list, false, t.path("dst/"), fileops::dirboxHintCut(), true, ui).step,
              fileops::PasteOutcome::Declined);
    EXPECT_TRUE(exists(t.path("src/a")));
    ui.answer(Prompt::Yes);
    const auto done = fileops::pasteCommand(list, true, t.path("dst/"), fileops::dirboxHintCut(), true, ui);
    EXPECT_EQ(done.step, fileops::PasteOutcome::Pasted);
    EXPECT_TRUE(done.transferred);
    EXPECT_TRUE(done.pendingEmpty);
    EXPECT_TRUE(exists(t.path("dst/a")));

    const auto& c = ui.calls();
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].text, QStringLiteral("不能粘贴到DRIVES，粘贴已取消。"));
    EXPECT_EQ(c[1].text, QStringLiteral("粘贴到的路径不能为空，粘贴已取消。"));
    EXPECT_EQ(c[2].caption, QStringLiteral("粘贴"));
    EXPECT_EQ(c[2].text, QStringLiteral("确定要剪切的文件到\"") + t.path("dst/") + QStringLiteral("\"吗？"));
    EXPECT_EQ(c[3].text, QStringLiteral("确定要剪切的文件到“") + t.path("dst/") + QStringLiteral("”吗？"));
    EXPECT_EQ(fileops::dirboxHintStart(), QStringLiteral("要剪切或复制的文件列表"));
    EXPECT_EQ(fileops::dirboxHintCopy(), QStringLiteral("要复制的文件"));
}

} // namespace
