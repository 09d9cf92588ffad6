// The main window's process commands: ToolButton29, Ctrl+F1, "进程管理&P" (P12) and the "/p" switch.
#include "FakeProcessInfo.h"
#include "app/ToolLauncher.h"
#include "platform/Pump.h"
#include "support/MainWindowFixture.h"
#include "tools/process/ProcessListModel.h"
#include "tools/process/ProcessWindow.h"
#include <QAction>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace proctest;

namespace {

class ProcessCommands : public test::MainWindowFixture {
protected:
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        for (const char* name : {"orvoProc", "orvoProc.exe"})
            QFile::remove(companion(QString::fromUtf8(name)));
    }
    static QString companion(const QString& name) { return QCoreApplication::applicationDirPath() + u'/' + name; }
    static void makeCompanion(const QString& name)
    {
        QFile f(companion(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    static QList<TPrcs*> processWindows() { return toolWindows<TPrcs>(); }

    FakeProcessInfo info;
    plat::ScopedServices procs{withProcs(&info)};
};

TEST_F(ProcessCommands, EachCommandOpensANewProcessWindow)
{
    info.procs = {proc(1, 0, "init")};
    TOrvo& w = open();
    EXPECT_TRUE(w.P12->isEnabled());
    EXPECT_EQ(w.P12->text(), QStringLiteral("进程管理&P"));
    EXPECT_FALSE(w.P12->toolTip().contains(QStringLiteral("尚未提供")));
    EXPECT_EQ(w.ToolButton29->toolTip(), QStringLiteral("进程管理(Ctrl+F1)，右键：文件压缩/解压缩"));
    QTest::mouseClick(w.ToolButton29, Qt::LeftButton);
    EXPECT_EQ(w.handleHotkey(Qt::ControlModifier, Qt::Key_F1), TOrvo::kHotkeyProcesses);
    w.P12->trigger();
    EXPECT_TRUE(w.toolLauncher().runSwitch(QStringLiteral("/p")));
    const QList<TPrcs*> opened = processWindows();
    ASSERT_EQ(opened.size(), 4);
    for (TPrcs* p : opened) {
        EXPECT_EQ(p->parentWidget(), nullptr);
        EXPECT_TRUE(p->testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_TRUE(p->isVisible());
        plat::pumpUntil([p] { return !p->refreshing(); });
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(opened.first()->processModel()->rowCount(), 1);
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(ProcessCommands, TheStartSwitchOpensOneWindow)
{
    open({QStringLiteral("/P")});
    EXPECT_EQ(processWindows().size(), 1);
}

// The button and its hotkey start a companion viewer beside the program; the menu item and the switch
// always open the built-in window.
TEST_F(ProcessCommands, ACompanionViewerBesideTheProgramIsStartedByTheButtonAndHotkey)
{
    TOrvo& w = open();
    makeCompanion(QStringLiteral("orvoProc.exe"));
    QTest::mouseClick(w.ToolButton29, Qt::LeftButton);
    makeCompanion(QStringLiteral("orvoProc"));
    w.handleHotkey(Qt::ControlModifier, Qt::Key_F1);
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[0].program, companion(QStringLiteral("orvoProc.exe")));
    EXPECT_EQ(launcher.started[1].program, companion(QStringLiteral("orvoProc")));   // without ".exe" first
    EXPECT_TRUE(launcher.started[1].args.isEmpty());
    EXPECT_TRUE(processWindows().isEmpty());
    w.P12->trigger();
    w.toolLauncher().runSwitch(QStringLiteral("/p"));
    EXPECT_EQ(processWindows().size(), 2);
    EXPECT_EQ(launcher.started.size(), 2u);
}

} // namespace
