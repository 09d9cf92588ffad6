#include "platform/Pump.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
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
    if (!thread)
        return;
    // A nested event loop started from inside a queued call does not deliver the events that were already
    // queued, and a worker blocked on one of them would never finish. Deliver them explicitly between
    // short waits instead.
    while (!thread->wait(QDeadlineTimer(2))) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace plat
