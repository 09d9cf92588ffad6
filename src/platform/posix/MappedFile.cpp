#include "platform/posix/MappedFile.h"
#include "platform/posix/BusGuard.h"
#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>

namespace plat::posix {

int MappedFile::map(Fd file, qint64 size)
{
    unmap();
    if (!file.valid())
        return EBADF;
    if (size <= 0)
        return EINVAL;
    void* view = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, file.get(), 0);
    if (view == MAP_FAILED)
        return errno;
    ::madvise(view, size_t(size), MADV_SEQUENTIAL);
    m_file = std::move(file);
    m_view = static_cast<const char*>(view);
    m_size = size;
    return 0;
}

void MappedFile::unmap()
{
    if (m_view)
        ::munmap(const_cast<char*>(m_view), size_t(m_size));
    m_view = nullptr;
    m_size = 0;
    m_file.reset();
}

bool MappedFile::copy(void* dst, qint64 offset, std::size_t count) const
{
    return m_view && offset >= 0 && offset + qint64(count) <= m_size && guardedCopy(dst, m_view + offset, count);
}

bool MappedFile::shrunk() const
{
    struct stat st {};
    return ::fstat(m_file.get(), &st) != 0 || qint64(st.st_size) < m_size;
}

} // namespace plat::posix
