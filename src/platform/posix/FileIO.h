#pragma once
#include "platform/posix/Fd.h"
#include "platform/posix/SysError.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <sys/stat.h>

// Reading and writing whole files through descriptors: opening a regular file to read it, read and
// write loops that retry interrupted calls, positioning and read-ahead advice.
namespace plat::posix {

// Opens a regular file for reading. The open does not wait on a FIFO or a device (O_NONBLOCK, cleared
// again once the descriptor is known to be a regular file) and anything that is not a regular file is
// refused (EISDIR for a folder, else EINVAL): the type is checked on the descriptor, so a file swapped
// for a FIFO after a stat is caught too. `size` gets the file's size. On failure an invalid Fd, errno set
// and `error` filled ("open").
Fd openRegularFile(const QString& path, qint64* size = nullptr, SysError* error = nullptr);
// The same for a path in file-name bytes, relative to `dirFd` (AT_FDCWD or an open folder); `moreFlags`
// are added to the open's flags (O_NOFOLLOW). `st`, when given, gets the descriptor's stat.
Fd openRegularFileAt(int dirFd, const char* name, qint64* size = nullptr, int moreFlags = 0,
                     struct stat* st = nullptr);

// One read(2), retried when interrupted: the bytes read, 0 at the end, -1 with errno set on an error.
qint64 readSome(int fd, void* buffer, qint64 count);
// Reads until `count` bytes, the end or an error: the bytes read, or -1 with errno set on an error.
qint64 readFull(int fd, void* buffer, qint64 count);
// Writes all of `data`. Returns 0 or an errno value (an injected Write fault included).
int writeAll(int fd, const char* data, qint64 size);
inline int writeAll(int fd, QByteArrayView data) { return writeAll(fd, data.data(), data.size()); }

// lseek(2): the new offset, or -1 with errno set.
qint64 seekFile(int fd, qint64 offset, int whence);
// Tells the kernel the file will be read from start to end (larger read-ahead).
void adviseSequential(int fd);

} // namespace plat::posix
