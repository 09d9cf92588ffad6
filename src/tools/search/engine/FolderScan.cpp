#include "tools/search/engine/FolderScan.h"
#include "platform/Attributes.h"
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace search {
namespace {

qint64 ns(const struct statx_timestamp& t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

FolderScan::~FolderScan()
{
    close();
}

void FolderScan::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool FolderScan::read(const QByteArray& path, const QString& folder, const std::function<bool()>& stopped)
{
    close();
    m_records.clear();
    m_names.clear();
    m_folder = folder;
    m_hasHiddenList = false;
    m_hiddenRead = false;
    m_hidden.clear();
    m_fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    struct stat st;
    if (::fstat(m_fd, &st) != 0) {
        close();
        return false;
    }
    m_dev = st.st_dev;
    m_ino = st.st_ino;

    alignas(8) char buf[64 * 1024];
    for (;;) {
        if (stopped && stopped())
            break;
        const ssize_t got = ::getdents64(m_fd, buf, sizeof buf);
        if (got <= 0)
            break;   // the end, or an unreadable folder: what was read stands
        for (ssize_t at = 0; at < got;) {
            const auto* d = reinterpret_cast<const struct dirent64*>(buf + at);
            at += d->d_reclen;
            const size_t length = ::strlen(d->d_name);
            if (length == 7 && std::memcmp(d->d_name, ".hidden", 7) == 0)
                m_hasHiddenList = true;
            m_records.push_back({quint32(m_names.size()), quint32(length), d->d_type});
            m_names.append(d->d_name, length + 1);
        }
    }
    return true;
}

bool FolderScan::findData(const Record& r, const QString& decodedName, plat::FindData& fd)
{
    if (m_fd < 0)
        return false;
    const char* n = name(r);
    struct statx sx;
    bool isLink = r.type == DT_LNK;
    if (::statx(m_fd, n, AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
        if (::statx(m_fd, n, AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
            return false;
        isLink = S_ISLNK(sx.stx_mode);
    } else if (r.type == DT_UNKNOWN) {
        struct statx lx;
        isLink = ::statx(m_fd, n, AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, STATX_TYPE, &lx) == 0 && S_ISLNK(lx.stx_mode);
    }
    if (!m_hiddenRead) {
        if (m_hasHiddenList)   // the listing shows whether there is a list to read
            m_hidden = plat::readHiddenList(m_folder);
        m_hiddenRead = true;
    }
    fd.name = decodedName;
    fd.attributes = plat::attributes(sx.stx_mode, decodedName, !m_hidden.isEmpty() && m_hidden.contains(decodedName));
    fd.size = S_ISDIR(sx.stx_mode) ? 0 : qint64(sx.stx_size);
    fd.writeNs = ns(sx.stx_mtime);
    fd.accessNs = ns(sx.stx_atime);
    // Some file systems report a zero birth time: treat it as unknown.
    const bool haveBirth = (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
    fd.creationNs = haveBirth ? ns(sx.stx_btime) : fd.writeNs;
    fd.shortName.clear();
    fd.isLink = isLink;
    fd.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    fd.ino = sx.stx_ino;
    return true;
}

bool FolderScan::isRealFolder(const Record& r) const
{
    if (r.type != DT_UNKNOWN)
        return r.type == DT_DIR;
    struct statx lx;
    return m_fd >= 0 && ::statx(m_fd, name(r), AT_NO_AUTOMOUNT | AT_SYMLINK_NOFOLLOW, STATX_TYPE, &lx) == 0
        && S_ISDIR(lx.stx_mode);
}

} // namespace search
