// Lists one folder in a real TLsFilelistView28 (offscreen) and reports the listing time, the longest
// gap between event-loop turns, and the heap bytes per row of the row store and of the whole window.
#include "filelist/engine/FileLister.h"
#include "filelist/FileListView.h"
#include "platform/Services.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <malloc.h>

namespace {

// Bytes in use from the heap, large blocks served by their own mappings included.
size_t heapInUse()
{
    malloc_trim(0);
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Heap growth per row of a listing made by the widget-free engine (no views attached).
double rowStoreBytesPerRow(const QString& dir, const QString& emptyDir, int* rows)
{
    filelist::FileLister lister;
    lister.setDirectory(dir);        // warms the type-name cache and the MIME data
    lister.setDirectory(emptyDir);
    const size_t before = heapInUse();
    lister.setDirectory(dir);
    const size_t after = heapInUse();
    *rows = lister.rowCount();
    return *rows > 0 ? double(after - before) / *rows : 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    plat::installDefaultServices();
    if (argc < 3) {
        std::fprintf(stderr, "usage: filelist_gui_bench DIR EMPTYDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString emptyDir = QString::fromLocal8Bit(argv[2]);

    int storeRows = 0;
    const double perRow = rowStoreBytesPerRow(dir, emptyDir, &storeRows);

    TLsFilelistView28 list;
    list.setWidth_Name(215);
    list.setWidth_Size(78);
    list.setWidth_Mod(118);
    list.setWidth_Attr(50);
    list.setFileType(ftReadOnly | ftHidden | ftSystem | ftArchive | ftNormal);
    list.resize(1000, 700);
    list.show();
    list.setDirectory(emptyDir);
    const size_t windowBefore = heapInUse();

    QElapsedTimer clock;
    qint64 lastTurn = 0, maxGap = 0, listMs = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - lastTurn);
        lastTurn = now;
    });
    QTimer::singleShot(50, [&] {
        clock.start();
        lastTurn = 0;
        turns.start();
        list.setDirectory(dir);
        listMs = clock.elapsed();
        QTimer::singleShot(300, &app, &QApplication::quit);   // let the view lay out and paint afterwards
    });
    app.exec();
    const double windowPerRow = list.rowCount() > 0 ? double(heapInUse() - windowBefore) / list.rowCount() : 0.0;

    std::printf("gui rows:            %d\n", list.rowCount());
    std::printf("gui listing:         %lld ms\n", static_cast<long long>(listMs));
    std::printf("longest loop gap:    %.1f ms\n", double(maxGap) / 1e6);
    std::printf("row store:           %.0f bytes/row (%d rows, mallinfo2)\n", perRow, storeRows);
    std::printf("window heap:         %.0f bytes/row (lister, model and views)\n", windowPerRow);
    std::printf("row struct:          %zu bytes\n", sizeof(filelist::FileRow));
    return 0;
}
