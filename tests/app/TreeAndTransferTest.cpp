// The folder tree in the main window, and cut, copy, paste and delete through the main window's commands.
#include "OrvoFixture.h"
#include "filelist/FileListView.h"
#include "foldertree/ShellTree.h"
#include "support/TempTree.h"
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTreeView>
#include <QToolButton>

namespace {

class TreeAndTransferTest : public OrvoFixture {
protected:
    void select(TLsFilelistView28* list, const QString& caption)
    {
        const int row = rowOf(list, caption);
        ASSERT_GE(row, 0) << caption.toStdString();
        list->selectRow(row);
    }
    QString onlyQuestion()
    {
        const auto q = dialogs.callsOf(QStringLiteral("question"));
        EXPECT_EQ(q.size(), 1u);
        dialogs.clear();
        return q.empty() ? QString() : q[0].caption + u'|' + q[0].text;
    }
    test::TempTree tree;
};

TEST_F(TreeAndTransferTest, SuspendLeavesNoWatchAndResumeFollowsTheDrivenList)
{
    TOrvo& w = open();
    const QString dir = tree.dir(QStringLiteral("watched"));
    w.setTreePath(dir);
    w.LsFilelistView281->setDirectory(dir);
    ASSERT_GT(w.ShellTree1->monitorCount(), 0);
    EXPECT_TRUE(w.handleInstanceMessage(plat::WM_TREE_SUSPEND));
    EXPECT_EQ(w.ShellTree1->monitorCount(), 0);
    EXPECT_FALSE(w.treeFoldersShown());
    EXPECT_TRUE(w.handleInstanceMessage(plat::WM_TREE_RESUME));
    EXPECT_TRUE(w.treeFoldersShown());
    EXPECT_EQ(w.treePath(), dir);
    EXPECT_EQ(w.pathbox->currentText(), dir);
}

TEST_F(TreeAndTransferTest, ClickingAFolderNodeOpensItInTheDrivenListAndTheHistory)
{
    TOrvo& w = open();
    const QString dir = tree.dir(QStringLiteral("clicked"));
    tree.file(QStringLiteral("clicked/inside.txt"), 3);
    w.pathbox->clear();
    w.setTreePath(dir);
    TShellnode* node = w.ShellTree1->Selected();
    ASSERT_NE(node, nullptr);
    w.ShellTree1Click(node);
    EXPECT_EQ(w.LsFilelistView281->Directory(), dir);
    EXPECT_GE(rowOf(w.LsFilelistView281, QStringLiteral("inside.txt")), 0);
    EXPECT_EQ(w.pathBar().history(), QStringList{dir});
    w.ShellTree1Click(node);   // the list already shows it: nothing is added
    EXPECT_EQ(w.pathBar().history().size(), 1);
}

TEST_F(TreeAndTransferTest, TheDrivenListFollowsTheTreeWhenItsFolderIsGone)
{
    TOrvo& w = open();
    const QString gone = tree.dir(QStringLiteral("gone"));
    const QString other = tree.dir(QStringLiteral("other"));
    w.LsFilelistView281->setDirectory(gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    w.setTreePath(other);
    EXPECT_EQ(w.LsFilelistView281->Directory(), other);
    EXPECT_EQ(w.pathbox->currentText(), other);
}

TEST_F(TreeAndTransferTest, TreeSizeMakesTheSelectedFolderTheRootAndRestoresTheDesktop)
{
    TOrvo& w = open();
    const QString dir = tree.dir(QStringLiteral("root here"));
    w.setTreePath(dir);
    w.LsFilelistView281->setDirectory(dir);
    w.TreeSize->click();
    EXPECT_EQ(w.ShellTree1->RootPIDL(), PIDL_USERDEFINED);
    EXPECT_EQ(w.ShellTree1->topLevelItemCount(), 1);
    EXPECT_EQ(w.TreeSize->toolTip(), QStringLiteral("还原目录树根目录"));
    w.TreeSize->click();
    EXPECT_EQ(w.ShellTree1->RootPIDL(), PIDL_DESKTOP);
    EXPECT_EQ(w.treePath(), dir);
    EXPECT_EQ(w.TreeSize->toolTip(), QStringLiteral("设当前目录为根目录"));
}

TEST_F(TreeAndTransferTest, TreeOptionsMenuMarksFollowTheTree)
{
    TOrvo& w = open();
    w.CustomItem8->trigger();   // files shown
    w.PopupMenu7Popup();
    EXPECT_TRUE(w.ShellTree1->Options() & TF_NONFOLDERS);
    EXPECT_TRUE(w.B5->isChecked());
    EXPECT_TRUE(w.wjpx->isEnabled());
    w.Mask1->setEditText(QStringLiteral("*.txt"));
    w.filterBar().N17Click();
    EXPECT_TRUE(w.ShellTree1->FileMaskUse());
    EXPECT_EQ(w.ShellTree1->FileMask(), QStringLiteral("*.txt"));
    EXPECT_TRUE(w.fmu->isChecked());
}

TEST_F(TreeAndTransferTest, CopyStaysPendingAndCutIsConsumed)
{
    tree.file(QStringLiteral("src/a.txt"), QByteArray("alpha"));
    const QString dest1 = tree.dir(QStringLiteral("d1"));
    const QString dest2 = tree.dir(QStringLiteral("d2"));
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("src/")));
    select(w.LsFilelistView281, QStringLiteral("a.txt"));
    w.copy0->click();
    EXPECT_EQ(w.dirbox->toolTip(), QStringLiteral("要复制的文件"));
    EXPECT_EQ(w.dirbox->count(), 1);
    EXPECT_TRUE(w.Paste0->isEnabled());

    for (const QString& dest : {dest1, dest2}) {
        w.pathbox->setEditText(dest);
        dialogs.answerQuestion(ui::Dialogs::Yes);
        w.listActions().Paste0Click();
        EXPECT_EQ(onlyQuestion(), QStringLiteral("粘贴|确定要复制的文件到\"") + dest + QStringLiteral("\"吗？"));
        EXPECT_TRUE(QFile::exists(dest + QStringLiteral("a.txt")));
    }
    EXPECT_EQ(w.LsFilelistView281->Transfer.ClipList.size(), 1);   // a copy stays pending

    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("src/")));
    select(w.LsFilelistView281, QStringLiteral("a.txt"));
    w.Cut1->trigger();
    const QString dest3 = tree.dir(QStringLiteral("d3"));
    w.pathbox->setEditText(dest3);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    w.listActions().Paste0Click();
    EXPECT_EQ(onlyQuestion(), QStringLiteral("粘贴|确定要剪切的文件到\"") + dest3 + QStringLiteral("\"吗？"));
    EXPECT_TRUE(QFile::exists(dest3 + QStringLiteral("a.txt")));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("src/a.txt"))));
    EXPECT_EQ(w.listActions().transferSource(), app::ListActions::TransferSource::None);
    EXPECT_EQ(w.dirbox->count(), 0);
    EXPECT_FALSE(w.Paste0->isEnabled());
}

TEST_F(TreeAndTransferTest, PasteAndDeleteShowTheHourglassWhileTheyWorkNotWhileTheyAsk)
{
    tree.file(QStringLiteral("src/a.txt"), 1);
    tree.file(QStringLiteral("src/b.txt"), 1);
    const QString dest = tree.dir(QStringLiteral("dest"));
    TOrvo& w = open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("src/")));
    select(w.LsFilelistView281, QStringLiteral("a.txt"));
    QTest::mouseClick(w.copy0, Qt::LeftButton);
    ASSERT_TRUE(QFile::remove(tree.path(QStringLiteral("src/a.txt"))));   // gone before the paste
    w.pathbox->setEditText(dest);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    QTest::mouseClick(w.Paste0, Qt::LeftButton);
    auto calls = dialogs.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, QStringLiteral("question"));
    EXPECT_FALSE(calls[0].busy);
    EXPECT_TRUE(calls[1].text.startsWith(QStringLiteral("无法读取源文件（夹）“"))) << calls[1].text.toStdString();
    EXPECT_TRUE(calls[1].busy);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    dialogs.clear();

    w.LsFilelistView281->UpdateFileList();
    select(w.LsFilelistView281, QStringLiteral("b.txt"));
    ASSERT_TRUE(QFile::remove(tree.path(QStringLiteral("src/b.txt"))));
    dialogs.answerQuestion(ui::Dialogs::Yes);
    QTest::mouseClick(w.del1, Qt::LeftButton);
    calls = dialogs.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, QStringLiteral("按“是”直接删除！按“否”放入回收站。"));
    EXPECT_FALSE(calls[0].busy);
    EXPECT_TRUE(calls[1].text.startsWith(QStringLiteral("无法读取源文件（夹）“"))) << calls[1].text.toStdString();
    EXPECT_TRUE(calls[1].busy);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    dialogs.clear();
}

TEST_F(TreeAndTransferTest, CutInListOneThenCopyInListTwoKeepsOnlyListTwosItems)
{
    tree.file(QStringLiteral("one/a"), 1);
    tree.file(QStringLiteral("two/b"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("one/")));
    w.LsFilelistView282->setDirectory(tree.path(QStringLiteral("two/")));
    select(w.LsFilelistView281, QStringLiteral("a"));
    w.listActions().Cut0Click();
    select(w.LsFilelistView282, QStringLiteral("b"));   // a selection change in list two clears nothing in list one
    w.LsFilelistView281->clearSelection();
    w.listActions().Copy0Click();
    EXPECT_TRUE(w.LsFilelistView281->Transfer.ClipList.isEmpty());
    EXPECT_EQ(w.LsFilelistView282->Transfer.ClipList, QStringList{tree.path(QStringLiteral("two/b"))});
    EXPECT_EQ(w.dirbox->toolTip(), QStringLiteral("要复制的文件"));
    EXPECT_EQ(w.listActions().transferSource(), app::ListActions::TransferSource::ListTwo);

    // List two quotes the path with Chinese quotation marks; declining changes nothing.
    w.pathbox->setEditText(tree.root());
    dialogs.answerQuestion(ui::Dialogs::No);
    w.listActions().Paste0Click();
    EXPECT_EQ(onlyQuestion(), QStringLiteral("粘贴|确定要复制的文件到“") + tree.root() + QStringLiteral("”吗？"));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("b"))));
    EXPECT_EQ(w.LsFilelistView282->Transfer.ClipList.size(), 1);
}

TEST_F(TreeAndTransferTest, PasteIntoDrivesOrNowhereIsRefused)
{
    tree.file(QStringLiteral("a"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.root());
    select(w.LsFilelistView281, QStringLiteral("a"));
    w.listActions().Copy0Click();
    const struct {
        QString text;
        QString message;
    } cases[] = {
        {QStringLiteral("drives"), QStringLiteral("不能粘贴到DRIVES，粘贴已取消。")},
        {QString(), QStringLiteral("粘贴到的路径不能为空，粘贴已取消。")},
    };
    for (const auto& c : cases) {
        w.pathbox->setEditText(c.text);
        w.listActions().Paste0Click();
        const auto errors = dialogs.callsOf(QStringLiteral("error"));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].text, c.message);
        dialogs.clear();
    }
}

TEST_F(TreeAndTransferTest, PasteRefusesDrivesAndNowhereAfterTheListsOwnCopyKey)
{
    tree.file(QStringLiteral("a"), 1);
    TOrvo& w = open();
    TLsFilelistView28* list = w.LsFilelistView281;
    list->setDirectory(tree.root());
    select(list, QStringLiteral("a"));
    QTest::keyClick(list->currentView(), Qt::Key_C, Qt::ControlModifier);   // the list's own Ctrl+C
    ASSERT_EQ(list->Transfer.ClipList, QStringList{tree.path(QStringLiteral("a"))});
    const struct {
        QString text;
        QString message;
    } cases[] = {
        {QString(), QStringLiteral("粘贴到的路径不能为空，粘贴已取消。")},
        {QStringLiteral("DRIVES"), QStringLiteral("不能粘贴到DRIVES，粘贴已取消。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        w.pathbox->setEditText(c.text);
        w.Paste1->trigger();   // 编辑 → 粘贴
        const auto errors = dialogs.callsOf(QStringLiteral("error"));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].text, c.message);
        dialogs.clear();
    }
}

TEST_F(TreeAndTransferTest, ATreeClickAndAListDoubleClickOnOneFolderLeaveOneHistoryEntry)
{
    const QString three = tree.dir(QStringLiteral("three"));
    TOrvo& w = open();
    w.D10->trigger();   // details view, so the list's rows can be double-clicked
    w.pathbox->clear();
    w.setTreePath(three);
    TShellnode* node = w.ShellTree1->Selected();
    ASSERT_NE(node, nullptr);
    w.ShellTree1->scrollToItem(node);
    QTest::mouseClick(w.ShellTree1->viewport(), Qt::LeftButton, {}, w.ShellTree1->visualItemRect(node).center());
    ASSERT_EQ(w.LsFilelistView281->Directory(), three);

    TLsFilelistView28* list = w.LsFilelistView281;
    list->setDirectory(tree.root());
    QTreeView* view = list->detailsView();
    const QModelIndex at = list->model()->index(rowOf(list, QStringLiteral("three")), 0);
    view->scrollTo(at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
    ASSERT_EQ(list->Directory(), three);
    EXPECT_EQ(w.pathBar().history(), QStringList{three});
}

TEST_F(TreeAndTransferTest, DeleteAsksAndEscapeDeletesNothing)
{
    const QString file = tree.file(QStringLiteral("victim.txt"), 4);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.root());
    select(w.LsFilelistView281, QStringLiteral("victim.txt"));
    dialogs.answerQuestion(ui::Dialogs::Cancel);
    w.listActions().DeleteF_oldClick();
    EXPECT_EQ(onlyQuestion(), QStringLiteral("删除|按“是”直接删除！按“否”放入回收站。"));
    EXPECT_TRUE(QFile::exists(file));

    // No: into the recycle bin of the (sandboxed) home.
    dialogs.answerQuestion(ui::Dialogs::No);
    w.listActions().DeleteF_oldClick();
    EXPECT_EQ(onlyQuestion(), QStringLiteral("删除|按“是”直接删除！按“否”放入回收站。"));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(rowOf(w.LsFilelistView281, QStringLiteral("victim.txt")), -1);
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash/files/victim.txt");
    EXPECT_TRUE(QFile::exists(trash)) << trash.toStdString();
}

TEST_F(TreeAndTransferTest, DeleteWithNothingSelectedOffersToEmptyTheBin)
{
    TOrvo& w = open();
    w.LsFilelistView281->clearSelection();
    w.LsFilelistView282->clearSelection();
    dialogs.answerQuestion(ui::Dialogs::No);
    w.listActions().DeleteF_oldClick();
    EXPECT_EQ(onlyQuestion(), QStringLiteral("回收站|清空回收站？"));
}

} // namespace
