#include "ui/MessageBox.h"
#include <QApplication>
#include <QFontMetrics>

namespace ui {

TitledMessageBox::TitledMessageBox(Icon icon, const QString& title, const QString& text, QWidget* parent)
    : QMessageBox(icon, title, text, QMessageBox::NoButton, parent)
{
}

int TitledMessageBox::titleWidth(const QString& title)
{
    // Title bars use a bold face at least as large as the application font; the icon and three buttons
    // take about 160 pixels beside the text.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + 160;
}

void TitledMessageBox::showEvent(QShowEvent* event)
{
    // QMessageBox fixes its size as it shows; widen that fixed size to the title.
    QMessageBox::showEvent(event);
    const int needed = titleWidth(windowTitle());
    if (width() < needed)
        setFixedWidth(needed);
}

} // namespace ui
