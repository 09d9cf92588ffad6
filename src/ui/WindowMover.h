#pragma once
#include <QObject>
#include <QPoint>

class QWidget;

namespace ui {

// Moves a window by dragging one of its widgets with the left button: the window system moves it where it
// can; elsewhere (offscreen, some X11 setups) the window follows the pointer until the button is released.
class WindowMover : public QObject {
    Q_OBJECT
public:
    // Watches `handle`; the mover belongs to it.
    static WindowMover* install(QWidget* handle);
    bool following() const { return m_following; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowMover(QWidget* handle);
    QWidget* m_handle;
    bool m_following = false;
    QPoint m_pressGlobal;
    QPoint m_windowStart;
};

} // namespace ui
