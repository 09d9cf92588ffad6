#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include <QPointer>
#include <QWidget>

namespace fileops {

// The engine's questions and messages as boxes of the dialog service, owned by a window; the progress
// window is a window-modal FileOpProgressDialog on that window.
class DialogsPrompter : public FileOpPrompter {
public:
    explicit DialogsPrompter(QWidget* owner) : m_owner(owner) {}
    DialogsPrompter(const DialogsPrompter& other) : m_owner(other.m_owner), m_activeWindow(other.m_activeWindow) {}
    DialogsPrompter& operator=(const DialogsPrompter&) = delete;
    // Owned by whichever window is active when a box is shown (drag and drop).
    static DialogsPrompter forActiveWindow();

    void error(const QString& text, const QString& caption = QString()) override;
    void warning(const QString& text, const QString& caption = QString()) override;
    void message(const QString& text) override;
    Answer question(const QString& text, const QString& caption, int flags = Plain) override;
    std::unique_ptr<FileOpProgressView> createProgressView(int op) override;
    void setBusy(bool busy) override;   // the hourglass cursor
    ~DialogsPrompter() override;

private:
    int m_busy = 0;
    QWidget* owner() const;
    QPointer<QWidget> m_owner;
    bool m_activeWindow = false;
};

} // namespace fileops
