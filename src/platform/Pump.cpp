#include "platform/Pump.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>

namespace plat {

struct PumpGate::State {
    QElapsedTimer sincePump;   // invalid until the first pump
    qint64 intervalMs;
    QEventLoop::ProcessEventsFlags flags;
};

PumpGate::PumpGate(int intervalMs, QEventLoop::ProcessEventsFlags flags)
    : m_state(std::make_shared<State>(State{QElapsedTimer(), intervalMs, flags}))
{
}

bool PumpGate::due() const
{
    return !m_state->sincePump.isValid() || m_state->sincePump.elapsed() >= m_state->intervalMs;
}

bool PumpGate::tick()
{
    if (!due())
        return false;
    pumpNow();
    return true;
}

void PumpGate::pumpNow()
{
    // The interval starts when the pump ends, so slow pumps still leave the loop its share of time.
    const std::shared_ptr<State> state = m_state;
    QCoreApplication::processEvents(state->flags);
    state->sincePump.start();
}

void PumpGate::restart()
{
    m_state->sincePump.start();
}

void PumpGate::makeDue()
{
    m_state->sincePump.invalidate();
}

// A nested event loop started from inside the delivery of a posted event does not deliver the events that
// were already queued (glib dispatcher), and a worker blocked on one of them would never finish. Both waits
// deliver them explicitly between short waits on the thread instead.

void waitPumping(QThread* thread, QEventLoop::ProcessEventsFlags flags)
{
    const QPointer<QThread> guard(thread);
    while (guard && !guard->wait(QDeadlineTimer(2))) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(flags);
    }
}

void pumpUntil(const std::function<bool()>& done, QThread* thread, QEventLoop::ProcessEventsFlags flags)
{
    const QPointer<QThread> guard(thread);
    while (!done()) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(flags);
        if (done())
            break;
        if (guard && !guard->isFinished())
            guard->wait(QDeadlineTimer(2));   // bounded: a hand-off queued meanwhile is served on the next turn
    }
}

} // namespace plat
