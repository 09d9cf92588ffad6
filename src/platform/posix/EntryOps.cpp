#include "platform/posix/EntryOps.h"
#include "platform/posix/Fd.h"
#include "platform/posix/FileOps.h"
#include "platform/posix/PathCodec.h"
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat::posix {
namespace {

SysError result(int r, const char* op, const QString& path)
{
    return r == 0 ? SysError{} : SysError{errno, QLatin1String(op), path};
}

} // namespace

bool entryExists(const QString& path)
{
    struct stat st;
    if (path.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    return ::lstat(encodePath(path).constData(), &st) == 0;
}

bool mayWrite(const QString& path)
{
    return ::access(encodePath(path).constData(), W_OK) == 0;
}

SysError makeDir(const QString& path, mode_t mode)
{
    return result(::mkdir(encodePath(path).constData(), mode), "mkdir", path);
}

SysError createEmptyFile(const QString& path, mode_t mode)
{
    Fd f = openPath(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (!f.valid())
        return SysError{errno, QStringLiteral("open"), path};
    if (const int e = f.close())
        return SysError{e, QStringLiteral("close"), path};
    return {};
}

SysError removeFile(const QString& path)
{
    const int e = removeAt(AT_FDCWD, encodePath(path).constData());
    return e ? SysError{e, QStringLiteral("unlink"), path} : SysError{};
}

SysError renameOver(const QString& from, const QString& to)
{
    const int e = renamePath(from, to);
    return e ? SysError{e, QStringLiteral("rename"), from} : SysError{};
}

} // namespace plat::posix
