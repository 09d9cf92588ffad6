#pragma once
#include "platform/posix/Fd.h"
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>

// Reads the records of one folder in large batches (getdents64), through a descriptor opened by
// openPath/openAt (so a test can make a folder unreadable). Records come in directory order, "." and
// ".." included; names stay in the batch buffer until the next call.
namespace plat::posix {

class DirStream {
public:
    struct Entry {
        const char* name;
        std::size_t length;
        unsigned char type;     // DT_* of the record, DT_UNKNOWN when the file system gives none
    };

    DirStream() = default;
    DirStream(const DirStream&) = delete;
    DirStream& operator=(const DirStream&) = delete;

    // Opens a folder by path, or `name` relative to `dirFd`. False, with errno set, when it cannot be.
    bool open(const QString& path);
    bool openAt(int dirFd, const char* name);

    int fd() const { return m_fd.get(); }
    bool isOpen() const { return m_fd.valid(); }
    // Gives up the descriptor (to keep using it for stat calls after the reading).
    Fd takeFd() { return std::move(m_fd); }
    void close() { m_fd.reset(); }

    // The next record; false at the end or on a read error (errno set, 0 at the end). `stopped`, when
    // given, is asked before each batch is read; a stop ends the reading as the end does.
    bool next(Entry& e, const std::function<bool()>& stopped = {});

private:
    Fd m_fd;
    std::unique_ptr<char[]> m_buffer;
    long m_filled = 0;
    long m_at = 0;
};

// "." or "..".
inline bool isDotOrDotDot(const char* n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

} // namespace plat::posix
