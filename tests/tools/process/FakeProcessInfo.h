#pragma once
#include "platform/ProcessInfo.h"
#include "platform/Services.h"
#include <QHash>
#include <QMutex>
#include <QSet>
#include <vector>

namespace proctest {

// A process table held in memory: the listings return what a test put in, ending a process removes it
// (unless refused), and every end and switch is recorded. processes() may run on a worker thread.
class FakeProcessInfo : public plat::IProcessInfo {
public:
    QList<plat::ProcessEntry> processes() override
    {
        QMutexLocker lock(&mutex);
        ++snapshots;
        return procs;
    }
    QList<plat::ModuleEntry> modules(quint32 pid) override { return mods.value(pid); }
    QString executablePath(quint32 pid) override { return exes.value(pid); }
    bool hasWindows() const override { return true; }
    QList<plat::WindowEntry> windows() override { return wins; }
    bool terminate(quint32 pid) override
    {
        QMutexLocker lock(&mutex);
        terminated.push_back(pid);
        const auto it = std::find_if(procs.begin(), procs.end(), [pid](const auto& p) { return p.pid == pid; });
        if (refused.contains(pid) || it == procs.end())
            return false;
        procs.erase(it);
        return true;
    }
    void activateWindow(quint32 handle) override { activated.push_back(handle); }

    void setProcesses(QList<plat::ProcessEntry> list)
    {
        QMutexLocker lock(&mutex);
        procs = std::move(list);
    }
    int snapshotCount()
    {
        QMutexLocker lock(&mutex);
        return snapshots;
    }

    QMutex mutex;
    QList<plat::ProcessEntry> procs;
    int snapshots = 0;
    QHash<quint32, QList<plat::ModuleEntry>> mods;
    QHash<quint32, QString> exes;
    QList<plat::WindowEntry> wins;
    QSet<quint32> refused;
    std::vector<quint32> terminated;
    std::vector<quint32> activated;
};

inline plat::Services withProcs(plat::IProcessInfo* procs)
{
    plat::Services s = plat::services();
    s.procs = procs;
    return s;
}

inline plat::ProcessEntry proc(quint32 pid, quint32 ppid, const char* name, qint32 priority = 8, quint32 threads = 1)
{
    plat::ProcessEntry p;
    p.pid = pid;
    p.ppid = ppid;
    p.name = QString::fromUtf8(name);
    p.exePath = QStringLiteral("/usr/bin/") + p.name;
    p.basePriority = priority;
    p.threads = threads;
    return p;
}

inline plat::WindowEntry window(quint32 handle, const char* title, qint32 style, quint32 owner = 0, quint32 pid = 0)
{
    plat::WindowEntry w;
    w.handle = handle;
    w.title = QString::fromUtf8(title);
    w.className = QStringLiteral("Cls") + QString::number(handle);
    w.style = style;
    w.owner = owner;
    w.pid = pid;
    return w;
}

// Styles as the platform synthesises them.
constexpr qint32 kNormal = qint32(0x10CF0000u);          // visible overlapped window
constexpr qint32 kHiddenNormal = qint32(0x00CF0000u);    // unmapped overlapped window
constexpr qint32 kPopup = qint32(0x90000000u);           // visible pop-up without system menu
constexpr qint32 kDialog = qint32(0x90C80000u);          // visible pop-up with caption and system menu

} // namespace proctest
