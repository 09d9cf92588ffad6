// The list's key table, double click and open, on a real folder.
#include "CommandFixture.h"
#include "filelist/FileListPopup.h"
#include <QDir>
#include <QGuiApplication>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

class Keys : public CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        t.dir(QStringLiteral("sub"));
        t.file(QStringLiteral("sub/inner.txt"), 2);
        t.file(QStringLiteral("a.txt"), 10);
        t.file(QStringLiteral("b.zip"), 20);
        list->setDirectory(t.root());
    }
};

TEST_F(Keys, CtrlASelectsEveryRow)
{
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list->selectedRows().size(), list->rowCount());
    EXPECT_EQ(list->rowCount(), 4);   // "..", sub, a.txt, b.zip
}

TEST_F(Keys, CtrlCAndCtrlXMarkTheSelectionOnlyWhenThereIsOne)
{
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(list->Transfer.ClipList.isEmpty());
    select({QStringLiteral("a.txt"), QStringLiteral("b.zip")});
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(list->Transfer.ClipList, (QStringList{t.path(QStringLiteral("a.txt")), t.path(QStringLiteral("b.zip"))}));
    EXPECT_EQ(list->Transfer.ClipOperation, 0);
    select({QStringLiteral("sub")});
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(list->Transfer.ClipList, QStringList{t.path(QStringLiteral("sub"))});
    EXPECT_EQ(list->Transfer.ClipOperation, 2);
}

TEST_F(Keys, CtrlVPastesThePendingItemsIntoTheListsFolder)
{
    const QString other = t.dir(QStringLiteral("other"));
    list->Transfer.ClipList = {t.path(QStringLiteral("a.txt"))};
    list->Transfer.ClipOperation = 2;
    list->setDirectory(other);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(QFileInfo::exists(other + QStringLiteral("a.txt")));
    EXPECT_FALSE(QFileInfo::exists(t.path(QStringLiteral("a.txt"))));
    EXPECT_TRUE(list->Transfer.ClipList.isEmpty());   // the move was consumed
    EXPECT_GE(rowOf(QStringLiteral("a.txt")), 0);      // and the list re-listed
    key(Qt::Key_V, Qt::ControlModifier);               // nothing pending: no message at all
}

TEST_F(Keys, CtrlVIntoTheSourceFolderDoesNothing)
{
    select({QStringLiteral("a.txt")});
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(QDir(t.root()).entryList(QDir::Files), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.zip")}));
}

TEST_F(Keys, CtrlNMakesANewFolderAndEditsItsCaptionButNotInTheDriveList)
{
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(QFileInfo(t.path(QStringLiteral("新建的文件夹"))).isDir());
    EXPECT_EQ(selectedCaptions(), QStringList{QStringLiteral("新建的文件夹")});
    EXPECT_EQ(list->RenameSource(), t.path(QStringLiteral("新建的文件夹")));
    ASSERT_NE(editor(), nullptr);
    acceptEdit(QStringLiteral("named"));
    EXPECT_TRUE(QFileInfo(t.path(QStringLiteral("named"))).isDir());
    EXPECT_GE(rowOf(QStringLiteral("named")), 0);

    list->setDirectory(QStringLiteral("DRIVES"));
    const int rows = list->rowCount();
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(list->rowCount(), rows);
    EXPECT_FALSE(QFileInfo::exists(t.path(QStringLiteral("新建的文件夹"))));
}

TEST_F(Keys, BackspaceGoesUpAndEnterOrCtrlOOpensAFolder)
{
    select({QStringLiteral("sub")});
    key(Qt::Key_Return);
    EXPECT_EQ(list->Directory(), t.root() + QStringLiteral("sub/"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(list->Directory(), t.root());
    select({QStringLiteral("sub")});
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(list->Directory(), t.root() + QStringLiteral("sub/"));
    select({QStringLiteral("..")});
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(list->Directory(), t.root());
    EXPECT_TRUE(list->stopa());
}

TEST_F(Keys, EnterOnAFileOpensItWithTheUsersHandler)
{
    select({QStringLiteral("a.txt")});
    key(Qt::Key_Return);
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(t.path(QStringLiteral("a.txt"))));
    EXPECT_TRUE(launcher.started.empty());

    launcher.result = false;
    key(Qt::Key_Return);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_TRUE(dialogs.calls()[0].busy);   // opening shows the hourglass
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|错误 - 文件“") + t.path(QStringLiteral("a.txt")) +
                                QStringLiteral("”不能打开！\r\n原因可能是文件名存在无法识别的字符。"));
}

TEST_F(Keys, DeleteSendsTheSelectionToTheRecycleBinWithoutAQuestion)
{
    select({QStringLiteral("a.txt"), QStringLiteral("..")});
    key(Qt::Key_Delete);
    EXPECT_FALSE(QFileInfo::exists(t.path(QStringLiteral("a.txt"))));
    EXPECT_EQ(rowOf(QStringLiteral("a.txt")), -1);
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash/files/a.txt");
    EXPECT_TRUE(QFileInfo::exists(trash));
    QFile::remove(trash);
}

TEST_F(Keys, F2EditsTheCaptionF5RelistsAndKeysWaitForTheEditor)
{
    select({QStringLiteral("b.zip")});
    key(Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("b.zip"));
    EXPECT_TRUE(list->isEditingCaption());
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(list->isEditingCaption());

    const int before = list->lister().listings();
    key(Qt::Key_F5);
    EXPECT_EQ(list->lister().listings(), before + 1);
}

TEST_F(Keys, F3FindsInTheFolderOnlyWhileTheListHasTheFocus)
{
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* pathEdit = new QLineEdit;
    auto* hosted = new TLsFilelistView28;
    layout->addWidget(pathEdit);
    layout->addWidget(hosted);
    host.show();
    hosted->setDirectory(t.root());
    QStringList asked;
    hosted->OnFindInFolder = [&](QObject* sender, const QString& folder) {
        EXPECT_EQ(sender, hosted);
        asked << folder;
    };
    pathEdit->setFocus();
    hosted->FindInFolder();
    EXPECT_TRUE(asked.isEmpty());
    hosted->currentView()->setFocus();
    QTest::keyClick(hosted->currentView(), Qt::Key_F3);
    EXPECT_EQ(asked, QStringList{t.root()});
    hosted->setDirectory(QStringLiteral("DRIVES"));   // the drive list: the search keeps its own place
    QTest::keyClick(hosted->currentView(), Qt::Key_F3);
    EXPECT_EQ(asked, (QStringList{t.root(), QString()}));
}

TEST_F(Keys, CtrlFViewsWithTheFirstInstalledViewer)
{
    const QString bin = t.dir(QStringLiteral("bin"));
    QFile gedit(bin + QStringLiteral("gedit"));
    ASSERT_TRUE(gedit.open(QIODevice::WriteOnly));
    gedit.write("#!/bin/sh\n");
    gedit.close();
    gedit.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    select({QStringLiteral("a.txt")});
    key(Qt::Key_F, Qt::ControlModifier);
    select({QStringLiteral("b.zip")});   // not in the quick-view table
    key(Qt::Key_F, Qt::ControlModifier);
    qputenv("PATH", QByteArray());       // no viewer at all: the user's handler
    select({QStringLiteral("a.txt")});
    key(Qt::Key_F, Qt::ControlModifier);
    qputenv("PATH", savedPath);

    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, bin + QStringLiteral("gedit"));
    EXPECT_EQ(launcher.started[0].args, QStringList{t.path(QStringLiteral("a.txt"))});
    EXPECT_EQ(launcher.started[0].workDir, t.root());
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(t.path(QStringLiteral("a.txt"))));
}

TEST_F(Keys, DoubleClickOpensThenRaisesTheEventAndNothingWithoutASelection)
{
    QSignalSpy dbl(list.get(), &TLsFilelistView28::doubleClicked);
    auto* tree = list->detailsView();
    const auto centre = [&](int row) { return tree->visualRect(list->model()->index(row, 0)).center(); };
    list->clearSelection();
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, QPoint(5, tree->viewport()->height() - 5));
    EXPECT_EQ(dbl.count(), 0);

    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre(rowOf(QStringLiteral("sub"))));
    EXPECT_EQ(list->Directory(), t.root() + QStringLiteral("sub/"));
    EXPECT_EQ(dbl.count(), 1);

    list->setDblClickToOpen(false);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre(rowOf(QStringLiteral("inner.txt"))));
    EXPECT_TRUE(launcher.opened.empty());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre(rowOf(QStringLiteral(".."))));
    EXPECT_EQ(list->Directory(), t.root());
    EXPECT_EQ(dbl.count(), 3);
}

} // namespace

namespace {

// A linked folder combo or tree that records what the list asks of it.
class RecordingLink : public FileListLink {
public:
    void SelectPath(const QString& path) override { calls << QStringLiteral("select ") + path; }
    void RebuildTree(bool expandRoot) override { calls << QStringLiteral("rebuild %1").arg(expandRoot); }
    bool DroppedDown() const override { return dropped; }
    void DropDown() override
    {
        dropped = !dropped;
        calls << QStringLiteral("dropdown");
    }
    QStringList take()
    {
        const QStringList out = calls;
        calls.clear();
        return out;
    }
    QStringList calls;
    bool dropped = false;
};

TEST_F(Keys, LinkedComboAndTreeFollowTheListsOwnNavigationAndFolderChanges)
{
    RecordingLink combo;
    RecordingLink tree;
    list->setDirTreeCombo(&combo);
    list->setDirTree(&tree);
    select({QStringLiteral("sub")});
    list->OpenItem();
    EXPECT_EQ(combo.take(), QStringList{QStringLiteral("select ") + t.root() + QStringLiteral("sub/")});
    EXPECT_EQ(tree.take(), QStringList{QStringLiteral("select ") + t.root() + QStringLiteral("sub/")});
    key(Qt::Key_Backspace);
    EXPECT_EQ(combo.take(), QStringList{QStringLiteral("select ") + t.root()});
    tree.take();

    key(Qt::Key_F4);
    EXPECT_TRUE(combo.dropped);
    key(Qt::Key_Escape);
    EXPECT_FALSE(combo.dropped);
    key(Qt::Key_Escape);   // closed already: nothing
    EXPECT_EQ(combo.take(), (QStringList{QStringLiteral("dropdown"), QStringLiteral("dropdown")}));

    key(Qt::Key_N, Qt::ControlModifier);   // a new folder: the combo rebuilds with its root expanded
    EXPECT_EQ(combo.take(), QStringList{QStringLiteral("rebuild 1")});
    EXPECT_TRUE(tree.take().isEmpty());
    acceptEdit(QStringLiteral("renamed"));   // a renamed folder: the tree rebuilds
    EXPECT_EQ(tree.take(), QStringList{QStringLiteral("rebuild 0")});
    EXPECT_TRUE(combo.take().isEmpty());
    list->setDirTreeCombo(nullptr);
    list->setDirTree(nullptr);
}

} // namespace
