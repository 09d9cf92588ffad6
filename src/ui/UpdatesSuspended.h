#pragma once
#include <QPointer>
#include <QWidget>

namespace ui {

// Suspends repainting of a widget for its lifetime, so an exception cannot leave the widget frozen.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget* widget) : m_widget(widget)
    {
        if (m_widget)
            m_widget->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended()
    {
        if (m_widget)
            m_widget->setUpdatesEnabled(true);
    }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

private:
    QPointer<QWidget> m_widget;
};

} // namespace ui
