// Opens a folder with many sub-folders in the folder combo's floating tree (offscreen) and reports the
// loading time and the longest gap between event-loop turns while the children are read and added.
#include "filelist/FolderCombo.h"
#include "filelist/FolderPopupTree.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// One volume: the bench folder.
class BenchVolumes : public plat::IVolumes {
public:
    explicit BenchVolumes(QString root) : m_root(std::move(root)) {}
    QList<plat::Volume> list() override
    {
        plat::Volume v;
        v.root = m_root;
        v.type = plat::DriveType::Fixed;
        return {v};
    }
    qint64 availableBytes(const QString&) override { return 0; }
private:
    QString m_root;
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plat::installDefaultServices();
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;

    QTemporaryDir tmp;
    const QString root = plat::path::withoutTrailingSep(tmp.path());
    QDir dir(root);
    for (int i = 0; i < count; ++i)
        dir.mkdir(QStringLiteral("folder%1").arg(i, 6, 10, QLatin1Char('0')));
    dir.mkpath(QStringLiteral("folder000007/inner"));

    BenchVolumes volumes(root);
    plat::Services s = plat::services();
    s.volumes = &volumes;
    plat::ScopedServices scoped(s);

    TLsDirTreeCombo28 combo;
    combo.resize(300, 24);
    combo.show();
    combo.RebuildTree(true);
    combo.DropDown();
    QTreeWidgetItem* drive = combo.Tree()->computerNode()->child(0);

    // A zero-interval timer ticks on every event-loop turn; the longest gap between ticks is the longest pause.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    tick.start();
    drive->setExpanded(true);
    last = clock.nsecsElapsed();
    longest = std::max(longest, last);   // the expansion call itself
    while (combo.Tree()->loading())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    const qint64 total = clock.nsecsElapsed();
    tick.stop();

    std::printf("folder combo: %d sub-folders loaded in %.1f ms, %d nodes, longest event-loop pause %.1f ms\n", count,
                total / 1e6, drive->childCount(), longest / 1e6);
    combo.Tree()->hide();
    return drive->childCount() == count ? 0 : 1;
}
