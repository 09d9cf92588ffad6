#include "OrvoFixture.h"
#include "app/OrvoStart.h"
#include "filelist/FileListView.h"
#include "platform/Instances.h"
#include "support/TempTree.h"
#include "tools/process/ProcessWindow.h"
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QTest>

namespace {

using OrvoStartTest = OrvoFixture;

const QSize kCreated(TOrvo::kClientWidth, TOrvo::kClientHeight);

TEST_F(OrvoStartTest, SwitchesAreWholeLowerCasedArguments)
{
    const struct {
        QStringList args;
        QSize size;
    } cases[] = {
        {{}, kCreated},
        {{"/s"}, QSize(150, 50)},
        {{"/S"}, QSize(150, 50)},
        {{"/x", "/s", "anything"}, QSize(150, 50)},
        {{"/s", "/S"}, kCreated},       // each switch takes effect in turn
        {{"/s "}, kCreated},
        {{"s"}, kCreated},
        {{"/sx"}, kCreated},
        {{"/f", "/p", "/y", "/h", "/b", "/m"}, kCreated},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u'|').toStdString());
        TOrvo& w = open(c.args);
        EXPECT_EQ(w.size(), c.size);
        // The tool switches open their windows without a message.
        EXPECT_TRUE(dialogs.callsOf(QStringLiteral("message")).empty());
        dialogs.clear();
        window.reset();
    }
}

TEST_F(OrvoStartTest, ShrinkAndRestoreReturnsToTheCreationSize)
{
    TOrvo& w = open({"/s"});
    EXPECT_EQ(w.savedWindowSize(), kCreated);
    w.S3->trigger();
    EXPECT_EQ(w.size(), kCreated);
    w.resize(700, 400);
    w.S3Click();
    EXPECT_EQ(w.size(), QSize(150, 50));
    w.S3Click();
    EXPECT_EQ(w.size(), QSize(700, 400));
}

TEST_F(OrvoStartTest, ListsStartAtTheTreePath)
{
    TOrvo& w = open();
    EXPECT_TRUE(w.treePath().endsWith(u'/'));
    EXPECT_EQ(w.LsFilelistView282->Directory(), w.LsFilelistView281->Directory());
    EXPECT_EQ(w.pathbox->currentText(), w.LsFilelistView281->Directory());
    EXPECT_EQ(w.targetFolder(), w.pathbox->currentText());
    EXPECT_FALSE(w.LsFilelistView282->isVisibleTo(&w));
}

TEST_F(OrvoStartTest, FirstShowActivatesTheWindowWithListOneFocused)
{
    TOrvo& w = open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(w.LsFilelistView281->isAncestorOf(focus));
}

TEST_F(OrvoStartTest, PathArgumentIsRebuiltFromItsPieces)
{
    test::TempTree tree;
    const QString folder = tree.dir("my  photos 2024");
    const QString file = tree.file("note.txt", 3);
    const struct {
        const char* label;
        QStringList args;
        bool opens;
    } cases[] = {
        {"unquoted pieces", tree.path("my  photos 2024").split(u' '), true},
        {"one argument", {folder}, true},
        {"a file", {file}, false},
        {"missing", {tree.path("gone")}, false},
        {"switch before the path", {"/s", folder}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TOrvo& w = open(c.args);
        const QString expected = c.opens ? folder : w.treePath();
        EXPECT_EQ(w.LsFilelistView281->Directory(), expected);
        EXPECT_EQ(w.pathbox->currentText(), expected);
        EXPECT_EQ(w.targetFolder(), expected);
        if (c.opens) {
            EXPECT_EQ(w.treePath(), folder);
        }
        window.reset();
    }
}

TEST_F(OrvoStartTest, TenRunningInstancesStopTheEleventh)
{
    instances.release();
    instances.taken = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const int before = QApplication::topLevelWidgets().size();
    EXPECT_EQ(app::runOrvo(*qApp, {"/s"}), 0);
    const auto messages = dialogs.callsOf("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("已经有10个Orvo文件管理器正在运行,不能再运行新的Orvo文件管理器了。"));
    EXPECT_EQ(dialogs.calls().size(), 1u);
    dialogs.clear();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    EXPECT_TRUE(hotkeys.registered.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::iniPath()));
}

TEST_F(OrvoStartTest, HotkeysLiveWithTheWindowAndTheSlotIsReleased)
{
    instances.taken = {1, 2};
    instances.release();
    ASSERT_EQ(instances.takeSlot(), 3);
    open();
    const QMap<int, QPair<int, int>> expected{
        {1000, {int(Qt::ControlModifier), int(Qt::Key_F1)}},
        {1001, {int(Qt::ControlModifier), int(Qt::Key_F2)}},
        {1002, {int(Qt::ControlModifier), int(Qt::Key_F3)}},
        {1003, {int(Qt::AltModifier), int(Qt::Key_F5)}},
    };
    EXPECT_EQ(hotkeys.registered, expected);
    EXPECT_TRUE(bool(hotkeys.onHotkey));
    window.reset();
    EXPECT_TRUE(hotkeys.registered.isEmpty());
    EXPECT_FALSE(bool(hotkeys.onHotkey));
    EXPECT_FALSE(bool(instances.onMessage));
    EXPECT_EQ(instances.slot(), 0);
}

TEST_F(OrvoStartTest, HotkeyDispatchMatchesModifiersAndKeyExactly)
{
    TOrvo& w = open();
    const struct {
        Qt::KeyboardModifiers mods;
        int key;
        int id;
    } cases[] = {
        {Qt::ControlModifier, Qt::Key_F2, 1001},
        {Qt::ControlModifier, Qt::Key_F1, 1000},
        {Qt::AltModifier, Qt::Key_F5, 1003},
        {Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_F1, 1000},
        {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F1, 0},
        {Qt::AltModifier, Qt::Key_F1, 0},
        {Qt::ControlModifier, Qt::Key_F5, 0},
        {Qt::NoModifier, Qt::Key_F3, 0},
        {Qt::ControlModifier | Qt::AltModifier, Qt::Key_F5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(w.handleHotkey(c.mods, c.key), c.id) << int(c.mods) << " " << c.key;
    // Each Ctrl+F1 opened a process manager window.
    EXPECT_EQ(toolWindows<TPrcs>().size(), 2);
}

TEST_F(OrvoStartTest, CtrlF3HidesAndShowsWhileItIsRegistered)
{
    TOrvo& w = open();
    w.show();
    hotkeys.onHotkey(Qt::ControlModifier, Qt::Key_F3);
    EXPECT_FALSE(w.isVisible());
    hotkeys.onHotkey(Qt::ControlModifier, Qt::Key_F3);
    EXPECT_TRUE(w.isVisible());

    hotkeys.unregisterKey(TOrvo::kHotkeyShowHide);      // nothing could bring the window back
    EXPECT_EQ(w.handleHotkey(Qt::ControlModifier, Qt::Key_F3), TOrvo::kHotkeyShowHide);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(OrvoStartTest, TreeSuspendAndResumeMessages)
{
    TOrvo& w = open();
    instances.post(plat::WM_TREE_SUSPEND);
    EXPECT_FALSE(w.treeFoldersShown());
    w.pathbox->setEditText("/somewhere/else/");
    w.setTreePath("/");
    instances.post(plat::WM_TREE_RESUME);
    EXPECT_TRUE(w.treeFoldersShown());
    EXPECT_EQ(w.pathbox->currentText(), w.LsFilelistView281->Directory());
    EXPECT_EQ(w.treePath(), w.LsFilelistView281->Directory());
    EXPECT_FALSE(w.handleInstanceMessage(0x1407));
}

TEST_F(OrvoStartTest, CloseAndReopenPassesThePathBarText)
{
    const struct {
        QString text;
        QStringList args;
    } cases[] = {
        {"", {}},
        {"/tmp/a b/", {"/tmp/a b/"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        launcher.started.clear();
        instances.takeSlot();
        TOrvo& w = open();
        w.show();
        w.pathbox->setEditText(c.text);
        w.OrvoM2->trigger();
        ASSERT_EQ(launcher.started.size(), 1u);
        EXPECT_EQ(launcher.started[0].program, QCoreApplication::applicationFilePath());
        EXPECT_EQ(launcher.started[0].args, c.args);
        EXPECT_TRUE(launcher.started[0].workDir.isEmpty());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(instances.slot(), 0);     // freed before the new instance looks for one
        EXPECT_TRUE(w.LsFilelistView281->stopa());
        EXPECT_TRUE(w.LsFilelistView282->stopa());
        window.reset();
    }
}

TEST_F(OrvoStartTest, ReopenThatCannotStartKeepsThisInstance)
{
    launcher.result = false;
    TOrvo& w = open();
    w.show();
    w.OrvoM1->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_NE(instances.slot(), 0);
    EXPECT_EQ(dialogs.beeps(), 1);
    dialogs.clear();
}

TEST_F(OrvoStartTest, NewInstanceKeepsThisOneRunning)
{
    TOrvo& w = open();
    w.show();
    w.pathbox->setEditText("/tmp/");
    for (QAction* item : {w.OrvoF1, w.orvowj, w.OrvoE1})
        item->trigger();
    ASSERT_EQ(launcher.started.size(), 3u);
    for (const test::LaunchCall& call : launcher.started)
        EXPECT_EQ(call.args, QStringList{"/tmp/"});
    EXPECT_TRUE(w.isVisible());
    EXPECT_NE(instances.slot(), 0);
}

TEST_F(OrvoStartTest, ReopenSavesTheAutomaticPathListFirst)
{
    TOrvo& w = open();
    w.zdl->trigger();
    w.pathbox->addItem("/tmp/");
    w.OrvoM2Click();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(apptest::readBytes(apptest::privateFile("orvopath.txt")), QByteArray("/tmp/\r\n"));
}

} // namespace
