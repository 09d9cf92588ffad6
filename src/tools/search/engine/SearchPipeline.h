#pragma once
#include "tools/search/engine/ContentSearch.h"
#include "tools/search/engine/FindTypes.h"
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

namespace search {

// The hand-off of a content search between two threads: the walking thread queues the folders and the
// entries it reaches, in its order; the delivering thread raises their events in that same order. Entries
// travel in batches (up to a megabyte of file contents, or a few milliseconds of walking); the contents of
// a queued batch are tested by whichever of the two threads is free, the earliest batch first, so both
// cores read while the walk goes on. A bounded queue keeps the walk at most a few batches ahead.
//
// A folder whose announcement is answered with "skip" is dropped on the delivering side with everything
// queued inside it, and the walk is told to leave it (prunedFolder()).
class SearchPipeline {
public:
    struct Handlers {
        std::function<bool(const QString& folder)> newFolder;   // false = skip the folder
        std::function<void(const QString& folder, const TSearchRec& rec)> found;
        std::function<bool()> stopped;                           // called on both threads
    };

    SearchPipeline(const QByteArray& text, bool ignoreCase, std::function<bool()> stopped);
    SearchPipeline(const SearchPipeline&) = delete;
    SearchPipeline& operator=(const SearchPipeline&) = delete;

    // --- The walking thread ---
    // Queues a folder's announcement at `depth` (0 for a start folder); returns its serial number (not 0).
    quint64 addFolder(const QString& folder, int depth);
    // Queues an entry of the folder at `depth`; a non-empty `path` (file-name bytes) is reported only
    // when the file contains the text.
    void addEntry(const QString& folder, const TSearchRec& rec, int depth, QByteArray path);
    // Before a pause of the walk (reading a folder): hands over what waited long enough.
    void walkPauses();
    // The walk is over (`error` set when it failed); tests what is still untested, then returns.
    void walkEnded(std::exception_ptr error);
    // Whether the walk should give up: the delivery has ended.
    bool cancelled() const { return m_cancel.load(std::memory_order_relaxed); }
    // The serial of the last folder the delivering side skipped, 0 for none.
    quint64 prunedFolder() const { return m_pruned.load(std::memory_order_relaxed); }

    // --- The delivering thread ---
    // Raises the queued events in order until the walk has ended and everything is delivered, or until
    // `stopped`. Rethrows a failure of the walk or of a test after the events before it.
    void deliver(const Handlers& handlers);
    // Ends the hand-off: the walk gives up at its next step and its tests stop between blocks.
    void cancel();

private:
    struct Item {
        bool isFolder = false;
        int depth = 0;
        quint64 serial = 0;
        QString folder;
        TSearchRec rec;
        QByteArray path;        // the file to test; empty: nothing to test
        bool contains = true;
        std::exception_ptr error;   // the test failed
    };
    enum class State : unsigned char { Ready, Waiting, Testing };
    struct Batch {
        std::vector<Item> items;
        State state = State::Ready;
    };
    static constexpr size_t kBatchItems = 64;
    static constexpr qint64 kBatchBytes = 1 << 20;   // of file contents to test
    static constexpr qint64 kBatchMs = 10;           // the longest a batch waits on the walking side
    static constexpr size_t kMaxQueued = 16;         // batches the walk may run ahead
    static constexpr size_t kLookahead = 1;          // untested batches the walk leaves to the other side

    void add(Item&& item, qint64 bytes);
    void flush();
    // Tests the earliest untested batch with `matcher`, the lock released while reading.
    void testFirst(std::unique_lock<std::mutex>& lock, ContentMatcher& matcher);
    bool halted() const;

    std::function<bool()> m_stopped;
    ContentMatcher m_deliverMatcher;
    ContentMatcher m_walkMatcher;

    // The walking side's batch being filled.
    Batch m_open;
    qint64 m_openBytes = 0;
    QElapsedTimer m_openSince;
    quint64 m_serial = 0;

    std::mutex m_mutex;
    std::condition_variable m_ready;     // for the delivering thread: a batch was queued or tested
    std::condition_variable m_space;     // for the walking thread: a batch was taken
    std::deque<Batch> m_batches;         // in walk order; references stay valid while queued
    std::deque<Batch*> m_untested;       // waiting batches, in walk order
    bool m_walkEnded = false;
    std::exception_ptr m_walkError;
    std::atomic<bool> m_cancel{false};
    std::atomic<quint64> m_pruned{0};
};

} // namespace search
