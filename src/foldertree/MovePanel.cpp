#include "foldertree/MovePanel.h"
#include <QMouseEvent>
#include <QWindow>

TMovePanel::TMovePanel(QWidget* parent) : QFrame(parent)
{
}

void TMovePanel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(e);
        return;
    }
    QWidget* w = window();
    if (w->windowHandle() && w->windowHandle()->startSystemMove()) {
        e->accept();
        return;
    }
    m_following = true;
    m_pressGlobal = e->globalPosition().toPoint();
    m_windowStart = w->pos();
    e->accept();
}

void TMovePanel::mouseMoveEvent(QMouseEvent* e)
{
    if (m_following && (e->buttons() & Qt::LeftButton)) {
        window()->move(m_windowStart + (e->globalPosition().toPoint() - m_pressGlobal));
        e->accept();
        return;
    }
    QFrame::mouseMoveEvent(e);
}

void TMovePanel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_following = false;
    QFrame::mouseReleaseEvent(e);
}
