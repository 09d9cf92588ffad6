#include "platform/Cdrom.h"
#include "support/TempTree.h"
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A block-device listing with optical drives sr0, sr1 and sr10 among other devices, and a device folder.
class LinuxCdromTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"sda", "sr10", "sr1", "sr0", "loop0"})
            tree.dir(QStringLiteral("sys/") + QLatin1String(name));
        tree.dir(QStringLiteral("dev"));
    }
    QString sys() const { return QDir::cleanPath(tree.path(QStringLiteral("sys"))); }
    QString dev() const { return QDir::cleanPath(tree.path(QStringLiteral("dev"))); }
    test::TempTree tree;
};

TEST_F(LinuxCdromTest, ListsTheOpticalDrivesInNumberOrder)
{
    plat::LinuxCdrom cdrom(sys(), dev());
    EXPECT_EQ(cdrom.drives(), (QStringList{dev() + QStringLiteral("/sr0"), dev() + QStringLiteral("/sr1"),
                                           dev() + QStringLiteral("/sr10")}));
}

TEST_F(LinuxCdromTest, NoDrivesGiveAnEmptyListAndNoDefault)
{
    plat::LinuxCdrom cdrom(tree.dir(QStringLiteral("empty")), dev());
    EXPECT_TRUE(cdrom.drives().isEmpty());
    EXPECT_EQ(cdrom.defaultDrive(), QString());
}

TEST_F(LinuxCdromTest, TheDefaultIsTheCdromNodeWhenItExistsElseTheFirstDrive)
{
    plat::LinuxCdrom cdrom(sys(), dev());
    EXPECT_EQ(cdrom.defaultDrive(), dev() + QStringLiteral("/sr0"));
    tree.file(QStringLiteral("dev/cdrom"));
    EXPECT_EQ(cdrom.defaultDrive(), dev() + QStringLiteral("/cdrom"));
}

// Door requests on something that is not a drive, or on nothing, fail quietly and change nothing.
TEST_F(LinuxCdromTest, DoorRequestsThatFailAreIgnored)
{
    const QString notADrive = tree.file(QStringLiteral("dev/sr0"), 4);
    plat::LinuxCdrom cdrom(sys(), dev());
    for (const QString& device : QStringList{notADrive, dev() + QStringLiteral("/sr1"), QString()}) {
        cdrom.openDoor(device);
        cdrom.closeDoor(device);
    }
    EXPECT_EQ(QFileInfo(notADrive).size(), 4);
}

} // namespace
