// Commands whose work is not part of the program yet are disabled and say so; every other command does something.
#include "OrvoFixture.h"
#include "app/Commands.h"
#include "app/ToolLauncher.h"
#include "filelist/FileListView.h"
#include "foldertree/Shellnode.h"
#include "support/TempTree.h"
#include "tools/process/ProcessWindow.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {

class UnavailableCommandsTest : public OrvoFixture {
protected:
    test::TempTree tree;
    // Receivers of a signal, which QObject keeps to its subclasses: a member pointer named through one
    // reaches it on any object.
    struct Peek : QObject {
        static int receiversOf(const QObject* o, const char* signal)
        {
            constexpr int (QObject::*receivers)(const char*) const = &Peek::receivers;
            return (o->*receivers)(signal);
        }
    };
    static int receiversOf(QObject* o, const char* signal) { return Peek::receiversOf(o, signal); }
};

TEST_F(UnavailableCommandsTest, EachIsDisabledWithANoteEvenWithAFileSelected)
{
    tree.file(QStringLiteral("note.txt"), 10);
    TOrvo& w = open();
    TLsFilelistView28* one = w.LsFilelistView281;
    one->setDirectory(tree.root());
    one->selectRow(0);
    ASSERT_TRUE(w.cut0->isEnabled());   // the selection enables the commands that have work
    const struct {
        const char* name;
        QObject* control;
    } cases[] = {
        {"fsd", w.fsd}, {"fsd1", w.fsd1}, {"copytocb", w.copytocb}, {"SpinEdit1", w.SpinEdit1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (auto* a = qobject_cast<QAction*>(c.control)) {
            EXPECT_FALSE(a->isEnabled());
            EXPECT_TRUE(a->toolTip().contains(QStringLiteral("尚未提供"))) << a->toolTip().toStdString();
        } else {
            auto* widget = qobject_cast<QWidget*>(c.control);
            ASSERT_NE(widget, nullptr);
            EXPECT_FALSE(widget->isEnabled());
            EXPECT_TRUE(widget->toolTip().contains(QStringLiteral("尚未提供"))) << widget->toolTip().toStdString();
        }
    }
    // The properties and hex view commands have their work: enabled by the selection, without the note.
    one->selectRow(rowOf(one, QStringLiteral("note.txt")));
    for (QObject* c : std::initializer_list<QObject*>{w.sx2, w.sxxg, w.G5, w.RewriteTime, w.Properties, w.rwtime,
                                                      w.Attribute, w.h16, w.hexv}) {
        SCOPED_TRACE(c->objectName().toStdString());
        EXPECT_FALSE(app::isNotAvailable(c));
        if (auto* a = qobject_cast<QAction*>(c))
            EXPECT_TRUE(a->isEnabled() && !a->toolTip().contains(QStringLiteral("尚未提供")));
        else if (auto* b = qobject_cast<QWidget*>(c))
            EXPECT_TRUE(b->isEnabled() && !b->toolTip().contains(QStringLiteral("尚未提供")));
    }
    EXPECT_EQ(w.rwtime->toolTip(), QStringLiteral("修改文件时间"));
}

// The process commands have their window now: enabled, without the note, and no message.
TEST_F(UnavailableCommandsTest, TheProcessCommandsOpenTheProcessManager)
{
    TOrvo& w = open();
    EXPECT_TRUE(w.P12->isEnabled());
    EXPECT_FALSE(w.P12->toolTip().contains(QStringLiteral("尚未提供")));
    EXPECT_FALSE(w.ToolButton29->toolTip().contains(QStringLiteral("尚未提供")));
    const struct {
        const char* what;
        std::function<void()> act;
    } ways[] = {
        {"button", [&] { QTest::mouseClick(w.ToolButton29, Qt::LeftButton); }},
        {"Ctrl+F1", [&] { w.handleHotkey(Qt::ControlModifier, Qt::Key_F1); }},
        {"P12", [&] { w.P12->trigger(); }},
        {"/p", [&] { w.toolLauncher().runSwitch(QStringLiteral("/p")); }},
    };
    int opened = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        way.act();
        EXPECT_TRUE(dialogs.callsOf(QStringLiteral("message")).empty());
        EXPECT_EQ(toolWindows<TPrcs>(true).size(), ++opened);
    }
}

TEST_F(UnavailableCommandsTest, ClickingAFileInTheTreeSaysThePreviewIsNotAvailable)
{
    tree.file(QStringLiteral("shown.txt"), 1);
    TOrvo& w = open();
    w.B5->trigger();   // the tree shows files
    w.setTreePath(tree.root());
    TShellnode* folder = w.ShellTree1->Selected();
    ASSERT_NE(folder, nullptr);
    folder->setExpanded(true);
    const auto shownFile = [&]() -> TShellnode* {
        for (int i = 0; i < folder->childCount(); ++i)
            if (folder->child(i)->text(0).startsWith(QStringLiteral("shown")))
                return static_cast<TShellnode*>(folder->child(i));
        return nullptr;
    };
    QTRY_VERIFY_WITH_TIMEOUT(shownFile() != nullptr, 5000);
    TShellnode* file = shownFile();
    w.ShellTree1Click(file);
    EXPECT_EQ(w.StatusBar1->currentMessage(), QStringLiteral("预览尚未提供"));
}

// No enabled command is silent: each runs something when triggered, opens a menu or is a separator. A file
// is selected, so the commands that follow the selection are enabled too.
TEST_F(UnavailableCommandsTest, EveryEnabledCommandHasWorkBehindIt)
{
    tree.file(QStringLiteral("note.txt"), 10);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.root());
    w.LsFilelistView281->selectRow(0);
    ASSERT_TRUE(w.Copy1->isEnabled());
    for (QAction* a : w.findChildren<QAction*>()) {
        if (!a->isEnabled() || a->isSeparator() || a->menu() || a->objectName().isEmpty())
            continue;
        SCOPED_TRACE(a->objectName().toStdString());
        // Each menu the command is in listens to it too; a handler is one more.
        int menus = 0;
        for (QObject* o : a->associatedObjects())
            menus += qobject_cast<QMenu*>(o) || qobject_cast<QMenuBar*>(o);
        EXPECT_GT(receiversOf(a, SIGNAL(triggered(bool))), menus);
    }
    for (QToolButton* b : w.findChildren<QToolButton*>()) {
        if (!b->isEnabled() || b->objectName().isEmpty() || b->objectName().startsWith(u"qt_"))
            continue;
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_TRUE(receiversOf(b, SIGNAL(clicked(bool))) > 0 || b->menu() || b->defaultAction());
    }
}

} // namespace
