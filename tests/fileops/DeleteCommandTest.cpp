// The delete command: the question, Esc cancelling, the trees of all instances told around folder deletes.
#include "FileOpsHelpers.h"
#include "fileops/engine/Delete.h"
#include "fileops/engine/Trash.h"
#include "platform/Instances.h"
#include "support/Fakes.h"

using namespace fotest;
using fileops::ListItem;

namespace {

struct DeleteCommand : testing::Test {
    test::TempTree t;
    test::RecordingPrompter ui;
    test::FakeInstances instances;
    test::FakeVolumes volumes;
    plat::ScopedServices scoped{[this] {
        plat::Services s = test::withVolumes(&volumes);
        s.instances = &instances;
        return s;
    }()};
    void TearDown() override { fileops::TrashCan::emptyAll(); }
    QList<ListItem> selection()
    {
        t.file("f.txt", QByteArray("f"));
        t.file("d/inner", QByteArray("i"));
        return {{"f.txt", t.path("f.txt"), "file"}, {"d", t.path("d"), "dir"}};
    }
};

TEST_F(DeleteCommand, EscapeCancelsAndDeletesNothing)
{
    const auto items = selection();
    ui.answer(Prompt::Cancel);
    const auto out = fileops::deleteSelection(items, ui);
    EXPECT_TRUE(out.cancelled);
    EXPECT_FALSE(out.changed);
    EXPECT_TRUE(exists(t.path("f.txt")));
    EXPECT_TRUE(exists(t.path("d/inner")));
    ASSERT_EQ(ui.calls().size(), 1u);
    EXPECT_EQ(ui.calls()[0].text, QStringLiteral("按“是”直接删除！按“否”放入回收站。"));
    EXPECT_EQ(ui.calls()[0].caption, QStringLiteral("删除"));
    // The trees were told to let go and to resume, whatever the answer.
    EXPECT_EQ(instances.posted, (std::vector<int>{plat::WM_TREE_SUSPEND, plat::WM_TREE_RESUME}));
}

TEST_F(DeleteCommand, NoPutsItemsIntoTheRecycleBin)
{
    const auto items = selection();
    ui.answer(Prompt::No);
    const auto out = fileops::deleteSelection(items, ui);
    EXPECT_TRUE(out.changed);
    EXPECT_FALSE(exists(t.path("f.txt")));
    EXPECT_TRUE(exists(fileops::TrashCan::homeTrashFiles() + "d/inner"));
    EXPECT_EQ(ui.calls().size(), 1u);
}

TEST_F(DeleteCommand, YesDeletesForGoodAfterTheSecondQuestion)
{
    const auto items = selection();
    ui.answer(Prompt::Yes);
    ui.answer(Prompt::Yes);
    EXPECT_TRUE(fileops::deleteSelection(items, ui).changed);
    EXPECT_FALSE(exists(t.path("f.txt")));
    EXPECT_FALSE(exists(t.path("d")));
    EXPECT_FALSE(exists(fileops::TrashCan::homeTrashFiles() + "d"));
    ASSERT_EQ(ui.callsOf("question").size(), 2u);
    EXPECT_EQ(ui.callsOf("question")[1].text, QStringLiteral("确实要永久删除这 2 项吗？"));
}

TEST_F(DeleteCommand, FilesOnlyTellNoTreeAndAMissingItemIsReported)
{
    t.file("a", QByteArray("a"));
    const QList<ListItem> items = {{"a", t.path("a"), "file"}, {"gone", t.path("gone"), "file"},
                                   {"..", t.path(".."), "dir"}};
    ui.answer(Prompt::No);
    EXPECT_TRUE(fileops::deleteSelection(items, ui).changed);
    EXPECT_FALSE(exists(t.path("a")));
    ASSERT_EQ(ui.callsOf("message").size(), 1u);
    EXPECT_EQ(ui.callsOf("message")[0].text,
              QStringLiteral("无法读取源文件（夹）“") + t.path("gone") +
                  QStringLiteral("”，源文件（夹）不存在，可能被删除或者被改名了。此项操作取消。"));

    instances.posted.clear();
    t.file("b", QByteArray("b"));
    ui.answer(Prompt::No);
    fileops::deleteSelection({{"b", t.path("b"), "file"}}, ui);
    EXPECT_TRUE(instances.posted.empty());
}

TEST_F(DeleteCommand, APartlyFailedDeleteStillRefreshesWhatWentAway)
{
    t.file("a", QByteArray("a"));
    t.file("b", QByteArray("b"));
    HookGuard guard;
    fileops::FileOpHooks::trashFault = [&](const QString& p) { return p.endsWith("/b") ? EROFS : 0; };
    ui.answer(Prompt::No);   // do not delete b for good
    EXPECT_TRUE(fileops::DeleteItems({{"a", t.path("a"), "file"}, {"b", t.path("b"), "file"}}, false, ui));
    EXPECT_FALSE(exists(t.path("a")));
    EXPECT_TRUE(exists(t.path("b")));

    ui.answer(Prompt::No);
    EXPECT_FALSE(fileops::DeleteItems({{"b", t.path("b"), "file"}}, false, ui));   // nothing changed
}

TEST_F(DeleteCommand, PicturesOfTheThumbnailPage)
{
    t.file("p1.jpg", QByteArray("1"));
    t.file("p2.jpg", QByteArray("2"));
    ui.answer(Prompt::Cancel);
    EXPECT_FALSE(fileops::deletePictures({t.path("p1.jpg")}, ui));
    EXPECT_EQ(ui.calls()[0].text, QStringLiteral("按“是”直接删除图片\r\n按“否”放入回收站。"));
    ui.answer(Prompt::No);
    EXPECT_TRUE(fileops::deletePictures({t.path("p1.jpg")}, ui));
    EXPECT_TRUE(exists(fileops::TrashCan::homeTrashFiles() + "p1.jpg"));
    ui.answer(Prompt::Yes);
    EXPECT_TRUE(fileops::deletePictures({t.path("p2.jpg")}, ui));
    EXPECT_FALSE(exists(t.path("p2.jpg")));
    EXPECT_FALSE(exists(fileops::TrashCan::homeTrashFiles() + "p2.jpg"));
}

} // namespace
