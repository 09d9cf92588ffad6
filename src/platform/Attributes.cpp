#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/posix/FileIO.h"
#include "platform/posix/FileOps.h"
#include "platform/posix/PathCodec.h"
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace plat {

QSet<QString> readHiddenList(const QString& dir)
{
    QSet<QString> names;
    QFile f(path::withTrailingSep(dir) + QStringLiteral(".hidden"));
    if (!f.open(QIODevice::ReadOnly))
        return names;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            names.insert(posix::decodePath(line));
    }
    return names;
}

quint32 attributes(mode_t mode, const QString& name, bool listedHidden)
{
    quint32 a = 0;
    if (!(mode & S_IWUSR))
        a |= kAttrReadOnly;
    const bool dotName = name.startsWith(u'.') && name != QLatin1String(".") && name != QLatin1String("..");
    if (dotName || listedHidden)
        a |= kAttrHidden;
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode))
        a |= kAttrSystem;
    if (S_ISDIR(mode))
        a |= kAttrDirectory;
    if (S_ISREG(mode))
        a |= kAttrArchive;
    return a;
}

namespace {

// The path without its trailing '/', made absolute, so that its folder (and ".hidden" there) is known.
QString absoluteEntry(const QString& p)
{
    const QString clean = path::withoutTrailingSep(p);
    return clean.startsWith(path::kSep) ? clean : path::withTrailingSep(posix::currentFolder()) + clean;
}

} // namespace

quint32 attributes(const QString& p)
{
    const QString clean = absoluteEntry(p);
    const QByteArray bytes = path::encode(clean);
    struct stat st;
    if (::stat(bytes.constData(), &st) != 0 && ::lstat(bytes.constData(), &st) != 0)
        return 0;
    const QString name = path::namePart(clean);
    const bool listed = !name.isEmpty() && readHiddenList(path::folderPart(clean)).contains(name);
    return attributes(st.st_mode, name, listed);
}

QString attributeLetters(quint32 a)
{
    QString s;
    if (a & kAttrArchive)
        s += u'A';
    if (a & kAttrReadOnly)
        s += u'R';
    if (a & kAttrHidden)
        s += u'H';
    if (a & kAttrSystem)
        s += u'S';
    return s;
}

namespace {

QString hiddenListPath(const QString& folder)
{
    return path::withTrailingSep(folder) + QStringLiteral(".hidden");
}

// Appends `name` as a line of the folder's ".hidden" list (created when missing; a link there is not followed).
int addToHiddenList(const QString& folder, const QString& name)
{
    const QString list = hiddenListPath(folder);
    posix::Fd fd = posix::openPath(list, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW, 0644);
    if (!fd.valid())
        return errno;
    QByteArray line = posix::encodePath(name) + '\n';
    // A last line without its line end gets one first.
    qint64 size = 0;
    if (posix::sizeOf(fd.get(), size) == 0 && size > 0) {
        char last = 0;
        posix::Fd reader = posix::openPath(list, O_RDONLY | O_NOFOLLOW);
        if (reader.valid() && posix::seekFile(reader.get(), size - 1, SEEK_SET) == size - 1
            && posix::readFull(reader.get(), &last, 1) == 1 && last != '\n')
            line.prepend('\n');
    }
    if (const int e = posix::writeAll(fd.get(), line))
        return e;
    return fd.close();
}

// Rewrites the folder's ".hidden" list without the lines naming `name`.
int removeFromHiddenList(const QString& folder, const QString& name)
{
    const QString list = hiddenListPath(folder);
    QFile in(list);
    if (!in.open(QIODevice::ReadOnly))
        return 0;   // no list: nothing names it
    const QByteArray encoded = posix::encodePath(name);
    QByteArray kept;
    bool removed = false;
    for (const QByteArray& raw : in.readAll().split('\n')) {
        QByteArray line = raw;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line == encoded) {
            removed = true;
            continue;
        }
        if (!raw.isEmpty())
            kept += raw + '\n';
    }
    in.close();
    if (!removed)
        return 0;
    QSaveFile out(list);
    if (!out.open(QIODevice::WriteOnly) || out.write(kept) != kept.size() || !out.commit())
        return EIO;
    return 0;
}

} // namespace

int setAttributes(const QString& p, quint32 wanted)
{
    const QString clean = absoluteEntry(p);
    const QByteArray bytes = path::encode(clean);
    struct stat st;
    if (::stat(bytes.constData(), &st) != 0)
        return errno;
    const quint32 current = attributes(clean);
    if ((current ^ wanted) & kAttrReadOnly) {
        const mode_t mode = (wanted & kAttrReadOnly) ? (st.st_mode & 07777 & ~mode_t(S_IWUSR))
                                                     : (st.st_mode & 07777) | S_IWUSR;
        if (const int e = posix::chmodAt(AT_FDCWD, bytes.constData(), mode))
            return e;
    }
    if ((current ^ wanted) & kAttrHidden) {
        const QString name = path::namePart(clean);
        const QString folder = path::folderPart(clean);
        if (name.isEmpty() || name.contains(u'\n') || name.contains(u'\r'))
            return EINVAL;
        if (wanted & kAttrHidden)
            return addToHiddenList(folder, name);
        if (name.startsWith(u'.'))
            return EPERM;   // a dot-name is hidden by its name
        return removeFromHiddenList(folder, name);
    }
    return 0;
}

posix::Fd openForWrite(const QString& p, int* error)
{
    const auto fail = [error](int e) {
        if (error)
            *error = e;
        return posix::Fd();
    };
    const QByteArray bytes = path::encode(path::withoutTrailingSep(p));
    struct stat st;
    if (::stat(bytes.constData(), &st) != 0)
        return fail(errno);
    if (S_ISDIR(st.st_mode))
        return fail(EISDIR);
    if (!S_ISREG(st.st_mode))
        return fail(EINVAL);
    if (!(st.st_mode & S_IWUSR))
        return fail(EACCES);
    // Non-blocking, so that a file swapped for a FIFO cannot hang the open; checked again on the descriptor.
    posix::Fd fd = posix::openAt(AT_FDCWD, bytes.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY);
    if (!fd.valid())
        return fail(errno);
    struct stat now;
    if (::fstat(fd.get(), &now) != 0)
        return fail(errno);
    if (!S_ISREG(now.st_mode))
        return fail(S_ISDIR(now.st_mode) ? EISDIR : EINVAL);
    if (!(now.st_mode & S_IWUSR))
        return fail(EACCES);
    if (const int e = posix::setBlocking(fd.get()))
        return fail(e);
    return fd;
}

} // namespace plat
