#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <sys/stat.h>
#include "platform/posix/DataCopy.h"
#include "platform/posix/DirReader.h"
#include "platform/posix/EntryOps.h"
#include "platform/posix/FileIO.h"
#include "platform/posix/Fd.h"
#include "platform/posix/FileId.h"
#include "platform/posix/PathCodec.h"
#include "platform/posix/SysError.h"

// File-system steps shared by the engines: creating, linking, renaming and removing entries, exclusive
// renames, identity walks and link-safe tree removal. Everything works on directory descriptors where
// it can, never follows a link it did not mean to, and returns 0 or an errno value.
namespace plat::posix {

// True when `folder` (links in its path followed, as the kernel resolves it) or any folder above it,
// walking "..", has the identity of `dir`. Links and bind mounts cannot hide a sub-tree this way.
bool folderIsOrIsUnder(const QString& folder, const struct stat& dir);

// Entries one at a time (mkdirat, symlinkat, readlinkat, unlinkat, renameat, fchmodat).
int makeDirAt(int dirFd, const char* name, mode_t mode);
int makeLinkAt(const QByteArray& target, int dirFd, const char* name);
// The whole target of the link `name`, however long; `sizeHint` is its lstat size when known.
int readLinkAt(int dirFd, const char* name, QByteArray& target, qint64 sizeHint = 0);
int removeAt(int dirFd, const char* name);           // a file or link
int removeDirAt(int dirFd, const char* name);        int removeDir(const QString& path);
// Replaces an existing entry of the new name (a folder only by an empty folder).
int renameAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName);
int renamePath(const QString& from, const QString& to);
int chmodAt(int dirFd, const char* name, mode_t mode);   // links followed, as chmod does

// Clears O_NONBLOCK (set at open so that a FIFO cannot hang the open).
int setBlocking(int fd);
// The size of an open regular file or block device.
int sizeOf(int fd, qint64& size);

// Tests: behave as if the file system refused RENAME_NOREPLACE, so that the fallback runs.
extern std::atomic<bool> refuseNoReplaceForTests;

// renameat2 with RENAME_NOREPLACE; where the file system refuses the flag: a folder takes its name
// through an exclusive mkdir that the rename then replaces, anything else through link + unlink (or an
// exclusively created placeholder where hard links are not supported). Never replaces an existing entry.
int renameNoReplaceAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName);
int renameNoReplace(const QString& from, const QString& to);

// Removes `name` in `dirFd` and, for a folder, everything below it. Links are removed, never followed.
// On failure `failed` gets the path of the entry that could not go, relative to `dirFd`.
int removeTreeAt(int dirFd, const QByteArray& name, QByteArray* failed = nullptr,
                 const std::atomic<bool>* stop = nullptr);
int removeTree(const QString& path, QString* failedPath = nullptr, const std::atomic<bool>* stop = nullptr);

// Removes every entry inside the folder `dirFd`; errors are ignored.
void clearDirAt(int dirFd);

// Sets the access and modification times of `name` in `dirFd` (a link itself). 0 or an errno value.
int setTimesAt(int dirFd, const char* name, const struct timespec times[2]);

// The working folder, and a path with its links resolved, spelled as the kernel does (names that are not
// UTF-8 kept, where QDir would decode them lossily). currentFolder() gives "." and canonicalPath() an empty
// string on failure.
QString currentFolder();
QString canonicalPath(const QString& path);

// Creates every missing folder of `path` (mode 0777 & ~umask). Returns 0 or an errno value.
int makePath(const QString& path);

} // namespace plat::posix
