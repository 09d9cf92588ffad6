#pragma once
#include <QString>
#include <QStringList>
#include <memory>

namespace fileops {

// Snapshot of a running operation, handed to the progress window.
struct ProgressSnapshot {
    int op = 0;
    qint64 itemsDone = 0;
    qint64 itemsTotal = 0;
    qint64 bytesDone = 0;
    QString current;
};

// The progress window of one operation, made and used on the GUI thread only.
class FileOpProgressView {
public:
    virtual ~FileOpProgressView() = default;
    virtual void update(const ProgressSnapshot& s) = 0;
    virtual bool cancelRequested() const = 0;
    virtual bool isVisible() const = 0;
};

// Everything a file operation and the paste, delete and drag commands say to the user. The window level
// implements it with the dialog service; without windows it answers No and keeps the texts.
// Called on the GUI thread only (the engine's worker hands its questions over).
class FileOpPrompter {
public:
    enum Answer { Yes, No, Cancel };
    enum QuestionFlag { Plain = 0, EscCancels = 1 };

    virtual ~FileOpPrompter() = default;
    virtual void error(const QString& text, const QString& caption = QString()) = 0;
    virtual void warning(const QString& text, const QString& caption = QString()) = 0;
    virtual void message(const QString& text) = 0;
    virtual Answer question(const QString& text, const QString& caption, int flags = Plain) = 0;
    // The progress window shown 500 ms into an operation; null when there is no window.
    virtual std::unique_ptr<FileOpProgressView> createProgressView(int op) { return nullptr; }
    // Long work begins or ends: the window level shows the busy cursor meanwhile. Calls nest.
    virtual void setBusy(bool busy) {}
};

// Marks the prompter busy for its lifetime.
class BusyScope {
public:
    explicit BusyScope(FileOpPrompter& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyScope() { m_ui.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FileOpPrompter& m_ui;
};

// No windows: questions answer No, and every text is kept in order ("error: ...", "question: ...").
class SilentPrompter : public FileOpPrompter {
public:
    void error(const QString& text, const QString& caption = QString()) override;
    void warning(const QString& text, const QString& caption = QString()) override;
    void message(const QString& text) override;
    Answer question(const QString& text, const QString& caption, int flags = Plain) override;
    QStringList texts;
};

} // namespace fileops
