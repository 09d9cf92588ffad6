#include "tools/search/engine/SearchThread.h"
#include "tools/search/engine/FindFile.h"
#include "tools/search/engine/SearchWalk.h"

namespace search {

TSearchThread::TSearchThread(TFindFile* owner, std::shared_ptr<const SearchSnapshot> snapshot)
    : m_owner(owner), m_snapshot(std::move(snapshot))
{
}

void TSearchThread::run()
{
    try {
        SearchWalk::Events events;
        events.newFolder = [this](const QString& folder) {
            m_folder = folder;
            m_ignoreFolder = false;
            deliver(&TSearchThread::syncNewFolder);
            return !m_ignoreFolder;
        };
        events.found = [this](const QString& folder, const TSearchRec& rec) {
            m_folder = folder;
            m_rec = rec;
            deliver(&TSearchThread::syncFound);
        };
        events.stopped = [this] { return isInterruptionRequested() || m_owner->m_aborted.load(); };
        SearchWalk(*m_snapshot, std::move(events)).run();
    } catch (...) {
        m_owner->m_aborted = true;   // a failed walk ends as a stopped one
    }
}

// Blocking hand-off to the owner's thread; no event is raised while the owner is being destroyed, and a
// handler's exception stops the search instead of crossing the event loop.
void TSearchThread::deliver(void (TSearchThread::*event)())
{
    Q_ASSERT(QThread::currentThread() != m_owner->thread());
    QMetaObject::invokeMethod(
        m_owner,
        [this, event] {
            if (m_owner->m_destroying)
                return;
            ++m_owner->m_delivering;
            try {
                (this->*event)();
            } catch (...) {
                m_owner->m_aborted = true;
                requestInterruption();
            }
            --m_owner->m_delivering;
        },
        Qt::BlockingQueuedConnection);
}

void TSearchThread::syncNewFolder()
{
    m_ignoreFolder = !m_owner->DoNewFolder(m_folder);
}

void TSearchThread::syncFound()
{
    m_owner->DoFound(m_folder, m_rec);
}

} // namespace search
