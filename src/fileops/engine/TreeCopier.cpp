#include "fileops/engine/TreeCopier.h"
#include "fileops/engine/FileOpEngine.h"
#include "platform/Path.h"
#include "platform/posix/FileOps.h"
#include "platform/posix/Ownership.h"
#include <cerrno>
#include <fcntl.h>

namespace fileops {

using namespace plat::posix;

namespace {

FileTime mtimeOf(const struct stat& st)
{
    return FileTime(qint64(st.st_mtim.tv_sec), qint32(st.st_mtim.tv_nsec));
}

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW;

} // namespace

int placeEntry(int fromDirFd, const QByteArray& from, int dstFd, const QString& name, Place mode, QString* placed)
{
    if (mode == Place::Replace) {
        if (const int e = renameAt(fromDirFd, from.constData(), dstFd, encodePath(name).constData()))
            return e;
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

void CopiedSet::add(const struct stat& st)
{
    m_entries[FileId::of(st)] = {qint64(st.st_size), mtimeOf(st)};
}

void CopiedSet::addPartial(const struct stat& st)
{
    m_partial.insert(FileId::of(st));
}

bool CopiedSet::partial(const struct stat& st) const
{
    return m_partial.count(FileId::of(st)) != 0;
}

bool CopiedSet::unchanged(const struct stat& st) const
{
    const auto it = m_entries.find(FileId::of(st));
    if (it == m_entries.end())
        return false;
    if (S_ISDIR(st.st_mode))
        return true;
    return it->second.size == qint64(st.st_size) && it->second.mtime == mtimeOf(st);
}

QByteArray TreeCopier::tempName(const QString& name, int n)
{
    QByteArray t = '.' + encodePath(name) + ".orvo-part";
    if (t.size() > 250)
        t = ".orvo-part";
    if (n > 0)
        t += QByteArray::number(n);
    return t;
}

void TreeCopier::removeStaleParts(int dirFd, const QString& name)
{
    for (int n = 0; n < 1000; ++n) {
        const QByteArray t = tempName(name, n);
        struct stat st;
        if (lstatAt(dirFd, t.constData(), st) != 0) {
            if (n >= 4)
                break;   // attempts are numbered in turn: past the first few, a gap ends them
            continue;
        }
        if (S_ISLNK(st.st_mode) || !isOwnedByThisUser(st.st_uid))
            continue;   // not one of ours to judge
        const Fd fd = openAt(dirFd, t.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        struct stat now;
        if (!fd.valid() || statFd(fd.get(), now) != 0 || FileId::of(now) != FileId::of(st))
            continue;
        if (tryLockExclusive(fd.get()) != 0)
            continue;   // a copy in progress
        removeTreeAt(dirFd, t);
    }
}

void TreeCopier::lockPart(int fd)
{
    m_partLock = duplicate(fd);
    if (m_partLock.valid())
        tryLockExclusive(m_partLock.get());
}

StepResult TreeCopier::copyEntry(const QString& src, const struct stat& ss, int dstDirFd, const QString& name,
                                 Place mode)
{
    // The lock on the temporary entry goes once it has its final name or is gone.
    struct Unlock {
        Fd& lock;
        ~Unlock() { lock.reset(); }
    } unlock{m_partLock};
    removeStaleParts(dstDirFd, name);
    m_dirModes.clear();
    m_linked.clear();
    m_topFd.reset();
    m_error = ItemError();
    QByteArray temp;
    if (!copyNode(AT_FDCWD, encodePath(src).constData(), src, ss, dstDirFd, {QByteArray(), name}, QByteArray(), temp)) {
        if (!temp.isEmpty())
            removeTreeAt(dstDirFd, temp);
        if (m_error.reason == ItemError::System && m_error.sys.code == ECANCELED)
            return StepResult::cancelled();
        return StepResult::failed(m_error);
    }
    QString placed;
    if (const int e = placeEntry(dstDirFd, temp, dstDirFd, name, mode, &placed)) {
        removeTreeAt(dstDirFd, temp);
        return StepResult::failed(ItemError::system(m_verb, e, src, QStringLiteral("rename")));
    }
    // Folder modes last, deepest first, so that read-only folders could be filled.
    const QByteArray top = encodePath(placed);
    for (const DirState& d : m_dirModes) {
        const QByteArray p = d.rel.isEmpty() ? top : top + '/' + d.rel;
        chmodAt(dstDirFd, p.constData(), d.mode);
        if (m_record)   // a move keeps folder times too, set once nothing changes inside any more
            setTimesAt(dstDirFd, p.constData(), d.times);
    }
    m_topFd.reset();
    return StepResult::done();
}

bool TreeCopier::copyNode(int srcDirFd, const char* srcName, const QString& srcPath, const struct stat& st,
                          int dstDirFd, const Naming& naming, const QByteArray& rel, QByteArray& created)
{
    if (S_ISREG(st.st_mode)) {
        if (m_record && !rel.isEmpty() && st.st_nlink > 1 && linkAgain(st, dstDirFd, naming.fixed, rel)) {
            created = naming.fixed;
            return true;
        }
        // Not waiting on a FIFO or device put in its place since the stat; its type is checked on the descriptor.
        struct stat now;
        Fd in = openRegularFileAt(srcDirFd, srcName, nullptr, O_NOFOLLOW, &now);
        if (!in.valid())
            return errno == EINVAL || errno == EISDIR ? refused(ItemError::NotFileFolderOrLink, srcPath)
                                                      : failed(errno, "open", srcPath);
        if (FileId::of(now) != FileId::of(st))
            return failed(ESTALE, "open", srcPath);   // replaced since it was listed
        Fd out;
        if (!create(naming, srcPath, created, [&](const char* n) {
                out = openAt(dstDirFd, n, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
                return out.valid() ? 0 : errno;
            }))
            return false;
        if (!naming.temporaryFor.isEmpty())
            lockPart(out.get());
        if (!copyFileData(srcPath, in.get(), out.get(), now.st_size))
            return false;
        mode_t fileMode = copyModeFor(now);
        const bool whole = !m_record || keepOwnerAndAttributes(in.get(), out.get(), now, fileMode);
        if (const int e = setModeAndTimes(out.get(), fileMode, now))
            return failed(e, "chmod", srcPath);
        if (const int e = out.close())
            return failed(e, "close", srcPath);
        if (m_record && whole) {
            m_record->add(now);
            if (now.st_nlink > 1 && !rel.isEmpty())
                m_linked[FileId::of(now)] = rel;
        } else if (m_record) {
            m_record->addPartial(now);
        }
        m_progress.setCurrent(plat::path::namePart(srcPath));
        return true;
    }
    if (S_ISLNK(st.st_mode)) {
        QByteArray target;
        if (const int e = readLinkAt(srcDirFd, srcName, target, st.st_size))
            return failed(e, "readlink", srcPath);
        if (!create(naming, srcPath, created, [&](const char* n) { return makeLinkAt(target, dstDirFd, n); }))
            return false;
        if (m_record) {
            // A link keeps its owner when moved; one that cannot stays where it was.
            if (isOwnedByThisProcess(st.st_uid, st.st_gid) ||
                changeOwnerAt(dstDirFd, created.constData(), st.st_uid, st.st_gid) == 0)
                m_record->add(st);
            else
                m_record->addPartial(st);
        }
        return true;
    }
    if (S_ISDIR(st.st_mode)) {
        Fd srcFd = openAt(srcDirFd, srcName, kDirFlags);
        if (!srcFd.valid())
            return failed(errno, "open", srcPath);
        struct stat now;
        if (const int e = statFd(srcFd.get(), now))
            return failed(e, "stat", srcPath);
        if (!create(naming, srcPath, created, [&](const char* n) { return makeDirAt(dstDirFd, n, 0700); }))
            return false;
        Fd dstFd = openAt(dstDirFd, created.constData(), kDirFlags);
        if (!dstFd.valid())
            return failed(errno, "open", srcPath);
        if (!naming.temporaryFor.isEmpty()) {
            lockPart(dstFd.get());
            if (m_record)
                m_topFd = duplicate(dstFd.get());
        }
        if (!copyChildren(srcFd.get(), srcPath, dstFd.get(), rel))
            return false;
        mode_t dirMode = now.st_mode & 07777;
        const bool whole = !m_record || keepOwnerAndAttributes(srcFd.get(), dstFd.get(), now, dirMode);
        m_dirModes.push_back({rel, dirMode, {now.st_atim, now.st_mtim}});
        if (m_record && whole)
            m_record->add(now);
        else if (m_record)
            m_record->addPartial(now);
        return true;
    }
    return refused(ItemError::NotFileFolderOrLink, srcPath);
}

bool TreeCopier::keepOwnerAndAttributes(int from, int to, const struct stat& st, mode_t& mode)
{
    bool whole = true;
    if (!isOwnedByThisProcess(st.st_uid, st.st_gid)) {
        if (changeOwner(to, st.st_uid, st.st_gid) == 0)
            mode = st.st_mode & 07777;   // the owner is the source's again: set-user/group-ID bits stay
        else
            whole = false;
    }
    if (!copyUserAttributes(from, to))
        whole = false;
    return whole;
}

bool TreeCopier::linkAgain(const struct stat& st, int dstDirFd, const QByteArray& name, const QByteArray& rel)
{
    const auto it = m_linked.find(FileId::of(st));
    if (it == m_linked.end() || !m_topFd.valid() || rel == it->second)
        return false;
    return hardLinkAt(m_topFd.get(), it->second.constData(), dstDirFd, name.constData()) == 0;
}

bool TreeCopier::copyChildren(int srcFd, const QString& srcPath, int dstFd, const QByteArray& rel)
{
    DirReader reader(srcFd);
    if (reader.error())
        return failed(reader.error(), "opendir", srcPath);
    DirReader::Entry entry;
    while (reader.next(entry)) {
        const QByteArray name(entry.name);
        if (m_progress.stop.load(std::memory_order_relaxed))
            return failed(ECANCELED, "copy", srcPath);
        const QString child = srcPath + u'/' + decodePath(name);
        struct stat st;
        if (const int e = lstatAt(srcFd, name.constData(), st))
            return failed(e, "stat", child);
        QByteArray created;
        const QByteArray childRel = rel.isEmpty() ? name : rel + '/' + name;
        if (!copyNode(srcFd, name.constData(), child, st, dstFd, {name, QString()}, childRel, created))
            return false;
    }
    return true;
}

bool TreeCopier::copyFileData(const QString& srcPath, int in, int out, qint64 size)
{
    const auto hook = [&](qint64 n, qint64 offset) -> int {
        m_progress.bytesDone.fetch_add(n, std::memory_order_relaxed);
        if (m_progress.stop.load(std::memory_order_relaxed))
            return ECANCELED;
        if (FileOpHooks::copyFault)
            return FileOpHooks::copyFault(srcPath, offset);
        return 0;
    };
    CopySpan span;
    span.length = size;
    span.keepHoles = true;
    const CopyOutcome r = copyRange(in, out, span, hook);
    if (r.error)
        return failed(r.error, r.writeSide ? "write" : "read", srcPath);
    return true;
}

bool TreeCopier::create(const Naming& naming, const QString& srcPath, QByteArray& created,
                        const std::function<int(const char*)>& make)
{
    if (naming.temporaryFor.isEmpty()) {
        if (const int e = make(naming.fixed.constData()))
            return failed(e, "create", srcPath);
        created = naming.fixed;
        return true;
    }
    // Temporary names are tried until one can be created exclusively.
    for (int n = 0; n < 1000; ++n) {
        const QByteArray t = tempName(naming.temporaryFor, n);
        const int e = make(t.constData());
        if (e == 0) {
            created = t;
            return true;
        }
        if (e != EEXIST)
            return failed(e, "create", srcPath);
    }
    return failed(EEXIST, "create", srcPath);
}

bool TreeCopier::failed(int code, const char* op, const QString& path)
{
    m_error = ItemError::system(m_verb, code, path, QString::fromLatin1(op));
    return false;
}

bool TreeCopier::refused(ItemError::Reason reason, const QString& path)
{
    m_error = ItemError::refusal(m_verb, reason, path, ENODEV);
    return false;
}

} // namespace fileops
