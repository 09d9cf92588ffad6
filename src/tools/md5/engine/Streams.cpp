#include "tools/md5/engine/Streams.h"
#include "tools/md5/engine/MD5Errors.h"
#include "platform/posix/FileIO.h"
#include <cerrno>
#include <cstdio>

namespace md5 {

FileStream::FileStream(const QString& FileName) : m_fileName(FileName)
{
    plat::posix::SysError error;
    m_fd = plat::posix::openRegularFile(FileName, &m_size, &error);
    if (!m_fd.valid())
        throw EFOpenError(error);
    plat::posix::adviseSequential(m_fd.get());
}

qint64 FileStream::Read(void* Buffer, qint64 Count)
{
    const qint64 got = plat::posix::readFull(m_fd.get(), Buffer, Count);
    if (got < 0)
        throw EReadError(plat::posix::SysError{errno, QStringLiteral("read"), m_fileName});
    return got;
}

qint64 FileStream::Seek(qint64 Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return plat::posix::seekFile(m_fd.get(), Offset, whence);
}

} // namespace md5
