#pragma once
#include <QEventLoop>
#include <functional>
#include <memory>

class QThread;

namespace plat {

// Throttled pumping: lets pending window messages run at most once per interval; loops call tick() on every
// entry. A new gate is due, so the first tick of a run pumps at once. The events a pump runs may destroy
// the gate together with its owner: the gate's state outlives the pump.
class PumpGate {
public:
    explicit PumpGate(int intervalMs = 15, QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);
    PumpGate(const PumpGate&) = delete;
    PumpGate& operator=(const PumpGate&) = delete;

    bool due() const;     // the interval has passed since the last pump, or there was none yet
    bool tick();          // pumps when due; returns true when it pumped
    void pumpNow();       // pumps at once and starts a new interval
    void restart();       // starts a new interval without pumping (the caller has just pumped)
    void makeDue();       // the next tick pumps

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Waits for a worker to finish while the GUI thread keeps serving its blocking hand-offs. Returns when the
// thread has ended or its object has been deleted by what the events ran.
void waitPumping(QThread* thread, QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

// Serves the caller's events until `done` returns true, sleeping in between until an event is posted or
// `thread` (when given) ends. For a condition that the worker's events or its end make true, such as an
// engine's "busy" flag cleared by its completion event. The thread object may be deleted meanwhile.
void pumpUntil(const std::function<bool()>& done, QThread* thread = nullptr,
               QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

} // namespace plat
