#include "platform/LocalInstances.h"
#include "platform/Path.h"
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace plat {
namespace {
constexpr int kConnectTimeoutMs = 200;
}

LocalInstances::LocalInstances(QObject* parent) : QObject(parent) {}

LocalInstances::~LocalInstances()
{
    release();
}

QString LocalInstances::socketPath(int n)
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/UOrvoO")
        + QString::number(n);
}

bool LocalInstances::slotTaken(int n)
{
    if (n == m_slot && m_server)
        return true;
    QLocalSocket probe;
    probe.connectToServer(socketPath(n));
    const bool alive = probe.waitForConnected(kConnectTimeoutMs);
    probe.abort();
    return alive;
}

int LocalInstances::takeSlot()
{
    if (m_slot)
        return m_slot;
    for (int n = 1; n <= kMaxInstances; ++n) {
        const QString path = socketPath(n);
        const int fd = ::open(path::encode(path + QStringLiteral(".lock")).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        // We own the slot: a socket file left there belongs to a dead instance, unless an instance without
        // the lock still answers on it.
        if (slotTaken(n)) {
            ::close(fd);
            continue;
        }
        auto* server = new QLocalServer(this);
        server->setSocketOptions(QLocalServer::UserAccessOption);
        QLocalServer::removeServer(path);
        if (!server->listen(path)) {
            delete server;
            ::close(fd);
            continue;
        }
        connect(server, &QLocalServer::newConnection, this, &LocalInstances::onNewConnection);
        m_server = server;
        m_lockFd = fd;
        m_slot = n;
        return n;
    }
    return 0;
}

void LocalInstances::release()
{
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
    m_slot = 0;
}

void LocalInstances::post(int message)
{
    const QByteArray line = QByteArray::number(message) + '\n';
    for (int n = 1; n <= kMaxInstances; ++n) {
        QLocalSocket s;
        s.connectToServer(socketPath(n));
        if (!s.waitForConnected(kConnectTimeoutMs))
            continue;
        s.write(line);
        s.flush();
        s.waitForBytesWritten(kConnectTimeoutMs);
        s.disconnectFromServer();
    }
}

void LocalInstances::onNewConnection()
{
    while (QLocalSocket* s = m_server->nextPendingConnection()) {
        auto drain = [this, s] {
            while (s->canReadLine()) {
                bool ok = false;
                const int msg = s->readLine().trimmed().toInt(&ok);
                if (ok && onMessage)
                    onMessage(msg);
            }
        };
        connect(s, &QLocalSocket::readyRead, this, drain);
        connect(s, &QLocalSocket::disconnected, this, [s, drain] {
            drain();
            s->deleteLater();
        });
        drain();
    }
}

} // namespace plat
