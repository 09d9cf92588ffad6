#include "platform/Volumes.h"
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(LinuxVolumes, RootComesFirstAndRootsAreUnique)
{
    plat::LinuxVolumes volumes;
    const QList<plat::Volume> list = volumes.list();
    ASSERT_FALSE(list.isEmpty());
    EXPECT_EQ(list.first().root, QStringLiteral("/"));
    QStringList roots;
    for (const plat::Volume& v : list) {
        EXPECT_FALSE(roots.contains(v.root)) << v.root.toStdString();
        roots << v.root;
        EXPECT_GE(v.total, 0);
        EXPECT_GE(v.free, 0);
        if (v.type == plat::DriveType::Removable || v.type == plat::DriveType::CdRom) {
            EXPECT_EQ(v.total, 0);   // not read
        }
    }
    EXPECT_GT(volumes.availableBytes("/"), 0);
    EXPECT_EQ(volumes.availableBytes("/no/such/place/at/all"), 0);
}

} // namespace

namespace {

// The mount points an item can be trashed to: every drive-list root and also the memory file systems, loop
// devices and bind mounts the drive list leaves out; kernel interfaces are not among them.
TEST(LinuxVolumes, MountPointsIncludeWhatTheDriveListLeavesOut)
{
    plat::LinuxVolumes volumes;
    const QStringList points = volumes.mountPoints();
    ASSERT_FALSE(points.isEmpty());
    EXPECT_EQ(points.first(), QStringLiteral("/"));
    EXPECT_EQ(points.size(), QSet<QString>(points.begin(), points.end()).size());
    for (const plat::Volume& v : volumes.list())
        EXPECT_TRUE(points.contains(v.root)) << v.root.toStdString();

    QFile info(QStringLiteral("/proc/self/mountinfo"));
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    for (const QByteArray& row : info.readAll().split('\n')) {
        const QList<QByteArray> f = row.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (dash < 5 || f[4].contains('\\'))
            continue;   // (a mount point with escaped characters is left to the parser's own tests)
        const QString point = QString::fromUtf8(f[4]);
        const QByteArray type = f[dash + 1];
        const bool kernel = QByteArrayList{"proc", "sysfs", "cgroup", "cgroup2", "devpts", "mqueue"}.contains(type);
        if (!kernel && (type == "tmpfs" || f[3] != "/" || f[dash + 2].startsWith("/dev/loop"))) {
            EXPECT_TRUE(points.contains(point)) << point.toStdString();
        }
        if (type == "proc" && point == QLatin1String("/proc"))
            EXPECT_FALSE(points.contains(point)) << point.toStdString();
    }
}

} // namespace
