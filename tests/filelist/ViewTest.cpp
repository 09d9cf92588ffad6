#include "filelist/FileListHeader.h"
#include "filelist/FileListView.h"
#include "support/TempTree.h"
#include <QListView>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

class View : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.dir("sub");
        t.file("a.txt", 100);
        t.file("b.txt", 3000);
        t.file("c.txt", 5);
        list.resize(800, 400);
        list.show();
        list.setDirectory(t.root());
    }
    int rowOf(const QString& caption) const
    {
        for (int r = 0; r < list.rowCount(); ++r)
            if (list.caption(r) == caption)
                return r;
        return -1;
    }
    test::TempTree t;
    TLsFilelistView28 list;
};

TEST_F(View, ColumnsCaptionsAndWidths)
{
    QAbstractItemModel* m = list.model();
    ASSERT_EQ(m->columnCount(), 9);
    EXPECT_EQ(m->headerData(4, Qt::Horizontal).toString(), QStringLiteral("创建时间"));
    EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString(), QStringLiteral("File/Dir"));
    EXPECT_EQ(list.detailsView()->header()->sectionSize(0), 155);
    EXPECT_EQ(list.detailsView()->header()->sectionSize(4), 123);   // created takes the modified width
    EXPECT_EQ(list.detailsView()->header()->sectionSize(5), 2);
    EXPECT_EQ(m->data(m->index(rowOf("a.txt"), 1), Qt::DisplayRole).toString(), QStringLiteral("1 KB"));
    EXPECT_EQ(m->data(m->index(rowOf("a.txt"), 5), Qt::DisplayRole).toString(), t.root() + "a.txt");
    EXPECT_EQ(m->data(m->index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_FALSE(m->data(m->index(rowOf(".."), 0), Qt::DecorationRole).value<QIcon>().isNull());
    list.setWidth_Name(215);                 // stored; the next build of the file columns uses it
    EXPECT_EQ(list.detailsView()->header()->sectionSize(0), 155);
    list.setDirectory("DRIVES");
    EXPECT_EQ(m->columnCount(), 7);
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("磁盘大小"));
    list.setDirectory(t.root());
    EXPECT_EQ(list.detailsView()->header()->sectionSize(0), 215);
}

TEST_F(View, SelectionNumbersAndSizes)
{
    EXPECT_EQ(list.SelectedNumber(), list.rowCount());
    EXPECT_EQ(list.SelectedSize(), 0);
    EXPECT_EQ(list.TotalSize(), 3105);
    list.selectRow(rowOf("a.txt"));
    list.selectRow(rowOf("b.txt"), true);
    list.selectRow(rowOf("sub"), true);
    EXPECT_EQ(list.SelectedNumber(), 3);
    EXPECT_EQ(list.SelectedSize(), 3100);
    EXPECT_EQ(list.selectedRows().size(), 3);
}

TEST_F(View, ViewStylesShareOneSelection)
{
    list.selectRow(rowOf("b.txt"));
    list.setViewStyle(vsList);
    EXPECT_EQ(list.currentView(), list.iconView());
    EXPECT_EQ(list.iconView()->selectionModel(), list.detailsView()->selectionModel());
    EXPECT_TRUE(list.iconView()->selectionModel()->isRowSelected(rowOf("b.txt"), QModelIndex()));
    list.setViewStyle(vsIcon);
    EXPECT_EQ(list.iconView()->viewMode(), QListView::IconMode);
    list.setViewStyle(vsReport);
    EXPECT_EQ(list.currentView(), list.detailsView());
    EXPECT_EQ(list.selectedRows(), QList<int>{rowOf("b.txt")});
}

TEST_F(View, ClickRaisesItemChangeThenClick)
{
    QStringList events;
    list.OnItemChange = [&](QObject* sender, const QString& item) {
        EXPECT_EQ(sender, &list);
        events << "change:" + item;
    };
    QObject::connect(&list, &TLsFilelistView28::itemClicked, [&] { events << "click"; });
    QTreeView* tree = list.detailsView();
    const QRect rect = tree->visualRect(list.model()->index(rowOf("c.txt"), 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(events, (QStringList{"change:" + t.root() + "c.txt", "click"}));
    EXPECT_EQ(list.SelectedItem(), t.root() + "c.txt");
    events.clear();
    tree->selectionModel()->clearSelection();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(5, tree->viewport()->height() - 3));
    EXPECT_TRUE(events.isEmpty());            // nothing selected: no event at all
}

TEST_F(View, HeaderArrowFollowsTheSortState)
{
    EXPECT_EQ(list.header()->arrowSection(), 0);
    EXPECT_FALSE(list.header()->arrowUp());   // ascending shows the down arrow
    Q_EMIT list.header()->sectionClicked(1);
    EXPECT_EQ(list.SortColumn(), 1);
    EXPECT_EQ(list.header()->arrowSection(), 1);
    EXPECT_TRUE(list.header()->arrowUp());
    EXPECT_EQ(list.caption(1), QStringLiteral("b.txt"));
}

TEST_F(View, ReadOnlyIgnoresListingRequests)
{
    list.setReadOnly(true);
    t.file("new.txt");
    list.UpdateFileList();
    EXPECT_EQ(rowOf("new.txt"), -1);
    list.setReadOnly(false);
    list.UpdateFileList();
    EXPECT_GE(rowOf("new.txt"), 0);
    EXPECT_TRUE(list.stopa());
}

} // namespace

namespace {

// In the list and small-icon styles every column is as wide as the longest name, up to the pane's width.
TEST_F(View, ListStylesShowTheLongestNameWholeUpToThePaneWidth)
{
    const QString longName = QStringLiteral("a-file-whose-name-is-much-longer-than-nine-characters.txt");
    t.file(longName, 1);
    list.UpdateFileList();
    const int row = rowOf(longName);
    ASSERT_GE(row, 0);
    QListView* view = list.iconView();
    for (const TViewStyle style : {vsList, vsSmallIcon}) {
        SCOPED_TRACE(int(style));
        list.resize(800, 400);
        list.setViewStyle(style);
        QCoreApplication::processEvents();
        const int needed = view->fontMetrics().horizontalAdvance(longName) + view->iconSize().width();
        const QRect rect = view->visualRect(list.model()->index(row, 0));
        EXPECT_GE(rect.width(), needed);
        EXPECT_EQ(view->visualRect(list.model()->index(rowOf(QStringLiteral("a.txt")), 0)).width(), rect.width());

        list.resize(150, 400);   // a narrow pane: the column fits in it
        QCoreApplication::processEvents();
        EXPECT_LE(view->visualRect(list.model()->index(row, 0)).width(), view->viewport()->width());
    }
    list.setViewStyle(vsReport);
}

// Short names show whole in every icon style, also when the folder is listed after the style was chosen.
TEST_F(View, IconStylesShowShortNamesWhole)
{
    const QStringList names{QStringLiteral("b.bmp"), QStringLiteral("notes.txt"), QStringLiteral("x")};
    for (const QString& n : names)
        t.file(n, 1);
    QListView* view = list.iconView();
    list.resize(600, 400);
    for (const TViewStyle style : {vsIcon, vsSmallIcon}) {
        SCOPED_TRACE(int(style));
        list.setViewStyle(style);
        list.UpdateFileList();
        QCoreApplication::processEvents();
        for (const QString& n : names) {
            SCOPED_TRACE(n.toStdString());
            const int row = rowOf(n);
            ASSERT_GE(row, 0);
            const int text = view->fontMetrics().horizontalAdvance(n);
            const int needed = style == vsIcon ? text : text + view->iconSize().width();
            EXPECT_GE(view->visualRect(list.model()->index(row, 0)).width(), needed);
        }
    }
    list.setViewStyle(vsReport);
}

} // namespace
