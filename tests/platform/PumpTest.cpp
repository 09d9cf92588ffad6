#include "platform/Pump.h"
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSemaphore>
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

// A worker that takes each of its steps only while the waiting thread sleeps in its event dispatcher: it posts
// `posts` events one by one, then ends. The waiter must wake for each post and for the end by itself: nothing
// else happens meanwhile.
struct SteppingWorker {
    static constexpr int kFailsafeMs = 10000;   // a step not released by a sleep counts as a failure

    SteppingWorker(QObject& receiver, int posts) : receiver(receiver), posts(posts)
    {
        auto* dispatcher = QAbstractEventDispatcher::instance();
        sleeping = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &receiver,
                                    [this] {
                                        if (!counting)
                                            return;
                                        ++sleeps;
                                        asleep.release();
                                    },
                                    Qt::DirectConnection);
        thread = QThread::create([this] {
            for (int i = 0; i <= this->posts; ++i) {
                if (!asleep.tryAcquire(1, kFailsafeMs))
                    ++unreleased;
                if (i < this->posts)
                    QMetaObject::invokeMethod(&this->receiver, [this] { ++handled; }, Qt::QueuedConnection);
            }
        });
    }
    ~SteppingWorker()
    {
        QObject::disconnect(sleeping);
        thread->wait();
        delete thread;
    }

    QObject& receiver;
    const int posts;
    QThread* thread = nullptr;
    QSemaphore asleep;
    QMetaObject::Connection sleeping;
    bool counting = false;   // only the sleeps of the wait under test count
    int sleeps = 0;
    int handled = 0;
    std::atomic<int> unreleased{0};
};

enum class WaitKind { WaitPumping, PumpUntilThreadEnds, PumpUntilLastEvent };

struct SleepCase {
    WaitKind kind;
    bool insideQueuedCall;   // the nested-loop situation of a worker's own event
};

class PumpSleepTest : public ::testing::TestWithParam<SleepCase> {};

// The waits sleep until something is posted or the thread ends, and wake for exactly that: every step of
// the worker is taken while the waiter sleeps, and the waiter slept once per step, no more (no time slices).
TEST_P(PumpSleepTest, SleepsUntilAnEventIsPostedOrTheThreadEnds)
{
    const SleepCase c = GetParam();
    constexpr int kPosts = 3;
    QObject receiver;
    SteppingWorker w(receiver, kPosts);
    const auto wait = [&] {
        w.counting = true;
        w.thread->start();
        switch (c.kind) {
        case WaitKind::WaitPumping:
            plat::waitPumping(w.thread);
            break;
        case WaitKind::PumpUntilThreadEnds:
            plat::pumpUntil([&] { return w.thread->isFinished(); }, w.thread);
            break;
        case WaitKind::PumpUntilLastEvent:
            plat::pumpUntil([&] { return w.handled == kPosts; }, w.thread);
            break;
        }
        w.counting = false;
    };
    if (c.insideQueuedCall)
        ASSERT_TRUE(runInsideQueuedCall(receiver, wait));
    else
        wait();
    const int steps = c.kind == WaitKind::PumpUntilLastEvent ? kPosts : kPosts + 1;
    EXPECT_EQ(w.handled, kPosts);
    EXPECT_EQ(w.sleeps, steps);
    if (c.kind == WaitKind::PumpUntilLastEvent) {
        w.asleep.release();   // lets the worker take its last step without a sleep
        w.thread->wait();
        EXPECT_EQ(w.unreleased.load(), 0);
    } else {
        EXPECT_EQ(w.unreleased.load(), 0);
        EXPECT_TRUE(w.thread->isFinished());
    }
}

INSTANTIATE_TEST_SUITE_P(Waits, PumpSleepTest,
                         ::testing::Values(SleepCase{WaitKind::WaitPumping, false},
                                           SleepCase{WaitKind::WaitPumping, true},
                                           SleepCase{WaitKind::PumpUntilThreadEnds, false},
                                           SleepCase{WaitKind::PumpUntilThreadEnds, true},
                                           SleepCase{WaitKind::PumpUntilLastEvent, false},
                                           SleepCase{WaitKind::PumpUntilLastEvent, true}),
                         [](const auto& i) {
                             const WaitKind k = i.param.kind;
                             return std::string(k == WaitKind::WaitPumping           ? "WaitPumping"
                                                : k == WaitKind::PumpUntilThreadEnds ? "PumpUntilThreadEnds"
                                                                                     : "PumpUntilLastEvent") +
                                    (i.param.insideQueuedCall ? "_InsideAQueuedCall" : "_AtTopLevel");
                         });

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
