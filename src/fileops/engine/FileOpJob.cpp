#include "fileops/engine/FileOpJob.h"
#include "fileops/engine/TreeCopier.h"
#include "platform/posix/FileOps.h"

namespace fileops {

bool namesOneItem(const QString& p, bool rootAllowed)
{
    QStringView v(p);
    while (v.size() > 1 && v.endsWith(u'/'))
        v.chop(1);
    if (v.isEmpty())
        return false;
    if (v == u"/")
        return rootAllowed;
    const QStringView last = v.mid(v.lastIndexOf(u'/') + 1);
    return last != u"." && last != u"..";
}

QString itemPath(const QString& p)
{
    QString a = p.startsWith(u'/') ? p : plat::posix::currentFolder() + u'/' + p;
    while (a.size() > 1 && a.endsWith(u'/'))
        a.chop(1);
    return a;
}

FileOpResult FileOpJob::run()
{
    work();
    if (m_progress.stop && !m_result.userCancelled)
        cancel();
    return m_result;
}

bool FileOpJob::stopped() const
{
    return m_progress.stop.load(std::memory_order_relaxed);
}

FileOpJob::Done FileOpJob::fail(const ItemError& e)
{
    const QString text = texts::failure(e);
    m_result.ok = false;
    m_result.problems << text;
    m_halt = true;
    m_prompter.error(text);
    return Done::Failed;
}

void FileOpJob::note(const ItemError& e)
{
    m_result.ok = false;
    m_result.problems << texts::failure(e);
}

FileOpJob::Done FileOpJob::skip(const QString& path, SkipReason why, int code)
{
    m_result.anyAborted = true;
    m_result.problems << texts::skipped(path, why, code);
    return Done::Skipped;
}

FileOpJob::Done FileOpJob::cancel()
{
    if (!m_result.userCancelled)
        m_result.problems << texts::cancelled();
    m_result.anyAborted = true;
    m_result.userCancelled = true;
    m_halt = true;
    m_progress.stop = true;
    return Done::Cancelled;
}

FileOpJob::Done FileOpJob::finish(const StepResult& step)
{
    switch (step.state) {
    case StepResult::Done: return Done::Ok;
    case StepResult::Failed: return fail(step.error);
    case StepResult::Cancelled: return cancel();
    }
    return Done::Ok;
}

} // namespace fileops
