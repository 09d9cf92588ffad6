#pragma once
#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <sys/stat.h>
#include "platform/posix/Fd.h"
#include "platform/posix/PathCodec.h"
#include "platform/posix/SysError.h"

// File-system steps shared by the engines: exclusive renames, data copies, identity
// walks and link-safe tree removal. Everything works on directory descriptors where it can, never
// follows a link it did not mean to, and returns 0 or an errno value.
namespace plat::posix {

inline bool sameIdentity(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// lstat of a path; false with errno set when it does not exist.
bool lstatPath(const QString& path, struct stat& st);

// True when `folder` (links in its path followed, as the kernel resolves it) or any folder above it,
// walking "..", has the identity of `dir`. Links and bind mounts cannot hide a sub-tree this way.
bool folderIsOrIsUnder(const QString& folder, const struct stat& dir);

// Tests: behave as if the file system refused RENAME_NOREPLACE, so that the fallback runs.
extern std::atomic<bool> refuseNoReplaceForTests;

// renameat2 with RENAME_NOREPLACE; where the file system refuses the flag: a folder takes its name
// through an exclusive mkdir that the rename then replaces, anything else through link + unlink (or an
// exclusively created placeholder where hard links are not supported). Never replaces an existing entry.
int renameNoReplaceAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName);
int renameNoReplace(const QString& from, const QString& to);

// Called after each copied chunk with the bytes just copied and the offset reached; returns 0 to go on
// or an errno value (ECANCELED for a stop) to end the copy with.
using ChunkHook = std::function<int(qint64 copied, qint64 offset)>;

// Copies `size` bytes of `in` to `out` at the same offsets: copy_file_range in large chunks, sendfile or
// read/write where that is refused; holes of the source stay holes. Returns 0 or an errno value.
int copyData(int in, int out, qint64 size, const ChunkHook& hook);

// Removes `name` in `dirFd` and, for a folder, everything below it. Links are removed, never followed.
// On failure `failed` gets the path of the entry that could not go, relative to `dirFd`.
int removeTreeAt(int dirFd, const QByteArray& name, QByteArray* failed = nullptr,
                 const std::atomic<bool>* stop = nullptr);
int removeTree(const QString& path, QString* failedPath = nullptr, const std::atomic<bool>* stop = nullptr);

// Removes every entry inside the folder `dirFd`; errors are ignored.
void clearDirAt(int dirFd);

// Creates every missing folder of `path` (mode 0777 & ~umask). Returns 0 or an errno value.
int makePath(const QString& path);


} // namespace plat::posix
