#include "platform/Pump.h"
#include <QCoreApplication>
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
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    if (thread->isFinished() || !thread->isRunning())
        return;
    loop.exec();
}

} // namespace plat
