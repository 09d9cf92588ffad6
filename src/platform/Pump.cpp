#include "platform/Pump.h"
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <atomic>

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
// deliver them explicitly, then sleep in the event dispatcher until something is posted to this thread or the
// thread they wait for ends (its finished signal wakes the dispatcher), so no hand-off waits for a time slice.

namespace {

// Wakes the calling thread's event dispatcher when `thread` leaves run(). Made before the thread's state is
// read: QThread reports itself finished before it emits the signal, so no end goes unnoticed.
class EndWatch {
public:
    explicit EndWatch(QThread* thread)
    {
        if (!thread)
            return;
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        m_connection = QObject::connect(
            thread, &QThread::finished, thread,
            [ended = m_ended, dispatcher] {
                ended->store(true);
                if (dispatcher)
                    dispatcher->wakeUp();
            },
            Qt::DirectConnection);
    }
    ~EndWatch() { QObject::disconnect(m_connection); }
    EndWatch(const EndWatch&) = delete;
    EndWatch& operator=(const EndWatch&) = delete;

    // The thread has left run() (or was never started).
    bool ended(const QThread* thread) const
    {
        return m_ended->load() || thread->isFinished() || !thread->isRunning();
    }

private:
    std::shared_ptr<std::atomic<bool>> m_ended = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::Connection m_connection;
};

void deliver(QEventLoop::ProcessEventsFlags flags)
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(flags);
}

// Sleeps until an event is posted to this thread, a timer or notifier fires, or the watched thread ends.
void sleepForEvents(QEventLoop::ProcessEventsFlags flags)
{
    QCoreApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
}

// After run() the thread still tears down its own state; it takes no time, but anything it hands over
// meanwhile is served. The wait on the thread returns as soon as it is done.
void joinEnded(const QPointer<QThread>& guard, QEventLoop::ProcessEventsFlags flags)
{
    while (guard && !guard->wait(QDeadlineTimer(5)))
        deliver(flags);
}

} // namespace

void waitPumping(QThread* thread, QEventLoop::ProcessEventsFlags flags)
{
    const QPointer<QThread> guard(thread);
    const EndWatch watch(thread);
    for (;;) {
        deliver(flags);
        if (!guard)
            return;
        if (watch.ended(guard))
            break;
        sleepForEvents(flags);
    }
    joinEnded(guard, flags);
}

void pumpUntil(const std::function<bool()>& done, QThread* thread, QEventLoop::ProcessEventsFlags flags)
{
    const QPointer<QThread> guard(thread);
    const EndWatch watch(thread);
    bool joined = false;
    while (!done()) {
        deliver(flags);
        if (done())
            break;
        if (guard && !joined && watch.ended(guard)) {
            // Its last hand-offs are queued by now: serve them before sleeping again.
            joinEnded(guard, flags);
            joined = true;
            continue;
        }
        sleepForEvents(flags);
    }
}

} // namespace plat
