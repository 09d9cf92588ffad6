// Times the hex grid on one file: open and paint the first page, Ctrl+End and paint, 1,000 Page Downs
// (each painted), overwrite a byte at 2 GiB and remove a byte at 1 GiB (each painted); prints the resident
// memory after each step. Usage: hexview_bench FILE (run offscreen).
#include "tools/hexview/HexEditor.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <cstdio>

namespace {

constexpr qint64 GiB = qint64(1) << 30;

double residentMiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024 * 1024) : -1;
}

void key(THexEditor& grid, int k, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
{
    QKeyEvent e(QEvent::KeyPress, k, mods, text);
    QApplication::sendEvent(&grid, &e);
}

// Paints the visible rows now (grab renders the viewport through its paint event even offscreen).
void paint(THexEditor& grid)
{
    grid.viewport()->grab();
    if (grid.paintedRows() == 0)
        std::fprintf(stderr, "nothing was painted\n");
}

void report(const char* step, double ms, const char* target)
{
    std::printf("%-34s %9.2f ms  rss %6.1f MiB  (%s)\n", step, ms, residentMiB(), target);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: hexview_bench FILE\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    THexEditor grid;
    QFont courier(QStringLiteral("Courier"));
    courier.setPixelSize(16);
    grid.setFont(courier);
    grid.resize(716, 507);
    grid.show();
    grid.setFocus();
    std::printf("rss before opening: %.1f MiB\n", residentMiB());

    QElapsedTimer t;
    t.start();
    if (!grid.LoadFromFile(file)) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    paint(grid);
    report("open + first page", t.nsecsElapsed() / 1e6, "< 200 ms");

    t.restart();
    key(grid, Qt::Key_End, Qt::ControlModifier);
    paint(grid);
    report("Ctrl+End + paint", t.nsecsElapsed() / 1e6, "< 20 ms");

    key(grid, Qt::Key_Home, Qt::ControlModifier);
    double worst = 0;
    t.restart();
    QElapsedTimer one;
    for (int i = 0; i < 1000; ++i) {
        one.start();
        key(grid, Qt::Key_PageDown);
        paint(grid);
        worst = std::max(worst, one.nsecsElapsed() / 1e6);
    }
    report("1,000 Page Downs (total)", t.nsecsElapsed() / 1e6, "each < 20 ms");
    std::printf("%-34s %9.2f ms\n", "  slowest Page Down", worst);

    const qint64 size = grid.DataSize();
    t.restart();
    grid.moveCaret(std::min(2 * GiB, size - 1), false);
    key(grid, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    paint(grid);
    report("overwrite at 2 GiB + paint", t.nsecsElapsed() / 1e6, "< 20 ms");

    t.restart();
    grid.moveCaret(std::min(GiB, size - 1), false);
    key(grid, Qt::Key_Delete, Qt::ControlModifier);
    paint(grid);
    report("remove at 1 GiB + paint", t.nsecsElapsed() / 1e6, "< 20 ms");
    std::printf("size after removal: %lld, changed bytes: %lld\n", static_cast<long long>(grid.DataSize()),
                static_cast<long long>(grid.source().changes().count()));
    return 0;
}
