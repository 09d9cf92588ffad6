#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include <deque>
#include <vector>

namespace test {

// One recorded prompter call: its kind ("error", "warning", "message", "question"), caption, text and,
// for a question, its flags.
struct PrompterCall {
    QString kind;
    QString caption;
    QString text;
    int flags = 0;
};

// The file operations' prompter for engine tests: records every text and answers questions from a queue.
// A question without a queued answer fails the test (and is answered No); answers left unused fail it when
// the prompter goes. There is no progress window.
class RecordingPrompter : public fileops::FileOpPrompter {
public:
    ~RecordingPrompter() override;

    void answer(Answer a) { m_answers.push_back(a); }
    const std::vector<PrompterCall>& calls() const { return m_calls; }
    std::vector<PrompterCall> callsOf(const QString& kind) const;
    void clear() { m_calls.clear(); }

    void error(const QString& text, const QString& caption = QString()) override;
    void warning(const QString& text, const QString& caption = QString()) override;
    void message(const QString& text) override;
    Answer question(const QString& text, const QString& caption, int flags = Plain) override;

private:
    std::vector<PrompterCall> m_calls;
    std::deque<Answer> m_answers;
};

} // namespace test
