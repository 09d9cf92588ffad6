#pragma once
#include "fileops/engine/ErrorTexts.h"
#include "fileops/engine/FileOpEngine.h"

namespace fileops {

struct StepResult;

// What every job of the engine shares: the request, the prompter, the progress counters and the result
// with its failure, skip and cancel bookkeeping. A job runs once.
class FileOpJob {
public:
    FileOpJob(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress)
        : m_req(request), m_prompter(prompter), m_progress(progress)
    {
    }
    virtual ~FileOpJob() = default;
    FileOpJob(const FileOpJob&) = delete;
    FileOpJob& operator=(const FileOpJob&) = delete;

    FileOpResult run();

protected:
    enum class Done { Ok, Skipped, Failed, Cancelled };

    virtual void work() = 0;

    // Reports the failure (an error box and a problem line) and halts the job.
    Done fail(const ItemError& e);
    Done fail(Verb verb, const QString& path, int code) { return fail(ItemError::system(verb, code, path)); }
    Done skip(const QString& path, SkipReason why, int code = 0);
    // Records a failure (a problem line) without an error box and without halting: one of several that a
    // single step reports, the last of them through fail().
    void note(const ItemError& e);
    Done cancel();
    // The outcome of one step as the job's own.
    Done finish(const StepResult& step);
    bool stopped() const;
    bool halted() const { return m_halt; }

    const FileOpRequest& m_req;
    FileOpPrompter& m_prompter;
    FileOpProgress& m_progress;

private:
    FileOpResult m_result;
    bool m_halt = false;
};

// Absolute form of a caller's path without resolving "..", and without the trailing '/' that would make
// the kernel follow a link.
QString itemPath(const QString& p);

// Whether a caller's path names one item of its own: not empty, its last component neither "." nor ".."
// (which would act on the current folder or its parent as a whole), and, unless `rootAllowed`, not "/".
bool namesOneItem(const QString& p, bool rootAllowed = false);

} // namespace fileops
