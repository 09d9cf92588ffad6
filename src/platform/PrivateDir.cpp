#include "platform/PrivateDir.h"
#include "platform/Path.h"
#include "platform/posix/FileIO.h"
#include <QDir>
#include <QStandardPaths>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

QString privateDir()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    if (!QDir().mkpath(cache))
        return QString();
    const QString dir = QDir::cleanPath(cache) + QStringLiteral("/orvo");
    const QByteArray enc = path::encode(dir);
    if (::mkdir(enc.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    // Another user must not be able to pre-create or redirect the folder.
    struct stat st;
    if (::lstat(enc.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return QString();
    if ((st.st_mode & 07777) != 0700 && ::chmod(enc.constData(), 0700) != 0)
        return QString();
    return dir + u'/';
}

int openPrivateFile(const QString& name, int flags, int mode)
{
    const QString dir = privateDir();
    if (dir.isEmpty() || name.isEmpty() || name.contains(u'/'))
        return -1;
    return ::open(path::encode(dir + name).constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
}

std::optional<QByteArray> readPrivateFile(const QString& name)
{
    const QString dir = privateDir();
    if (dir.isEmpty() || name.isEmpty() || name.contains(u'/'))
        return std::nullopt;
    const posix::Fd fd = posix::openRegularFileAt(AT_FDCWD, path::encode(dir + name).constData(), nullptr,
                                                  O_NOFOLLOW | O_CLOEXEC);
    if (!fd.valid())
        return std::nullopt;
    QByteArray bytes;
    for (;;) {
        const qsizetype at = bytes.size();
        bytes.resize(at + 65536);
        const qint64 n = posix::readFull(fd.get(), bytes.data() + at, 65536);
        if (n < 0)
            return std::nullopt;
        bytes.resize(at + qsizetype(n));
        if (n < 65536)
            return bytes;
    }
}

} // namespace plat
