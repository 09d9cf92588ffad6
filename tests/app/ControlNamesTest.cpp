// The main window's controls and commands carry their documented names, whichever part made them.
#include "OrvoFixture.h"
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QSet>
#include <QToolButton>

namespace {

using ControlNamesTest = OrvoFixture;

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
