#pragma once
#include "platform/posix/Fd.h"
#include <QtGlobal>
#include <cstddef>

// A whole file mapped read-only for sequential reading. Copies out of the mapping go through the bus
// guard, so a file that another program shortens while it is mapped gives a failed copy instead of
// ending the process.
namespace plat::posix {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() { unmap(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the first `size` bytes of `file` (taken over; it stays open for shrinkage checks).
    // Returns 0 or an errno value; an empty file cannot be mapped (EINVAL).
    int map(Fd file, qint64 size);
    void unmap();

    bool mapped() const { return m_view != nullptr; }
    const char* data() const { return m_view; }
    qint64 size() const { return m_size; }

    // Copies `count` bytes from `offset`; false when the pages are gone (the file was shortened).
    bool copy(void* dst, qint64 offset, std::size_t count) const;
    // True when the file is now shorter than the mapping, or cannot be sized. The last page of a shortened
    // file reads as zeros without faulting, so a reader checks this once it has reached the end.
    bool shrunk() const;

private:
    Fd m_file;
    const char* m_view = nullptr;
    qint64 m_size = 0;
};

} // namespace plat::posix
