// The path bar: going to typed paths, the history and its list file.
#include "AppTestSupport.h"
#include "OrvoFixture.h"
#include "app/HistoryFiles.h"
#include "filelist/FileListView.h"
#include "support/TempTree.h"
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QLineEdit>
#include <QTest>

namespace {

class PathBarTest : public OrvoFixture {
protected:
    void type(TOrvo& w, const QString& text) { w.pathbox->setEditText(text); }
    // The key goes to the combo box, which holds the focus for its line edit.
    void enter(TOrvo& w, Qt::Key key = Qt::Key_Return)
    {
        w.pathbox->setFocus();
        QTest::keyClick(w.pathbox, key);
    }
    test::TempTree tree;
};

TEST_F(PathBarTest, EnterGoesToAnExistingFolderInTheDrivenList)
{
    const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_Return, "a b"}, {Qt::Key_Enter, "c d"}};
    for (const auto& [key, name] : keys)
        tree.dir(QString::fromLatin1(name));
    TOrvo& w = open();
    for (const auto& [key, name] : keys) {
        SCOPED_TRACE(name);
        const QString dir = tree.path(QString::fromLatin1(name)) + u'/';
        type(w, dir.chopped(1));   // without the trailing separator
        enter(w, key);
        EXPECT_EQ(w.LsFilelistView281->Directory(), dir);
        EXPECT_EQ(w.treePath(), dir);
        EXPECT_EQ(w.targetFolder(), dir);
    }
}

TEST_F(PathBarTest, ExploreAsksTheDesktopsFileManagerAndNeverOpensOrvoItself)
{
    const QString dir = tree.dir(QStringLiteral("seen"));
    const QUrl url = QUrl::fromLocalFile(dir);
    TOrvo& w = open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const struct {
        const char* name;
        bool fileManager;
        const char* folderHandler;
        std::vector<QUrl> opened;
    } cases[] = {
        {"file manager on the bus", true, "org.gnome.Nautilus.desktop", {}},
        {"the folder handler", false, "org.gnome.Nautilus.desktop", {url}},
        {"the folder handler is Orvo's own entry", false, "orvo-folder.desktop", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        launcher.opened.clear();
        launcher.shownFolders.clear();
        launcher.fileManager = c.fileManager;
        launcher.handlers = {{QStringLiteral("inode/directory"), QString::fromLatin1(c.folderHandler)}};
        type(w, dir);
        QLineEdit* edit = w.pathbox->lineEdit();
        apptest::rightClick(edit, edit->rect().center());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_EQ(menu, w.PopupMenu2);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(w.E2).center());
        EXPECT_EQ(launcher.shownFolders, std::vector<QUrl>{url});
        EXPECT_EQ(launcher.opened, c.opened);
    }
}

TEST_F(PathBarTest, RootIsReachableWhileOtherOneCharacterTextsDoNothing)
{
    TOrvo& w = open();
    const QString before = w.LsFilelistView281->Directory();
    type(w, QStringLiteral("a"));
    enter(w);
    EXPECT_EQ(w.LsFilelistView281->Directory(), before);
    EXPECT_TRUE(dialogs.calls().empty());

    type(w, QStringLiteral("/"));
    enter(w);
    EXPECT_EQ(w.LsFilelistView281->Directory(), QStringLiteral("/"));
    EXPECT_EQ(w.treePath(), QStringLiteral("/"));
}

TEST_F(PathBarTest, MissingFoldersGiveTheErrorBoxAndChangeNothing)
{
    TOrvo& w = open();
    const QString before = w.LsFilelistView281->Directory();
    const QString missing = tree.path(QStringLiteral("nope"));
    const struct {
        const char* what;
        std::function<void()> act;
    } commands[] = {
        {"return", [&] { enter(w); }},
        {"enter", [&] { enter(w, Qt::Key_Enter); }},
        {"double click", [&] { w.pathBar().pathboxDblClick(); }},
        {"list one", [&] { w.pathBar().openpath1Click(); }},
        {"list two", [&] { w.pathBar().CustomItem41Click(); }},
        {"tree", [&] { w.pathBar().ComboBox2Click(); }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.what);
        type(w, missing);
        c.act();
        const auto errors = dialogs.callsOf(QStringLiteral("error"));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].text, missing + QStringLiteral("/  不存在！"));
        dialogs.clear();
        EXPECT_EQ(w.LsFilelistView281->Directory(), before);
    }
}

TEST_F(PathBarTest, DoubleClickOnDrivesInAnyCaseShowsTheVolumesInBothLists)
{
    TOrvo& w = open();
    type(w, QStringLiteral("dRiVeS"));
    w.pathBar().pathboxDblClick();
    EXPECT_EQ(w.LsFilelistView281->Directory(), QStringLiteral("DRIVES"));
    EXPECT_EQ(w.LsFilelistView282->Directory(), QStringLiteral("DRIVES"));
}

TEST_F(PathBarTest, OpeningInListTwoMakesTheTreeDriveIt)
{
    TOrvo& w = open();
    const QString dir = tree.dir(QStringLiteral("two"));
    type(w, dir);
    w.pathBar().CustomItem41Click();
    EXPECT_EQ(w.LsFilelistView282->Directory(), dir);
    EXPECT_TRUE(w.treeDrivesListTwo());
    EXPECT_EQ(w.treeDrivenList(), w.LsFilelistView282);
    EXPECT_EQ(w.treePath(), dir);
    EXPECT_TRUE(w.LsFilelistView282->isVisibleTo(&w));
    EXPECT_FALSE(w.LsFilelistView281->isVisibleTo(&w));
}

TEST_F(PathBarTest, HistoryDuplicateRules)
{
    TOrvo& w = open();
    const QString a = tree.dir(QStringLiteral("a"));
    const QString b = tree.dir(QStringLiteral("b"));
    w.pathbox->clear();
    // Opening the same folder twice by double click adds it once.
    w.LsFilelistView281->setDirectory(a);
    w.listDblClicked(w.LsFilelistView281);
    w.listDblClicked(w.LsFilelistView281);
    EXPECT_EQ(w.pathBar().history(), QStringList{a});
    // The add command does not look for duplicates.
    type(w, b);
    w.pathBar().Addpath1_oldClick();
    w.pathBar().Addpath1_oldClick();
    EXPECT_EQ(w.pathBar().history(), (QStringList{a, b, b}));
    // Removal takes the first item equal without regard to case.
    type(w, b.toUpper());
    w.pathBar().Deletepath1_oldClick();
    EXPECT_EQ(w.pathBar().history(), (QStringList{a, b}));
    // Texts that are missing, one character or empty are not added.
    for (const QString& t : {QStringLiteral(""), QStringLiteral("x"), tree.path(QStringLiteral("nope"))}) {
        type(w, t);
        w.pathBar().Addpath1_oldClick();
    }
    EXPECT_EQ(w.pathBar().history().size(), 2);
}

TEST_F(PathBarTest, SaveClearLoadGivesBackTheSameHistoryInOrder)
{
    TOrvo& w = open();
    const QStringList items = {tree.dir(QStringLiteral("z")), tree.dir(QStringLiteral("数据")),
                               QString(), tree.dir(QStringLiteral("a"))};
    w.pathbox->clear();
    w.pathbox->addItems(items);
    w.pathBar().save1_oldClick();
    EXPECT_EQ(apptest::readBytes(apptest::privateFile(app::kPathListFile)),
              (items.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    w.pathBar().cls1_oldClick();
    EXPECT_TRUE(w.pathBar().history().isEmpty());
    w.pathBar().load1_oldClick();
    EXPECT_EQ(w.pathBar().history(), items);

    w.pathBar().N8Click();
    w.pathBar().load1_oldClick();
    const auto messages = dialogs.callsOf(QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("文件不存在!"));
    dialogs.clear();
    EXPECT_EQ(w.pathBar().history(), items);   // unchanged by the failed load
}

TEST_F(PathBarTest, StepsThroughTheHistoryAndPastItsEnds)
{
    TOrvo& w = open();
    const QString a = tree.dir(QStringLiteral("a"));
    const QString b = tree.dir(QStringLiteral("b"));
    w.pathbox->clear();
    w.pathbox->addItems({a, b});

    w.pathBar().up1Click();   // nothing current: back selects nothing, and the empty folder shows the volumes
    EXPECT_EQ(w.pathbox->currentIndex(), -1);
    EXPECT_EQ(w.LsFilelistView281->Directory(), QStringLiteral("DRIVES"));
    w.pathBar().down1Click();
    EXPECT_EQ(w.pathbox->currentText(), a);
    EXPECT_EQ(w.LsFilelistView281->Directory(), a);
    w.pathBar().down1Click();
    EXPECT_EQ(w.pathbox->currentText(), b);
    EXPECT_EQ(w.treePath(), b);
    w.pathBar().up1Click();
    EXPECT_EQ(w.LsFilelistView281->Directory(), a);
    w.pathBar().down1Click();
    w.pathBar().down1Click();   // past the end: no item
    EXPECT_EQ(w.pathbox->currentIndex(), -1);
    EXPECT_EQ(w.LsFilelistView281->Directory(), QStringLiteral("DRIVES"));
}

TEST_F(PathBarTest, AnEmptyHistoryStepsToNothing)
{
    TOrvo& w = open();
    w.pathbox->clear();
    w.pathBar().down1Click();
    w.pathBar().up1Click();
    EXPECT_EQ(w.pathbox->currentIndex(), -1);
    EXPECT_EQ(w.LsFilelistView281->Directory(), QStringLiteral("DRIVES"));
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(PathBarTest, ChoosingAMissingItemGivesTheErrorBox)
{
    TOrvo& w = open();
    const QString gone = tree.path(QStringLiteral("gone/"));
    w.pathbox->clear();
    w.pathbox->addItem(gone);
    w.pathBar().pathboxSelect(0);
    const auto errors = dialogs.callsOf(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, gone + QStringLiteral("  不存在！"));
    dialogs.clear();
}

} // namespace
