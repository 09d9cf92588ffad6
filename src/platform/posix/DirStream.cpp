#include "platform/posix/DirStream.h"
#include "platform/posix/PathCodec.h"
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace plat::posix {
namespace {

constexpr long kBatch = 64 * 1024;
constexpr int kFlags = O_RDONLY | O_DIRECTORY;

} // namespace

bool DirStream::open(const QString& path)
{
    return openAt(AT_FDCWD, encodePath(path).constData());
}

bool DirStream::openAt(int dirFd, const char* name)
{
    m_filled = m_at = 0;
    m_fd = plat::posix::openAt(dirFd, name, kFlags);
    return m_fd.valid();
}

bool DirStream::next(Entry& e, const std::function<bool()>& stopped)
{
    if (m_at >= m_filled) {
        if (!m_fd.valid() || (stopped && stopped()))
            return false;
        if (!m_buffer)
            m_buffer.reset(new char[kBatch]);
        const ssize_t got = ::getdents64(m_fd.get(), m_buffer.get(), kBatch);
        if (got <= 0) {
            if (got == 0)
                errno = 0;
            return false;
        }
        m_filled = got;
        m_at = 0;
    }
    const auto* d = reinterpret_cast<const struct dirent64*>(m_buffer.get() + m_at);
    m_at += d->d_reclen;
    e.name = d->d_name;
    e.length = std::strlen(d->d_name);
    e.type = d->d_type;
    return true;
}

} // namespace plat::posix
