#include "fileops/engine/FileOpEngine.h"
#include "platform/posix/FileOps.h"
#include "fileops/engine/Trash.h"
#include "platform/Path.h"
#include <QDir>
#include <map>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace fileops {

using namespace plat::posix;
namespace path = plat::path;

std::function<int(const QString&, qint64)> FileOpHooks::copyFault;
std::atomic<bool> FileOpHooks::forceCrossDevice{false};
std::function<int(const QString&)> FileOpHooks::trashFault;

void FileOpHooks::reset()
{
    copyFault = nullptr;
    forceCrossDevice = false;
    trashFault = nullptr;
}

void FileOpProgress::setCurrent(const QString& name)
{
    QMutexLocker lock(&m_mutex);
    m_current = name;
}

ProgressSnapshot FileOpProgress::snapshot(int op) const
{
    ProgressSnapshot s;
    s.op = op;
    s.itemsDone = itemsDone.load();
    s.itemsTotal = itemsTotal.load();
    s.bytesDone = bytesDone.load();
    QMutexLocker lock(&m_mutex);
    s.current = m_current;
    return s;
}

QString collisionName(const QString& name, int n)
{
    if (n <= 1)
        return QStringLiteral("复件 ") + name;
    return QStringLiteral("复件 (%1) ").arg(n) + name;
}

namespace {

// Absolute form of a caller's path without resolving "..", and without the trailing '/' that would make
// the kernel follow a link.
QString itemPath(const QString& p)
{
    QString a = QDir::isAbsolutePath(p) ? p : QDir::currentPath() + u'/' + p;
    while (a.size() > 1 && a.endsWith(u'/'))
        a.chop(1);
    return a;
}

QByteArray tempName(const QString& name, int n)
{
    QByteArray t = '.' + encodePath(name) + ".orvo-part";
    if (t.size() > 250)
        t = ".orvo-part";
    if (n > 0)
        t += QByteArray::number(n);
    return t;
}

// Identity and state of a source entry when it was copied; a moved source is removed only while unchanged.
struct Copied {
    qint64 size;
    qint64 mtimeNs;
};

} // namespace

// Copied source entries of the current cross-device move, by identity.
struct CopiedSet {
    std::map<std::pair<dev_t, ino_t>, Copied> entries;
    void add(const struct stat& st)
    {
        entries[{st.st_dev, st.st_ino}] = {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }
    bool unchanged(const struct stat& st) const
    {
        const auto it = entries.find({st.st_dev, st.st_ino});
        if (it == entries.end())
            return false;
        if (S_ISDIR(st.st_mode))
            return true;   // its entries are checked one by one
        return it->second.size == qint64(st.st_size) &&
               it->second.mtimeNs == qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
};

namespace {

// Permission bits for a copy of a file: set-user-ID and set-group-ID only when the copy keeps the owner
// and group they refer to, so a copy made by another user (root above all) never gains them.
mode_t fileModeFor(const struct stat& st)
{
    mode_t m = st.st_mode & 07777;
    if (st.st_uid != ::geteuid())
        m &= ~mode_t(S_ISUID);
    if (st.st_gid != ::getegid())
        m &= ~mode_t(S_ISGID);
    return m;
}

// Removes a moved source, entry by entry, leaving anything that was not copied or changed since.
// Returns 0, or an errno value with `failed` set; ESTALE stands for "changed or new, kept".
int removeMovedAt(int dirFd, const QByteArray& name, const CopiedSet& copied, QByteArray& failed)
{
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        failed = name;
        return errno;
    }
    if (!copied.unchanged(st)) {
        failed = name;
        return ESTALE;
    }
    if (!S_ISDIR(st.st_mode)) {
        if (::unlinkat(dirFd, name.constData(), 0) != 0) {
            failed = name;
            return errno;
        }
        return 0;
    }
    Fd fd(::openat(dirFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat again;
    if (!fd.valid() || ::fstat(fd.get(), &again) != 0 || !sameIdentity(st, again)) {
        failed = name;
        return fd.valid() ? ESTALE : errno;
    }
    QList<QByteArray> names;
    {
        const int dupFd = ::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0);
        DIR* d = dupFd >= 0 ? ::fdopendir(dupFd) : nullptr;
        if (!d) {
            failed = name;
            if (dupFd >= 0)
                ::close(dupFd);
            return errno;
        }
        while (dirent* e = ::readdir(d)) {
            const char* n = e->d_name;
            if (!(n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))))
                names << QByteArray(n);
        }
        ::closedir(d);
    }
    int first = 0;
    QByteArray firstFailed;
    for (const QByteArray& n : names) {
        QByteArray inner;
        if (const int e = removeMovedAt(fd.get(), n, copied, inner); e && !first) {
            first = e;
            firstFailed = name + '/' + inner;
        }
    }
    if (first) {
        failed = firstFailed;
        return first;
    }
    fd.reset();
    if (::unlinkat(dirFd, name.constData(), AT_REMOVEDIR) != 0) {
        failed = name;
        return errno;
    }
    return 0;
}

} // namespace

void FileOpEngine::record(const struct stat& st)
{
    if (m_recording)
        m_recording->add(st);
}

FileOpEngine::FileOpEngine(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress)
    : m_req(request), m_prompter(prompter), m_progress(progress)
{
}

FileOpResult FileOpEngine::run()
{
    switch (m_req.op) {
    case FO_COPY: runTransfer(false); break;
    case FO_MOVE: runTransfer(true); break;
    case FO_DELETE: runDelete(); break;
    case FO_RENAME: runRename(); break;
    default:
        fail(QStringLiteral("执行"), QString::number(m_req.op), errnoText(EINVAL));
        break;
    }
    if (m_progress.stop && !m_result.userCancelled)
        cancel();
    return m_result;
}

bool FileOpEngine::stopped() const
{
    return m_progress.stop.load(std::memory_order_relaxed);
}

QString FileOpEngine::verb(bool move) const
{
    return move ? QStringLiteral("移动") : QStringLiteral("复制");
}

FileOpEngine::Done FileOpEngine::fail(const QString& verb, const QString& path, const QString& reason)
{
    const QString text = QStringLiteral("无法%1“%2”：%3").arg(verb, path, reason);
    m_result.ok = false;
    m_result.problems << text;
    m_halt = true;
    m_prompter.error(text);
    return Done::Failed;
}

FileOpEngine::Done FileOpEngine::failIo(const QString& verb, const IoError& err)
{
    return fail(verb, err.path, err.reason.isEmpty() ? errnoText(err.code) : err.reason);
}

FileOpEngine::Done FileOpEngine::skip(const QString& path, const QString& reason)
{
    m_result.anyAborted = true;
    m_result.problems << QStringLiteral("已跳过“%1”：%2").arg(path, reason);
    return Done::Skipped;
}

FileOpEngine::Done FileOpEngine::cancel()
{
    if (!m_result.userCancelled)
        m_result.problems << QStringLiteral("操作已取消");
    m_result.anyAborted = true;
    m_result.userCancelled = true;
    m_halt = true;
    m_progress.stop = true;
    return Done::Cancelled;
}

// ---- copy and move ----

void FileOpEngine::runTransfer(bool move)
{
    const bool multi = m_req.flags & FOF_MULTIDESTFILES;
    m_progress.itemsTotal = m_req.sources.size();
    for (qsizetype i = 0; i < m_req.sources.size() && !m_halt; ++i) {
        if (stopped()) {
            cancel();
            break;
        }
        const QString src = itemPath(m_req.sources[i]);
        QString dst;
        if (multi) {
            if (i >= m_req.targets.size()) {
                fail(verb(move), src, errnoText(EINVAL));
                break;
            }
            dst = itemPath(m_req.targets[i]);
        } else {
            if (m_req.targets.isEmpty()) {
                fail(verb(move), src, errnoText(EINVAL));
                break;
            }
            dst = path::withTrailingSep(itemPath(m_req.targets.first())) + path::namePart(src);
        }
        transferTop(src, dst, move);
        m_progress.itemsDone++;
    }
}

FileOpEngine::Done FileOpEngine::transferTop(const QString& src, const QString& dst, bool move)
{
    const QString dstDir = path::folderPart(dst);
    const QString name = path::namePart(dst);
    if (name.isEmpty() || name == u"." || name == u".." || path::namePart(src).isEmpty())
        return fail(verb(move), src, errnoText(EINVAL));
    struct stat st;
    if (::stat(encodePath(dstDir).constData(), &st) != 0) {
        if (!(m_req.flags & FOF_NOCONFIRMMKDIR)) {
            const auto a = m_prompter.question(QStringLiteral("目标文件夹“%1”不存在。是否创建？").arg(dstDir),
                                               QStringLiteral("确认创建文件夹"));
            if (a == FileOpPrompter::Cancel)
                return cancel();
            if (a != FileOpPrompter::Yes)
                return skip(src, QStringLiteral("目标文件夹不存在"));
        }
        if (const int e = makePath(dstDir))
            return fail(QStringLiteral("创建"), dstDir, errnoText(e));
    } else if (!S_ISDIR(st.st_mode)) {
        return fail(verb(move), src, errnoText(ENOTDIR));
    }
    return transferItem(src, dstDir, name, move);
}

FileOpEngine::Done FileOpEngine::transferItem(const QString& src, const QString& dstDir, const QString& name, bool move)
{
    if (stopped())
        return cancel();
    struct stat ss;
    if (!lstatPath(src, ss))
        return fail(verb(move), src, errnoText(errno));
    if (S_ISDIR(ss.st_mode) && folderIsOrIsUnder(dstDir, ss))
        return fail(verb(move), src, QStringLiteral("目标文件夹是源文件夹本身或它的子文件夹"));
    m_progress.setCurrent(path::namePart(src));

    const unsigned flags = m_req.flags;
    Place mode = (flags & FOF_RENAMEONCOLLISION) ? Place::FirstFree : Place::Exclusive;
    struct stat ds;
    if (lstatPath(dstDir + name, ds)) {
        // The same entry: never copied or moved onto itself; with rename on collision a copy goes beside it.
        if (sameIdentity(ss, ds) && (move || !(flags & FOF_RENAMEONCOLLISION)))
            return Done::Ok;
        if (flags & FOF_RENAMEONCOLLISION) {
            mode = Place::CopyName;
        } else if (S_ISDIR(ss.st_mode) && S_ISDIR(ds.st_mode)) {
            return mergeFolder(src, dstDir + name, move);
        } else {
            if (!(flags & FOF_NOCONFIRMATION)) {
                const auto a = m_prompter.question(QStringLiteral("此位置已包含名为“%1”的项目。是否替换？").arg(name),
                                                   QStringLiteral("确认文件替换"), FileOpPrompter::EscCancels);
                if (a == FileOpPrompter::Cancel)
                    return cancel();
                if (a != FileOpPrompter::Yes)
                    return skip(src, QStringLiteral("目标位置已有同名的项目，未替换"));
            }
            if (S_ISDIR(ss.st_mode) != S_ISDIR(ds.st_mode))
                return fail(verb(move), src, errnoText(S_ISDIR(ds.st_mode) ? EISDIR : ENOTDIR));
            mode = Place::Replace;
        }
    }
    return move ? moveEntry(src, ss, dstDir, name, mode) : copyEntry(src, ss, dstDir, name, mode, false);
}

FileOpEngine::Done FileOpEngine::mergeFolder(const QString& src, const QString& dst, bool move)
{
    QStringList names;
    {
        const int fd = ::open(encodePath(src).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!d) {
            const int e = errno;
            if (fd >= 0)
                ::close(fd);
            return fail(verb(move), src, errnoText(e));
        }
        while (dirent* e = ::readdir(d)) {
            const char* n = e->d_name;
            if (!(n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))))
                names << decodePath(QByteArray(n));
        }
        ::closedir(d);
    }
    Done worst = Done::Ok;
    const QString srcDir = path::withTrailingSep(src);
    const QString dstDir = path::withTrailingSep(dst);
    for (const QString& n : names) {
        if (m_halt)
            break;
        const Done d = transferItem(srcDir + n, dstDir, n, move);
        if (d == Done::Failed || d == Done::Cancelled)
            return d;
        if (d == Done::Skipped)
            worst = Done::Skipped;
    }
    if (move && worst == Done::Ok && ::rmdir(encodePath(src).constData()) != 0)
        return fail(verb(true), src, errnoText(errno));
    return worst;
}

FileOpEngine::Done FileOpEngine::moveEntry(const QString& src, const struct stat& ss, const QString& dstDir,
                                           const QString& name, Place mode)
{
    Fd dfd(::open(encodePath(dstDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dfd.valid())
        return fail(verb(true), src, errnoText(errno));
    if (!FileOpHooks::forceCrossDevice) {
        const int e = place(AT_FDCWD, encodePath(src), dfd.get(), name, mode, nullptr);
        if (e == 0)
            return Done::Ok;
        if (e != EXDEV)
            return fail(verb(true), src, errnoText(e));
    }
    // Across file systems: copy everything first; the source goes only after the whole copy succeeded,
    // and only what was copied and has not changed since.
    CopiedSet copied;
    m_recording = &copied;
    const Done d = copyEntry(src, ss, dstDir, name, mode, true);
    m_recording = nullptr;
    if (d != Done::Ok)
        return d;
    QByteArray failed;
    const int e = removeMovedAt(AT_FDCWD, encodePath(src), copied, failed);
    if (e == ESTALE)
        return fail(QStringLiteral("删除"), decodePath(failed), QStringLiteral("移动时被修改或新建，已保留"));
    if (e)
        return fail(QStringLiteral("删除"), decodePath(failed), errnoText(e));
    return Done::Ok;
}

FileOpEngine::Done FileOpEngine::copyEntry(const QString& src, const struct stat& ss, const QString& dstDir,
                                           const QString& name, Place mode, bool forMove)
{
    Fd dfd(::open(encodePath(dstDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dfd.valid())
        return fail(verb(forMove), src, errnoText(errno));
    std::vector<std::pair<QByteArray, mode_t>> dirModes;
    m_dirModes = &dirModes;
    m_rel.clear();
    QByteArray temp;
    IoError err;
    const bool copied = copyToTemp(src, ss, dfd.get(), name, temp, err);
    m_dirModes = nullptr;
    if (!copied) {
        if (!temp.isEmpty())
            removeTreeAt(dfd.get(), temp);
        if (err.code == ECANCELED)
            return cancel();
        return failIo(verb(forMove), err);
    }
    QString placed;
    if (const int e = place(dfd.get(), temp, dfd.get(), name, mode, &placed)) {
        removeTreeAt(dfd.get(), temp);
        return fail(verb(forMove), src, errnoText(e));
    }
    // Folder modes last, deepest first, so that read-only folders could be filled.
    const QByteArray top = encodePath(placed);
    for (const auto& [rel, m] : dirModes)
        ::fchmodat(dfd.get(), (rel.isEmpty() ? top : top + '/' + rel).constData(), m, 0);
    return Done::Ok;
}

int FileOpEngine::place(int fromDirFd, const QByteArray& from, int dstFd, const QString& name, Place mode,
                        QString* placed)
{
    if (mode == Place::Replace) {
        if (::renameat(fromDirFd, from.constData(), dstFd, encodePath(name).constData()) != 0)
            return errno;
        if (placed)
            *placed = name;
        return 0;
    }
    for (int n = (mode == Place::CopyName ? 1 : 0); n < 100000; ++n) {
        const QString candidate = n == 0 ? name : collisionName(name, n);
        const int e = renameNoReplaceAt(fromDirFd, from.constData(), dstFd, encodePath(candidate).constData());
        if (e == 0) {
            if (placed)
                *placed = candidate;
            return 0;
        }
        if (e != EEXIST || mode == Place::Exclusive)
            return e;
    }
    return EEXIST;
}

bool FileOpEngine::copyFileData(const QString& src, int in, int out, qint64 size, IoError& err)
{
    const auto hook = [&](qint64 n, qint64 offset) -> int {
        m_progress.bytesDone.fetch_add(n, std::memory_order_relaxed);
        if (stopped())
            return ECANCELED;
        if (FileOpHooks::copyFault)
            return FileOpHooks::copyFault(src, offset);
        return 0;
    };
    if (const int e = copyData(in, out, size, hook)) {
        err = {e, src, QString()};
        return false;
    }
    return true;
}

bool FileOpEngine::copyToTemp(const QString& src, const struct stat& ss, int dstFd, const QString& name,
                              QByteArray& temp, IoError& err)
{
    const QByteArray srcB = encodePath(src);
    // Tries temporary names until one can be created exclusively.
    const auto createTemp = [&](const std::function<int(const QByteArray&)>& create) -> bool {
        for (int n = 0; n < 1000; ++n) {
            const QByteArray t = tempName(name, n);
            const int e = create(t);
            if (e == 0) {
                temp = t;
                return true;
            }
            if (e != EEXIST) {
                err = {e, src, QString()};
                return false;
            }
        }
        err = {EEXIST, src, QString()};
        return false;
    };

    if (S_ISREG(ss.st_mode)) {
        Fd in(::open(srcB.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        struct stat now;
        if (!in.valid() || ::fstat(in.get(), &now) != 0) {
            err = {errno, src, QString()};
            return false;
        }
        if (!sameIdentity(now, ss)) {
            err = {ESTALE, src, QString()};
            return false;
        }
        Fd out;
        if (!createTemp([&](const QByteArray& t) {
                out.reset(::openat(dstFd, t.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
                return out.valid() ? 0 : errno;
            }))
            return false;
        if (!copyFileData(src, in.get(), out.get(), now.st_size, err))
            return false;
        const timespec times[2] = {now.st_atim, now.st_mtim};
        if (::fchmod(out.get(), fileModeFor(now)) != 0 || ::futimens(out.get(), times) != 0 ||
            ::close(out.release()) != 0) {
            err = {errno, src, QString()};
            return false;
        }
        record(now);
        return true;
    }
    if (S_ISLNK(ss.st_mode)) {
        QByteArray target(qMax<qsizetype>(ss.st_size, 255) + 1, Qt::Uninitialized);
        ssize_t n;
        while ((n = ::readlink(srcB.constData(), target.data(), size_t(target.size()))) == target.size())
            target.resize(target.size() * 2);
        if (n < 0) {
            err = {errno, src, QString()};
            return false;
        }
        target.truncate(n);
        if (!createTemp([&](const QByteArray& t) {
                return ::symlinkat(target.constData(), dstFd, t.constData()) == 0 ? 0 : errno;
            }))
            return false;
        record(ss);
        return true;
    }
    if (S_ISDIR(ss.st_mode)) {
        Fd sfd(::open(srcB.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat now;
        if (!sfd.valid() || ::fstat(sfd.get(), &now) != 0) {
            err = {errno, src, QString()};
            return false;
        }
        if (!createTemp([&](const QByteArray& t) { return ::mkdirat(dstFd, t.constData(), 0700) == 0 ? 0 : errno; }))
            return false;
        Fd tfd(::openat(dstFd, temp.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!tfd.valid()) {
            err = {errno, src, QString()};
            return false;
        }
        if (!copyTreeContents(src, sfd.get(), tfd.get(), err))
            return false;
        if (m_dirModes)
            m_dirModes->push_back({QByteArray(), now.st_mode & 07777});
        record(now);
        return true;
    }
    err = {ENODEV, src, QStringLiteral("不是普通文件、文件夹或链接")};
    return false;
}

bool FileOpEngine::copyTreeContents(const QString& src, int srcFd, int dstFd, IoError& err)
{
    const int dupFd = ::fcntl(srcFd, F_DUPFD_CLOEXEC, 0);
    DIR* d = dupFd >= 0 ? ::fdopendir(dupFd) : nullptr;
    if (!d) {
        err = {errno, src, QString()};
        if (dupFd >= 0)
            ::close(dupFd);
        return false;
    }
    struct Closer {
        DIR* d;
        ~Closer() { ::closedir(d); }
    } closer{d};
    while (dirent* ent = ::readdir(d)) {
        const char* n = ent->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        if (stopped()) {
            err = {ECANCELED, src, QString()};
            return false;
        }
        const QString child = src + u'/' + decodePath(QByteArray(n));
        struct stat st;
        if (::fstatat(srcFd, n, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            err = {errno, child, QString()};
            return false;
        }
        if (S_ISREG(st.st_mode)) {
            Fd in(::openat(srcFd, n, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            if (!in.valid()) {
                err = {errno, child, QString()};
                return false;
            }
            Fd out(::openat(dstFd, n, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
            if (!out.valid()) {
                err = {errno, child, QString()};
                return false;
            }
            struct stat now;
            if (::fstat(in.get(), &now) != 0 || !sameIdentity(now, st)) {
                err = {ESTALE, child, QString()};
                return false;
            }
            if (!copyFileData(child, in.get(), out.get(), now.st_size, err))
                return false;
            const timespec times[2] = {now.st_atim, now.st_mtim};
            if (::fchmod(out.get(), fileModeFor(now)) != 0 || ::futimens(out.get(), times) != 0 ||
                ::close(out.release()) != 0) {
                err = {errno, child, QString()};
                return false;
            }
            record(now);
            m_progress.setCurrent(decodePath(QByteArray(n)));
        } else if (S_ISLNK(st.st_mode)) {
            QByteArray target(qMax<qsizetype>(st.st_size, 255) + 1, Qt::Uninitialized);
            ssize_t len;
            while ((len = ::readlinkat(srcFd, n, target.data(), size_t(target.size()))) == target.size())
                target.resize(target.size() * 2);
            if (len < 0 || ::symlinkat(target.left(len).constData(), dstFd, n) != 0) {
                err = {errno, child, QString()};
                return false;
            }
            record(st);
        } else if (S_ISDIR(st.st_mode)) {
            if (::mkdirat(dstFd, n, 0700) != 0) {
                err = {errno, child, QString()};
                return false;
            }
            Fd sub(::openat(srcFd, n, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            Fd subDst(::openat(dstFd, n, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!sub.valid() || !subDst.valid()) {
                err = {errno, child, QString()};
                return false;
            }
            const qsizetype saved = m_rel.size();
            m_rel += (m_rel.isEmpty() ? QByteArray() : QByteArray("/")) + QByteArray(n);
            const bool ok = copyTreeContents(child, sub.get(), subDst.get(), err);
            if (ok && m_dirModes)
                m_dirModes->push_back({m_rel, st.st_mode & 07777});
            m_rel.truncate(saved);
            if (!ok)
                return false;
            record(st);
        } else {
            err = {ENODEV, child, QStringLiteral("不是普通文件、文件夹或链接")};
            return false;
        }
    }
    return true;
}

// ---- delete ----

void FileOpEngine::runDelete()
{
    if (m_req.sources.isEmpty())
        return;
    const bool permanent = !(m_req.flags & FOF_ALLOWUNDO);
    if (permanent && !(m_req.flags & FOF_NOCONFIRMATION)) {
        const QString text = m_req.sources.size() == 1
                                 ? QStringLiteral("确实要永久删除“%1”吗？").arg(itemPath(m_req.sources.first()))
                                 : QStringLiteral("确实要永久删除这 %1 项吗？").arg(m_req.sources.size());
        if (m_prompter.question(text, QStringLiteral("确认文件删除")) != FileOpPrompter::Yes) {
            cancel();
            return;
        }
    }
    m_progress.itemsTotal = m_req.sources.size();
    for (const QString& s : m_req.sources) {
        if (m_halt)
            break;
        if (stopped()) {
            cancel();
            break;
        }
        deleteOne(itemPath(s), permanent);
        m_progress.itemsDone++;
    }
}

FileOpEngine::Done FileOpEngine::deleteOne(const QString& p, bool permanent)
{
    struct stat st;
    if (!lstatPath(p, st))
        return fail(QStringLiteral("删除"), p, errnoText(errno));
    m_progress.setCurrent(path::namePart(p));
    if (!permanent) {
        int e = FileOpHooks::trashFault ? FileOpHooks::trashFault(p) : 0;
        if (e == 0)
            e = TTrash::trash(p);
        if (e == 0)
            return Done::Ok;
        const QString reason = QStringLiteral("无法移到回收站：") + errnoText(e);
        // Nothing is deleted for good without the user's word.
        if (m_prompter.question(QStringLiteral("无法将“%1”移到回收站。是否永久删除？").arg(p), QStringLiteral("删除")) !=
            FileOpPrompter::Yes)
            return skip(p, reason);
    }
    QString failed;
    const int e = removeTree(p, &failed, &m_progress.stop);
    if (e == ECANCELED)
        return cancel();
    if (e)
        return fail(QStringLiteral("删除"), failed.isEmpty() ? p : failed, errnoText(e));
    return Done::Ok;
}

// ---- rename ----

void FileOpEngine::runRename()
{
    const QString verbText = QStringLiteral("重命名");
    for (qsizetype i = 0; i < m_req.sources.size() && !m_halt; ++i) {
        const QString src = itemPath(m_req.sources[i]);
        const QString dst = i < m_req.targets.size() ? itemPath(m_req.targets[i]) : QString();
        const QString name = path::namePart(dst);
        // A rename names an entry in the same folder: no other folder, no NUL.
        const bool sameFolder = path::folderPart(path::withoutTrailingSep(dst)) == path::folderPart(path::withoutTrailingSep(src));
        if (dst.isEmpty() || name.isEmpty() || name == u"." || name == u".." || name.contains(QChar(0)) || !sameFolder) {
            fail(verbText, src, errnoText(EINVAL));
            break;
        }
        struct stat ss, ds;
        if (!lstatPath(src, ss)) {
            fail(verbText, src, errnoText(errno));
            break;
        }
        if (lstatPath(dst, ds) && sameIdentity(ss, ds) && ss.st_nlink == 1) {
            // The same entry under a name the file system does not tell apart (case): a plain rename.
            if (src != dst && ::rename(encodePath(src).constData(), encodePath(dst).constData()) != 0)
                fail(verbText, src, errnoText(errno));
            continue;
        }
        if (const int e = renameNoReplace(src, dst))
            fail(verbText, src, errnoText(e));
    }
}

} // namespace fileops
