#include "platform/posix/DirReader.h"
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace plat::posix {

DirReader::DirReader(int dirFd)
{
    const int dup = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    if (dup < 0) {
        m_error = errno;
        return;
    }
    m_dir = ::fdopendir(dup);
    if (!m_dir) {
        m_error = errno;
        ::close(dup);
        return;
    }
    ::rewinddir(m_dir);   // the duplicate shares the position of the caller's descriptor
}

DirReader::~DirReader()
{
    if (m_dir)
        ::closedir(m_dir);
}

bool DirReader::next(Entry& entry)
{
    if (!m_dir)
        return false;
    while (const dirent* e = ::readdir(m_dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        entry.name = n;
        entry.isDir = e->d_type == DT_DIR;
        return true;
    }
    return false;
}

int listNames(int dirFd, QList<QByteArray>& names)
{
    DirReader reader(dirFd);
    if (reader.error())
        return reader.error();
    DirReader::Entry e;
    while (reader.next(e))
        names << QByteArray(e.name);
    return 0;
}

} // namespace plat::posix
