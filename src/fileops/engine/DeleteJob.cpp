#include "fileops/engine/DeleteJob.h"
#include "fileops/engine/Trash.h"
#include "platform/Path.h"
#include "platform/posix/FileOps.h"
#include <cerrno>

namespace fileops {

void DeleteJob::work()
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
        if (halted())
            break;
        if (stopped()) {
            cancel();
            break;
        }
        if (!namesOneItem(s))
            fail(ItemError::refusal(Verb::Delete, ItemError::NotOneItem, s, EINVAL));
        else
            deleteOne(itemPath(s), permanent);
        m_progress.itemsDone++;
    }
}

DeleteJob::Done DeleteJob::deleteOne(const QString& p, bool permanent)
{
    struct stat st;
    if (!plat::posix::lstatPath(p, st))
        return fail(Verb::Delete, p, errno);
    m_progress.setCurrent(plat::path::namePart(p));
    if (!permanent) {
        int e = FileOpHooks::trashFault ? FileOpHooks::trashFault(p) : 0;
        if (e == 0)
            e = TrashCan::trash(p);
        if (e == 0)
            return Done::Ok;
        // Nothing is deleted for good without the user's word.
        if (m_prompter.question(QStringLiteral("无法将“%1”移到回收站。是否永久删除？").arg(p), QStringLiteral("删除")) !=
            FileOpPrompter::Yes)
            return skip(p, SkipReason::NotTrashed, e);
    }
    QString failed;
    const int e = plat::posix::removeTree(p, &failed, &m_progress.stop);
    if (e == ECANCELED)
        return cancel();
    if (e)
        return fail(Verb::Delete, failed.isEmpty() ? p : failed, e);
    return Done::Ok;
}

} // namespace fileops
