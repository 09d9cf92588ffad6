// The main window's controls and commands carry their documented names, whichever part made them.
#include "OrvoFixture.h"
#include "app/SettingsStore.h"
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

using ControlNamesTest = OrvoFixture;

TEST_F(ControlNamesTest, TheWindowCarriesTheProgramsTitle)
{
    TOrvo& w = open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvo 文件管理器"));
    EXPECT_EQ(w.windowTitle(), SettingsStore::kTitle);
}

TEST_F(ControlNamesTest, EachPartsControlsAreFoundByTheirDocumentedName)
{
    TOrvo& w = open();
    const struct {
        const char* name;
        QObject* control;
    } cases[] = {
        {"pathbox", w.pathbox},       {"PopupMenu2", w.PopupMenu2}, {"N110", w.N110},       {"E2", w.E2},
        {"Mask1", w.Mask1},           {"PopupMenu4", w.PopupMenu4}, {"N17", w.N17},         {"N7", w.N7},
        {"dirbox", w.dirbox},         {"PopupMenu6", w.PopupMenu6}, {"Paste0", w.Paste0},   {"paste3", w.paste3},
        {"SelectAll1", w.SelectAll1}, {"R3", w.R3},                 {"hexv", w.hexv},       {"ToolButton30", w.ToolButton30},
        {"A13", w.A13},               {"MD52", w.MD52},             {"fv", w.fv},           {"PopupMenu1", w.PopupMenu1},
        {"N112", w.N112},             {"D10", w.D10},               {"zkl", w.zkl},         {"L8", w.L8},
        {"G2", w.G2},                 {"X2", w.X2},                 {"stop2", w.stop2},     {"ToolButton8", w.ToolButton8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.control, nullptr);
        EXPECT_EQ(w.findChild<QObject*>(QLatin1String(c.name)), c.control);
    }
}

TEST_F(ControlNamesTest, ToolButtonsCarryThemeIconsBesideTheirExactCaptionsAndHints)
{
    TOrvo& w = open();
    const struct {
        QToolButton* button;
        const char* caption;
        const char* hint;
        Qt::ToolButtonStyle style;
    } cases[] = {
        {w.ToolButton30, "查找", "快速查找文件(Ctrl+F2)，右键：文件比较", Qt::ToolButtonTextUnderIcon},
        {w.Paste0, "粘贴", "粘贴", Qt::ToolButtonTextUnderIcon},
        {w.copy0, "复制", "复制", Qt::ToolButtonTextUnderIcon},
        {w.del1, "删除", "删除文件(夹)或者是清空回收站，右键：打开回收站", Qt::ToolButtonTextUnderIcon},
        {w.ToolButton11, "刷新", "刷新", Qt::ToolButtonTextUnderIcon},
        {w.ToolButton15, "全选", "选择全部", Qt::ToolButtonTextUnderIcon},
        {w.ToolButton3, "→", "转到路径栏当前路径", Qt::ToolButtonTextBesideIcon},
        {w.up1, "▲", "后退至路径栏列表上一条路径", Qt::ToolButtonTextBesideIcon},
        {w.ToolButton8, "背景", "改变背景颜色，按下后在颜色框里选择颜色", Qt::ToolButtonTextBesideIcon},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_FALSE(c.button->icon().isNull());
        EXPECT_EQ(c.button->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(c.button->toolTip(), QString::fromUtf8(c.hint));
        EXPECT_EQ(c.button->toolButtonStyle(), c.style);
    }
}

TEST_F(ControlNamesTest, NoTwoCommandsShareAName)
{
    TOrvo& w = open();
    QSet<QString> seen;
    int named = 0;
    // The window's own commands; the lists keep their own menus.
    for (const QAction* a : w.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (a->objectName().isEmpty())
            continue;
        ++named;
        EXPECT_FALSE(seen.contains(a->objectName())) << a->objectName().toStdString();
        seen.insert(a->objectName());
    }
    EXPECT_GT(named, 130);   // every documented command of the window and its parts
}

} // namespace

using apptest::rightClick;

TEST_F(ControlNamesTest, RightClickOnAMenuButtonOpensItsMenuAndTheBarsOfferNoHideMenu)
{
    TOrvo& w = open();
    w.resize(1600, 900);   // wide enough for every button of the command bar
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const struct {
        QToolButton* button;
        const char* menu;
    } cases[] = {{w.shfv, "PopupMenu9"}, {w.Icond, "PopupMenu1"}, {w.treeset, "PopupMenu7"}, {w.phint, "PopupMenu5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        ASSERT_TRUE(c.button->isVisible());
        rightClick(c.button, c.button->rect().center());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), QLatin1String(c.menu));
        EXPECT_FALSE(menu->actions().isEmpty());
        menu->close();
    }
    for (QToolBar* bar : {w.ToolBar1, w.ToolBar2}) {
        SCOPED_TRACE(bar->objectName().toStdString());
        // The empty stretch right of the last control.
        QWidget* last = nullptr;
        for (QAction* a : bar->actions())
            if (QWidget* b = bar->widgetForAction(a); b && b->isVisible())
                last = b;
        ASSERT_NE(last, nullptr);
        const QPoint empty(last->geometry().right() + 4, bar->height() / 2);
        ASSERT_LT(empty.x(), bar->width());
        ASSERT_EQ(bar->childAt(empty), nullptr);
        rightClick(bar, empty);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        if (QWidget* p = QApplication::activePopupWidget())
            p->close();
        EXPECT_EQ(static_cast<QMainWindow&>(w).createPopupMenu(), nullptr);
        EXPECT_FALSE(bar->toggleViewAction()->isVisible());
    }
}

namespace {

TEST_F(ControlNamesTest, TheNameClashItemsSitInTheEditMenuAndThePasteButtonsMenuAsDocumented)
{
    TOrvo& w = open();
    QMenu* edit = nullptr;
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == QStringLiteral("编辑"))
            edit = a->menu();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->actions().contains(w.ztf));
    EXPECT_FALSE(edit->actions().contains(w.fj));
    EXPECT_FALSE(edit->actions().contains(w.th));
    auto* paste = w.Paste0->findChild<QMenu*>(QStringLiteral("PopupMenu10"));
    ASSERT_NE(paste, nullptr);
    EXPECT_EQ(paste->actions(), (QList<QAction*>{w.fj, w.th}));
}

} // namespace
