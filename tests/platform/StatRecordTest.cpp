#include "platform/FileSystem.h"
#include "platform/posix/Fd.h"
#include "platform/posix/StatRecord.h"
#include "support/TempTree.h"
#include <QDateTime>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

using plat::posix::StatRecord;
using Kind = StatRecord::Kind;

struct StatCase {
    const char* name;
    Kind kind;
    bool isLink;
    qint64 size;
    bool folder;        // after following links
    bool realFolder;    // the entry itself
};

// A file of 5 bytes, a folder, a link to each, a dangling link and a FIFO.
class StatRecordTest : public ::testing::TestWithParam<StatCase> {
protected:
    void SetUp() override
    {
        t.file("five", 5);
        t.dir("folder");
        t.link("fileLink", t.path("five"));
        t.link("folderLink", t.path("folder"));
        t.link("dangling", t.path("nowhere"));
        t.fifo("pipe");
        t.setTimes("five", QDateTime::fromString("2021-03-04T05:06:07Z", Qt::ISODate),
                   QDateTime::fromString("2020-01-02T03:04:05Z", Qt::ISODate));
    }
    test::TempTree t;
};

TEST_P(StatRecordTest, KindSizeAndLinkFromOneCallWhateverTheRecordType)
{
    const StatCase& c = GetParam();
    const plat::posix::Fd dir = plat::posix::openPath(t.root(), O_RDONLY | O_DIRECTORY);
    ASSERT_TRUE(dir.valid());
    // The directory record's type when the file system gives one, and none at all.
    const unsigned char recordType = c.isLink ? DT_LNK : c.kind == Kind::Folder ? DT_DIR : c.kind == Kind::File ? DT_REG : DT_FIFO;
    for (unsigned char dtype : {recordType, (unsigned char)DT_UNKNOWN}) {
        StatRecord st;
        ASSERT_TRUE(plat::posix::statAt(dir.get(), c.name, dtype, st)) << c.name;
        EXPECT_EQ(st.kind(), c.kind) << c.name;
        EXPECT_EQ(st.isLink, c.isLink) << c.name;
        if (c.size >= 0) {
            EXPECT_EQ(st.size, c.size) << c.name;
        }
        EXPECT_EQ(plat::posix::isFolderAt(dir.get(), c.name, dtype), c.folder) << c.name;
        EXPECT_EQ(plat::posix::isRealFolderAt(dir.get(), c.name, dtype), c.realFolder) << c.name;
    }
    StatRecord byPath;
    ASSERT_TRUE(plat::posix::statPath(t.path(c.name), byPath));
    EXPECT_EQ(byPath.kind(), c.kind);
}

INSTANTIATE_TEST_SUITE_P(Posix, StatRecordTest,
                         ::testing::Values(StatCase{"five", Kind::File, false, 5, false, false},
                                           StatCase{"folder", Kind::Folder, false, -1, true, true},
                                           StatCase{"fileLink", Kind::File, true, 5, false, false},
                                           StatCase{"folderLink", Kind::Folder, true, -1, true, false},
                                           StatCase{"dangling", Kind::Link, true, -1, false, false},
                                           StatCase{"pipe", Kind::Other, false, 0, false, false}),
                         [](const ::testing::TestParamInfo<StatCase>& i) { return std::string(i.param.name); });

TEST(StatRecord, TimesIdentityAndMissingEntries)
{
    test::TempTree t;
    t.file("five", 5);
    const QDateTime access = QDateTime::fromString("2021-03-04T05:06:07Z", Qt::ISODate);
    const QDateTime write = QDateTime::fromString("2020-01-02T03:04:05Z", Qt::ISODate);
    t.setTimes("five", access, write);
    StatRecord st;
    ASSERT_TRUE(plat::posix::statPath(t.path("five"), st));
    EXPECT_EQ(st.writeNs, write.toMSecsSinceEpoch() * 1000000);
    EXPECT_EQ(st.accessNs, access.toMSecsSinceEpoch() * 1000000);
    EXPECT_NE(st.creationNs, 0);

    const plat::posix::Fd f = plat::posix::openPath(t.path("five"), O_RDONLY);
    StatRecord open;
    ASSERT_TRUE(plat::posix::statFd(f.get(), open));
    EXPECT_EQ(open.dev, st.dev);
    EXPECT_EQ(open.ino, st.ino);
    EXPECT_NE(st.ino, 0u);

    EXPECT_FALSE(plat::posix::statPath(t.path("missing"), st));
}

TEST(StatRecord, FindDataOfAFolderHasNoSize)
{
    StatRecord st;
    st.mode = S_IFDIR | 0755;
    st.size = 4096;
    st.writeNs = 7;
    plat::FindData fd;
    fd.name = QStringLiteral("d");
    plat::fillFindData(fd, st, true);
    EXPECT_TRUE(fd.isDir());
    EXPECT_EQ(fd.size, 0);
    EXPECT_EQ(fd.writeNs, 7);
    EXPECT_TRUE(fd.attributes & plat::kAttrHidden);
}

} // namespace
