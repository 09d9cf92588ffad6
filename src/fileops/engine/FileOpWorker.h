#pragma once
#include "fileops/engine/FileOpEngine.h"
#include <QThread>
#include <atomic>

namespace fileops {

// Runs one operation's engine on its own thread; its snapshot of the request is its own.
class FileOpWorker : public QThread {
    Q_OBJECT
public:
    FileOpWorker(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress)
        : m_request(request), m_prompter(prompter), m_progress(progress)
    {
    }
    bool isDone() const { return m_done.load(); }
    FileOpResult result() const { return m_result; }

Q_SIGNALS:
    void workDone();

protected:
    void run() override
    {
        try {
            m_result = FileOpEngine(m_request, m_prompter, m_progress).run();
        } catch (const std::exception& e) {
            m_result.ok = false;
            m_result.problems << QString::fromUtf8(e.what());
        }
        m_done = true;
        Q_EMIT workDone();
    }

private:
    const FileOpRequest m_request;
    FileOpPrompter& m_prompter;
    FileOpProgress& m_progress;
    FileOpResult m_result;
    std::atomic<bool> m_done{false};
};

} // namespace fileops
