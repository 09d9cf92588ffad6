#include "support/ScriptedDialogs.h"
#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace test {

void ScriptedDialogs::record(DialogCall call)
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    call.busy = cursor && cursor->shape() == Qt::WaitCursor;
    m_calls.push_back(std::move(call));
}

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
    record({QStringLiteral("error"), caption.isEmpty() ? QStringLiteral("错误") : caption, text});
}

void ScriptedDialogs::warning(QWidget*, const QString& text, const QString& caption)
{
    record({QStringLiteral("warning"), caption.isEmpty() ? QStringLiteral("警告") : caption, text});
}

void ScriptedDialogs::info(QWidget*, const QString& text, const QString& caption)
{
    record({QStringLiteral("info"), caption.isEmpty() ? QStringLiteral("信息") : caption, text});
}

void ScriptedDialogs::message(QWidget*, const QString& text)
{
    record({QStringLiteral("message"), QStringLiteral("Orvo 文件管理器"), text});
}

ui::Dialogs::Answer ScriptedDialogs::question(QWidget*, const QString& text, const QString& caption, int)
{
    record({QStringLiteral("question"), caption, text});
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
    record({QStringLiteral("input"), caption, prompt});
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
    record({QLatin1String(kind), title, QString()});
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
    record({QStringLiteral("chooseColor"), QString(), QString()});
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
    record({QStringLiteral("beep"), QString(), QString()});
}

} // namespace test
