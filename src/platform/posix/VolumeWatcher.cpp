#include "platform/posix/VolumeWatcher.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include "platform/posix/FileIO.h"
#include <QSocketNotifier>
#include <fcntl.h>

namespace plat {

VolumeWatcher::VolumeWatcher(QObject* parent) : QObject(parent), m_roots(currentRoots())
{
    m_fd = posix::openPath(QStringLiteral("/proc/self/mountinfo"), O_RDONLY);
    if (m_fd.valid()) {
        m_notifier = new QSocketNotifier(m_fd.get(), QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { rescan(); });
    }
}

VolumeWatcher::~VolumeWatcher()
{
    delete m_notifier;   // before the descriptor it watches closes
}

QStringList VolumeWatcher::currentRoots()
{
    QStringList roots;
    if (services().volumes)
        for (const Volume& v : services().volumes->list())
            roots.append(v.root);
    return roots;
}

void VolumeWatcher::rescan()
{
    if (m_fd.valid()) {
        // Reading the table to its end re-arms the change indication.
        char buf[4096];
        posix::seekFile(m_fd.get(), 0, SEEK_SET);
        while (posix::readSome(m_fd.get(), buf, sizeof buf) > 0) {
        }
    }
    const QStringList now = currentRoots();
    QStringList arrived, removed;
    for (const QString& r : now)
        if (!m_roots.contains(r))
            arrived.append(r);
    for (const QString& r : m_roots)
        if (!now.contains(r))
            removed.append(r);
    m_roots = now;
    if (!removed.isEmpty())
        Q_EMIT volumesRemoved(removed);
    if (!arrived.isEmpty())
        Q_EMIT volumesArrived(arrived);
}

} // namespace plat
