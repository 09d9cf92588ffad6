#pragma once
#include "platform/posix/Fd.h"
#include <sys/types.h>

// What a move across file systems carries besides the data: owner and group, the user's extended
// attributes and hard links; and the lock a copy holds on its temporary entry.
namespace plat::posix {

// The effective user and group of this process, as the kernel sees them (tests do not change it).
bool isOwnedByThisProcess(uid_t uid, gid_t gid);
bool isOwnedByThisUser(uid_t uid);

// chown of `name` in `dirFd` (a link itself, never its target), or of an open file. 0 or an errno value.
int changeOwnerAt(int dirFd, const char* name, uid_t uid, gid_t gid);
int changeOwner(int fd, uid_t uid, gid_t gid);

// Copies every "user." extended attribute of `from` to `to`. False when one could not be read or written.
bool copyUserAttributes(int from, int to);

// A new hard link `newName` in `newDirFd` to `oldName` in `oldDirFd`. 0 or an errno value.
int hardLinkAt(int oldDirFd, const char* oldName, int newDirFd, const char* newName);

// A second descriptor for the same open file (close-on-exec).
Fd duplicate(int fd);
// Takes an exclusive advisory lock without waiting. 0, or EWOULDBLOCK when another holds it.
int tryLockExclusive(int fd);

} // namespace plat::posix
