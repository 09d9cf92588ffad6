#include "fileops/engine/FileOpEngine.h"
#include "fileops/engine/CopyJob.h"
#include "fileops/engine/DeleteJob.h"
#include "fileops/engine/MoveJob.h"
#include "fileops/engine/RenameJob.h"
#include <QMutex>
#include <cerrno>
#include <set>

namespace fileops {

std::function<int(const QString&, qint64)> FileOpHooks::copyFault;
std::atomic<bool> FileOpHooks::forceCrossDevice{false};
std::function<int(const QString&)> FileOpHooks::trashFault;

void FileOpHooks::reset()
{
    copyFault = nullptr;
    forceCrossDevice = false;
    trashFault = nullptr;
}

namespace {

QMutex g_liveMutex;
std::set<FileOpProgress*> g_live;   // the progress of every running operation

} // namespace

FileOpProgress::FileOpProgress()
{
    QMutexLocker lock(&g_liveMutex);
    g_live.insert(this);
}

FileOpProgress::~FileOpProgress()
{
    QMutexLocker lock(&g_liveMutex);
    g_live.erase(this);
}

void FileOpProgress::stopAll()
{
    QMutexLocker lock(&g_liveMutex);
    for (FileOpProgress* p : g_live)
        p->stop = true;
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

// An operation code the engine does not know.
class UnknownJob : public FileOpJob {
public:
    using FileOpJob::FileOpJob;

private:
    void work() override { fail(Verb::Run, QString::number(m_req.op), EINVAL); }
};

} // namespace

FileOpResult FileOpEngine::run()
{
    switch (m_req.op) {
    case FO_COPY: return CopyJob(m_req, m_prompter, m_progress).run();
    case FO_MOVE: return MoveJob(m_req, m_prompter, m_progress).run();
    case FO_DELETE: return DeleteJob(m_req, m_prompter, m_progress).run();
    case FO_RENAME: return RenameJob(m_req, m_prompter, m_progress).run();
    default: return UnknownJob(m_req, m_prompter, m_progress).run();
    }
}

} // namespace fileops
