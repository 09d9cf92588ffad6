#pragma once
#include <QFrame>
#include <QPoint>

// A panel that moves its window while the left mouse button is held down on it, so the window can be
// dragged by any free spot. The window manager moves it when it can; otherwise the panel follows the
// pointer's movement on the screen itself.
class TMovePanel : public QFrame {
    Q_OBJECT
public:
    explicit TMovePanel(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool m_following = false;
    QPoint m_pressGlobal;
    QPoint m_windowStart;
};
