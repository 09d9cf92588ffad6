#pragma once
#include <QFrame>

// A panel that moves its window while the left mouse button is held down on it, so the window can be
// dragged by any free spot (ui::WindowMover).
class TMovePanel : public QFrame {
    Q_OBJECT
public:
    explicit TMovePanel(QWidget* parent = nullptr);
};
