#include "fileops/DialogsPrompter.h"
#include "fileops/FileOpProgressDialog.h"
#include "ui/Dialogs.h"
#include <QApplication>

namespace fileops {

DialogsPrompter DialogsPrompter::forActiveWindow()
{
    DialogsPrompter p(nullptr);
    p.m_activeWindow = true;
    return p;
}

DialogsPrompter::~DialogsPrompter()
{
    for (; m_busy > 0; --m_busy)
        QGuiApplication::restoreOverrideCursor();
}

void DialogsPrompter::setBusy(bool busy)
{
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QGuiApplication::restoreOverrideCursor();
        --m_busy;
    }
}

QWidget* DialogsPrompter::owner() const
{
    return m_activeWindow ? QApplication::activeWindow() : m_owner.data();
}

void DialogsPrompter::error(const QString& text, const QString& caption)
{
    ui::Dialogs::get().error(owner(), text, caption);
}

void DialogsPrompter::warning(const QString& text, const QString& caption)
{
    ui::Dialogs::get().warning(owner(), text, caption);
}

void DialogsPrompter::message(const QString& text)
{
    ui::Dialogs::get().message(owner(), text);
}

FileOpPrompter::Answer DialogsPrompter::question(const QString& text, const QString& caption, int flags)
{
    const int f = (flags & EscCancels) ? ui::Dialogs::EscCancels : ui::Dialogs::Plain;
    switch (ui::Dialogs::get().question(owner(), text, caption, f)) {
    case ui::Dialogs::Yes: return Yes;
    case ui::Dialogs::No: return No;
    case ui::Dialogs::Cancel: return Cancel;
    }
    return No;
}

std::unique_ptr<FileOpProgressView> DialogsPrompter::createProgressView(int op)
{
    return std::make_unique<FileOpProgressDialog>(owner(), op);
}

} // namespace fileops
