#include "platform/ProcessInfo.h"
#include "platform/X11Windows.h"
#include "platform/posix/Processes.h"

namespace plat {

QList<ProcessEntry> LinuxProcessInfo::processes()
{
    return posix::readProcesses();
}

QList<ModuleEntry> LinuxProcessInfo::modules(quint32 pid)
{
    return posix::readModules(pid);
}

QString LinuxProcessInfo::executablePath(quint32 pid)
{
    return posix::readExecutable(pid);
}

bool LinuxProcessInfo::hasWindows() const
{
    return m_windows && m_windows->connected();
}

QList<WindowEntry> LinuxProcessInfo::windows()
{
    return hasWindows() ? m_windows->topLevelWindows() : QList<WindowEntry>();
}

bool LinuxProcessInfo::terminate(quint32 pid)
{
    return posix::killAndWait(pid, 5000);
}

void LinuxProcessInfo::activateWindow(quint32 handle)
{
    if (hasWindows())
        m_windows->activate(handle);
}

} // namespace plat
