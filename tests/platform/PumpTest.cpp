#include "platform/Pump.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>
#include <gtest/gtest.h>

namespace {

// Runs `body` inside the delivery of a call queued from another thread, as a worker's event would be, and
// returns once it has run (or after 10 s, leaving `ran` false).
bool runInsideQueuedCall(QObject& receiver, const std::function<void()>& body)
{
    bool ran = false;
    QEventLoop outer;
    std::thread poster([&] {
        QMetaObject::invokeMethod(
            &receiver,
            [&] {
                body();
                ran = true;
                outer.quit();
            },
            Qt::QueuedConnection);
    });
    poster.join();
    QTimer::singleShot(10000, &outer, &QEventLoop::quit);
    outer.exec();
    return ran;
}

// A worker that waits for `go`, then hands `count` events to `receiver` and waits until each has run.
QThread* handOffWorker(QObject& receiver, std::atomic<bool>& go, int count, std::function<void()> event)
{
    return QThread::create([&receiver, &go, count, event = std::move(event)] {
        while (!go)
            QThread::msleep(1);
        for (int i = 0; i < count; ++i)
            QMetaObject::invokeMethod(&receiver, event, Qt::BlockingQueuedConnection);
    });
}

} // namespace

// The GUI thread waits for the worker from inside a queued call, with the first hand-off already queued
// when the wait starts.
TEST(WaitPumping, DeliversHandOffsQueuedBeforeTheWaitStarted)
{
    QObject receiver;
    int handled = 0;
    std::atomic<bool> go{false};
    QThread* worker = handOffWorker(receiver, go, 3, [&] { ++handled; });
    const bool waited = runInsideQueuedCall(receiver, [&] {
        worker->start();
        go = true;
        QThread::msleep(50);
        plat::waitPumping(worker);
    });
    EXPECT_TRUE(waited);
    EXPECT_EQ(handled, 3);
    worker->wait();
    delete worker;
}

// The same wait for a condition that the worker's completion event makes true: the hand-offs queued
// before the wait are served, the worker finishes, and the wait ends when its completion has run.
TEST(PumpUntil, ServesHandOffsUntilTheCompletionEventRan)
{
    QObject receiver;
    int handled = 0;
    bool busy = true;
    std::atomic<bool> go{false};
    QThread* worker = handOffWorker(receiver, go, 3, [&] { ++handled; });
    QObject::connect(worker, &QThread::finished, &receiver, [&] { busy = false; }, Qt::QueuedConnection);
    const bool waited = runInsideQueuedCall(receiver, [&] {
        worker->start();
        go = true;
        QThread::msleep(50);
        plat::pumpUntil([&] { return !busy; }, worker);
    });
    EXPECT_TRUE(waited);
    EXPECT_EQ(handled, 3);
    EXPECT_FALSE(busy);
    EXPECT_TRUE(worker->isFinished());
    delete worker;
}

// The wait ends as soon as the condition holds, while the thread still runs.
TEST(PumpUntil, ReturnsWhenTheConditionTurnsTrueWhileTheThreadRuns)
{
    QObject receiver;
    bool done = false;
    std::atomic<bool> go{false};
    std::atomic<bool> release{false};
    QThread* worker = QThread::create([&] {
        while (!go)
            QThread::msleep(1);
        QMetaObject::invokeMethod(&receiver, [&] { done = true; }, Qt::BlockingQueuedConnection);
        while (!release)
            QThread::msleep(1);
    });
    const bool waited = runInsideQueuedCall(receiver, [&] {
        worker->start();
        go = true;
        plat::pumpUntil([&] { return done; }, worker);
    });
    EXPECT_TRUE(waited);
    EXPECT_TRUE(done);
    EXPECT_TRUE(worker->isRunning());
    release = true;
    worker->wait();
    delete worker;
}

// Without a thread the wait serves events until one of them makes the condition true.
TEST(PumpUntil, WithoutAThreadServesEventsUntilTheConditionHolds)
{
    QObject receiver;
    int step = 0;
    QMetaObject::invokeMethod(&receiver, [&] { ++step; }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(&receiver, [&] { ++step; }, Qt::QueuedConnection);
    plat::pumpUntil([&] { return step == 2; });
    EXPECT_EQ(step, 2);
    plat::pumpUntil([] { return true; });   // already true: returns without pumping
    EXPECT_EQ(step, 2);
}

// The thread object is deleted by an event delivered during the wait (as a search's completion does with
// its worker); the condition turns true only with a later event, so the wait goes on without the thread.
TEST(PumpUntil, ToleratesTheThreadObjectBeingDeletedWhileWaiting)
{
    QObject receiver;
    bool done = false;
    int handled = 0;
    std::atomic<bool> go{false};
    QThread* worker = handOffWorker(receiver, go, 1, [&] { ++handled; });
    QObject::connect(worker, &QThread::finished, &receiver, [&] {
        worker->wait();
        delete worker;
        worker = nullptr;
        QMetaObject::invokeMethod(&receiver, [&] { done = true; }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    const bool waited = runInsideQueuedCall(receiver, [&] {
        worker->start();
        go = true;
        plat::pumpUntil([&] { return done; }, worker);
    });
    EXPECT_TRUE(waited);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(worker, nullptr);
}

// A gate pumps on its first tick, then not again until its interval has passed; restart() starts a new
// interval and makeDue() makes the next tick pump.
TEST(PumpGate, PumpsOnTheFirstTickAndThenOncePerInterval)
{
    QObject receiver;
    int delivered = 0;
    const auto post = [&] { QMetaObject::invokeMethod(&receiver, [&] { ++delivered; }, Qt::QueuedConnection); };
    plat::PumpGate gate(60000);
    EXPECT_TRUE(gate.due());
    post();
    EXPECT_TRUE(gate.tick());
    EXPECT_EQ(delivered, 1);
    post();
    EXPECT_FALSE(gate.due());
    EXPECT_FALSE(gate.tick());
    EXPECT_EQ(delivered, 1);
    gate.makeDue();
    EXPECT_TRUE(gate.tick());
    EXPECT_EQ(delivered, 2);
    gate.makeDue();
    gate.restart();
    EXPECT_FALSE(gate.tick());
    plat::PumpGate always(0);
    post();
    EXPECT_TRUE(always.tick());
    EXPECT_TRUE(always.tick());
    EXPECT_EQ(delivered, 3);
}

// The events a pump runs may destroy the gate with its owner.
TEST(PumpGate, SurvivesBeingDestroyedByTheEventsItRuns)
{
    QObject receiver;
    auto* gate = new plat::PumpGate;
    QMetaObject::invokeMethod(&receiver, [&] {
        delete gate;
        gate = nullptr;
    }, Qt::QueuedConnection);
    gate->pumpNow();
    EXPECT_EQ(gate, nullptr);
}
