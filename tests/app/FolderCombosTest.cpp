// The main window's two folder combos: picking a folder points the tree at the combo's list, a double
// click opens the picked folder, and refresh rebuilds both.
#include "OrvoFixture.h"
#include "filelist/FileListView.h"
#include "filelist/FolderCombo.h"
#include "filelist/FolderPopupTree.h"
#include "support/TempTree.h"
#include <QComboBox>
#include <QTest>
#include <QToolButton>

namespace {

class FolderCombosTest : public OrvoFixture {
protected:
    test::TempTree tree;
};

TEST_F(FolderCombosTest, EachComboIsLinkedToItsList)
{
    TOrvo& w = open();
    EXPECT_EQ(w.LsFilelistView281->DirTreeCombo(), w.LsDirTreeCombo281);
    EXPECT_EQ(w.LsFilelistView282->DirTreeCombo(), w.LsDirTreeCombo282);
    EXPECT_EQ(w.LsDirTreeCombo281->TreeHeight(), 550);
    EXPECT_TRUE(w.LsDirTreeCombo281->isEnabled());
}

TEST_F(FolderCombosTest, APathChangeOfComboTwoLetsTheTreeDriveListTwo)
{
    TOrvo& w = open();
    const QString sub = tree.dir(QStringLiteral("sub"));
    w.LsDirTreeCombo282->SelectPath(sub);
    EXPECT_TRUE(w.fv->isChecked());
    w.LsDirTreeCombo281->SelectPath(sub);
    EXPECT_FALSE(w.fv->isChecked());
}

TEST_F(FolderCombosTest, DoubleClickOpensTheSelectedPathInTheListAndThePathBar)
{
    TOrvo& w = open();
    const QString sub = tree.dir(QStringLiteral("sub"));
    w.LsDirTreeCombo281->SelectPath(sub);
    ASSERT_EQ(w.LsDirTreeCombo281->SelectedPath(), sub);
    QTest::mouseDClick(w.LsDirTreeCombo281, Qt::LeftButton, {}, QPoint(40, w.LsDirTreeCombo281->height() / 2));
    EXPECT_EQ(w.LsFilelistView281->Directory(), sub);
    EXPECT_EQ(w.pathbox->currentText(), sub);
}

TEST_F(FolderCombosTest, RefreshRebuildsBothCombosWithTheirFirstNodeExpanded)
{
    TOrvo& w = open();
    const QString sub = tree.dir(QStringLiteral("sub"));
    w.LsDirTreeCombo281->SelectPath(sub);
    ASSERT_NE(w.LsDirTreeCombo281->Tree()->currentItem(), nullptr);
    w.ToolButton11->click();
    for (TLsDirTreeCombo28* combo : {w.LsDirTreeCombo281, w.LsDirTreeCombo282}) {
        EXPECT_EQ(combo->Tree()->currentItem(), nullptr);
        EXPECT_TRUE(combo->Tree()->computerNode()->isExpanded());
    }
}

} // namespace
