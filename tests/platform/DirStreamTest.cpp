#include "platform/posix/DirStream.h"
#include "platform/posix/Faults.h"
#include "platform/posix/PathCodec.h"
#include "support/TempTree.h"
#include <QSet>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

namespace posix = plat::posix;

// Enough long names to need several batches.
TEST(DirStream, ReadsEveryRecordAcrossBatchesWithItsType)
{
    test::TempTree t;
    QSet<QString> expected{".", ".."};
    for (int i = 0; i < 1500; ++i) {
        const QString name = QString::number(i) + QString(100, u'n');
        t.file(name);
        expected.insert(name);
    }
    t.dir("sub");
    expected.insert("sub");
    posix::DirStream s;
    ASSERT_TRUE(s.open(t.root()));
    QSet<QString> seen;
    posix::DirStream::Entry e;
    while (s.next(e)) {
        EXPECT_EQ(e.length, strlen(e.name));
        if (QLatin1String(e.name) == QLatin1String("sub")) {
            EXPECT_TRUE(e.type == DT_DIR || e.type == DT_UNKNOWN);
        }
        seen.insert(QString::fromUtf8(e.name));
    }
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(seen, expected);
}

TEST(DirStream, UnreadableFolderAndStopRequest)
{
    test::TempTree t;
    t.file("locked/a");
    t.file("b");
    posix::DirStream s;
    {
        const posix::faults::Scoped denied(posix::faults::Op::Open, t.path("locked"), EACCES);
        EXPECT_FALSE(s.open(t.path("locked/")));
        EXPECT_EQ(errno, EACCES);
    }
    ASSERT_TRUE(s.open(t.path("locked/")));
    posix::DirStream::Entry e;
    EXPECT_FALSE(s.next(e, [] { return true; }));   // stopped before the first batch

    ASSERT_TRUE(s.openAt(AT_FDCWD, posix::encodePath(t.root()).constData()));
    int records = 0;
    while (s.next(e, [] { return false; }))
        ++records;
    EXPECT_EQ(records, 4);   // ".", "..", "b", "locked"
    EXPECT_TRUE(posix::isDotOrDotDot("."));
    EXPECT_TRUE(posix::isDotOrDotDot(".."));
    EXPECT_FALSE(posix::isDotOrDotDot("..."));
    EXPECT_FALSE(posix::isDotOrDotDot(".a"));
}

} // namespace
