#pragma once
#include "platform/posix/InotifyHub.h"
#include <QObject>
#include <QString>
#include <functional>

// Keeps one folder of the tree current: on each change of the kinds in its notify filter it has the
// node's children re-read on the GUI thread. It runs no thread of its own: every monitor is a client
// of the shared inotify hub. Sub-folders are not watched.
class TDiscMonitorThread : public QObject, private plat::InotifyHub::Client {
    Q_OBJECT
public:
    // Created suspended with the folder path (never updated afterwards) and the tree's filter;
    // `refresh` runs on the GUI thread, at most one pending call at a time.
    TDiscMonitorThread(const QString& path, quint32 filter, std::function<void()> refresh, QObject* parent = nullptr);
    // Stops watching and releases the folder.
    ~TDiscMonitorThread() override;

    // Starts watching; a folder that cannot be watched sets the failed flag and ends the monitor.
    void Start();
    // Stores a different filter and hands it to the running watch, recreating nothing.
    void ChangeFilter(quint32 filter);

    QString Path() const { return m_path; }
    quint32 Filter() const { return m_filter; }
    bool Failed() const { return m_failed; }
    bool Started() const { return m_started; }
    bool Finished() const { return m_finished; }
    bool Watching() const { return m_started && !m_finished; }
    int Notifications() const { return m_notifications; }   // matching events received so far

private:
    void hubChanged() override;
    void hubGone() override;
    void fail();

    QString m_path;
    quint32 m_filter;
    std::function<void()> m_refresh;
    bool m_started = false;
    bool m_finished = false;
    bool m_failed = false;
    bool m_pending = false;
    int m_notifications = 0;
};
