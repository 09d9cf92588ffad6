#include "platform/posix/DirReader.h"
#include <cerrno>
#include <dirent.h>

namespace plat::posix {

DirReader::DirReader(int dirFd)
{
    if (!m_stream.openAt(dirFd, "."))
        m_error = errno ? errno : EBADF;
}

DirReader::~DirReader() = default;

bool DirReader::next(Entry& entry)
{
    if (!m_stream.isOpen())
        return false;
    DirStream::Entry e;
    while (m_stream.next(e)) {
        if (isDotOrDotDot(e.name))
            continue;
        entry.name = e.name;
        entry.isDir = e.type == DT_DIR;
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
