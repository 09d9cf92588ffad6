// The folder combo and its floating tree, driven by keys and clicks, with a linked list on real folders.
#include "filelist/FolderCombo.h"
#include "filelist/FolderPopupTree.h"
#include "filelist/engine/FileLister.h"
#include "filelist/engine/RowFormats.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString S(const QString& s)
{
    return s;
}

plat::Volume volume(const QString& root, plat::DriveType type = plat::DriveType::Fixed)
{
    plat::Volume v;
    v.root = root;
    v.type = type;
    return v;
}

class FolderComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vol1 = plat::path::withoutTrailingSep(t.dir(QStringLiteral("vol1")));
        vol2 = plat::path::withoutTrailingSep(t.dir(QStringLiteral("vol2")));
        t.dir(QStringLiteral("vol1/b/inner"));
        t.dir(QStringLiteral("vol1/a"));
        t.dir(QStringLiteral("vol1/C"));
        t.file(QStringLiteral("vol1/file.txt"), 3);
        volumes.volumes = {volume(vol1), volume(vol2)};
        window = std::make_unique<QWidget>();
        auto* column = new QVBoxLayout(window.get());
        combo = new TLsDirTreeCombo28;
        list = new TLsFilelistView28;
        column->addWidget(combo);
        column->addWidget(list);
        combo->RebuildTree(true);
        combo->setFileList(list);
        combo->OnPathChange = [this](QObject* sender, const QString& p) { changes.push_back({sender, p}); };
        window->resize(400, 300);
        window->move(0, 0);
        window->show();
        window->activateWindow();
        combo->setFocus();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        combo->Tree()->hide();
        window.reset();
    }
    TLsDirTreeView* tree() const { return combo->Tree(); }
    QTreeWidgetItem* computer() const { return tree()->computerNode(); }
    QTreeWidgetItem* drive(int i) const { return computer()->child(i); }
    // A key pressed in whatever has the focus (the tree while it is open, else the combo).
    void press(Qt::Key k)
    {
        QWidget* target = tree()->isVisible() ? tree() : QApplication::focusWidget();
        if (!target)
            target = combo;
        QTest::keyClick(target, k);
        QCoreApplication::processEvents();
    }
    void clickNode(QTreeWidgetItem* node)
    {
        tree()->scrollToItem(node);
        const QPoint at = tree()->visualItemRect(node).center();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    void openByButton()
    {
        QTest::mouseClick(combo->Btn(), Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_TRUE(tree()->isVisible());
    }
    void waitLoaded()
    {
        for (int i = 0; i < 100000 && tree()->loading(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ASSERT_FALSE(tree()->loading());
    }
    static QStringList childCaptions(const QTreeWidgetItem* node)
    {
        QStringList out;
        for (int i = 0; i < node->childCount(); ++i)
            out << node->child(i)->text(0);
        return out;
    }

    test::TempTree t;
    test::FakeVolumes volumes;
    plat::ScopedServices services{test::withVolumes(&volumes)};
    test::ScriptedDialogs dialogs;
    QString vol1, vol2;
    std::unique_ptr<QWidget> window;
    TLsDirTreeCombo28* combo = nullptr;
    TLsFilelistView28* list = nullptr;
    std::vector<std::pair<QObject*, QString>> changes;
};

TEST_F(FolderComboTest, StartsWithTheComputerNodeAndTheVolumes)
{
    EXPECT_EQ(combo->text(), QStringLiteral("计算机"));
    EXPECT_TRUE(combo->isReadOnly());
    EXPECT_FALSE(tree()->isVisible());
    ASSERT_EQ(computer()->childCount(), 2);
    EXPECT_EQ(drive(0)->text(0), filelist::driveCaption(volume(vol1)));
    EXPECT_EQ(TLsDirTreeView::nodePath(drive(0)), S(vol1 + u'/'));
    EXPECT_EQ(TLsDirTreeView::nodePath(drive(1)), S(vol2 + u'/'));
    EXPECT_TRUE(computer()->isExpanded());
    EXPECT_EQ(drive(0)->childCount(), 0);   // nothing read before the node is opened
}

TEST_F(FolderComboTest, PickingTheComputerNodeShowsTheDriveList)
{
    list->setDirectory(S(vol1 + u'/'));
    openByButton();
    clickNode(computer());
    EXPECT_EQ(combo->SelectedPath(), QStringLiteral("Drives"));
    EXPECT_TRUE(filelist::FileLister::isDrivesWord(list->Directory()));
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_EQ(combo->text(), QStringLiteral("计算机"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, tree());
    EXPECT_EQ(changes[0].second, QStringLiteral("Drives"));
}

TEST_F(FolderComboTest, PickingAFolderWithTheMouseShowsItInTheList)
{
    combo->SelectPath(vol1);
    openByButton();
    QTreeWidgetItem* b = drive(0)->child(1);
    ASSERT_EQ(b->text(0), QStringLiteral("b"));
    clickNode(b);
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + QStringLiteral("/b/")));
    EXPECT_EQ(list->Directory(), S(vol1 + QStringLiteral("/b/")));
    EXPECT_EQ(combo->text(), QStringLiteral("b"));
    EXPECT_FALSE(tree()->isVisible());
}

TEST_F(FolderComboTest, OpeningANodeReadsItsSubfoldersSortedAndMarked)
{
    openByButton();
    tree()->setCurrentItem(drive(0));
    press(Qt::Key_Right);
    waitLoaded();
    EXPECT_TRUE(drive(0)->isExpanded());
    EXPECT_EQ(childCaptions(drive(0)), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("C")}));
    EXPECT_EQ(drive(0)->child(0)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
    EXPECT_EQ(drive(0)->child(1)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(TLsDirTreeView::nodePath(drive(0)->child(1)), S(vol1 + QStringLiteral("/b/")));
}

TEST_F(FolderComboTest, HotTrackingSelectsTheNodeUnderThePointer)
{
    openByButton();
    tree()->setCurrentItem(computer());
    QTest::mouseMove(tree()->viewport(), tree()->visualItemRect(drive(1)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(tree()->currentItem(), drive(1));
}

TEST_F(FolderComboTest, SelectPathSelectsAndExpandsAnExistingFolder)
{
    combo->SelectPath(S(vol1 + QStringLiteral("/b")));
    QTreeWidgetItem* node = tree()->currentItem();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text(0), QStringLiteral("b"));
    EXPECT_EQ(node->parent(), drive(0));
    EXPECT_TRUE(node->isExpanded());
    EXPECT_EQ(childCaptions(node), QStringList{QStringLiteral("inner")});
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + QStringLiteral("/b/")));
    EXPECT_EQ(combo->text(), QStringLiteral("b"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, combo);
    EXPECT_EQ(changes[0].second, S(vol1 + QStringLiteral("/b/")));
    EXPECT_TRUE(list->Directory().isEmpty() || list->Directory() != S(vol1 + QStringLiteral("/b/")));
}

TEST_F(FolderComboTest, SelectPathIgnoresEmptyShortAndMissingPaths)
{
    for (const QString& p : {QString(), QStringLiteral("x"), S(vol1 + QStringLiteral("/missing")), t.path("vol1/file.txt")})
        combo->SelectPath(p);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(combo->text(), QStringLiteral("计算机"));
    EXPECT_TRUE(combo->SelectedPath().isEmpty());
}

TEST_F(FolderComboTest, AFolderCreatedAfterItsParentWasLoadedIsNotFound)
{
    combo->SelectPath(S(vol1 + QStringLiteral("/a")));
    ASSERT_EQ(combo->SelectedPath(), S(vol1 + QStringLiteral("/a/")));
    t.dir(QStringLiteral("vol1/a/new"));
    t.dir(QStringLiteral("vol1/C/new"));   // a folder of that name further on in the tree is no match
    combo->SelectPath(S(vol1 + QStringLiteral("/a/new")));
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + QStringLiteral("/a/")));
    EXPECT_EQ(combo->text(), QStringLiteral("a"));
    EXPECT_EQ(changes.size(), 1u);
    combo->RebuildTree(true);   // a rebuild reads it
    combo->SelectPath(S(vol1 + QStringLiteral("/a/new")));
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + QStringLiteral("/a/new/")));
}

TEST_F(FolderComboTest, TheListTellsTheComboWhereItWent)
{
    list->setDirectory(S(vol1 + u'/'));
    int row = -1;
    for (int r = 0; r < list->rowCount(); ++r)
        if (list->caption(r) == QStringLiteral("C"))
            row = r;
    ASSERT_GE(row, 0);
    list->selectRow(row);
    QTest::keyClick(list->currentView(), Qt::Key_Return);
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + QStringLiteral("/C/")));
    EXPECT_EQ(combo->text(), QStringLiteral("C"));
}

TEST_F(FolderComboTest, UpOnTheComputerNodeDoesNothing)
{
    openByButton();
    tree()->setCurrentItem(computer());
    press(Qt::Key_Up);
    EXPECT_EQ(tree()->currentItem(), computer());
    tree()->setCurrentItem(drive(0));
    press(Qt::Key_Up);
    EXPECT_EQ(tree()->currentItem(), computer());
}

TEST_F(FolderComboTest, LeftFromAFirstLevelNodeStaysOffTheComputerNode)
{
    combo->SelectPath(vol1);
    openByButton();
    ASSERT_EQ(tree()->currentItem(), drive(0));
    ASSERT_TRUE(drive(0)->isExpanded());
    press(Qt::Key_Left);
    EXPECT_FALSE(drive(0)->isExpanded());
    EXPECT_EQ(tree()->currentItem(), drive(0));
    tree()->setCurrentItem(drive(1));
    press(Qt::Key_Left);
    EXPECT_EQ(tree()->currentItem(), drive(0));
}

TEST_F(FolderComboTest, DownEntersAnOpenNodeAndStopsAtTheEnd)
{
    combo->SelectPath(vol1);
    openByButton();
    press(Qt::Key_Down);
    EXPECT_EQ(tree()->currentItem(), drive(0)->child(0));
    tree()->setCurrentItem(drive(1));
    press(Qt::Key_Down);
    EXPECT_EQ(tree()->currentItem(), drive(1));
}

TEST_F(FolderComboTest, EnterPicksTheSelectedNodeAndEscapeCloses)
{
    press(Qt::Key_F4);
    ASSERT_TRUE(tree()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), tree());
    tree()->setCurrentItem(computer());
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + u'/'));
    EXPECT_EQ(list->Directory(), S(vol1 + u'/'));
    EXPECT_EQ(combo->text(), filelist::driveCaption(volume(vol1)));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, combo);

    press(Qt::Key_F4);
    ASSERT_TRUE(tree()->isVisible());
    press(Qt::Key_Down);
    press(Qt::Key_Escape);
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_EQ(combo->SelectedPath(), S(vol1 + u'/'));
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(FolderComboTest, EnterOnARemovableVolumeWithoutMediumKeepsTheText)
{
    const QString gone = t.path(QStringLiteral("nomedium"));   // never created: the check cannot read it
    volumes.volumes.append(volume(gone, plat::DriveType::Removable));
    combo->RebuildTree(true);
    tree()->setCurrentItem(drive(2));
    press(Qt::Key_Return);
    EXPECT_EQ(combo->text(), QStringLiteral("计算机"));
    EXPECT_EQ(dialogs.beeps(), 1);
    ASSERT_EQ(dialogs.callsOf(QStringLiteral("warning")).size(), 1u);
    dialogs.clear();
}

TEST_F(FolderComboTest, F4InTheListOpensTheTree)
{
    list->setDirectory(S(vol1 + u'/'));
    list->currentView()->setFocus();
    QTest::keyClick(list->currentView(), Qt::Key_F4);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tree()->isVisible());
    EXPECT_TRUE(combo->DroppedDown());
    press(Qt::Key_Escape);
    EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(FolderComboTest, TheTreeOpensBelowOrAboveNearTheBottomOfTheScreen)
{
    combo->setTreeHeight(200);
    openByButton();
    EXPECT_EQ(tree()->geometry().top(), combo->mapToGlobal(QPoint(0, combo->height())).y());
    EXPECT_EQ(tree()->width(), combo->width());
    press(Qt::Key_Escape);

    const QRect screen = combo->screen()->geometry();
    window->move(0, screen.bottom() - 120);
    QCoreApplication::processEvents();
    ASSERT_GT(combo->mapToGlobal(QPoint(0, combo->height())).y() + 200, screen.bottom());
    openByButton();
    EXPECT_EQ(tree()->geometry().bottom(), combo->mapToGlobal(QPoint(0, 0)).y() - 1);
    EXPECT_EQ(tree()->height(), 200);
}

TEST_F(FolderComboTest, VolumesMountedOrUnmountedWhileClosedShowOnOpening)
{
    const QString vol3 = plat::path::withoutTrailingSep(t.dir(QStringLiteral("vol3")));
    volumes.volumes = {volume(vol1), volume(vol3)};
    openByButton();
    ASSERT_EQ(computer()->childCount(), 2);
    EXPECT_EQ(TLsDirTreeView::nodePath(drive(0)), S(vol1 + u'/'));
    EXPECT_EQ(TLsDirTreeView::nodePath(drive(1)), S(vol3 + u'/'));
}

TEST_F(FolderComboTest, ClickOutsideClosesTheTree)
{
    openByButton();
    QTest::mousePress(tree(), Qt::LeftButton, {}, QPoint(-20, -20));
    QCoreApplication::processEvents();
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_TRUE(changes.empty());
}

} // namespace
