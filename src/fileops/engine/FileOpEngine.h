#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/FileOpTypes.h"
#include <QMutex>
#include <atomic>
#include <functional>

namespace fileops {

// Counters a running operation shares with the progress window; the stop flag is the window's Cancel.
class FileOpProgress {
public:
    FileOpProgress();
    ~FileOpProgress();
    FileOpProgress(const FileOpProgress&) = delete;
    FileOpProgress& operator=(const FileOpProgress&) = delete;
    // Stops every operation running in the process, as its Cancel would (the program is ending on a signal).
    static void stopAll();

    std::atomic<qint64> itemsDone{0};
    std::atomic<qint64> itemsTotal{0};
    std::atomic<qint64> bytesDone{0};
    std::atomic<bool> stop{false};
    void setCurrent(const QString& name);
    ProgressSnapshot snapshot(int op) const;
private:
    mutable QMutex m_mutex;
    QString m_current;
};

// Fault points for tests: a copy that fails part way and a move that must cross file systems.
struct FileOpHooks {
    // Called after each copied chunk with the source file and the offset reached; a non-zero errno fails the copy.
    static std::function<int(const QString& source, qint64 offset)> copyFault;
    // Moves behave as if source and target were on different file systems.
    static std::atomic<bool> forceCrossDevice;
    // Called before an item goes to the recycle bin; a non-zero errno makes trashing fail.
    static std::function<int(const QString& path)> trashFault;
    static void reset();
};

// Carries out one file operation synchronously on the calling thread: the job of its operation code
// (CopyJob, MoveJob, DeleteJob, RenameJob). Questions and errors go to the prompter; the caller runs it
// on a worker and hands those over (see runFileOperation).
class FileOpEngine {
public:
    FileOpEngine(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress)
        : m_req(request), m_prompter(prompter), m_progress(progress)
    {
    }
    FileOpResult run();

private:
    FileOpRequest m_req;
    FileOpPrompter& m_prompter;
    FileOpProgress& m_progress;
};

// "复件 " + name for the first copy, "复件 (n) " + name for the n-th.
QString collisionName(const QString& name, int n);

} // namespace fileops
