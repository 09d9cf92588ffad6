#include "foldertree/engine/DiscMonitorThread.h"
#include <QMetaObject>

TDiscMonitorThread::TDiscMonitorThread(const QString& path, quint32 filter, std::function<void()> refresh, QObject* parent)
    : QObject(parent), m_path(path), m_filter(filter), m_refresh(std::move(refresh))
{
}

TDiscMonitorThread::~TDiscMonitorThread()
{
    plat::InotifyHub::instance().detach(this);
}

void TDiscMonitorThread::Start()
{
    if (m_started)
        return;
    m_started = true;
    if (!plat::InotifyHub::instance().attach(this, m_path, m_filter))
        fail();
}

void TDiscMonitorThread::ChangeFilter(quint32 filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    if (m_started && !m_finished && !plat::InotifyHub::instance().setFilter(this, filter)) {
        plat::InotifyHub::instance().detach(this);
        fail();
    }
}

void TDiscMonitorThread::fail()
{
    m_failed = true;
    m_finished = true;
}

void TDiscMonitorThread::hubChanged()
{
    ++m_notifications;
    if (m_pending)
        return;   // a refresh is already on its way; it will see this change too
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            if (m_refresh && !m_finished)
                m_refresh();
        },
        Qt::QueuedConnection);
}

void TDiscMonitorThread::hubGone()
{
    fail();
}
