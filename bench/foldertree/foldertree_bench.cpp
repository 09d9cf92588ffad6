// Folder tree figures: expanding a folder with many sub-folders in the real tree, and the longest stall
// of the event loop while change monitors refresh that folder after outside changes.
#include "foldertree/ShellTree.h"
#include "platform/Services.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {

// Pumps events until `done` holds (or 10 s pass) while a 1 ms timer records the longest gap between
// its ticks: the time the event loop was blocked.
template <typename Pred>
qint64 longestStall(Pred done, qint64* elapsedMs)
{
    QElapsedTimer clock, total;
    qint64 worst = 0;
    QTimer beat;
    beat.setInterval(1);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        worst = qMax(worst, clock.restart());
    });
    clock.start();
    total.start();
    beat.start();
    while (!done() && total.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    beat.stop();
    worst = qMax(worst, clock.elapsed());
    *elapsedMs = total.elapsed();
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    plat::installDefaultServices();
    if (argc < 2) {
        std::fprintf(stderr, "usage: foldertree_bench PARENT (holding the folder \"big\")\n");
        return 2;
    }
    const QString parent = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString big = parent + QStringLiteral("/big");
    TShellTree tree;
    tree.resize(300, 600);
    tree.setRootUsePIDL(false);
    tree.setRootDir(parent);
    tree.show();
    QCoreApplication::processEvents();
    TShellnode* node = tree.nodeForPath(big);
    if (!node) {
        std::fprintf(stderr, "no node for %s\n", qPrintable(big));
        return 1;
    }
    qint64 best = -1;
    for (int run = 0; run < 3; ++run) {
        node->setExpanded(false);
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        node->setExpanded(true);   // re-read on every expansion (UpdAuto)
        tree.scrollToItem(node->child(0));
        tree.repaint();
        const qint64 ms = t.elapsed();
        best = best < 0 ? ms : qMin(best, ms);
    }
    std::printf("expand %d sub-folders:     %lld ms (target < 1000, ratio %.2f)\n", node->childCount(), best, best / 1000.0);

    // The same loop with nothing to do: what the machine itself costs (other processes, scheduling).
    QElapsedTimer idle;
    idle.start();
    qint64 ignored = 0;
    const qint64 baseline = longestStall([&] { return idle.elapsed() >= 2000; }, &ignored);
    qint64 worst = 0, slowest = 0;
    for (int run = 0; run < 5; ++run) {
        const QString name = QStringLiteral("new-%1").arg(run);
        const int before = node->childCount();
        QDir(big).mkdir(name);
        qint64 took = 0;
        worst = qMax(worst, longestStall([&] { return node->childCount() == before + 1; }, &took));
        slowest = qMax(slowest, took);
        QDir(big).rmdir(name);
        worst = qMax(worst, longestStall([&] { return node->childCount() == before; }, &took));
        slowest = qMax(slowest, took);
    }
    std::printf("monitor refresh (%d nodes): longest event-loop stall %lld ms (target <= 50, ratio %.2f), change shown within %lld ms\n",
                node->childCount(), worst, worst / 50.0, slowest);
    std::printf("idle event loop, same measure: longest stall %lld ms (machine baseline)\n", baseline);
    return 0;
}
