#pragma once
#include "ui/Dialogs.h"
#include <QStringList>
#include <deque>
#include <vector>

namespace test {

// One recorded dialog: its kind ("error", "warning", "info", "message", "question", "input", "openFile",
// "saveFile", "chooseFolder", "chooseColor", "beep"), caption and text.
struct DialogCall {
    QString kind;
    QString caption;
    QString text;
    bool busy = false;   // shown while the busy cursor was up
};

// Installs itself for its lifetime; records every dialog and answers from queues. A question, input or
// file/folder/colour dialog without a queued answer fails the test. Unused answers fail it at destruction.
class ScriptedDialogs : public ui::Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerQuestion(Answer a) { m_questions.push_back(a); }
    void answerInput(const QString& s) { m_inputs.push_back(s); }
    void answerFile(const QString& s) { m_files.push_back(s); }     // openFile, saveFile and chooseFolder
    void answerColor(std::optional<QColor> c) { m_colors.push_back(c); }

    const std::vector<DialogCall>& calls() const { return m_calls; }
    std::vector<DialogCall> callsOf(const QString& kind) const;
    int beeps() const;
    void clear() { m_calls.clear(); }

    void error(QWidget*, const QString& text, const QString& caption) override;
    void warning(QWidget*, const QString& text, const QString& caption) override;
    void info(QWidget*, const QString& text, const QString& caption) override;
    void message(QWidget*, const QString& text) override;
    Answer question(QWidget*, const QString& text, const QString& caption, int flags) override;
    QString input(QWidget*, const QString& caption, const QString& prompt, const QString& def) override;
    QString openFile(QWidget*, const QString& title, const QString& dir, const QString& filter) override;
    QString saveFile(QWidget*, const QString& title, const QString& dir, const QString& filter,
                     const QString& defaultSuffix, bool confirmOverwrite) override;
    QString chooseFolder(QWidget*, const QString& title, const QString& start) override;
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override;
    void beep() override;

private:
    QString nextFile(const char* kind, const QString& title);
    void record(DialogCall call);
    ui::Dialogs* m_previous;
    std::vector<DialogCall> m_calls;
    std::deque<Answer> m_questions;
    std::deque<QString> m_inputs;
    std::deque<QString> m_files;
    std::deque<std::optional<QColor>> m_colors;
};

} // namespace test
