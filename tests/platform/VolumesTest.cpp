#include "platform/Volumes.h"
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
