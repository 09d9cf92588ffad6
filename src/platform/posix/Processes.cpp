#include "platform/posix/Processes.h"
#include "platform/posix/Fd.h"
#include "platform/posix/PathCodec.h"
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace plat::posix {

namespace {

// Reads a small /proc file relative to `dirFd` into `buf`; false when it cannot be opened or read.
bool readSmall(int dirFd, const char* name, QByteArray& buf)
{
    Fd fd = openAt(dirFd, name, O_RDONLY);
    if (!fd.valid())
        return false;
    buf.resize(0);
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        buf.append(chunk, n);
    }
}

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

template <class T>
bool toNumber(QByteArrayView field, T& out)
{
    bool ok = false;
    if constexpr (std::is_signed_v<T>)
        out = T(field.toLongLong(&ok));
    else
        out = T(field.toULongLong(&ok));
    return ok;
}

qint64 nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace

std::optional<StatFields> parseStat(QByteArrayView line)
{
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return std::nullopt;
    StatFields f;
    f.comm = line.sliced(open + 1, close - open - 1).toByteArray();
    // Fields from 3 (state) on, separated by single blanks.
    QByteArrayView rest = line.sliced(close + 1).trimmed();
    QByteArrayView fields[39];
    int count = 0;
    while (count < 39 && !rest.isEmpty()) {
        const qsizetype blank = rest.indexOf(' ');
        fields[count++] = blank < 0 ? rest : rest.first(blank);
        rest = blank < 0 ? QByteArrayView() : rest.sliced(blank + 1);
    }
    if (count < 18)
        return std::nullopt;
    if (!toNumber(fields[1], f.ppid) || !toNumber(fields[16], f.nice) || !toNumber(fields[17], f.threads))
        return std::nullopt;
    if (count >= 39 && !toNumber(fields[38], f.policy))
        return std::nullopt;
    return f;
}

qint32 basePriority(quint32 policy, qint32 nice)
{
    if (policy == SCHED_FIFO || policy == SCHED_RR)
        return 24;
    if (nice >= 10)
        return 4;
    if (nice >= 1)
        return 6;
    if (nice == 0)
        return 8;
    if (nice >= -9)
        return 10;
    return 13;
}

QList<ModuleEntry> parseMaps(QByteArrayView maps, quint32 pid)
{
    QList<ModuleEntry> out;
    QHash<QByteArray, qsizetype> rowOf;
    QList<quint64> ends;
    while (!maps.isEmpty()) {
        qsizetype eol = maps.indexOf('\n');
        const QByteArrayView line = eol < 0 ? maps : maps.first(eol);
        maps = eol < 0 ? QByteArrayView() : maps.sliced(eol + 1);
        // "start-end perms offset dev inode   path"; the path is whatever follows the inode.
        const qsizetype slash = line.indexOf('/');
        const qsizetype dash = line.indexOf('-');
        const qsizetype blank = line.indexOf(' ');
        if (slash < 0 || dash < 0 || blank < dash)
            continue;
        bool okStart = false, okEnd = false;
        const quint64 start = line.first(dash).toULongLong(&okStart, 16);
        const quint64 end = line.sliced(dash + 1, blank - dash - 1).toULongLong(&okEnd, 16);
        if (!okStart || !okEnd)
            continue;
        const QByteArray path = line.sliced(slash).toByteArray();
        auto it = rowOf.constFind(path);
        if (it == rowOf.constEnd()) {
            ModuleEntry m;
            m.path = decodePath(path);
            m.name = fileNamePart(m.path);
            m.base = start;
            m.pid = pid;
            rowOf.insert(path, out.size());
            out.append(m);
            ends.append(end);
            continue;
        }
        ModuleEntry& m = out[*it];
        quint64& highest = ends[*it];
        m.base = std::min(m.base, start);
        highest = std::max(highest, end);
    }
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i].size = ends[i] - out[i].base;
    return out;
}

QList<ProcessEntry> readProcesses(const char* procRoot)
{
    QList<ProcessEntry> out;
    DIR* dir = ::opendir(procRoot);
    if (!dir)
        return out;
    const int procFd = ::dirfd(dir);
    QByteArray stat;
    char name[sizeof(dirent::d_name) + 8];
    char link[4096];
    while (dirent* e = readdir(dir)) {
        quint32 pid = 0;
        const char* p = e->d_name;
        if (!*p)
            continue;
        for (; *p >= '0' && *p <= '9'; ++p)
            pid = pid * 10 + quint32(*p - '0');
        if (*p)
            continue;
        std::snprintf(name, sizeof name, "%s/stat", e->d_name);
        if (!readSmall(procFd, name, stat))
            continue;   // ended meanwhile
        const std::optional<StatFields> f = parseStat(QByteArrayView(stat).trimmed());
        if (!f)
            continue;
        ProcessEntry entry;
        entry.pid = pid;
        entry.ppid = f->ppid;
        entry.threads = f->threads;
        entry.basePriority = basePriority(f->policy, f->nice);
        std::snprintf(name, sizeof name, "%s/exe", e->d_name);
        const ssize_t n = ::readlinkat(procFd, name, link, sizeof link);
        if (n > 0 && size_t(n) < sizeof link) {
            entry.exePath = decodePath(QByteArray(link, n));
            entry.name = fileNamePart(entry.exePath);
        } else {
            entry.name = decodePath(f->comm);
        }
        out.append(entry);
    }
    closedir(dir);
    std::sort(out.begin(), out.end(), [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; });
    return out;
}

QList<ModuleEntry> readModules(quint32 pid)
{
    QByteArray maps;
    const QByteArray path = "/proc/" + QByteArray::number(pid) + "/maps";
    if (!readSmall(AT_FDCWD, path.constData(), maps))
        return {};
    return parseMaps(maps, pid);
}

QString readExecutable(quint32 pid)
{
    const QByteArray path = "/proc/" + QByteArray::number(pid) + "/exe";
    char link[4096];
    const ssize_t n = ::readlink(path.constData(), link, sizeof link);
    return n > 0 && size_t(n) < sizeof link ? decodePath(QByteArray(link, n)) : QString();
}

bool killAndWait(quint32 pid, int waitMs)
{
    if (pid == 0 || pid == quint32(::getpid()))
        return false;
    // Called through syscall(): glibc 2.36's <sys/pidfd.h> declarations lack C linkage.
    Fd pidfd(int(::syscall(SYS_pidfd_open, pid_t(pid), 0)));
    if (!pidfd.valid())
        return false;
    if (::syscall(SYS_pidfd_send_signal, pidfd.get(), SIGKILL, nullptr, 0) != 0)
        return false;
    // Readable once the process has ended (a zombie included); bounded, so a process stuck in the
    // kernel cannot hold the caller.
    const qint64 deadline = nowMs() + waitMs;
    for (;;) {
        pollfd p{pidfd.get(), POLLIN, 0};
        const qint64 left = std::max<qint64>(0, deadline - nowMs());
        const int r = ::poll(&p, 1, int(left));
        if (r >= 0 || errno != EINTR || left == 0)
            break;
    }
    return true;
}

} // namespace plat::posix
