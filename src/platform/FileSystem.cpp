#include "platform/FileSystem.h"
#include "platform/Attributes.h"
#include "platform/Mask.h"
#include "platform/Path.h"
#include "platform/posix/DirStream.h"
#include <QDir>
#include <dirent.h>
#include <fcntl.h>

namespace plat {
namespace {

// Find data of `name` inside the folder open as `dirFd` (AT_FDCWD and a full path work too).
// Links are followed; a dangling link gives its own data. False when the entry cannot be read.
bool statEntry(int dirFd, const char* name, unsigned char dtype, FindData& fd, const QSet<QString>& hidden)
{
    posix::StatRecord st;
    if (!posix::statAt(dirFd, name, dtype, st))
        return false;
    fillFindData(fd, st, !hidden.isEmpty() && hidden.contains(fd.name));
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

void fillFindData(FindData& fd, const posix::StatRecord& st, bool listedHidden)
{
    fd.attributes = attributes(st.mode, fd.name, listedHidden);
    fd.size = st.kind() == posix::StatRecord::Kind::Folder ? 0 : st.size;
    fd.writeNs = st.writeNs;
    fd.accessNs = st.accessNs;
    fd.creationNs = st.creationNs;
    fd.isLink = st.isLink;
    fd.dev = st.dev;
    fd.ino = st.ino;
}

bool LinuxFileSystem::enumerate(const QString& dir, const QString& piece, const EntrySink& sink)
{
    return enumerateKind(dir, piece, KindFilter::Any, sink);
}

bool LinuxFileSystem::enumerateKind(const QString& dir, const QString& piece, KindFilter kinds, const EntrySink& sink,
                                    const Heartbeat& heartbeat)
{
    posix::DirStream stream;
    if (!stream.open(dir))
        return false;
    const bool atRoot = QDir::cleanPath(dir) == QLatin1String("/");
    const QSet<QString> hidden = readHiddenList(dir);
    bool matched = false;
    posix::DirStream::Entry e;
    while (stream.next(e)) {
        if (atRoot && e.name[0] == '.' && e.name[1] == '.' && e.name[2] == 0)
            continue;   // a root has no parent entry
        bool delivered = false;
        if (!skipByRecord(e.type, kinds)) {
            FindData data;
            data.name = path::decode(e.name);
            if (platformMaskMatch(data.name, piece) && statEntry(stream.fd(), e.name, e.type, data, hidden)
                && (kinds == KindFilter::Any || data.isDir() == (kinds == KindFilter::FoldersOnly))) {
                matched = delivered = true;
                if (!sink(data))
                    break;
            }
        }
        if (!delivered && heartbeat && !heartbeat())
            break;
    }
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
