#pragma once
#include "platform/posix/Fd.h"
#include "platform/posix/SysError.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reading and writing whole files through descriptors: opening a regular file to read it, read and
// write loops that retry interrupted calls, positioning and read-ahead advice.
namespace plat::posix {

// Opens a regular file for reading. The open does not wait on a FIFO or a device (O_NONBLOCK, which
// has no effect on regular files, so it stays set) and anything that is not a regular file is refused
// (EISDIR for a folder, else EINVAL). `size` gets the file's size. On failure an invalid Fd, errno set
// and `error` filled ("open").
Fd openRegularFile(const QString& path, qint64* size = nullptr, SysError* error = nullptr);
// The same for a path in file-name bytes, relative to `dirFd` (AT_FDCWD or an open folder).
Fd openRegularFileAt(int dirFd, const char* name, qint64* size = nullptr);

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
