#include "tools/search/engine/FolderScan.h"
#include "platform/Attributes.h"
#include "platform/posix/DirStream.h"
#include "platform/posix/StatRecord.h"
#include <cstring>

namespace search {

void FolderScan::close()
{
    m_fd.reset();
}

bool FolderScan::read(const QString& folder, const std::function<bool()>& stopped)
{
    close();
    m_records.clear();
    m_names.clear();
    m_folder = folder;
    m_hasHiddenList = false;
    m_hiddenRead = false;
    m_hidden.clear();
    plat::posix::DirStream stream;
    if (!stream.open(folder))
        return false;
    plat::posix::StatRecord self;
    if (!plat::posix::statFd(stream.fd(), self))
        return false;
    m_dev = self.dev;
    m_ino = self.ino;
    // The end, or an unreadable folder: what was read stands.
    plat::posix::DirStream::Entry e;
    while (stream.next(e, stopped)) {
        if (e.length == 7 && std::memcmp(e.name, ".hidden", 7) == 0)
            m_hasHiddenList = true;
        m_records.push_back({quint32(m_names.size()), quint32(e.length), e.type});
        m_names.append(e.name, e.length + 1);
    }
    m_fd = stream.takeFd();
    return true;
}

bool FolderScan::findData(const Record& r, const QString& decodedName, plat::FindData& fd)
{
    plat::posix::StatRecord st;
    if (!m_fd.valid() || !plat::posix::statAt(m_fd.get(), name(r), r.type, st))
        return false;
    if (!m_hiddenRead) {
        if (m_hasHiddenList)   // the listing shows whether there is a list to read
            m_hidden = plat::readHiddenList(m_folder);
        m_hiddenRead = true;
    }
    fd.name = decodedName;
    fd.shortName.clear();
    plat::fillFindData(fd, st, !m_hidden.isEmpty() && m_hidden.contains(decodedName));
    return true;
}

bool FolderScan::isRealFolder(const Record& r) const
{
    return plat::posix::isRealFolderAt(m_fd.get(), name(r), r.type);
}

} // namespace search
