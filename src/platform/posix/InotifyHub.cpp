#include "platform/posix/InotifyHub.h"
#include "platform/posix/PathCodec.h"
#include <QSocketNotifier>
#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace plat {
namespace {

constexpr quint32 kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr quint32 kAlways = IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF | IN_EXCL_UNLINK;
constexpr quint32 kGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

} // namespace

InotifyHub& InotifyHub::instance()
{
    // Never destroyed: monitors may outlive the application object; the kernel closes the fd at exit.
    static InotifyHub* hub = new InotifyHub;
    return *hub;
}

InotifyHub::InotifyHub()
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readEvents(); });
    }
}

quint32 InotifyHub::kernelMask(quint32 filter)
{
    quint32 m = kAlways;
    if (filter & (FileNames | FolderNames))
        m |= kNameEvents;
    if (filter & Attributes)
        m |= IN_ATTRIB | IN_CLOSE_WRITE | kNameEvents;   // name events for the folder's ".hidden"
    return m;
}

bool InotifyHub::matches(quint32 filter, quint32 mask, const QByteArray& name)
{
    const bool hiddenList = name == ".hidden";
    if (mask & kNameEvents) {
        if (filter & ((mask & IN_ISDIR) ? FolderNames : FileNames))
            return true;
        return hiddenList && (filter & Attributes);
    }
    if (mask & IN_ATTRIB)
        return filter & Attributes;
    if (mask & IN_CLOSE_WRITE)
        return hiddenList && (filter & Attributes);
    return false;
}

bool InotifyHub::attach(Client* client, const QString& path, quint32 filter)
{
    detach(client);
    if (m_fd < 0) {
        errno = EMFILE;
        return false;
    }
    const QByteArray p = posix::encodePath(path);
    const quint32 mask = kernelMask(filter);
    // IN_MASK_ADD keeps the events other monitors of the same folder asked for.
    const int wd = ::inotify_add_watch(m_fd, p.constData(), mask | IN_MASK_ADD);
    if (wd < 0)
        return false;
    Watch& w = m_watches[wd];
    if (w.path.isEmpty())
        w.path = p;
    w.mask |= mask;
    w.clients.append({client, filter});
    m_clients.insert(client, wd);
    return true;
}

bool InotifyHub::setFilter(Client* client, quint32 filter)
{
    auto c = m_clients.constFind(client);
    if (c == m_clients.constEnd())
        return false;
    const int wd = c.value();
    Watch& w = m_watches[wd];
    for (auto& entry : w.clients)
        if (entry.first == client)
            entry.second = filter;
    const quint32 wanted = kernelMask(filter);
    if ((w.mask & wanted) == wanted)
        return true;   // the watch already delivers these events
    const int again = ::inotify_add_watch(m_fd, w.path.constData(), wanted | IN_MASK_ADD);
    if (again == wd) {
        w.mask |= wanted;
        return true;
    }
    // The path no longer names the watched folder: leave foreign watches alone, keep the old mask.
    if (again >= 0 && !m_watches.contains(again))
        ::inotify_rm_watch(m_fd, again);
    return false;
}

void InotifyHub::detach(Client* client)
{
    auto c = m_clients.find(client);
    if (c == m_clients.end())
        return;
    const int wd = c.value();
    m_clients.erase(c);
    auto w = m_watches.find(wd);
    if (w == m_watches.end())
        return;
    w->clients.removeIf([client](const QPair<Client*, quint32>& e) { return e.first == client; });
    if (w->clients.isEmpty())
        dropWatch(wd, true);
}

void InotifyHub::dropWatch(int wd, bool removeFromKernel)
{
    if (removeFromKernel)
        ::inotify_rm_watch(m_fd, wd);
    m_watches.remove(wd);
}

void InotifyHub::readEvents()
{
    alignas(inotify_event) char buf[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n <= 0)
            return;   // EAGAIN: drained
        for (ssize_t off = 0; off < n;) {
            const auto* ev = reinterpret_cast<const inotify_event*>(buf + off);
            off += ssize_t(sizeof(inotify_event)) + ev->len;
            if (ev->mask & IN_Q_OVERFLOW) {
                // Events were lost: every monitor refreshes once.
                const QList<const Client*> all = m_clients.keys();
                for (const Client* c : all)
                    if (m_clients.contains(c))
                        const_cast<Client*>(c)->hubChanged();
                continue;
            }
            auto w = m_watches.find(ev->wd);
            if (w == m_watches.end())
                continue;
            if (ev->mask & kGone) {
                const QList<QPair<Client*, quint32>> clients = w->clients;
                for (const auto& e : clients)
                    m_clients.remove(e.first);
                dropWatch(ev->wd, !(ev->mask & IN_IGNORED));
                for (const auto& e : clients)
                    e.first->hubGone();
                continue;
            }
            const QByteArray name = ev->len ? QByteArray(ev->name) : QByteArray();
            const QList<QPair<Client*, quint32>> clients = w->clients;
            for (const auto& e : clients)
                if (m_clients.value(e.first, -1) == ev->wd && matches(e.second, ev->mask, name))
                    e.first->hubChanged();
        }
    }
}

} // namespace plat
