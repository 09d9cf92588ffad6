#include "platform/Pump.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>

namespace plat {

bool PumpGate::tick()
{
    if (m_timer.elapsed() < 15)
        return false;
    pumpNow();
    return true;
}

void PumpGate::pumpNow()
{
    QCoreApplication::processEvents();
    m_timer.restart();
}

void waitPumping(QThread* thread)
{
    // A nested event loop started from inside a queued call does not deliver the events that were already
    // queued, and a worker blocked on one of them would never finish. Deliver them explicitly between
    // short waits instead. The thread object may be deleted by what the events run.
    const QPointer<QThread> guard(thread);
    while (guard && !guard->wait(QDeadlineTimer(2))) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace plat
