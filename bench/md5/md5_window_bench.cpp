// md5_window_bench FILE: hashes FILE in mapped and in file-stream mode, once through the engine without a
// progress callback and once through the MD5 window (callbacks, progress bar, event pumping), best of 3
// each, and prints the window's overhead. Times are CPU times of the process, so other load on the machine
// does not blur the comparison.
#include "tools/md5/HashMD5Form.h"
#include "tools/md5/engine/MD5Hash.h"
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double bestOf3(const std::function<void()>& run)
{
    double best = 0;
    for (int i = 0; i < 3; ++i) {
        timespec a{}, b{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &a);
        run();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &b);
        const double s = double(b.tv_sec - a.tv_sec) + double(b.tv_nsec - a.tv_nsec) / 1e9;
        if (i == 0 || s < best)
            best = s;
    }
    return best;
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
        const double engine = bestOf3([&] { engineDigest = MD5File(file, mode); });
        form.ComboBox1->setCurrentIndex(mode);
        const double window = bestOf3([&] { form.HashFile(file); });
        if (form.Edit1->text() != engineDigest) {
            std::fprintf(stderr, "digest mismatch in mode %d\n", mode);
            return 1;
        }
        std::printf("window %-8s engine %.3f s, window %.3f s (CPU), callback overhead %+.2f%% (target <= 1%%)\n",
                    mode == rmMapped ? "mapped:" : "stream:", engine, window, (window / engine - 1.0) * 100.0);
    }
    return 0;
}
