#pragma once
#include "platform/posix/Fd.h"
#include <QObject>
#include <QStringList>

class QSocketNotifier;

namespace plat {

// Reports mounted volumes coming and going: watches /proc/self/mountinfo (the kernel raises POLLPRI on
// every mount change), re-reads the volume list and reports the roots that arrived or went away.
class VolumeWatcher : public QObject {
    Q_OBJECT
public:
    explicit VolumeWatcher(QObject* parent = nullptr);
    ~VolumeWatcher() override;

    // Re-reads the volume list now and reports the difference to the last one.
    void rescan();
    QStringList roots() const { return m_roots; }

Q_SIGNALS:
    void volumesArrived(const QStringList& roots);
    void volumesRemoved(const QStringList& roots);

private:
    static QStringList currentRoots();
    QStringList m_roots;
    posix::Fd m_fd;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace plat
