#include "platform/posix/Fd.h"
#include "platform/posix/Faults.h"
#include "platform/posix/PathCodec.h"
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace plat::posix {

void Fd::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

int Fd::close()
{
    if (m_fd < 0)
        return 0;
    const int r = ::close(m_fd);
    m_fd = -1;
    return r == 0 || errno == EINTR ? 0 : errno;
}

Fd openPath(const QString& path, int flags, mode_t mode)
{
    const QByteArray p = encodePath(path);
    return openAt(AT_FDCWD, p.constData(), flags, mode);
}

Fd openAt(int dirFd, const char* name, int flags, mode_t mode)
{
    if (const int e = faults::check(faults::Op::Open, dirFd, name)) {
        errno = e;
        return Fd();
    }
    return Fd(::openat(dirFd, name, flags | O_CLOEXEC, mode));
}

} // namespace plat::posix
