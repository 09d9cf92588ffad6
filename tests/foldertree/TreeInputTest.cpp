#include "TreeFixture.h"
#include "platform/Services.h"
#include "support/CaseNames.h"
#include "support/ScriptedDialogs.h"
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

using test::childTexts;
using test::TreeFixture;

namespace {

// --- In-place rename ---

class RenameRefusal : public TreeFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(RenameRefusal, RefusedWithTheExistsMessage)
{
    t.dir("a");
    t.file("b", QByteArray("keep"));
    buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    test::ScriptedDialogs dialogs;
    const QString name = QString::fromUtf8(GetParam());
    EXPECT_FALSE(tree.RenameNode(node(t.path("a")), name));
    ASSERT_EQ(dialogs.callsOf("error").size(), 1u);
    EXPECT_EQ(dialogs.callsOf("error")[0].text, u'"' + name + QStringLiteral("\" already exists !"));
    EXPECT_TRUE(QFileInfo(t.path("a")).isDir());
    EXPECT_EQ(QFileInfo(t.path("b")).size(), 4);
    EXPECT_EQ(node(t.path("a"))->text(0), QStringLiteral("a"));
}

INSTANTIATE_TEST_SUITE_P(Names, RenameRefusal, ::testing::Values("b", ".", "..", "x/y", "../a2"),
                         [](const auto& i) { return test::literalName(i.param); });

TEST_F(TreeFixture, RenameUpdatesTheNodeItsChildrenAndTheOrder)
{
    t.dir("m/inner/deep");
    t.dir("n");
    TShellnode* root = buildAt(t.root());
    tree.setPath(t.path("m/inner"));
    TShellnode* m = node(t.path("m"));
    tree.setCurrentItem(m);
    QStringList paths;
    QObject::connect(&tree, &TShellTree::pathChanged, &tree, [&](const QString& p) { paths << p; });
    QString seenByEvent;
    tree.OnEdited = [&](QObject*, TShellnode* n, QString& text) {
        seenByEvent = n->Path();
        text = text.trimmed();
    };
    EXPECT_TRUE(tree.RenameNode(m, " z "));
    EXPECT_EQ(seenByEvent, t.path("m"));   // the event comes before the rename
    EXPECT_TRUE(QFileInfo(t.path("z/inner/deep")).isDir());
    EXPECT_EQ(m->Path(), t.path("z"));
    EXPECT_EQ(m->text(0), QStringLiteral("z"));
    EXPECT_EQ(m->childNode(0)->Path(), t.path("z/inner"));
    EXPECT_EQ(childTexts(root), (QStringList{"n", "z"}));
    EXPECT_EQ(paths, QStringList{t.path("z")});
    EXPECT_FALSE(tree.RenameNode(m, "z"));   // unchanged name: nothing to do
    // The renamed folder is watched under its new name.
    QDir(t.path("z")).mkdir("added");
    ASSERT_TRUE(test::waitFor([&] { return childTexts(m).contains("added"); }));
}

TEST_F(TreeFixture, RenameFailureStaysQuietWithoutShowMessages)
{
    t.dir("a");
    t.dir("b");
    buildAt(t.root());
    tree.setShowMessages(false);
    test::ScriptedDialogs dialogs;
    EXPECT_FALSE(tree.RenameNode(node(t.path("a")), "b"));
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(TreeFixture, InPlaceEditRenames)
{
    t.dir("before");
    buildAt(t.root());
    tree.show();
    tree.setCurrentItem(node(t.path("before")));
    tree.EditSelected();
    auto* editor = tree.findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->setText("after");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the delegate commits through a queued call
    EXPECT_TRUE(QFileInfo(t.path("after")).isDir());
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("after"));
    // Read-only trees and items without CANRENAME are not edited.
    tree.setReadOnly(true);
    EXPECT_FALSE(tree.CanEdit(tree.Selected()));
    tree.setReadOnly(false);
    EXPECT_TRUE(tree.CanEdit(tree.Selected()));
    EXPECT_FALSE(tree.CanEdit(tree.Root()));
}

// --- Mouse wheel ---

class Wheel : public TreeFixture {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 200; ++i)
            t.dir(QStringLiteral("d%1").arg(i, 3, 10, QChar(u'0')));
        buildAt(t.root());
        tree.resize(200, 200);
        tree.show();
        QCoreApplication::processEvents();
        bar = tree.verticalScrollBar();
        bar->setValue(100);
    }
    void wheel(int delta)
    {
        const QPointF pos(50, 50);
        QWheelEvent e(pos, tree.viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(tree.viewport(), &e);
    }
    QScrollBar* bar = nullptr;
};

TEST_F(Wheel, ANotchScrollsAPageInItsOwnDirection)
{
    const int page = bar->pageStep();
    ASSERT_GT(page, 1);
    wheel(-120);
    EXPECT_EQ(bar->value(), 100 + page);
    wheel(120);
    EXPECT_EQ(bar->value(), 100);
    wheel(-240);
    EXPECT_EQ(bar->value(), 100 + 2 * page);
}

TEST_F(Wheel, SmallDeltasAccumulateIntoLines)
{
    const int line = bar->singleStep();
    wheel(-30);
    EXPECT_EQ(bar->value(), 100);
    wheel(-30);
    EXPECT_EQ(bar->value(), 100 + line);   // 60: one line, 20 left over
    wheel(30);                              // the other way: the sum starts again
    EXPECT_EQ(bar->value(), 100 + line);
    wheel(15);
    EXPECT_EQ(bar->value(), 100);
    wheel(-30);
    wheel(-120);                            // a notch clears the sum
    EXPECT_EQ(bar->value(), 100 + bar->pageStep());
    wheel(-30);
    EXPECT_EQ(bar->value(), 100 + bar->pageStep());
}

// --- Context menu ---

TEST_F(TreeFixture, BuiltInMenuAndItsCommands)
{
    t.file("doc.txt", 5);
    t.dir("folder/inner");
    buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    auto captions = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            out << a->text();
        return out;
    };
    EXPECT_EQ(captions(tree.systemMenu(node(t.path("doc.txt"))).get()), (QStringList{"打开&O", "改名&R", "属性&A"}));
    EXPECT_EQ(captions(tree.systemMenu(tree.Root()).get()), (QStringList{"打开&O", "属性&A"}));
    test::FakeLauncher launcher;
    plat::Services s = plat::services();
    s.launcher = &launcher;
    plat::ScopedServices scoped(s);
    tree.runSystemCommand(node(t.path("doc.txt")), "open");
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(t.path("doc.txt")));
    tree.runSystemCommand(node(t.path("folder")), "open");
    EXPECT_EQ(tree.Selected(), node(t.path("folder")));
    EXPECT_TRUE(tree.Selected()->isExpanded());
    test::ScriptedDialogs dialogs;
    tree.runSystemCommand(node(t.path("doc.txt")), "properties");
    ASSERT_EQ(dialogs.callsOf("info").size(), 1u);
    EXPECT_EQ(dialogs.callsOf("info")[0].caption, QStringLiteral("属性"));
    EXPECT_TRUE(dialogs.callsOf("info")[0].text.contains(QStringLiteral("大小: 5 字节")));
    EXPECT_TRUE(dialogs.callsOf("info")[0].text.contains(QStringLiteral("位置: ") + t.root()));
    // A desktop file manager on the bus shows its own properties instead of the box.
    launcher.fileManager = true;
    tree.runSystemCommand(node(t.path("doc.txt")), "properties");
    EXPECT_EQ(dialogs.callsOf("info").size(), 1u);
    ASSERT_EQ(launcher.shownProperties.size(), 2u);
    EXPECT_EQ(launcher.shownProperties[1], QUrl::fromLocalFile(t.path("doc.txt")));
}

TEST_F(TreeFixture, RightClickSelectsShowsTheMenuAndRestoresTheSelection)
{
    t.dir("a");
    t.dir("b");
    buildAt(t.root());
    tree.resize(300, 300);
    tree.show();
    QCoreApplication::processEvents();
    TShellnode* a = node(t.path("a"));
    TShellnode* b = node(t.path("b"));
    tree.setCurrentItem(a);
    TShellnode* hooked = nullptr;
    TShellnode* selectedDuringMenu = nullptr;
    tree.OnSystemContextMenu = [&](QObject*, TShellnode* n, QMenu* menu) {
        hooked = n;
        selectedDuringMenu = tree.Selected();
        QTimer::singleShot(0, menu, [menu] { menu->close(); });
    };
    tree.popupAt(tree.visualItemRect(b).center());
    EXPECT_EQ(hooked, b);
    EXPECT_EQ(selectedDuringMenu, b);
    EXPECT_EQ(tree.Selected(), a);
    // A veto: no menu at all.
    hooked = nullptr;
    tree.OnPopupMenu = [](QObject*, TShellnode*, bool& allow) { allow = false; };
    tree.popupAt(tree.visualItemRect(b).center());
    EXPECT_EQ(hooked, nullptr);
    EXPECT_EQ(tree.Selected(), a);
    // The control's own menu in pmm_PopupMenu mode.
    tree.OnPopupMenu = nullptr;
    QMenu own;
    own.addAction("x");
    bool shown = false;
    QObject::connect(&own, &QMenu::aboutToShow, &own, [&] {
        shown = true;
        QTimer::singleShot(0, &own, [&own] { own.close(); });
    });
    tree.setPopupMenuMode(pmm_PopupMenu);
    tree.setPopupMenu(&own);
    tree.popupAt(tree.visualItemRect(b).center());
    EXPECT_TRUE(shown);
    EXPECT_EQ(hooked, nullptr);
}

} // namespace
