#pragma once
// A message box at least as wide as its title, so the window manager shows the whole caption.
#include <QMessageBox>

namespace ui {

class TitledMessageBox : public QMessageBox {
public:
    TitledMessageBox(Icon icon, const QString& title, const QString& text, QWidget* parent = nullptr);
    // The width the title needs, with room for the title bar's icon and buttons.
    static int titleWidth(const QString& title);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ui
