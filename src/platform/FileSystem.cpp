#include "platform/FileSystem.h"
#include "platform/Attributes.h"
#include "platform/Mask.h"
#include "platform/Path.h"
#include <QDir>
#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace plat {
namespace {

qint64 ns(const struct statx_timestamp& t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Find data of `name` inside the folder open as `dirFd` (AT_FDCWD and a full path work too).
// Links are followed; a dangling link gives its own data. False when the entry cannot be read.
bool statEntry(int dirFd, const char* name, unsigned char dtype, FindData& fd, const QSet<QString>& hidden)
{
    struct statx sx;
    bool isLink = dtype == DT_LNK;
    if (::statx(dirFd, name, AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
        if (::statx(dirFd, name, AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
            return false;
        isLink = S_ISLNK(sx.stx_mode);
    } else if (dtype == DT_UNKNOWN) {
        struct statx lx;
        isLink = ::statx(dirFd, name, AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, STATX_TYPE, &lx) == 0
            && S_ISLNK(lx.stx_mode);
    }
    const bool listed = !hidden.isEmpty() && hidden.contains(fd.name);
    fd.attributes = attributes(sx.stx_mode, fd.name, listed);
    fd.size = S_ISDIR(sx.stx_mode) ? 0 : qint64(sx.stx_size);
    fd.writeNs = ns(sx.stx_mtime);
    fd.accessNs = ns(sx.stx_atime);
    // Some file systems set STATX_BTIME but report a zero birth time: treat that as unknown.
    const bool haveBirth = (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
    fd.creationNs = haveBirth ? ns(sx.stx_btime) : fd.writeNs;
    fd.isLink = isLink;
    fd.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    fd.ino = sx.stx_ino;
    return true;
}

// Whether the directory record alone shows that the entry is of the unwanted kind.
bool skipByRecord(unsigned char dtype, KindFilter kinds)
{
    switch (kinds) {
    case KindFilter::Any:
        return false;
    case KindFilter::FoldersOnly:
        return dtype == DT_REG || dtype == DT_FIFO || dtype == DT_SOCK || dtype == DT_CHR || dtype == DT_BLK;
    case KindFilter::NonFolders:
        return dtype == DT_DIR;
    }
    return false;
}

} // namespace

bool LinuxFileSystem::enumerate(const QString& dir, const QString& piece, const EntrySink& sink)
{
    return enumerateKind(dir, piece, KindFilter::Any, sink);
}

bool LinuxFileSystem::enumerateKind(const QString& dir, const QString& piece, KindFilter kinds, const EntrySink& sink,
                                    const Heartbeat& heartbeat)
{
    DIR* dp = ::opendir(path::encode(dir).constData());
    if (!dp)
        return false;
    const bool atRoot = QDir::cleanPath(dir) == QLatin1String("/");
    const QSet<QString> hidden = readHiddenList(dir);
    const int fd = ::dirfd(dp);
    bool matched = false;
    while (const dirent* e = ::readdir(dp)) {
        if (atRoot && e->d_name[0] == '.' && e->d_name[1] == '.' && e->d_name[2] == 0)
            continue;   // a root has no parent entry
        bool delivered = false;
        if (!skipByRecord(e->d_type, kinds)) {
            FindData data;
            data.name = QFile::decodeName(e->d_name);
            if (platformMaskMatch(data.name, piece) && statEntry(fd, e->d_name, e->d_type, data, hidden)
                && (kinds == KindFilter::Any || data.isDir() == (kinds == KindFilter::FoldersOnly))) {
                matched = delivered = true;
                if (!sink(data))
                    break;
            }
        }
        if (!delivered && heartbeat && !heartbeat())
            break;
    }
    ::closedir(dp);
    return matched;
}

std::optional<FindData> LinuxFileSystem::find(const QString& p)
{
    const QString clean = path::withoutTrailingSep(p);
    if (clean.isEmpty())
        return std::nullopt;
    FindData data;
    data.name = path::namePart(clean);
    const QSet<QString> hidden = data.name.isEmpty() ? QSet<QString>() : readHiddenList(path::folderPart(clean));
    if (!statEntry(AT_FDCWD, path::encode(clean).constData(), DT_UNKNOWN, data, hidden))
        return std::nullopt;
    return data;
}

} // namespace plat
