#include "platform/posix/FileIO.h"
#include "platform/posix/Faults.h"
#include "platform/posix/FileOps.h"
#include "platform/posix/PathCodec.h"
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat::posix {

Fd openRegularFileAt(int dirFd, const char* name, qint64* size, int moreFlags, struct stat* stOut)
{
    Fd fd = openAt(dirFd, name, O_RDONLY | O_NOCTTY | O_NONBLOCK | moreFlags);
    if (!fd.valid())
        return fd;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Fd();   // errno from fstat survives the close
    if (!S_ISREG(st.st_mode)) {
        fd.reset();
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return Fd();
    }
    if (const int e = setBlocking(fd.get())) {
        fd.reset();
        errno = e;
        return Fd();
    }
    if (size)
        *size = qint64(st.st_size);
    if (stOut)
        *stOut = st;
    return fd;
}

Fd openRegularFile(const QString& path, qint64* size, SysError* error)
{
    Fd fd = openRegularFileAt(AT_FDCWD, encodePath(path).constData(), size);
    if (!fd.valid() && error)
        *error = SysError{errno, QStringLiteral("open"), path};
    return fd;
}

qint64 readSome(int fd, void* buffer, qint64 count)
{
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size_t(count));
        if (n >= 0 || errno != EINTR)
            return qint64(n);
    }
}

qint64 readFull(int fd, void* buffer, qint64 count)
{
    char* out = static_cast<char*>(buffer);
    qint64 got = 0;
    while (got < count) {
        const qint64 n = readSome(fd, out + got, count - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

int writeAll(int fd, const char* data, qint64 size)
{
    if (const int e = faults::checkFd(faults::Op::Write, fd))
        return e;
    for (qint64 done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += n;
    }
    return 0;
}

qint64 seekFile(int fd, qint64 offset, int whence)
{
    return qint64(::lseek(fd, off_t(offset), whence));
}

void adviseSequential(int fd)
{
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

} // namespace plat::posix
