#include "support/ScriptedDialogs.h"
#include <gtest/gtest.h>

namespace test {

ScriptedDialogs::ScriptedDialogs() : m_previous(ui::Dialogs::installed())
{
    ui::Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    ui::Dialogs::install(m_previous);
    EXPECT_TRUE(m_questions.empty()) << "unused question answers";
    EXPECT_TRUE(m_inputs.empty()) << "unused input answers";
    EXPECT_TRUE(m_files.empty()) << "unused file answers";
    EXPECT_TRUE(m_colors.empty()) << "unused colour answers";
}

std::vector<DialogCall> ScriptedDialogs::callsOf(const QString& kind) const
{
    std::vector<DialogCall> out;
    for (const DialogCall& c : m_calls)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

int ScriptedDialogs::beeps() const
{
    return int(callsOf(QStringLiteral("beep")).size());
}

void ScriptedDialogs::error(QWidget*, const QString& text, const QString& caption)
{
    m_calls.push_back({QStringLiteral("error"), caption.isEmpty() ? QStringLiteral("错误") : caption, text});
}

void ScriptedDialogs::warning(QWidget*, const QString& text, const QString& caption)
{
    m_calls.push_back({QStringLiteral("warning"), caption.isEmpty() ? QStringLiteral("警告") : caption, text});
}

void ScriptedDialogs::info(QWidget*, const QString& text, const QString& caption)
{
    m_calls.push_back({QStringLiteral("info"), caption.isEmpty() ? QStringLiteral("信息") : caption, text});
}

void ScriptedDialogs::message(QWidget*, const QString& text)
{
    m_calls.push_back({QStringLiteral("message"), QStringLiteral("Orvo 文件管理器"), text});
}

ui::Dialogs::Answer ScriptedDialogs::question(QWidget*, const QString& text, const QString& caption, int)
{
    m_calls.push_back({QStringLiteral("question"), caption, text});
    if (m_questions.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return No;
    }
    const Answer a = m_questions.front();
    m_questions.pop_front();
    return a;
}

QString ScriptedDialogs::input(QWidget*, const QString& caption, const QString& prompt, const QString& def)
{
    m_calls.push_back({QStringLiteral("input"), caption, prompt});
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return def;
    }
    const QString s = m_inputs.front();
    m_inputs.pop_front();
    return s;
}

QString ScriptedDialogs::nextFile(const char* kind, const QString& title)
{
    m_calls.push_back({QLatin1String(kind), title, QString()});
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected " << kind << ": " << title.toStdString();
        return QString();
    }
    const QString s = m_files.front();
    m_files.pop_front();
    return s;
}

QString ScriptedDialogs::openFile(QWidget*, const QString& title, const QString&, const QString&)
{
    return nextFile("openFile", title);
}

QString ScriptedDialogs::saveFile(QWidget*, const QString& title, const QString&, const QString&, const QString&, bool)
{
    return nextFile("saveFile", title);
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& title, const QString&)
{
    return nextFile("chooseFolder", title);
}

std::optional<QColor> ScriptedDialogs::chooseColor(QWidget*, const QColor&)
{
    m_calls.push_back({QStringLiteral("chooseColor"), QString(), QString()});
    if (m_colors.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    const auto c = m_colors.front();
    m_colors.pop_front();
    return c;
}

void ScriptedDialogs::beep()
{
    m_calls.push_back({QStringLiteral("beep"), QString(), QString()});
}

} // namespace test
