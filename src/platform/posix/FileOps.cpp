#include "platform/posix/FileOps.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/sendfile.h>
#include <unistd.h>

namespace plat::posix {

namespace {

constexpr qint64 kChunk = qint64(16) << 20;     // copy_file_range / sendfile step; the stop flag is checked between
constexpr qint64 kBuffer = qint64(1) << 20;     // read/write fallback

bool isDotOrDotDot(const char* n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

} // namespace

bool lstatPath(const QString& path, struct stat& st)
{
    return !path.isEmpty() && ::lstat(encodePath(path).constData(), &st) == 0;
}

bool folderIsOrIsUnder(const QString& folder, const struct stat& dir)
{
    Fd cur(::open(encodePath(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!cur.valid())
        return false;
    struct stat st;
    if (::fstat(cur.get(), &st) != 0)
        return false;
    for (int depth = 0; depth < 4096; ++depth) {
        if (sameIdentity(st, dir))
            return true;
        Fd up(::openat(cur.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat upSt;
        if (!up.valid() || ::fstat(up.get(), &upSt) != 0)
            return false;
        if (sameIdentity(upSt, st))
            return false;   // the root is its own parent
        cur = std::move(up);
        st = upSt;
    }
    return false;
}

std::atomic<bool> refuseNoReplaceForTests{false};

int renameNoReplaceAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName)
{
    int e = EINVAL;
    if (!refuseNoReplaceForTests) {
        if (::renameat2(oldDirFd, oldName, newDirFd, newName, RENAME_NOREPLACE) == 0)
            return 0;
        e = errno;
    }
    if (e != EINVAL && e != ENOSYS && e != EOPNOTSUPP)
        return e;
    struct stat st;
    if (::fstatat(oldDirFd, oldName, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode)) {
        // Take the name with an empty folder of our own; rename may replace only that.
        if (::mkdirat(newDirFd, newName, 0700) != 0)
            return errno;
        if (::renameat(oldDirFd, oldName, newDirFd, newName) == 0)
            return 0;
        e = errno;
        ::unlinkat(newDirFd, newName, AT_REMOVEDIR);
        return e;
    }
    if (::linkat(oldDirFd, oldName, newDirFd, newName, 0) == 0) {
        if (::unlinkat(oldDirFd, oldName, 0) == 0)
            return 0;
        e = errno;
        ::unlinkat(newDirFd, newName, 0);
        return e;
    }
    e = errno;
    if (e == EEXIST || e == ENOENT || e == EXDEV || e == ENAMETOOLONG)
        return e;
    // No hard links here: hold the name with an empty file of our own, then rename over it.
    const int fd = ::openat(newDirFd, newName, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return errno;
    ::close(fd);
    if (::renameat(oldDirFd, oldName, newDirFd, newName) == 0)
        return 0;
    e = errno;
    ::unlinkat(newDirFd, newName, 0);
    return e;
}

int renameNoReplace(const QString& from, const QString& to)
{
    return renameNoReplaceAt(AT_FDCWD, encodePath(from).constData(), AT_FDCWD, encodePath(to).constData());
}

int copyData(int in, int out, qint64 size, const ChunkHook& hook)
{
    enum Mode { CopyRange, SendFile, ReadWrite };
    Mode mode = CopyRange;
    std::unique_ptr<char[]> buffer;
    bool holesKnown = true;
    qint64 pos = 0;
    while (pos < size) {
        qint64 dataStart = pos;
        qint64 dataEnd = size;
        if (holesKnown) {
            const off_t d = ::lseek(in, pos, SEEK_DATA);
            if (d < 0) {
                if (errno == ENXIO)
                    break;          // the rest is one hole
                holesKnown = false;
            } else {
                dataStart = d;
                const off_t h = ::lseek(in, d, SEEK_HOLE);
                dataEnd = h < 0 ? size : std::min<qint64>(h, size);
            }
        }
        while (dataStart < dataEnd) {
            const qint64 len = std::min(kChunk, dataEnd - dataStart);
            ssize_t n = -1;
            if (mode == CopyRange) {
                loff_t inOff = dataStart;
                loff_t outOff = dataStart;
                n = ::copy_file_range(in, &inOff, out, &outOff, size_t(len), 0);
                if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                              errno == EBADF || errno == EPERM)) {
                    mode = SendFile;
                    continue;
                }
            } else if (mode == SendFile) {
                off_t inOff = dataStart;
                if (::lseek(out, dataStart, SEEK_SET) < 0)
                    return errno;
                n = ::sendfile(out, in, &inOff, size_t(len));
                if (n < 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                    mode = ReadWrite;
                    continue;
                }
            } else {
                if (!buffer)
                    buffer.reset(new char[kBuffer]);
                n = ::pread(in, buffer.get(), size_t(std::min(len, kBuffer)), dataStart);
                if (n > 0) {
                    ssize_t written = 0;
                    while (written < n) {
                        const ssize_t w = ::pwrite(out, buffer.get() + written, size_t(n - written), dataStart + written);
                        if (w < 0) {
                            if (errno == EINTR)
                                continue;
                            return errno;
                        }
                        written += w;
                    }
                }
            }
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (n == 0) {       // the source got shorter while we copied
                size = dataStart;
                dataEnd = dataStart;
                break;
            }
            dataStart += n;
            if (hook) {
                if (const int e = hook(n, dataStart))
                    return e;
            }
        }
        pos = dataEnd;
    }
    if (::ftruncate(out, size) != 0)
        return errno;
    return 0;
}

namespace {

int removeChildren(int fd, QByteArray* failed, const std::atomic<bool>* stop);

int removeEntry(int dirFd, const char* name, bool knownDir, QByteArray* failed, const std::atomic<bool>* stop)
{
    bool isDir = knownDir;
    if (!isDir) {
        if (::unlinkat(dirFd, name, 0) == 0)
            return 0;
        const int e = errno;
        if (e != EISDIR && e != EPERM) {
            if (failed)
                *failed = name;
            return e;
        }
        struct stat st;
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) {
            if (failed)
                *failed = name;
            return e;
        }
        isDir = true;
    }
    Fd fd(::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid()) {
        const int e = errno;
        if (failed)
            *failed = name;
        return e;
    }
    QByteArray inner;
    if (const int e = removeChildren(fd.get(), failed ? &inner : nullptr, stop)) {
        if (failed)
            *failed = QByteArray(name) + '/' + inner;
        return e;
    }
    fd.reset();
    if (::unlinkat(dirFd, name, AT_REMOVEDIR) != 0) {
        const int e = errno;
        if (failed)
            *failed = name;
        return e;
    }
    return 0;
}

int removeChildren(int fd, QByteArray* failed, const std::atomic<bool>* stop)
{
    const int dupFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR* d = dupFd >= 0 ? ::fdopendir(dupFd) : nullptr;
    if (!d) {
        const int e = errno;
        if (dupFd >= 0)
            ::close(dupFd);
        return e;
    }
    int result = 0;
    while (dirent* ent = ::readdir(d)) {
        if (isDotOrDotDot(ent->d_name))
            continue;
        if (stop && stop->load(std::memory_order_relaxed)) {
            result = ECANCELED;
            break;
        }
        if ((result = removeEntry(fd, ent->d_name, ent->d_type == DT_DIR, failed, stop)) != 0)
            break;
    }
    ::closedir(d);
    return result;
}

} // namespace

int removeTreeAt(int dirFd, const QByteArray& name, QByteArray* failed, const std::atomic<bool>* stop)
{
    return removeEntry(dirFd, name.constData(), false, failed, stop);
}

int removeTree(const QString& path, QString* failedPath, const std::atomic<bool>* stop)
{
    QByteArray failed;
    const int e = removeTreeAt(AT_FDCWD, encodePath(path), &failed, stop);
    if (e && failedPath)
        *failedPath = decodePath(failed);
    return e;
}

void clearDirAt(int dirFd)
{
    const int dupFd = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    DIR* d = dupFd >= 0 ? ::fdopendir(dupFd) : nullptr;
    if (!d) {
        if (dupFd >= 0)
            ::close(dupFd);
        return;
    }
    while (dirent* ent = ::readdir(d)) {
        if (!isDotOrDotDot(ent->d_name))
            removeEntry(dirFd, ent->d_name, ent->d_type == DT_DIR, nullptr, nullptr);
    }
    ::closedir(d);
}

int makePath(const QString& path)
{
    const QByteArray p = encodePath(path);
    struct stat st;
    if (::stat(p.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    for (qsizetype i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '/')
            continue;
        const QByteArray part = p.left(i);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return errno;
    }
    return ::stat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

} // namespace plat::posix
