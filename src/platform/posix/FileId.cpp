#include "platform/posix/FileId.h"
#include "platform/posix/PathCodec.h"
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace plat::posix {

namespace {

std::atomic<bool> g_ownerSet{false};
std::atomic<uid_t> g_ownerUid{0};
std::atomic<gid_t> g_ownerGid{0};

} // namespace

int statPath(const QString& path, struct stat& st)
{
    if (path.isEmpty())
        return ENOENT;
    return ::stat(encodePath(path).constData(), &st) == 0 ? 0 : errno;
}

int lstatAt(int dirFd, const char* name, struct stat& st)
{
    return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

int statFd(int fd, struct stat& st)
{
    return ::fstat(fd, &st) == 0 ? 0 : errno;
}

bool lstatPath(const QString& path, struct stat& st)
{
    if (path.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    return ::lstat(encodePath(path).constData(), &st) == 0;
}

std::optional<FileId> fileId(const QString& path)
{
    struct stat st;
    if (statPath(path, st) != 0)
        return std::nullopt;
    return FileId::of(st);
}

std::optional<FileId> fileId(int fd)
{
    struct stat st;
    if (fd < 0 || statFd(fd, st) != 0)
        return std::nullopt;
    return FileId::of(st);
}

bool sameFile(const QString& a, const QString& b)
{
    const auto ia = fileId(a);
    const auto ib = fileId(b);
    return ia && ib && *ia == *ib;
}

Owner processOwner()
{
    if (g_ownerSet.load())
        return {g_ownerUid.load(), g_ownerGid.load()};
    return {::geteuid(), ::getegid()};
}

uid_t realUserId()
{
    return ::getuid();
}

namespace faults {

ScopedOwner::ScopedOwner(Owner owner)
{
    g_ownerUid = owner.uid;
    g_ownerGid = owner.gid;
    g_ownerSet = true;
}

ScopedOwner::~ScopedOwner()
{
    g_ownerSet = false;
}

} // namespace faults

} // namespace plat::posix
