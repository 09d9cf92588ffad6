#include "foldertree/engine/VolumeWatcher.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

namespace plat {

VolumeWatcher::VolumeWatcher(QObject* parent) : QObject(parent), m_roots(currentRoots())
{
    m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { rescan(); });
    }
}

VolumeWatcher::~VolumeWatcher()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
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
    if (m_fd >= 0) {
        // Reading the table to its end re-arms the change indication.
        char buf[4096];
        ::lseek(m_fd, 0, SEEK_SET);
        while (::read(m_fd, buf, sizeof buf) > 0) {
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
