#pragma once
#include <QElapsedTimer>

class QThread;

namespace plat {

// Lets pending window messages run at most every 15 ms; loops call tick() on every entry.
class PumpGate {
public:
    PumpGate() { m_timer.start(); }
    bool tick();          // pumps when the interval has passed; returns true when it pumped
    void pumpNow();
private:
    QElapsedTimer m_timer;
};

// Waits for a worker to finish while the GUI thread keeps serving its blocking hand-offs.
void waitPumping(QThread* thread);

} // namespace plat
