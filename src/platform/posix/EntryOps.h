#pragma once
#include "platform/posix/SysError.h"
#include <QString>
#include <sys/types.h>

// Single calls on one directory entry named by its path. Failures come back as a SysError naming the
// call and the path; an empty SysError means success.
namespace plat::posix {

// Whether the entry exists (links not followed). False with errno set otherwise.
bool entryExists(const QString& path);
// Whether the current user may write to the entry (access(W_OK)).
bool mayWrite(const QString& path);

// mkdir with `mode` (less the umask); EEXIST when the name is taken.
SysError makeDir(const QString& path, mode_t mode);
// Creates an empty file with `mode` (less the umask); EEXIST when the name is taken. A link in the
// last place is never followed.
SysError createEmptyFile(const QString& path, mode_t mode);
// unlink: removes a file or a link.
SysError removeFile(const QString& path);
// rename: `to` is replaced when it exists.
SysError renameOver(const QString& from, const QString& to);

} // namespace plat::posix
