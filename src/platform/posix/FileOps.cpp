#include "platform/posix/FileOps.h"
#include "platform/posix/Faults.h"
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace plat::posix {

namespace {

int result(int r)
{
    return r == 0 ? 0 : errno;
}

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW;

} // namespace

int setTimesAt(int dirFd, const char* name, const struct timespec times[2])
{
    return result(::utimensat(dirFd, name, times, AT_SYMLINK_NOFOLLOW));
}

QString currentFolder()
{
    for (size_t size = 4096; size <= (1u << 20); size *= 2) {
        QByteArray buf(qsizetype(size), Qt::Uninitialized);
        if (::getcwd(buf.data(), size))
            return decodePath(buf.constData());
        if (errno != ERANGE)
            break;
    }
    return QStringLiteral(".");
}

QString canonicalPath(const QString& path)
{
    char* real = ::realpath(encodePath(path).constData(), nullptr);
    if (!real)
        return QString();
    const QString out = decodePath(real);
    std::free(real);
    return out;
}

bool folderIsOrIsUnder(const QString& folder, const struct stat& dir)
{
    const FileId target = FileId::of(dir);
    Fd cur = openPath(folder, O_PATH | O_DIRECTORY);
    struct stat st;
    if (!cur.valid() || statFd(cur.get(), st) != 0)
        return false;
    for (int depth = 0; depth < 4096; ++depth) {
        if (FileId::of(st) == target)
            return true;
        Fd up = openAt(cur.get(), "..", O_PATH | O_DIRECTORY);
        struct stat upSt;
        if (!up.valid() || statFd(up.get(), upSt) != 0)
            return false;
        if (FileId::of(upSt) == FileId::of(st))
            return false;   // the root is its own parent
        cur = std::move(up);
        st = upSt;
    }
    return false;
}

int makeDirAt(int dirFd, const char* name, mode_t mode)
{
    return result(::mkdirat(dirFd, name, mode));
}

int makeLinkAt(const QByteArray& target, int dirFd, const char* name)
{
    return result(::symlinkat(target.constData(), dirFd, name));
}

int readLinkAt(int dirFd, const char* name, QByteArray& target, qint64 sizeHint)
{
    QByteArray buf(qMax<qint64>(sizeHint, 255) + 1, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::readlinkat(dirFd, name, buf.data(), size_t(buf.size()));
        if (n < 0)
            return errno;
        if (n < buf.size()) {
            buf.truncate(n);
            target = buf;
            return 0;
        }
        buf.resize(buf.size() * 2);   // it may have been cut short
    }
}

int removeAt(int dirFd, const char* name)
{
    return result(::unlinkat(dirFd, name, 0));
}

int removeDirAt(int dirFd, const char* name)
{
    return result(::unlinkat(dirFd, name, AT_REMOVEDIR));
}

int removeDir(const QString& path)
{
    return removeDirAt(AT_FDCWD, encodePath(path).constData());
}

int renameAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName)
{
    return result(::renameat(oldDirFd, oldName, newDirFd, newName));
}

int renamePath(const QString& from, const QString& to)
{
    return renameAt(AT_FDCWD, encodePath(from).constData(), AT_FDCWD, encodePath(to).constData());
}

int chmodAt(int dirFd, const char* name, mode_t mode)
{
    return result(::fchmodat(dirFd, name, mode, 0));
}

int setBlocking(int fd)
{
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0)
        return errno;
    return result(::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK));
}

int sizeOf(int fd, qint64& size)
{
    struct stat st;
    if (const int e = statFd(fd, st))
        return e;
    if (S_ISBLK(st.st_mode)) {
        const off_t end = ::lseek(fd, 0, SEEK_END);
        if (end < 0)
            return errno;
        size = end;
        return 0;
    }
    size = st.st_size;
    return 0;
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
    if (const int le = lstatAt(oldDirFd, oldName, st))
        return le;
    if (S_ISDIR(st.st_mode)) {
        // Take the name with an empty folder of our own; rename may replace only that.
        if (const int me = makeDirAt(newDirFd, newName, 0700))
            return me;
        if ((e = renameAt(oldDirFd, oldName, newDirFd, newName)) == 0)
            return 0;
        removeDirAt(newDirFd, newName);
        return e;
    }
    if (::linkat(oldDirFd, oldName, newDirFd, newName, 0) == 0) {
        if ((e = removeAt(oldDirFd, oldName)) == 0)
            return 0;
        removeAt(newDirFd, newName);
        return e;
    }
    e = errno;
    if (e == EEXIST || e == ENOENT || e == EXDEV || e == ENAMETOOLONG)
        return e;
    // No hard links here: hold the name with an empty file of our own, then rename over it.
    Fd placeholder = openAt(newDirFd, newName, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW, 0600);
    if (!placeholder.valid())
        return errno;
    placeholder.reset();
    if ((e = renameAt(oldDirFd, oldName, newDirFd, newName)) == 0)
        return 0;
    removeAt(newDirFd, newName);
    return e;
}

int renameNoReplace(const QString& from, const QString& to)
{
    return renameNoReplaceAt(AT_FDCWD, encodePath(from).constData(), AT_FDCWD, encodePath(to).constData());
}

namespace {

int removeChildren(int fd, QByteArray* failed, const std::atomic<bool>* stop);

int removeEntry(int dirFd, const char* name, bool knownDir, QByteArray* failed, const std::atomic<bool>* stop)
{
    const auto failedAt = [&](int e) {
        if (failed)
            *failed = name;
        return e;
    };
    if (!knownDir) {
        const int e = removeAt(dirFd, name);
        if (e == 0)
            return 0;
        if (e != EISDIR && e != EPERM)
            return failedAt(e);
        struct stat st;
        if (lstatAt(dirFd, name, st) != 0 || !S_ISDIR(st.st_mode))
            return failedAt(e);
    }
    Fd fd = openAt(dirFd, name, kDirFlags);
    if (!fd.valid())
        return failedAt(errno);
    QByteArray inner;
    if (const int e = removeChildren(fd.get(), failed ? &inner : nullptr, stop)) {
        if (failed)
            *failed = QByteArray(name) + '/' + inner;
        return e;
    }
    fd.reset();
    if (const int e = removeDirAt(dirFd, name))
        return failedAt(e);
    return 0;
}

int removeChildren(int fd, QByteArray* failed, const std::atomic<bool>* stop)
{
    DirReader reader(fd);
    if (reader.error())
        return reader.error();
    DirReader::Entry ent;
    while (reader.next(ent)) {
        if (stop && stop->load(std::memory_order_relaxed))
            return ECANCELED;
        if (const int e = removeEntry(fd, ent.name, ent.isDir, failed, stop))
            return e;
    }
    return 0;
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
    DirReader reader(dirFd);
    DirReader::Entry ent;
    while (reader.next(ent))
        removeEntry(dirFd, ent.name, ent.isDir, nullptr, nullptr);
}

int makePath(const QString& path)
{
    struct stat st;
    if (statPath(path, st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const QByteArray p = encodePath(path);
    for (qsizetype i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '/')
            continue;
        const int e = makeDirAt(AT_FDCWD, p.left(i).constData(), 0777);
        if (e && e != EEXIST)
            return e;
    }
    return statPath(path, st) == 0 && S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

} // namespace plat::posix
