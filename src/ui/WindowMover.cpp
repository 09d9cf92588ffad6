#include "ui/WindowMover.h"
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace ui {

WindowMover::WindowMover(QWidget* handle) : QObject(handle), m_handle(handle)
{
    handle->installEventFilter(this);
}

WindowMover* WindowMover::install(QWidget* handle)
{
    return new WindowMover(handle);
}

bool WindowMover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_handle)
        return false;
    QWidget* window = m_handle->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        if (QWindow* w = window->windowHandle(); w && w->startSystemMove())
            return true;
        m_following = true;
        m_pressGlobal = e->globalPosition().toPoint();
        m_windowStart = window->pos();
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!m_following || !(e->buttons() & Qt::LeftButton))
            return false;
        window->move(m_windowStart + (e->globalPosition().toPoint() - m_pressGlobal));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !m_following)
            return false;
        m_following = false;
        return true;
    default:
        return false;
    }
}

} // namespace ui
