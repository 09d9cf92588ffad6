#include "platform/posix/Faults.h"
#include "platform/posix/PathCodec.h"
#include <QDir>
#include <QMutex>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace plat::posix::faults {

namespace {

std::atomic<bool> g_active{false};

struct Table {
    QMutex mutex;
    std::map<std::pair<Op, QByteArray>, int> entries;
    std::map<std::pair<Op, QByteArray>, int> folders;   // every entry directly inside
};

Table& table()
{
    static Table t;
    return t;
}

QByteArray cleaned(const QByteArray& p)
{
    QByteArray c = encodePath(QDir::cleanPath(decodePath(p)));
    return c;
}

QByteArray fdPath(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    QByteArray buf(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(link, buf.data(), size_t(buf.size()));
    return n > 0 ? buf.left(n) : QByteArray();
}

int lookup(Op op, const QByteArray& path)
{
    Table& t = table();
    QMutexLocker lock(&t.mutex);
    const QByteArray c = cleaned(path);
    if (const auto it = t.entries.find({op, c}); it != t.entries.end())
        return it->second;
    const qsizetype slash = c.lastIndexOf('/');
    if (slash < 0)
        return 0;
    const auto it = t.folders.find({op, slash == 0 ? QByteArray("/") : c.left(slash)});
    return it == t.folders.end() ? 0 : it->second;
}

} // namespace

void inject(Op op, const QString& path, int err)
{
    Table& t = table();
    QMutexLocker lock(&t.mutex);
    t.entries[{op, encodePath(QDir::cleanPath(path))}] = err;
    g_active = true;
}

void injectInFolder(Op op, const QString& folder, int err)
{
    Table& t = table();
    QMutexLocker lock(&t.mutex);
    t.folders[{op, encodePath(QDir::cleanPath(folder))}] = err;
    g_active = true;
}

void clear()
{
    Table& t = table();
    QMutexLocker lock(&t.mutex);
    t.entries.clear();
    t.folders.clear();
    g_active = false;
}

int check(Op op, int dirFd, const char* name)
{
    if (!g_active.load(std::memory_order_relaxed))
        return 0;
    QByteArray path(name);
    if (!path.startsWith('/')) {
        const QByteArray base = dirFd == AT_FDCWD ? encodePath(QDir::currentPath()) : fdPath(dirFd);
        path = base + '/' + path;
    }
    return lookup(op, path);
}

int checkFd(Op op, int fd)
{
    if (!g_active.load(std::memory_order_relaxed))
        return 0;
    return lookup(op, fdPath(fd));
}

} // namespace plat::posix::faults
