#include "tools/md5/engine/Streams.h"
#include "tools/md5/engine/MD5Errors.h"
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md5 {

int openRegularFile(const QString& fileName, qint64* size)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EINVAL);
        ::close(fd);
        errno = err;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (size)
        *size = qint64(st.st_size);
    return fd;
}

TFileStream::TFileStream(const QString& FileName) : m_fileName(FileName)
{
    m_fd = openRegularFile(FileName, &m_size);
    if (m_fd < 0)
        throw EFOpenError(QStringLiteral("Error opening %1").arg(FileName));
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

TFileStream::~TFileStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 TFileStream::Read(void* Buffer, qint64 Count)
{
    char* out = static_cast<char*>(Buffer);
    qint64 got = 0;
    while (got < Count) {
        const ssize_t n = ::read(m_fd, out + got, size_t(Count - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError(QStringLiteral("Error reading %1").arg(m_fileName));
        }
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

qint64 TFileStream::Seek(qint64 Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return qint64(::lseek(m_fd, off_t(Offset), whence));
}

} // namespace md5
