#include "platform/posix/StatRecord.h"
#include "platform/posix/PathCodec.h"
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace plat::posix {
namespace {

constexpr unsigned kFields = STATX_BASIC_STATS | STATX_BTIME;

FileTime ns(const struct statx_timestamp& t)
{
    return FileTime(qint64(t.tv_sec), qint32(t.tv_nsec));
}

void fill(const struct statx& sx, StatRecord& r)
{
    r.mode = sx.stx_mode;
    r.size = qint64(sx.stx_size);
    r.writeNs = ns(sx.stx_mtime);
    r.accessNs = ns(sx.stx_atime);
    // Some file systems set STATX_BTIME but report a zero birth time: treat that as unknown.
    const bool haveBirth = (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
    r.creationNs = haveBirth ? ns(sx.stx_btime) : r.writeNs;
    r.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    r.ino = sx.stx_ino;
}

bool typeIs(int dirFd, const char* name, int flags, mode_t type)
{
    struct statx sx;
    return ::statx(dirFd, name, AT_NO_AUTOMOUNT | flags, STATX_TYPE, &sx) == 0 && (sx.stx_mode & S_IFMT) == type;
}

} // namespace

StatRecord::Kind StatRecord::kind() const
{
    if (S_ISDIR(mode))
        return Kind::Folder;
    if (S_ISREG(mode))
        return Kind::File;
    if (S_ISLNK(mode))
        return Kind::Link;
    return Kind::Other;
}

bool statAt(int dirFd, const char* name, unsigned char dtype, StatRecord& out)
{
    struct statx sx;
    bool isLink = dtype == DT_LNK;
    if (::statx(dirFd, name, AT_NO_AUTOMOUNT, kFields, &sx) != 0) {
        if (::statx(dirFd, name, AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, kFields, &sx) != 0)
            return false;
        isLink = S_ISLNK(sx.stx_mode);
    } else if (dtype == DT_UNKNOWN) {
        isLink = typeIs(dirFd, name, AT_SYMLINK_NOFOLLOW, S_IFLNK);
    }
    fill(sx, out);
    out.isLink = isLink;
    return true;
}

bool statPath(const QString& path, StatRecord& out)
{
    return statAt(AT_FDCWD, encodePath(path).constData(), DT_UNKNOWN, out);
}

bool statFd(int fd, StatRecord& out)
{
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, kFields, &sx) != 0)
        return false;
    fill(sx, out);
    out.isLink = S_ISLNK(sx.stx_mode);
    return true;
}

bool isFolderAt(int dirFd, const char* name, unsigned char dtype)
{
    if (dtype != DT_LNK && dtype != DT_UNKNOWN)
        return dtype == DT_DIR;
    return typeIs(dirFd, name, 0, S_IFDIR);
}

bool isRealFolderAt(int dirFd, const char* name, unsigned char dtype)
{
    if (dtype != DT_UNKNOWN)
        return dtype == DT_DIR;
    return typeIs(dirFd, name, AT_SYMLINK_NOFOLLOW, S_IFDIR);
}

} // namespace plat::posix
