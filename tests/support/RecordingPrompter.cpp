#include "support/RecordingPrompter.h"
#include <gtest/gtest.h>

namespace test {

RecordingPrompter::~RecordingPrompter()
{
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " unused question answers";
}

std::vector<PrompterCall> RecordingPrompter::callsOf(const QString& kind) const
{
    std::vector<PrompterCall> out;
    for (const PrompterCall& c : m_calls)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

void RecordingPrompter::error(const QString& text, const QString& caption)
{
    m_calls.push_back({QStringLiteral("error"), caption, text});
}

void RecordingPrompter::warning(const QString& text, const QString& caption)
{
    m_calls.push_back({QStringLiteral("warning"), caption, text});
}

void RecordingPrompter::message(const QString& text)
{
    m_calls.push_back({QStringLiteral("message"), QString(), text});
}

fileops::FileOpPrompter::Answer RecordingPrompter::question(const QString& text, const QString& caption, int flags)
{
    m_calls.push_back({QStringLiteral("question"), caption, text, flags});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return No;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

} // namespace test
