#include "platform/Pump.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>
#include <gtest/gtest.h>

// A worker hands events to the GUI thread and waits for each; the GUI thread waits for the worker from
// inside a queued call, with the first hand-off already queued when the wait starts.
TEST(WaitPumping, DeliversHandOffsQueuedBeforeTheWaitStarted)
{
    QObject receiver;
    int handled = 0;
    std::atomic<bool> go{false};
    QThread* worker = QThread::create([&] {
        while (!go)
            QThread::msleep(1);
        for (int i = 0; i < 3; ++i)
            QMetaObject::invokeMethod(&receiver, [&] { ++handled; }, Qt::BlockingQueuedConnection);
    });
    bool waited = false;
    QEventLoop outer;
    // The call is queued from another thread, as a worker's event would be.
    std::thread poster([&] {
        QMetaObject::invokeMethod(
            &receiver,
            [&] {
                worker->start();
                go = true;
                QThread::msleep(50);
                plat::waitPumping(worker);
                waited = true;
                outer.quit();
            },
            Qt::QueuedConnection);
    });
    poster.join();
    QTimer::singleShot(10000, &outer, &QEventLoop::quit);
    outer.exec();
    EXPECT_TRUE(waited);
    EXPECT_EQ(handled, 3);
    worker->wait();
    delete worker;
}
