// The real /proc: a snapshot holds this test process, its modules hold the Qt libraries, and ending a
// process refuses our own pid and kills a child the test started.
#include "platform/ProcessInfo.h"
#include "platform/posix/Processes.h"
#include "tools/process/engine/ProcessRows.h"
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

extern char** environ;

namespace {

// A child "sleep 60" that this test reaps itself, so that it stays a zombie once ended.
pid_t spawnSleeper()
{
    pid_t pid = 0;
    char arg0[] = "sleep";
    char arg1[] = "60";
    char* argv[] = {arg0, arg1, nullptr};
    return posix_spawnp(&pid, "sleep", nullptr, nullptr, argv, environ) == 0 ? pid : 0;
}

char stateOf(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return '?';
    const QByteArray line = f.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() ? line[close + 2] : '?';
}

TEST(ProcFs, TheSnapshotHoldsThisProcessInPidOrder)
{
    plat::LinuxProcessInfo info;
    const QList<plat::ProcessEntry> all = info.processes();
    ASSERT_FALSE(all.isEmpty());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.pid < b.pid; }));
    const auto self = std::find_if(all.begin(), all.end(), [](const auto& p) { return p.pid == quint32(::getpid()); });
    ASSERT_NE(self, all.end());
    EXPECT_EQ(self->ppid, quint32(::getppid()));
    EXPECT_GE(self->threads, 1u);
    EXPECT_EQ(self->name, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    EXPECT_EQ(self->exePath, QCoreApplication::applicationFilePath());
    EXPECT_EQ(info.executablePath(quint32(::getpid())), QCoreApplication::applicationFilePath());
    const QStringList row = process::processRow(*self, -1).cells;
    EXPECT_EQ(row.value(1), QString::number(::getpid()));
    EXPECT_TRUE(row.value(4).startsWith(u'['));
}

TEST(ProcFs, TheModulesOfThisProcessHoldTheQtLibraries)
{
    plat::LinuxProcessInfo info;
    const QList<plat::ModuleEntry> modules = info.modules(quint32(::getpid()));
    const auto core = std::find_if(modules.begin(), modules.end(),
                                   [](const auto& m) { return m.name.startsWith(QLatin1String("libQt6Core.so")); });
    ASSERT_NE(core, modules.end());
    EXPECT_TRUE(core->path.startsWith(u'/'));
    EXPECT_TRUE(core->path.endsWith(core->name));
    EXPECT_GT(core->base, 0u);
    EXPECT_GT(core->size, 0u);
    EXPECT_EQ(core->pid, quint32(::getpid()));
    EXPECT_EQ(modules.first().path, QCoreApplication::applicationFilePath());   // the program is mapped first
    EXPECT_TRUE(info.modules(0).isEmpty());
}

TEST(ProcFs, EndingRefusesThisProcessAndNoProcess)
{
    plat::LinuxProcessInfo info;
    EXPECT_FALSE(info.terminate(quint32(::getpid())));
    EXPECT_FALSE(info.terminate(0));
    // A child that has been reaped is gone.
    const pid_t gone = spawnSleeper();
    ASSERT_GT(gone, 0);
    ::kill(gone, SIGKILL);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    EXPECT_FALSE(info.terminate(quint32(gone)));
}

// The wait ends once the child has ended: it is a zombie (not reaped by us yet) when terminate returns.
TEST(ProcFs, EndingAChildWaitsUntilItHasEnded)
{
    const pid_t child = spawnSleeper();
    ASSERT_GT(child, 0);
    plat::LinuxProcessInfo info;
    const bool ended = info.terminate(quint32(child));
    const char state = stateOf(child);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(ended);
    EXPECT_EQ(state, 'Z');
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

} // namespace
