// The drag transfer component: per-item checks with their messages, one operation for the rest.
#include "FileOpsHelpers.h"
#include "fileops/engine/FlyingOp.h"

using namespace fotest;
using fileops::TFlyingOp;

namespace {

struct Flying : testing::Test {
    test::TempTree t;
    test::RecordingPrompter ui;
    TFlyingOp op;
    void SetUp() override
    {
        op.Prompter = &ui;
        op.CreateDirectory = true;
    }
};

TEST_F(Flying, OnlyMissingItemsGiveOneMessageEachAndNoOperation)
{
    op.FileList = {t.path("x"), t.path("y")};
    op.DestinationDirectory = t.root();
    EXPECT_FALSE(op.CopyFiles(true));
    const auto m = ui.callsOf("message");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].text, QStringLiteral("无法读取源文件（夹）“") + t.path("y") +
                             QStringLiteral("”，源文件（夹）不存在，可能被删除或者被改名了。此项操作取消。"));
    EXPECT_EQ(ui.calls().size(), 2u);

    op.FileList.clear();
    EXPECT_FALSE(op.CopyFiles(true));   // empty list: silently false
    op.FileList = {t.path("x")};
    op.DestinationDirectory.clear();
    EXPECT_FALSE(op.MoveFiles(true));
    EXPECT_EQ(ui.calls().back().text, QStringLiteral("目标文件夹不能为空"));
}

TEST_F(Flying, FolderOntoItselfOrItsSubfolderIsLeftOutAndTheRestGoes)
{
    t.file("tree/sub/f", QByteArray("f"));
    t.file("loose", QByteArray("l"));
    op.FileList = {t.path("tree"), t.path("loose")};
    op.SourceDirectory = t.root();
    op.DestinationDirectory = t.path("tree/sub/");
    EXPECT_TRUE(op.MoveFiles(false));
    EXPECT_FALSE(op.Aborted);
    EXPECT_EQ(readAll(t.path("tree/sub/loose")), QByteArray("l"));
    op.FileList = {t.path("tree")};
    op.DestinationDirectory = t.path("tree/");
    EXPECT_FALSE(op.CopyFiles(true));
    const auto m = ui.callsOf("message");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, QStringLiteral("目标文件夹是源文件夹“") + t.path("tree") + QStringLiteral("”的子文件夹，此项操作取消。"));
    EXPECT_EQ(m[1].text, QStringLiteral("目标文件夹“") + t.path("tree") + QStringLiteral("”和源文件夹相同，此项操作取消。"));
}

TEST_F(Flying, SameFolderAsksAndOnlyACopyWithCopyNamesGoesOn)
{
    t.file("a", QByteArray("a"));
    op.FileList = {t.path("a")};
    op.DestinationDirectory = t.root();
    ui.answer(Prompt::Yes);
    EXPECT_FALSE(op.MoveFiles(true));
    ui.answer(Prompt::No);
    EXPECT_FALSE(op.CopyFiles(true));
    ui.answer(Prompt::Yes);
    EXPECT_TRUE(op.CopyFiles(true));
    EXPECT_EQ(readAll(t.path("复件 a")), QByteArray("a"));
    EXPECT_TRUE(exists(t.path("a")));
    const auto q = ui.callsOf("question");
    ASSERT_EQ(q.size(), 3u);
    EXPECT_EQ(q[0].text, QStringLiteral("拖放操作在同一文件夹里,是否继续？"));
    EXPECT_EQ(q[0].caption, QStringLiteral("提示"));
    EXPECT_TRUE(ui.callsOf("message").empty());
}

TEST_F(Flying, FailureAndCancelAreReportedNeverSuccess)
{
    t.file("src/a", QByteArray("new"));
    t.file("src/b", QByteArray("b"));
    t.file("dst/a", QByteArray("old"));
    t.fifo("src/pipe");
    op.FileList = {t.path("src/a"), t.path("src/b")};
    op.DestinationDirectory = t.path("dst/");
    ui.answer(Prompt::No);   // keep the old a: the rest goes, but it is no success
    EXPECT_FALSE(op.CopyFiles(false));
    EXPECT_TRUE(op.Aborted);
    EXPECT_EQ(readAll(t.path("dst/b")), QByteArray("b"));
    EXPECT_EQ(ui.calls().back().text, QStringLiteral("  操作取消。 "));

    op.FileList = {t.path("src/pipe")};
    EXPECT_FALSE(op.CopyFiles(true));
    EXPECT_EQ(ui.callsOf("error").size(), 1u);
    EXPECT_EQ(ui.calls().back().text, QStringLiteral(" 操作失败! "));
}

} // namespace
