// The process manager window driven as a user does, over a faked process table and window list.
#include "FakeProcessInfo.h"
#include "platform/Pump.h"
#include "support/ScriptedDialogs.h"
#include "tools/process/ProcessListModel.h"
#include "tools/process/ProcessWindow.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

using namespace proctest;

namespace {

class ProcessWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        info.procs = {proc(1, 0, "init"), proc(300, 1, "sleep", 4, 1), proc(301, 1, "editor", 13, 5)};
        info.mods[300] = {plat::ModuleEntry{QStringLiteral("sleep"), QStringLiteral("/usr/bin/sleep"), 4096, 24576, 300},
                          plat::ModuleEntry{QStringLiteral("libc.so.6"), QStringLiteral("/lib/libc.so.6"), 8192, 4096, 300}};
        info.exes[301] = QStringLiteral("/usr/bin/editor");
        info.wins = {window(0x400001, "Editor", kNormal, 0, 301), window(0x400002, "", kNormal, 0, 301),
                     window(0x400003, "Save as", kDialog, 0x400001, 301), window(0x400004, "Hidden", kHiddenNormal),
                     window(0x400005, "Zero", 0, 0, 301)};
        info.wins[2].ownerTitle = QStringLiteral("Editor");
    }
    void TearDown() override
    {
        w.reset();
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }

    TPrcs& open()
    {
        w = std::make_unique<TPrcs>();
        w->show();
        waitForList();
        return *w;
    }
    void waitForList()
    {
        plat::pumpUntil([this] { return !w->refreshing(); });
        QCoreApplication::sendPostedEvents();
    }
    static QStringList column(const process::ProcessListModel* m, int c)
    {
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->cell(r, c);
        return out;
    }
    static QStringList headers(const QTreeView* v)
    {
        QStringList out;
        for (int c = 0; c < v->model()->columnCount(); ++c)
            out << v->model()->headerData(c, Qt::Horizontal).toString();
        return out;
    }
    static void clickRow(QTreeView* v, int row, Qt::KeyboardModifiers mods = {})
    {
        const QRect r = v->visualRect(v->model()->index(row, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, mods, r.center());
    }
    // Opens the view's pop-up menu at its first row and clicks `action` in it.
    static void choose(QTreeView* v, QMenu* menu, QAction* action)
    {
        const QPoint at = v->visualRect(v->model()->index(0, 0)).center();
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, v->viewport()->mapToGlobal(at));
        QApplication::sendEvent(v->viewport(), &e);
        ASSERT_TRUE(menu->isVisible());
        ASSERT_TRUE(action->isEnabled()) << action->text().toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }
    QStringList boxesTicked() const
    {
        QStringList out;
        for (QCheckBox* b : w->styleBoxes)
            if (b->isChecked())
                out << b->text();
        return out;
    }

    test::ScriptedDialogs dialogs;
    FakeProcessInfo info;
    plat::ScopedServices services{withProcs(&info)};
    std::unique_ptr<TPrcs> w;
};

TEST_F(ProcessWindow, PagesColumnsAndStartState)
{
    TPrcs& p = open();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("进程管理"));
    EXPECT_TRUE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_EQ(p.ProList->count(), 3);
    EXPECT_EQ(p.ProList->tabText(0), QStringLiteral("进程列表"));
    EXPECT_EQ(p.ProList->tabText(1), QStringLiteral("窗体列表"));
    EXPECT_EQ(p.ProList->tabText(2), QStringLiteral("其它项目"));
    EXPECT_EQ(headers(p.ProcList),
              QStringList({"进程", "ID", "父进程ID", "线程数", "优先级", "类型", "模块ID", "cntUsage", "HeapID", "dwFlags"}));
    EXPECT_EQ(headers(p.ModuleList), QStringList({"模块", "路径", "hModule", "modBaseAddr", "modBaseSize", "GlblcntUsage",
                                                  "ProccntUsage", "Moduleid", "ProcessID", "dwSize"}));
    EXPECT_EQ(headers(p.procwin), QStringList({"窗体名", "路径", "活动Id", "par", "线程Id", "风格", "进程Id", "EX风格",
                                               "类名", "hPar", " "}));
    EXPECT_EQ(headers(p.ThreadList),
              QStringList({"进程所有者ID", "ThreadID", "dwSize", "cntUsage", "BasePri", "DeltaPri", "dwFlags"}));
    EXPECT_FALSE(p.ThreadList->isVisible());
    EXPECT_EQ(p.ThreadList->model()->rowCount(), 0);
    EXPECT_FALSE(p.StyleGroup->isEnabled());
    EXPECT_EQ(p.StyleGroup->title(), QStringLiteral("窗体风格"));
    EXPECT_TRUE(p.visonlyw_old->isChecked());
    EXPECT_TRUE(p.taskBarStylew_old->isChecked());
    EXPECT_FALSE(p.allw_old->isChecked() || p.invisonlyw_old->isChecked() || p.Emptyw_old->isChecked());
    // The rows of the snapshot, in its order; nothing selected, so the row commands are off.
    EXPECT_EQ(column(p.processModel(), 0), QStringList({"init", "sleep", "editor"}));
    EXPECT_EQ(column(p.processModel(), 4), QStringList({"[Normal  ]", "[Idle    ]", "[High    ]"}));
    EXPECT_EQ(column(p.processModel(), 3), QStringList({"1", "1", "5"}));
    EXPECT_FALSE(p.terminate_old->isEnabled());
    EXPECT_TRUE(p.Refesh_old->isEnabled());
    EXPECT_FALSE(p.Free_old->isEnabled());
    EXPECT_FALSE(p.Switchto1_old->isEnabled());
    EXPECT_FALSE(p.TerminateProcess1_old->isEnabled());
    EXPECT_FALSE(p.processModel()->data(p.processModel()->index(0, 0), Qt::DecorationRole).isNull());
}

TEST_F(ProcessWindow, ThousandsOfProcessesArriveInOneReset)
{
    QList<plat::ProcessEntry> many;
    for (quint32 pid = 1; pid <= 2000; ++pid)
        many << proc(pid, 1, "worker");
    info.procs = many;
    w = std::make_unique<TPrcs>();
    QSignalSpy resets(w->processModel(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(w->processModel(), &QAbstractItemModel::rowsInserted);
    QSignalSpy listed(w.get(), &TPrcs::processesListed);
    w->show();
    EXPECT_TRUE(w->refreshing());   // read on the worker, not while showing
    waitForList();
    EXPECT_EQ(listed.size(), 1);
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(inserts.size(), 0);
    EXPECT_EQ(w->processModel()->rowCount(), 2000);
}

TEST_F(ProcessWindow, ClickingAProcessListsItsModules)
{
    TPrcs& p = open();
    clickRow(p.ProcList, 1);
    EXPECT_EQ(column(p.moduleModel(), 0), QStringList({"sleep", "libc.so.6"}));
    EXPECT_EQ(column(p.moduleModel(), 1), QStringList({"/usr/bin/sleep", "/lib/libc.so.6"}));
    EXPECT_EQ(column(p.moduleModel(), 2), QStringList({"4096", "8192"}));
    EXPECT_EQ(column(p.moduleModel(), 9), QStringList({"548", "548"}));
    EXPECT_TRUE(p.terminate_old->isEnabled());
    clickRow(p.ProcList, 0);   // init's modules cannot be read
    EXPECT_EQ(p.moduleModel()->rowCount(), 0);
    // Refreshing clears the modules at once.
    clickRow(p.ProcList, 1);
    p.Refesh_old->trigger();
    EXPECT_EQ(p.moduleModel()->rowCount(), 0);
    waitForList();
    EXPECT_EQ(p.processModel()->rowCount(), 3);
}

TEST_F(ProcessWindow, EndingAProcessAsksThenEndsItAndRelists)
{
    TPrcs& p = open();
    clickRow(p.ProcList, 0);
    clickRow(p.ProcList, 1);
    dialogs.answerQuestion(ui::Dialogs::No);
    choose(p.ProcList, p.processMenu, p.terminate_old);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("question"));
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("真的要终止“sleep”进程吗?"));
    EXPECT_TRUE(info.terminated.empty());
    dialogs.clear();

    const int before = info.snapshotCount();
    dialogs.answerQuestion(ui::Dialogs::Yes);
    choose(p.ProcList, p.processMenu, p.terminate_old);
    EXPECT_EQ(info.terminated, std::vector<quint32>{300});
    EXPECT_EQ(dialogs.callsOf(QStringLiteral("question")).size(), 1u);
    EXPECT_TRUE(dialogs.callsOf(QStringLiteral("error")).empty());
    dialogs.clear();
    waitForList();
    EXPECT_EQ(info.snapshotCount(), before + 1);
    EXPECT_EQ(column(p.processModel(), 0), QStringList({"init", "editor"}));
}

// A process we may not signal, and one that ended after the snapshot, give the error; the list is
// read again either way.
TEST_F(ProcessWindow, AProcessThatCannotBeEndedSaysSo)
{
    TPrcs& p = open();
    info.refused.insert(301);
    for (int row : {2, 1}) {
        SCOPED_TRACE(row);
        if (row == 1)
            info.setProcesses({proc(1, 0, "init")});   // sleep and editor have gone meanwhile
        clickRow(p.ProcList, row);
        dialogs.answerQuestion(ui::Dialogs::Yes);
        p.terminate_old->trigger();
        const auto errors = dialogs.callsOf(QStringLiteral("error"));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].text, QStringLiteral("未能找到选择的进程!"));
        dialogs.clear();
        waitForList();
    }
    EXPECT_EQ(column(p.processModel(), 0), QStringList({"init"}));
}

TEST_F(ProcessWindow, FreeingAModuleIsAlwaysRefusedAfterItsQuestion)
{
    TPrcs& p = open();
    clickRow(p.ProcList, 1);
    EXPECT_FALSE(p.Free_old->isEnabled());
    clickRow(p.ModuleList, 1);
    dialogs.answerQuestion(ui::Dialogs::No);
    choose(p.ModuleList, p.moduleMenu, p.Free_old);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    dialogs.clear();
    dialogs.answerQuestion(ui::Dialogs::Yes);
    p.Free_old->trigger();
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("真的要释放“libc.so.6”模块吗?"));
    EXPECT_EQ(dialogs.calls()[1].kind, QStringLiteral("error"));
    EXPECT_EQ(dialogs.calls()[1].text, QStringLiteral("不能释放选择的模块!"));
    dialogs.clear();
    EXPECT_EQ(p.moduleModel()->rowCount(), 2);
    EXPECT_TRUE(info.terminated.empty());
}

TEST_F(ProcessWindow, TheWindowPageListsByItsOptions)
{
    TPrcs& p = open();
    EXPECT_EQ(p.windowModel()->rowCount(), 0);   // listed when the page shows
    p.ProList->setCurrentWidget(p.TabSheet2);
    EXPECT_EQ(column(p.windowModel(), 0), QStringList({"Editor"}));
    const QStringList editor = {"Editor", "/usr/bin/editor", "301", "Cls4194305", "0", QString::number(kNormal),
                                QString::number(0x400001), "0", "10", "0", "Desktop"};
    EXPECT_EQ(p.windowModel()->row(0).cells, editor);
    p.Emptyw_old->trigger();
    EXPECT_TRUE(p.Emptyw_old->isChecked());
    EXPECT_EQ(column(p.windowModel(), 0), QStringList({"Editor", ""}));
    p.taskBarStylew_old->trigger();
    EXPECT_EQ(column(p.windowModel(), 0), QStringList({"Editor", "", "Save as"}));
    EXPECT_EQ(p.windowModel()->cell(2, 10), QStringLiteral("Editor"));
    p.invisonlyw_old->trigger();
    EXPECT_FALSE(p.visonlyw_old->isChecked());
    EXPECT_EQ(column(p.windowModel(), 0), QStringList({"Hidden", "Zero"}));
    p.allw_old->trigger();
    EXPECT_EQ(p.windowModel()->rowCount(), 5);
    info.wins.removeLast();
    p.Refresh1_old->trigger();
    EXPECT_EQ(p.windowModel()->rowCount(), 4);
}

TEST_F(ProcessWindow, StyleBoxesFollowTheOneSelectedWindow)
{
    TPrcs& p = open();
    p.ProList->setCurrentWidget(p.TabSheet2);
    p.allw_old->trigger();
    p.Emptyw_old->trigger();
    p.taskBarStylew_old->trigger();
    ASSERT_EQ(p.windowModel()->rowCount(), 5);
    clickRow(p.procwin, 0);
    const QStringList normal = {"WS_OVERLAPPED", "WS_VISIBLE", "WS_CAPTION", "WS_BORDER", "WS_DLGFRAME", "WS_SYSMENU",
                                "WS_THICKFRAME", "WS_GROUP", "WS_MINIMIZEBOX", "WS_TABSTOP", "WS_MAXIMIZEBOX",
                                "WS_TILEDWINDOW"};
    EXPECT_EQ(boxesTicked(), normal);
    clickRow(p.procwin, 4, Qt::ControlModifier);   // two rows: the boxes stay
    EXPECT_EQ(p.procwin->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(boxesTicked(), normal);
    clickRow(p.procwin, 4);   // style 0: nothing, not even WS_OVERLAPPED
    EXPECT_EQ(boxesTicked(), QStringList());
    clickRow(p.procwin, 2);
    EXPECT_EQ(boxesTicked(), QStringList({"WS_OVERLAPPED", "WS_POPUP", "WS_VISIBLE", "WS_CAPTION", "WS_BORDER",
                                          "WS_DLGFRAME", "WS_SYSMENU", "WS_POPUPWINDOW"}));
}

TEST_F(ProcessWindow, SwitchingToAndClosingAWindow)
{
    TPrcs& p = open();
    p.ProList->setCurrentWidget(p.TabSheet2);
    clickRow(p.procwin, 0);
    choose(p.procwin, p.windowMenu, p.Switchto1_old);
    EXPECT_EQ(info.activated, std::vector<quint32>{0x400001});

    info.refused.insert(301);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    choose(p.procwin, p.windowMenu, p.TerminateProcess1_old);
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("真的要关闭“Editor”窗体吗？"));
    EXPECT_EQ(dialogs.calls()[1].kind, QStringLiteral("error"));
    EXPECT_EQ(dialogs.calls()[1].text, QStringLiteral("不能找到选择的窗体！"));
    dialogs.clear();
    EXPECT_EQ(info.terminated, std::vector<quint32>{301});

    info.refused.clear();
    info.wins.removeFirst();   // the owner has gone with its process
    clickRow(p.procwin, 0);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    p.TerminateProcess1_old->trigger();
    EXPECT_EQ(dialogs.calls().size(), 1u);
    dialogs.clear();
    EXPECT_EQ(info.terminated, (std::vector<quint32>{301, 301}));
    EXPECT_EQ(p.windowModel()->rowCount(), 0);   // rebuilt
    EXPECT_FALSE(p.TerminateProcess1_old->isEnabled());
}

// The task bar and desktop windows these boxes act on do not exist here: a click only ticks the box.
TEST_F(ProcessWindow, TheHideAndLockBoxesChangeNothingHere)
{
    TPrcs& p = open();
    p.ProList->setCurrentWidget(p.TabSheet3);
    const QList<QCheckBox*> hide = {p.HWE, p.HTrayNotify, p.HStartButton, p.HAppSwitchBar, p.HTrayClock, p.HDesktopIcons};
    const QList<QCheckBox*> lock = {p.DWE, p.dtn, p.dsb, p.dasb, p.dtc, p.ddi};
    const QStringList captions = {"托盘条", "托盘通知", "开始按钮", "任务栏", "托盘时钟", "桌面图标"};
    for (int tag = 0; tag < 6; ++tag) {
        for (QCheckBox* b : {hide[tag], lock[tag]}) {
            SCOPED_TRACE(b->objectName().toStdString());
            EXPECT_EQ(b->text(), captions[tag]);
            EXPECT_EQ(b->property("tag").toInt(), tag);
            EXPECT_FALSE(b->toolTip().isEmpty());
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
            EXPECT_TRUE(b->isChecked());
        }
    }
    EXPECT_EQ(p.HWE->toolTip(), QStringLiteral("Hide the whole\nTaskbar"));
    EXPECT_EQ(p.dtc->toolTip(), QStringLiteral("Disable the clock\non the taskbar"));
    EXPECT_TRUE(info.terminated.empty());
    EXPECT_TRUE(info.activated.empty());
}

TEST_F(ProcessWindow, AboutAndCloseFromTheMenus)
{
    TPrcs& p = open();
    for (QAction* about : {p.About1_old, p.moduleAbout, p.windowAbout})
        about->trigger();
    const auto messages = dialogs.callsOf(QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("进程管理")));
    dialogs.clear();
    choose(p.ProcList, p.processMenu, p.Close1_old);
    EXPECT_FALSE(p.isVisible());
}

TEST_F(ProcessWindow, ClosingWhileASnapshotIsReadEndsCleanly)
{
    w = std::make_unique<TPrcs>();
    w->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<TPrcs> guard(w.release());
    guard->show();
    guard->Refesh_old->trigger();   // a second read asked for while the first runs
    guard->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_GE(info.snapshotCount(), 1);
}

} // namespace
