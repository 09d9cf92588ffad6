#include "tools/md5/engine/MemoryMappedFileStream.h"
#include "tools/md5/engine/BusGuard.h"
#include "tools/md5/engine/MD5Errors.h"
#include <algorithm>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

TMemoryMappedReadOnlyFileStream::TMemoryMappedReadOnlyFileStream(const QString& FileName,
                                                                 const QString& MappingName)
    : m_fileName(FileName), m_mappingName(MappingName)
{
    m_fileHandle = md5::openRegularFile(FileName, &m_size);
    if (m_fileHandle < 0)
        throw md5::EFOpenError(QStringLiteral("Error opening %1").arg(FileName));
    void* view = m_size > 0 ? ::mmap(nullptr, size_t(m_size), PROT_READ, MAP_SHARED, m_fileHandle, 0) : MAP_FAILED;
    if (view == MAP_FAILED) {
        ::close(m_fileHandle);
        m_fileHandle = -1;
        throw md5::EFOpenError(QStringLiteral("Error creating file mapping object %1").arg(MappingName));
    }
    m_view = static_cast<const char*>(view);
    ::madvise(view, size_t(m_size), MADV_SEQUENTIAL);
}

TMemoryMappedReadOnlyFileStream::~TMemoryMappedReadOnlyFileStream()
{
    if (m_view)
        ::munmap(const_cast<char*>(m_view), size_t(m_size));
    if (m_fileHandle >= 0)
        ::close(m_fileHandle);
}

qint64 TMemoryMappedReadOnlyFileStream::Read(void* Buffer, qint64 Count)
{
    if (m_position < 0 || Count < 0 || m_position >= m_size)
        return 0;
    const qint64 n = std::min(Count, m_size - m_position);
    // Pages past the end of a file that was shortened meanwhile fault: the copy is abandoned.
    if (!md5::guardedCopy(Buffer, m_view + m_position, size_t(n)))
        throw md5::EReadError(QStringLiteral("Error reading %1").arg(m_fileName));
    m_position += n;
    // The last page of a shortened file reads as zeros without faulting: check the size once at the end.
    if (m_position == m_size) {
        struct stat st {};
        if (::fstat(m_fileHandle, &st) != 0 || qint64(st.st_size) < m_size)
            throw md5::EReadError(QStringLiteral("Error reading %1").arg(m_fileName));
    }
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
