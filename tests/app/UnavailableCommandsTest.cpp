// Commands whose work is not part of the program yet are disabled and say so; every other command does something.
#include "OrvoFixture.h"
#include "app/ToolLauncher.h"
#include "filelist/FileListView.h"
#include "foldertree/Shellnode.h"
#include "support/TempTree.h"
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
        {"fsd", w.fsd},           {"fsd1", w.fsd1},         {"copytocb", w.copytocb}, {"sx2", w.sx2},
        {"sxxg", w.sxxg},         {"G5", w.G5},             {"RewriteTime", w.RewriteTime},
        {"Properties", w.Properties}, {"P12", w.P12},
        {"rwtime", w.rwtime},     {"Attribute", w.Attribute}, {"SpinEdit1", w.SpinEdit1},
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
    // The hex view has its work: enabled for a selected file, with no note.
    one->selectRow(rowOf(one, QStringLiteral("note.txt")));
    for (QAction* a : {w.h16, w.hexv}) {
        EXPECT_TRUE(a->isEnabled());
        EXPECT_FALSE(a->toolTip().contains(QStringLiteral("尚未提供")));
    }
    EXPECT_EQ(w.rwtime->toolTip(), QStringLiteral("修改文件时间（尚未提供）"));
}

TEST_F(UnavailableCommandsTest, TheProcessManagerSaysItIsNotAvailable)
{
    TOrvo& w = open();
    EXPECT_TRUE(w.ToolButton29->toolTip().contains(QStringLiteral("尚未提供")));
    const struct {
        const char* what;
        std::function<void()> act;
    } ways[] = {
        {"button", [&] { QTest::mouseClick(w.ToolButton29, Qt::LeftButton); }},
        {"Ctrl+F1", [&] { w.handleHotkey(Qt::ControlModifier, Qt::Key_F1); }},
        {"/p", [&] { w.toolLauncher().runSwitch(QStringLiteral("/p")); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        way.act();
        const auto messages = dialogs.callsOf(QStringLiteral("message"));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, QStringLiteral("进程管理尚未提供。"));
        dialogs.clear();
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
