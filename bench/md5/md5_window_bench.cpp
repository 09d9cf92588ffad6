// md5_window_bench FILE: hashes FILE in mapped and in file-stream mode, through the engine without a
// progress callback and through the MD5 window (callbacks, progress bar, event pumping), best of 3 rounds
// that alternate the two, and prints the window's overhead. Times are CPU times of the process, so other
// load on the machine blurs the comparison less.
#include "tools/md5/Md5Window.h"
#include "tools/md5/engine/MD5Hash.h"
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <cstdio>
#include <ctime>
#include <algorithm>

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: md5_window_bench FILE\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    THashMD5Form form;
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.show();
    for (int mode : {rmMapped, rmFileStream}) {
        QString engineDigest;
        form.ComboBox1->setCurrentIndex(mode);
        // Rounds alternate engine and window, so changing load hits both alike; best of each.
        double engine = 0, window = 0;
        for (int round = 0; round < 3; ++round) {
            double t0 = cpuSeconds();
            engineDigest = MD5File(file, mode);
            const double e = cpuSeconds() - t0;
            t0 = cpuSeconds();
            form.HashFile(file);
            const double w = cpuSeconds() - t0;
            engine = round == 0 ? e : std::min(engine, e);
            window = round == 0 ? w : std::min(window, w);
        }
        if (form.Edit1->text() != engineDigest) {
            std::fprintf(stderr, "digest mismatch in mode %d\n", mode);
            return 1;
        }
        std::printf("window %-8s engine %.3f s, window %.3f s (CPU), callback overhead %+.2f%% (target <= 1%%)\n",
                    mode == rmMapped ? "mapped:" : "stream:", engine, window, (window / engine - 1.0) * 100.0);
    }
    return 0;
}
