#include "fileops/engine/Trash.h"
#include "fileops/engine/FileOpJob.h"
#include "platform/posix/FileOps.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <fcntl.h>

namespace fileops {

using namespace plat::posix;

namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW;

QByteArray uidText()
{
    return QByteArray::number(uint(realUserId()));
}

// A folder of ours for the trash: created 0700 when missing, and it must be a real folder (no link).
int ensurePrivateDir(int parentFd, const char* name, bool mustBeOwned)
{
    if (const int e = makeDirAt(parentFd, name, 0700); e && e != EEXIST)
        return e;
    struct stat st;
    if (const int e = lstatAt(parentFd, name, st))
        return e;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    if (mustBeOwned && (st.st_uid != realUserId() || (st.st_mode & 0077)))
        return EPERM;
    return 0;
}


// The name of the n-th attempt in the trash's files folder: the item's own name, then ".2", ".3" and so on,
// shortened (at a character boundary) when its info file, name + ".trashinfo", would pass the 255-byte limit
// of a name. The original name stays in the info file's Path=.
QByteArray trashName(const QString& name, int n)
{
    constexpr qsizetype kMaxName = 255;
    const QByteArray suffix = n == 1 ? QByteArray() : '.' + QByteArray::number(n);
    QByteArray base = encodePath(name);
    const qsizetype room = kMaxName - qsizetype(sizeof(".trashinfo") - 1) - suffix.size();
    if (base.size() > room) {
        base.truncate(room);
        // Not in the middle of a UTF-8 sequence: drop its continuation bytes and its lead byte.
        while (!base.isEmpty() && (uchar(base.back()) & 0xC0) == 0x80)
            base.chop(1);
        if (!base.isEmpty() && uchar(base.back()) >= 0xC0)
            base.chop(1);
    }
    return base + suffix;
}

// The mount point holding `folder`: walk up while the device stays the same.
QString mountTop(const QString& folder, dev_t dev)
{
    QString cur = canonicalPath(folder);
    if (cur.isEmpty())
        return QString();
    while (cur != u"/") {
        const QString up = cur.left(qMax(qsizetype(1), cur.lastIndexOf(u'/')));
        struct stat st;
        if (statPath(up, st) != 0 || st.st_dev != dev)
            break;
        cur = up;
    }
    return cur;
}

// Opens (creating what is missing) the trash of volume `top` for this user; returns the trash folder's
// path, or empty when that volume offers none.
QString volumeTrash(const QString& top)
{
    Fd topFd = openPath(top, O_RDONLY | O_DIRECTORY);
    if (!topFd.valid())
        return QString();
    const QByteArray uid = uidText();
    // An administrator's shared .Trash: a real folder with the sticky bit.
    struct stat st;
    if (lstatAt(topFd.get(), ".Trash", st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        Fd shared = openAt(topFd.get(), ".Trash", kDirFlags);
        if (shared.valid() && ensurePrivateDir(shared.get(), uid.constData(), true) == 0)
            return plat::path::withTrailingSep(top) + QStringLiteral(".Trash/") + QString::fromLatin1(uid);
    }
    const QByteArray own = ".Trash-" + uid;
    if (ensurePrivateDir(topFd.get(), own.constData(), true) == 0)
        return plat::path::withTrailingSep(top) + QString::fromLatin1(own);
    return QString();
}

int ensureTrashLayout(const QString& trashDir)
{
    Fd fd = openPath(trashDir, kDirFlags);
    if (!fd.valid())
        return errno;
    if (const int e = ensurePrivateDir(fd.get(), "files", false))
        return e;
    return ensurePrivateDir(fd.get(), "info", false);
}

// Opens `base` (links allowed: it is the user's data folder or a mount point), then each component of
// `rel` without following a link.
Fd openBelow(const QString& base, const QByteArray& rel)
{
    Fd fd = openPath(base, O_RDONLY | O_DIRECTORY);
    for (const QByteArray& part : rel.split('/')) {
        if (!fd.valid() || part.isEmpty())
            break;
        fd = openAt(fd.get(), part.constData(), kDirFlags);
    }
    return fd;
}

// Clears one trash folder through descriptors that never follow a link.
void clearTrash(int trashFd)
{
    for (const char* sub : {"files", "info", "expunged"}) {
        Fd subFd = openAt(trashFd, sub, kDirFlags);
        if (subFd.valid())
            clearDirAt(subFd.get());
    }
    removeAt(trashFd, "directorysizes");
}

// Each trash folder as a base folder and the path below it.
QList<QPair<QString, QByteArray>> trashLocations()
{
    QList<QPair<QString, QByteArray>> out;
    const QString home = TrashCan::homeTrash();
    out.append({plat::path::folderPart(home), encodePath(plat::path::namePart(home))});
    if (plat::IVolumes* volumes = plat::services().volumes) {
        const QByteArray uid = uidText();
        // Every mount point an item can be trashed to, not only the drive list's.
        for (const QString& root : volumes->mountPoints()) {
            out.append({root, ".Trash/" + uid});
            out.append({root, ".Trash-" + uid});
        }
    }
    return out;
}

// Calls `visit` once for every trash folder that exists, each opened without following links; a folder
// reached twice (the same device and inode) is visited once.
template <class Visit>
void forEachTrashFolder(Visit visit)
{
    QList<FileId> seen;
    for (const auto& [base, rel] : trashLocations()) {
        Fd fd = openBelow(base, rel);
        const std::optional<FileId> id = fd.valid() ? fileId(fd.get()) : std::nullopt;
        if (!id || seen.contains(*id))
            continue;
        seen.append(*id);
        visit(fd.get(), base, rel);
    }
}

} // namespace

QString TrashCan::homeTrash()
{
    const QByteArray env = qgetenv("XDG_DATA_HOME");
    QString base = QFile::decodeName(env);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base) + QStringLiteral("/Trash");
}

QString TrashCan::homeTrashFiles()
{
    const QString home = homeTrash();
    makePath(home);
    ensureTrashLayout(home);
    return home + QStringLiteral("/files/");
}

int TrashCan::trash(const QString& itemPath, QString* trashedAs)
{
    if (!namesOneItem(itemPath))
        return EINVAL;
    const QString p = fileops::itemPath(itemPath);
    const QString name = plat::path::namePart(p);
    if (name.isEmpty() || name == u"." || name == u"..")
        return EINVAL;
    struct stat st;
    if (!lstatPath(p, st))
        return errno;

    // The item's folder as the kernel sees it; the item itself is not resolved.
    const QString folder = canonicalPath(plat::path::folderPart(p));
    if (folder.isEmpty())
        return ENOENT;
    const QString absolute = plat::path::withTrailingSep(folder) + name;

    QString trashDir;
    QString recorded = absolute;
    const QString home = homeTrash();
    struct stat hs;
    if (makePath(home) == 0 && statPath(home, hs) == 0 && hs.st_dev == st.st_dev) {
        trashDir = home;
    } else {
        const QString top = mountTop(folder, st.st_dev);
        if (top.isEmpty())
            return EXDEV;
        trashDir = volumeTrash(top);
        if (trashDir.isEmpty())
            return EXDEV;
        recorded = absolute.mid(plat::path::withTrailingSep(top).size());
    }
    if (const int e = ensureTrashLayout(trashDir))
        return e;

    Fd trashFd = openPath(trashDir, kDirFlags);
    if (!trashFd.valid())
        return errno;
    Fd infoDir = openAt(trashFd.get(), "info", kDirFlags);
    Fd filesDir = openAt(trashFd.get(), "files", kDirFlags);
    if (!infoDir.valid() || !filesDir.valid())
        return errno;

    const QByteArray info = "[Trash Info]\nPath=" + encodePath(recorded).toPercentEncoding("/") + "\nDeletionDate=" +
                            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + "\n";
    for (int n = 1; n < 100000; ++n) {
        const QByteArray c = trashName(name, n);
        const QString candidate = decodePath(c);
        const QByteArray infoName = c + ".trashinfo";
        Fd fd = openAt(infoDir.get(), infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
        if (!fd.valid()) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        const int written = writeAll(fd.get(), info);
        const int closed = fd.close();
        if (written || closed) {
            removeAt(infoDir.get(), infoName.constData());
            return written ? written : closed;
        }
        const int e = renameNoReplaceAt(AT_FDCWD, encodePath(p).constData(), filesDir.get(), c.constData());
        if (e == 0) {
            if (trashedAs)
                *trashedAs = trashDir + QStringLiteral("/files/") + candidate;
            return 0;
        }
        removeAt(infoDir.get(), infoName.constData());
        if (e != EEXIST)
            return e;
    }
    return EEXIST;
}

QStringList TrashCan::trashFolders()
{
    QStringList out;
    forEachTrashFolder([&](int, const QString& base, const QByteArray& rel) {
        out << plat::path::withTrailingSep(base) + decodePath(rel);
    });
    return out;
}

void TrashCan::emptyAll()
{
    forEachTrashFolder([](int fd, const QString&, const QByteArray&) { clearTrash(fd); });
}

void TrashCan::openInFileManager()
{
    plat::exploreTrash(homeTrashFiles());
}

} // namespace fileops
