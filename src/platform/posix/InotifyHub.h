#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace plat {

// One process-wide inotify instance for every folder monitor, read on the GUI thread (a user may hold
// only 128 inotify instances, while an expanded tree watches hundreds of folders). One folder gives one
// watch descriptor; the monitors on it are kept per descriptor and each filters the events itself.
class InotifyHub : public QObject {
    Q_OBJECT
public:
    // A monitor attached to the hub. Both calls arrive on the GUI thread.
    class Client {
    public:
        virtual void hubChanged() = 0;   // an event matching the client's filter
        virtual void hubGone() = 0;      // the folder went away; the client is already detached
    protected:
        ~Client() = default;
    };

    // Filter bits: what a client wants to hear about.
    enum Filter : quint32 { FileNames = 1, FolderNames = 2, Attributes = 4 };

    static InotifyHub& instance();

    // Watches `path` (not its sub-folders) for `filter` (Filter bits). False, with errno set, when the
    // folder cannot be watched.
    bool attach(Client* client, const QString& path, quint32 filter);
    // Changes a client's filter without re-attaching it. False when the folder can no longer be watched.
    bool setFilter(Client* client, quint32 filter);
    void detach(Client* client);
    bool isAttached(const Client* client) const { return m_clients.contains(client); }

    int watchCount() const { return int(m_watches.size()); }
    int clientCount() const { return int(m_clients.size()); }
    int fd() const { return m_fd; }
    // Handles every queued event now (the socket notifier calls this too).
    void readEvents();

    static quint32 kernelMask(quint32 filter);
    static bool matches(quint32 filter, quint32 eventMask, const QByteArray& name);

private:
    InotifyHub();
    struct Watch {
        QByteArray path;
        quint32 mask = 0;
        QList<QPair<Client*, quint32>> clients;
    };
    void dropWatch(int wd, bool removeFromKernel);

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QHash<int, Watch> m_watches;
    QHash<const Client*, int> m_clients;
};

} // namespace plat
