#include "tools/search/engine/FindFile.h"
#include "platform/Path.h"
#include "platform/Pump.h"
#include "tools/search/engine/SearchThread.h"
#include "tools/search/engine/SearchWalk.h"
#include <QPointer>

namespace search {
namespace {

QThread::Priority qtPriority(TThreadPriority p)
{
    switch (p) {
    case tpIdle: return QThread::IdlePriority;
    case tpLowest: return QThread::LowestPriority;
    case tpLower: return QThread::LowPriority;
    case tpNormal: return QThread::NormalPriority;
    case tpHigher: return QThread::HighPriority;
    case tpHighest: return QThread::HighestPriority;
    case tpTimeCritical: return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

// Counts a handler running on the caller's thread for the length of a scope.
struct Delivering {
    int& depth;
    explicit Delivering(int& d) : depth(d) { ++depth; }
    ~Delivering() { --depth; }
};

} // namespace

TFindFile::TFindFile(QObject* parent) : QObject(parent) {}

TFindFile::~TFindFile()
{
    m_destroying = true;
    if (TSearchThread* t = m_thread) {
        m_thread = nullptr;   // a completion still queued finds no worker and does nothing
        t->requestInterruption();
        plat::waitPumping(t);
        delete t;
    }
}

void TFindFile::setFilename(const QString& value)
{
    if (plat::path::namePart(value) != value)
        throw EFindFileError(QStringLiteral("%1\n\rInvalid filename specified").arg(value));
    m_filename = value;
}

void TFindFile::setLocation(const QString& value)
{
    if (value.contains(u'*') || value.contains(u'?'))
        throw EFindFileError(QStringLiteral("%1\n\rlocation cannot to be contained wildcards").arg(value));
    m_location = value;
}

void TFindFile::setThreadPriority(TThreadPriority value)
{
    m_threadPriority = value;
    if (m_thread && m_thread->isRunning())
        m_thread->setPriority(qtPriority(value));
}

QStringList TFindFile::TargetList() const
{
    if (!m_includeFiles.isEmpty())
        return m_includeFiles;
    QString mask = m_filename.isEmpty() ? QStringLiteral("*.*") : m_filename;
    if (!mask.contains(u'.'))
        mask += QStringLiteral(".*");
    QStringList targets;
    QString rest = m_location;
    do {
        const qsizetype cut = rest.indexOf(u';');
        const QString piece = cut < 0 ? rest : rest.left(cut);
        rest = cut < 0 ? QString() : rest.mid(cut + 1);
        // An empty piece is the current folder.
        const QString target = plat::path::normalizeFolder(piece.isEmpty() ? QStringLiteral(".") : piece) + mask;
        if (!targets.contains(target))
            targets.append(target);
    } while (!rest.isEmpty() && rest != QLatin1String(";"));
    return targets;
}

void TFindFile::Execute()
{
    if (m_busy)
        return;
    auto snap = std::make_shared<SearchSnapshot>();
    snap->targets = TargetList();
    snap->excludes = compileExcludes(m_excludeFiles);
    snap->subfolders = m_subfolders;
    snap->attributes = m_attributes;
    snap->exactAttribute = m_exactAttribute;
    snap->createdBefore = m_createdBefore;
    snap->createdAfter = m_createdAfter;
    snap->modifiedBefore = m_modifiedBefore;
    snap->modifiedAfter = m_modifiedAfter;
    snap->accessedBefore = m_accessedBefore;
    snap->accessedAfter = m_accessedAfter;
    snap->sizeMin = m_sizeMin;
    snap->sizeMax = m_sizeMax;
    if (!m_containing.isEmpty()) {
        snap->ignoreCase = m_ignoreCase;
        snap->containing = m_containing.toUtf8();
    }

    m_busy = true;
    m_snapshot = std::move(snap);
    m_aborted = false;
    if (m_threaded)
        StartSearchThread();
    else
        SearchInCurrentThread();
}

void TFindFile::Abort()
{
    m_aborted = true;
    if (!m_thread)
        return;   // an inline walk notices the flag at its next check
    m_thread->requestInterruption();
    if (m_delivering > 0)
        return;   // inside one of our own events: the worker waits for it, so it cannot end now
    const QPointer<TFindFile> self(this);
    plat::pumpUntil([&] { return !self || !m_busy; }, m_thread);
}

bool TFindFile::stopRequested() const
{
    return m_aborted.load();
}

void TFindFile::DoFound(const QString& folder, const TSearchRec& fileInfo)
{
    if (OnFound && !m_destroying)
        OnFound(this, folder, fileInfo);
}

bool TFindFile::DoNewFolder(const QString& folder)
{
    bool ignore = false;
    if (OnNewFolder && !m_destroying)
        OnNewFolder(this, folder, ignore);
    return !ignore;
}

void TFindFile::DoComplete()
{
    m_snapshot.reset();
    m_busy = false;
    if (OnComplete && !m_destroying)
        OnComplete(this);
}

void TFindFile::SearchInCurrentThread()
{
    try {
        SearchWalk::Events events;
        events.newFolder = [this](const QString& folder) {
            Delivering d(m_delivering);
            return DoNewFolder(folder);
        };
        events.found = [this](const QString& folder, const TSearchRec& rec) {
            Delivering d(m_delivering);
            DoFound(folder, rec);
        };
        events.stopped = [this] { return stopRequested(); };
        SearchWalk(*m_snapshot, std::move(events)).run();
    } catch (...) {
        m_aborted = true;   // a failed walk ends as a stopped one
    }
    DoComplete();
}

void TFindFile::StartSearchThread()
{
    auto* t = new TSearchThread(this, m_snapshot);
    m_thread = t;
    connect(t, &QThread::finished, this, [this, t] { threadEnded(t); }, Qt::QueuedConnection);
    t->start(qtPriority(m_threadPriority));
}

void TFindFile::threadEnded(TSearchThread* t)
{
    if (t != m_thread)
        return;   // already taken over by the destructor
    m_thread = nullptr;
    t->wait();    // run() has returned: no hand-off can be pending
    t->deleteLater();
    const QPointer<TFindFile> self(this);   // OnComplete may free the component
    DoComplete();
    if (self)
        Q_EMIT searchEnded();
}

} // namespace search
