#include "platform/posix/Ownership.h"
#include "platform/posix/Faults.h"
#include <QByteArray>
#include <QList>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace plat::posix {

bool isOwnedByThisProcess(uid_t uid, gid_t gid)
{
    return uid == ::geteuid() && gid == ::getegid();
}

bool isOwnedByThisUser(uid_t uid)
{
    return uid == ::geteuid();
}

int changeOwnerAt(int dirFd, const char* name, uid_t uid, gid_t gid)
{
    return ::fchownat(dirFd, name, uid, gid, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

int changeOwner(int fd, uid_t uid, gid_t gid)
{
    return ::fchown(fd, uid, gid) == 0 ? 0 : errno;
}

bool copyUserAttributes(int from, int to)
{
    if (faults::checkFd(faults::Op::Attributes, from))
        return false;
    QByteArray names(4096, Qt::Uninitialized);
    ssize_t n = ::flistxattr(from, names.data(), size_t(names.size()));
    if (n < 0 && errno == ERANGE) {
        n = ::flistxattr(from, nullptr, 0);
        names.resize(qsizetype(qMax<ssize_t>(n, 0)));
        n = ::flistxattr(from, names.data(), size_t(names.size()));
    }
    bool whole = true;
    for (const QByteArray& name : QByteArray(names.constData(), qsizetype(qMax<ssize_t>(n, 0))).split('\0')) {
        if (!name.startsWith("user."))
            continue;
        const ssize_t size = ::fgetxattr(from, name.constData(), nullptr, 0);
        QByteArray value(qsizetype(qMax<ssize_t>(size, 0)), Qt::Uninitialized);
        if (size < 0 || ::fgetxattr(from, name.constData(), value.data(), size_t(value.size())) != size ||
            ::fsetxattr(to, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            whole = false;
    }
    return whole;
}

int hardLinkAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName)
{
    return ::linkat(oldDirFd, oldName, newDirFd, newName, 0) == 0 ? 0 : errno;
}

Fd duplicate(int fd)
{
    return Fd(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
}

int tryLockExclusive(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

} // namespace plat::posix
