#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

// The process manager's view of the system: running processes, the files mapped into one of them, the
// top-level windows, and ending a process. One interface, the Linux implementation below and a fake in
// the tests.
namespace plat {

class X11Windows;

// One process of a snapshot.
struct ProcessEntry {
    quint32 pid = 0;
    quint32 ppid = 0;
    quint32 threads = 0;
    qint32 basePriority = 8;   // 4 idle, 6, 8 normal, 10, 13 high, 24 real-time
    QString name;              // executable name
    QString exePath;           // the executable, empty when it cannot be read
};

// One file mapped into a process.
struct ModuleEntry {
    QString name;              // file name part of the path
    QString path;
    quint64 base = 0;          // lowest start address of its mappings
    quint64 size = 0;          // highest end minus lowest start
    quint32 pid = 0;
};

// One top-level window with its style synthesised in the original bit layout.
struct WindowEntry {
    quint32 handle = 0;        // window id
    QString title;
    QString className;
    quint32 pid = 0;           // owning process, 0 when unknown
    quint32 owner = 0;         // the window it is transient for, 0 for none
    QString ownerTitle;        // that window's title
    qint32 style = 0;
    qint32 exStyle = 0;
};

class IProcessInfo {
public:
    virtual ~IProcessInfo() = default;
    // Ascending process ids; empty when no snapshot can be taken. Safe to call from any thread.
    virtual QList<ProcessEntry> processes() = 0;
    // The mapped files of `pid` in order of first appearance; empty when they cannot be read.
    virtual QList<ModuleEntry> modules(quint32 pid) = 0;
    // The executable of `pid`, empty when it cannot be read.
    virtual QString executablePath(quint32 pid) = 0;
    // Whether top-level windows can be listed at all (an X11 display is connected).
    virtual bool hasWindows() const = 0;
    // All top-level windows, mapped or not, in stacking order (bottom first); empty without a display.
    virtual QList<WindowEntry> windows() = 0;
    // Kills `pid` and waits for it to end, at most a few seconds. False when the process cannot be
    // signalled: it is this program, it is gone or it belongs to someone else.
    virtual bool terminate(quint32 pid) = 0;
    // Restores the window and brings it to the front.
    virtual void activateWindow(quint32 handle) = 0;
};

// /proc and, when a connection is given, the X11 display.
class LinuxProcessInfo : public IProcessInfo {
public:
    // The windows come from `windowsOrNull` (not owned); without it there are none.
    explicit LinuxProcessInfo(X11Windows* windowsOrNull = nullptr) : m_windows(windowsOrNull) {}
    void setWindows(X11Windows* windowsOrNull) { m_windows = windowsOrNull; }

    QList<ProcessEntry> processes() override;
    QList<ModuleEntry> modules(quint32 pid) override;
    QString executablePath(quint32 pid) override;
    bool hasWindows() const override;
    QList<WindowEntry> windows() override;
    bool terminate(quint32 pid) override;
    void activateWindow(quint32 handle) override;

private:
    X11Windows* m_windows;
};

} // namespace plat
