#include "tools/search/engine/SearchPipeline.h"
#include <algorithm>

namespace search {

SearchPipeline::SearchPipeline(const QByteArray& text, bool ignoreCase, std::function<bool()> stopped)
    : m_stopped(std::move(stopped)), m_deliverMatcher(text, ignoreCase), m_walkMatcher(text, ignoreCase)
{
}

bool SearchPipeline::halted() const
{
    return cancelled() || (m_stopped && m_stopped());
}

quint64 SearchPipeline::addFolder(const QString& folder, int depth)
{
    Item item;
    item.isFolder = true;
    item.depth = depth;
    item.serial = ++m_serial;
    item.folder = folder;
    add(std::move(item), 0);
    return m_serial;
}

void SearchPipeline::addEntry(const QString& folder, const TSearchRec& rec, int depth, QByteArray path)
{
    Item item;
    item.depth = depth;
    item.folder = folder;
    item.rec = rec;
    item.path = std::move(path);
    const qint64 bytes = item.path.isEmpty() ? 0 : std::max<qint64>(rec.Size, 1);
    add(std::move(item), bytes);
}

void SearchPipeline::add(Item&& item, qint64 bytes)
{
    if (m_open.items.empty())
        m_openSince.start();
    if (bytes > 0)
        m_open.state = State::Waiting;
    m_open.items.push_back(std::move(item));
    m_openBytes += bytes;
    if (m_open.items.size() >= kBatchItems || m_openBytes >= kBatchBytes || m_openSince.hasExpired(kBatchMs))
        flush();
}

void SearchPipeline::walkPauses()
{
    if (!m_open.items.empty() && m_openSince.hasExpired(kBatchMs))
        flush();
}

void SearchPipeline::flush()
{
    if (m_open.items.empty())
        return;
    std::unique_lock lock(m_mutex);
    // While the queue is full the walk tests queued batches instead of waiting idle.
    while (!cancelled() && m_batches.size() >= kMaxQueued) {
        if (!m_untested.empty())
            testFirst(lock, m_walkMatcher);
        else
            m_space.wait(lock);
    }
    if (cancelled()) {
        m_open = Batch();
        m_openBytes = 0;
        return;
    }
    m_batches.push_back(std::move(m_open));
    m_open = Batch();
    m_openBytes = 0;
    if (m_batches.back().state == State::Waiting)
        m_untested.push_back(&m_batches.back());
    m_ready.notify_one();
    // Leave a little for the delivering side and test the rest here.
    while (!cancelled() && m_untested.size() > kLookahead)
        testFirst(lock, m_walkMatcher);
}

void SearchPipeline::testFirst(std::unique_lock<std::mutex>& lock, ContentMatcher& matcher)
{
    Batch* batch = m_untested.front();
    m_untested.pop_front();
    batch->state = State::Testing;
    lock.unlock();
    // The batch is this thread's until it is marked ready: nobody else touches its items.
    const auto stop = [this] { return halted(); };
    for (Item& item : batch->items) {
        if (item.path.isEmpty())
            continue;
        if (halted()) {
            item.contains = false;
            continue;
        }
        try {
            item.contains = matcher.fileContains(item.path.constData(), stop);
        } catch (...) {
            item.contains = false;
            item.error = std::current_exception();
        }
    }
    lock.lock();
    batch->state = State::Ready;
    m_ready.notify_one();
}

void SearchPipeline::walkEnded(std::exception_ptr error)
{
    flush();
    std::unique_lock lock(m_mutex);
    m_walkEnded = true;
    m_walkError = std::move(error);
    m_ready.notify_one();
    while (!cancelled() && !m_untested.empty())
        testFirst(lock, m_walkMatcher);
}

void SearchPipeline::cancel()
{
    const std::lock_guard lock(m_mutex);
    m_cancel = true;
    m_space.notify_all();
}

void SearchPipeline::deliver(const Handlers& handlers)
{
    const auto stopped = [&] { return handlers.stopped && handlers.stopped(); };
    std::unique_lock lock(m_mutex);
    int skipDepth = -1;   // a skipped folder's depth while its contents are being dropped
    std::exception_ptr failure;
    bool ended = false;
    while (!failure && !ended && !stopped()) {
        if (m_batches.empty()) {
            if (m_walkEnded) {
                failure = m_walkError;   // raised once everything queued before the failure is delivered
                break;
            }
            m_ready.wait(lock);
            continue;
        }
        Batch& head = m_batches.front();
        if (head.state == State::Waiting) {
            // The earliest untested batch: it is the first of the untested ones.
            testFirst(lock, m_deliverMatcher);
            continue;
        }
        if (head.state == State::Testing) {
            // The walking thread reads it; meanwhile test the next batch, or wait.
            if (!m_untested.empty())
                testFirst(lock, m_deliverMatcher);
            else
                m_ready.wait(lock);
            continue;
        }
        const std::vector<Item> items = std::move(head.items);
        m_batches.pop_front();
        m_space.notify_one();
        lock.unlock();
        for (const Item& item : items) {
            // Everything queued after a skipped folder up to the next folder at its depth or above is inside it.
            if (skipDepth >= 0 && item.isFolder && item.depth <= skipDepth)
                skipDepth = -1;
            if (skipDepth >= 0)
                continue;
            if (stopped()) {
                ended = true;
                break;
            }
            if (item.error) {
                failure = item.error;   // a test that failed ends the search as a failed walk does
                break;
            }
            if (item.isFolder) {
                if (handlers.newFolder && !handlers.newFolder(item.folder)) {
                    skipDepth = item.depth;
                    m_pruned.store(item.serial, std::memory_order_relaxed);
                }
            } else if (item.contains && handlers.found) {
                handlers.found(item.folder, item.rec);
            }
        }
        lock.lock();
    }
    lock.unlock();
    cancel();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace search
