#include "fileops/engine/TransferJob.h"
#include "platform/Path.h"
#include "platform/posix/FileOps.h"
#include <cerrno>
#include <fcntl.h>

namespace fileops {

using namespace plat::posix;
namespace path = plat::path;

void TransferJob::work()
{
    const bool multi = m_req.flags & FOF_MULTIDESTFILES;
    m_progress.itemsTotal = m_req.sources.size();
    for (qsizetype i = 0; i < m_req.sources.size() && !halted(); ++i) {
        if (stopped()) {
            cancel();
            break;
        }
        if (!namesOneItem(m_req.sources[i], !moves())) {
            fail(ItemError::refusal(m_verb, ItemError::NotOneItem, m_req.sources[i], EINVAL));
            break;
        }
        const QString src = itemPath(m_req.sources[i]);
        QString dst;
        if (multi) {
            if (i >= m_req.targets.size()) {
                fail(m_verb, src, EINVAL);
                break;
            }
            dst = itemPath(m_req.targets[i]);
        } else {
            if (m_req.targets.isEmpty()) {
                fail(m_verb, src, EINVAL);
                break;
            }
            dst = path::withTrailingSep(itemPath(m_req.targets.first())) + path::namePart(src);
        }
        transferTop(src, dst);
        m_progress.itemsDone++;
    }
}

TransferJob::Done TransferJob::transferTop(const QString& src, const QString& dst)
{
    const QString dstDir = path::folderPart(dst);
    const QString name = path::namePart(dst);
    if (name.isEmpty() || name == u"." || name == u".." || path::namePart(src).isEmpty())
        return fail(m_verb, src, EINVAL);
    struct stat st;
    if (statPath(dstDir, st) != 0) {
        if (!(m_req.flags & FOF_NOCONFIRMMKDIR)) {
            const auto a = m_prompter.question(QStringLiteral("目标文件夹“%1”不存在。是否创建？").arg(dstDir),
                                               QStringLiteral("确认创建文件夹"));
            if (a == FileOpPrompter::Cancel)
                return cancel();
            if (a != FileOpPrompter::Yes)
                return skip(src, SkipReason::NoTargetFolder);
        }
        if (const int e = makePath(dstDir))
            return fail(Verb::Create, dstDir, e);
    } else if (!S_ISDIR(st.st_mode)) {
        return fail(m_verb, src, ENOTDIR);
    }
    return transferItem(src, dstDir, name);
}

TransferJob::Done TransferJob::transferItem(const QString& src, const QString& dstDir, const QString& name)
{
    if (stopped())
        return cancel();
    struct stat ss;
    if (!lstatPath(src, ss))
        return fail(m_verb, src, errno);
    if (S_ISDIR(ss.st_mode) && folderIsOrIsUnder(dstDir, ss))
        return fail(ItemError::refusal(m_verb, ItemError::IntoItself, src, EINVAL));
    m_progress.setCurrent(path::namePart(src));

    const unsigned flags = m_req.flags;
    Place mode = (flags & FOF_RENAMEONCOLLISION) ? Place::FirstFree : Place::Exclusive;
    struct stat ds;
    if (lstatPath(dstDir + name, ds)) {
        // The same entry: never copied or moved onto itself; with rename on collision a copy goes beside it.
        if (FileId::of(ss) == FileId::of(ds) && (moves() || !(flags & FOF_RENAMEONCOLLISION)))
            return Done::Ok;
        if (flags & FOF_RENAMEONCOLLISION) {
            mode = Place::CopyName;
        } else if (S_ISDIR(ss.st_mode) && S_ISDIR(ds.st_mode)) {
            return mergeFolder(src, dstDir + name);
        } else {
            if (!(flags & FOF_NOCONFIRMATION)) {
                const auto a = m_prompter.question(QStringLiteral("此位置已包含名为“%1”的项目。是否替换？").arg(name),
                                                   QStringLiteral("确认文件替换"), FileOpPrompter::EscCancels);
                if (a == FileOpPrompter::Cancel)
                    return cancel();
                if (a != FileOpPrompter::Yes)
                    return skip(src, SkipReason::NotReplaced);
            }
            if (S_ISDIR(ss.st_mode) != S_ISDIR(ds.st_mode))
                return fail(m_verb, src, S_ISDIR(ds.st_mode) ? EISDIR : ENOTDIR);
            mode = Place::Replace;
        }
    }
    return place(src, ss, dstDir, name, mode);
}

TransferJob::Done TransferJob::mergeFolder(const QString& src, const QString& dst)
{
    QList<QByteArray> names;
    {
        Fd fd = openPath(src, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (!fd.valid())
            return fail(m_verb, src, errno);
        if (const int e = listNames(fd.get(), names))
            return fail(m_verb, src, e);
    }
    Done worst = Done::Ok;
    const QString srcDir = path::withTrailingSep(src);
    const QString dstDir = path::withTrailingSep(dst);
    for (const QByteArray& n : names) {
        if (halted())
            break;
        const QString name = decodePath(n);
        const Done d = transferItem(srcDir + name, dstDir, name);
        if (d == Done::Failed || d == Done::Cancelled)
            return d;
        if (d == Done::Skipped)
            worst = Done::Skipped;
    }
    if (moves() && worst == Done::Ok) {
        if (const int e = removeDir(src))
            return fail(m_verb, src, e);
    }
    return worst;
}

TransferJob::Done TransferJob::place(const QString& src, const struct stat& ss, const QString& dstDir,
                                     const QString& name, Place mode)
{
    const Fd dstFd = openPath(dstDir, O_RDONLY | O_DIRECTORY);
    if (!dstFd.valid())
        return fail(m_verb, src, errno);
    return finish(placeItem(src, ss, dstFd.get(), name, mode));
}

} // namespace fileops
