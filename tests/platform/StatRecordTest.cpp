#include "platform/FileSystem.h"
#include "platform/posix/Fd.h"
#include "platform/posix/PathCodec.h"
#include "platform/posix/StatRecord.h"
#include "platform/Times.h"
#include "support/TempTree.h"
#include <QDateTime>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

// Times a qint64 of nanoseconds cannot hold (before 1677, after 2262) are read and shown as they are.
TEST(StatRecord, TimesFarFromTheEpochStayWhatTheyAre)
{
    struct Row {
        qint64 sec;
        qint32 nsec;
        const char* local;   // in the tests' zone, UTC+8
    };
    const Row rows[] = {
        {13569465600, 5, "2400-01-01 08:00:00"},     // 2400-01-01T00:00:00Z
        {9223372037, 0, "2262-04-12 07:47:17"},      // just past the nanosecond range
        {-2147483648, 0, "1901-12-14 04:45:52"},   // the earliest time ext4 holds
        {1700000000, 123456789, "2023-11-15 06:13:20"},
    };
    test::TempTree t;
    t.file("f", 1);
    for (const Row& row : rows) {
        const struct timespec times[2] = {{time_t(row.sec), long(row.nsec)}, {time_t(row.sec), long(row.nsec)}};
        ASSERT_EQ(::utimensat(AT_FDCWD, plat::posix::encodePath(t.path("f")).constData(), times, 0), 0);
        StatRecord st;
        ASSERT_TRUE(plat::posix::statPath(t.path("f"), st));
        EXPECT_EQ(st.writeNs.sec, row.sec) << row.local;
        EXPECT_EQ(st.writeNs.nsec, row.nsec) << row.local;
        EXPECT_EQ(st.accessNs, st.writeNs) << row.local;
        EXPECT_EQ(plat::localTimeText(st.writeNs), QString::fromLatin1(row.local));
        const auto back = plat::parseLocalTime(QString::fromLatin1(row.local));
        ASSERT_TRUE(back) << row.local;
        EXPECT_EQ(back->sec, row.sec) << row.local;
    }
    EXPECT_EQ(plat::localTimeText(plat::posix::FileTime(-11676096000, 5)), QStringLiteral("1600-01-01 08:00:00"));
    EXPECT_EQ(plat::parseLocalTime(u"1600-01-01 08:00:00")->sec, -11676096000);
    EXPECT_LT(plat::posix::FileTime(-1), plat::posix::FileTime(0));
    EXPECT_EQ(plat::posix::FileTime(-1).sec, -1);
    EXPECT_EQ(plat::posix::FileTime(-1).nsec, 999999999);
    EXPECT_LT(plat::posix::FileTime(9223372036854775807LL), plat::posix::FileTime(9223372037, 0));
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
