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
    // Owned by whichever window is active when a box is shown (drag and drop).
    static DialogsPrompter forActiveWindow();

    void error(const QString& text, const QString& caption = QString()) override;
    void warning(const QString& text, const QString& caption = QString()) override;
    void message(const QString& text) override;
    Answer question(const QString& text, const QString& caption, int flags = Plain) override;
    std::unique_ptr<FileOpProgressView> createProgressView(int op) override;

private:
    QWidget* owner() const;
    QPointer<QWidget> m_owner;
    bool m_activeWindow = false;
};

} // namespace fileops
