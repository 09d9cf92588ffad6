#include "tools/md5/engine/MemoryMappedFileStream.h"
#include "platform/posix/FileIO.h"
#include "tools/md5/engine/MD5Errors.h"
#include <algorithm>
#include <cerrno>

TMemoryMappedReadOnlyFileStream::TMemoryMappedReadOnlyFileStream(const QString& FileName,
                                                                 const QString& MappingName)
    : m_fileName(FileName), m_mappingName(MappingName)
{
    plat::posix::SysError error;
    plat::posix::Fd file = plat::posix::openRegularFile(FileName, &m_size, &error);
    if (!file.valid())
        throw md5::EFOpenError(error);
    if (const int e = m_map.map(std::move(file), m_size))
        throw md5::EFOpenError(plat::posix::SysError{e, QStringLiteral("mmap"), FileName},
                               QStringLiteral("Error creating file mapping object %1").arg(MappingName));
}

qint64 TMemoryMappedReadOnlyFileStream::Read(void* Buffer, qint64 Count)
{
    if (m_position < 0 || Count < 0 || m_position >= m_size)
        return 0;
    const qint64 n = std::min(Count, m_size - m_position);
    // Pages past the end of a file that was shortened meanwhile fault: the copy is abandoned. The last page
    // of a shortened file reads as zeros without faulting: the size is checked once at the end.
    if (!m_map.copy(Buffer, m_position, size_t(n)) || (m_position + n == m_size && m_map.shrunk()))
        throw md5::EReadError(plat::posix::SysError{EIO, QStringLiteral("read"), m_fileName});
    m_position += n;
    return n;
}

qint64 TMemoryMappedReadOnlyFileStream::Seek(qint64 Offset, md5::TSeekOrigin Origin)
{
    switch (Origin) {
    case md5::soBeginning: m_position = Offset; break;
    case md5::soCurrent: m_position += Offset; break;
    case md5::soEnd: m_position = m_size + Offset; break;
    }
    return m_position;
}

qint64 TMemoryMappedReadOnlyFileStream::Write(const void*, qint64)
{
    throw md5::EWriteError(QStringLiteral("Could not write read only MapOfFile"));
}

void TMemoryMappedReadOnlyFileStream::SetSize(qint64)
{
    throw EFSizeUnChangable(QStringLiteral("Could not change the read only MapOfFile's size.%1").arg(QString()));
}
