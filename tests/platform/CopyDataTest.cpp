// The POSIX layer's data copy, file identity, directory reading and link reading.
#include "platform/posix/DataCopy.h"
#include "platform/posix/DirReader.h"
#include "platform/posix/Faults.h"
#include "platform/posix/FileId.h"
#include "platform/posix/FileOps.h"
#include "support/TempTree.h"
#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat::posix;

namespace {

QByteArray readAll(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

const QByteArray kSource = "0123456789abcdefghij";   // 20 bytes
const QByteArray kOldTarget = "..........";           // 10 bytes

struct SpanCase {
    const char* name;
    CopySpan span;
    qint64 copied;
    QByteArray target;   // the whole target afterwards
};

class CopyRangeSpans : public testing::TestWithParam<SpanCase> {};

TEST_P(CopyRangeSpans, CopyTheSpanBetweenTheirOwnOffsets)
{
    const SpanCase& c = GetParam();
    test::TempTree t;
    Fd in = openPath(t.file("in", kSource), O_RDONLY);
    Fd out = openPath(t.file("out", kOldTarget), O_RDWR);
    ASSERT_TRUE(in.valid() && out.valid());
    std::vector<qint64> offsets;
    const CopyOutcome r = copyRange(in.get(), out.get(), c.span, [&](qint64, qint64 offset) {
        offsets.push_back(offset);
        return 0;
    });
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.copied, c.copied);
    EXPECT_EQ(readAll(t.path("out")), c.target);
    if (c.copied > 0) {
        ASSERT_FALSE(offsets.empty());
        EXPECT_EQ(offsets.back(), c.span.inOffset + c.copied);   // the input offset reached
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layer, CopyRangeSpans,
    testing::Values(SpanCase{"WholeFileOverTheStart", {0, 0, -1, false}, 20, kSource},
                    SpanCase{"OffsetsDiffer", {3, 6, 4, false}, 4, "......3456"},
                    SpanCase{"PastTheTargetsEnd", {15, 12, -1, false}, 5, kOldTarget + QByteArray(2, '\0') + "fghij"},
                    SpanCase{"InputEndsEarly", {18, 0, 100, false}, 2, "ij........"},
                    SpanCase{"EmptySpan", {5, 5, 0, false}, 0, kOldTarget},
                    SpanCase{"NewRegionEndsTheTarget", {2, 4, 3, true}, 3, "....234"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopyData, SparseSourceStaysSparse)
{
    test::TempTree t;
    const QString src = t.file("sparse", QByteArray("head"));
    const qint64 size = qint64(256) << 20;
    ASSERT_EQ(::truncate(encodePath(src).constData(), size), 0);
    Fd in = openPath(src, O_RDONLY);
    Fd out = openPath(t.path("copy"), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_TRUE(in.valid() && out.valid());
    qint64 reported = 0;
    EXPECT_EQ(copyData(in.get(), out.get(), size, [&](qint64 n, qint64) {
                  reported += n;
                  return 0;
              }),
              0);
    struct stat st;
    ASSERT_EQ(statPath(t.path("copy"), st), 0);
    EXPECT_EQ(st.st_size, size);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(16) << 20);
    EXPECT_LT(reported, qint64(16) << 20);   // only the data was copied, not the hole
    QFile f(t.path("copy"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(4), QByteArray("head"));
}

TEST(CopyData, AnInjectedWriteFailureIsTheTargetsAndWritesNothing)
{
    test::TempTree t;
    Fd in = openPath(t.file("in", kSource), O_RDONLY);
    const QString target = t.file("out", kOldTarget);
    Fd out = openPath(target, O_RDWR);
    faults::Scoped fault(faults::Op::Write, QDir(target).canonicalPath(), ENOSPC);
    const CopyOutcome r = copyRange(in.get(), out.get(), CopySpan{});
    EXPECT_EQ(r.error, ENOSPC);
    EXPECT_TRUE(r.writeSide);
    EXPECT_EQ(r.copied, 0);
    EXPECT_EQ(readAll(target), kOldTarget);
    EXPECT_EQ(writeAll(out.get(), "x"), ENOSPC);
}

TEST(CopyData, AnUnreadableSourceIsTheReadSide)
{
    test::TempTree t;
    Fd in = openPath(t.file("in", kSource), O_WRONLY);   // cannot be read from
    Fd out = openPath(t.file("out", kOldTarget), O_RDWR);
    const CopyOutcome r = copyRange(in.get(), out.get(), CopySpan{});
    EXPECT_EQ(r.error, EBADF);
    EXPECT_FALSE(r.writeSide);
    EXPECT_EQ(readAll(t.path("out")), kOldTarget);
}

TEST(CopyData, TheHookEndsTheCopyWithItsError)
{
    test::TempTree t;
    Fd in = openPath(t.file("in", 5 << 20, 'a'), O_RDONLY);
    Fd out = openPath(t.path("out"), O_WRONLY | O_CREAT, 0600);
    int calls = 0;
    const CopyOutcome r = copyRange(in.get(), out.get(), CopySpan{}, [&](qint64, qint64) {
        ++calls;
        return ECANCELED;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(r.error, ECANCELED);
    EXPECT_FALSE(r.writeSide);
    EXPECT_GT(r.copied, 0);
}

// --- identity ---

struct SameFileCase {
    const char* name;
    const char* a;
    const char* b;
    bool same;
};

class SameFile : public testing::TestWithParam<SameFileCase> {};

TEST_P(SameFile, ComparesDeviceAndInode)
{
    const SameFileCase& c = GetParam();
    test::TempTree t;
    t.file("dir/f", QByteArray("f"));
    t.file("other", QByteArray("f"));
    ASSERT_EQ(::link(encodePath(t.path("dir/f")).constData(), encodePath(t.path("hard")).constData()), 0);
    t.link("soft", t.path("dir/f"));
    t.link("dangling", t.path("gone"));
    const QString a = *c.a ? t.path(c.a) : QString();
    const QString b = *c.b ? t.path(c.b) : QString();
    EXPECT_EQ(sameFile(a, b), c.same);
    EXPECT_EQ(sameFile(b, a), c.same);
}

INSTANTIATE_TEST_SUITE_P(Layer, SameFile,
                         testing::Values(SameFileCase{"OnePath", "dir/f", "dir/f", true},
                                         SameFileCase{"TwoSpellings", "dir/f", "dir/../dir/./f", true},
                                         SameFileCase{"HardLink", "dir/f", "hard", true},
                                         SameFileCase{"SymbolicLink", "dir/f", "soft", true},
                                         SameFileCase{"EqualContentOtherFile", "dir/f", "other", false},
                                         SameFileCase{"Missing", "gone", "gone", false},
                                         SameFileCase{"DanglingLink", "dangling", "gone", false},
                                         SameFileCase{"EmptyPath", "", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileId, OfADescriptorAndOfItsPathAgree)
{
    test::TempTree t;
    const QString f = t.file("f", QByteArray("x"));
    Fd fd = openPath(f, O_RDONLY);
    ASSERT_TRUE(fileId(fd.get()).has_value());
    EXPECT_EQ(fileId(fd.get()), fileId(f));
    EXPECT_NE(fileId(f), fileId(t.file("g", QByteArray("x"))));
    EXPECT_FALSE(fileId(-1).has_value());
}

// --- folders and links ---

TEST(DirReader, ListsEveryEntryButDotAndDotDot)
{
    test::TempTree t;
    t.file("d/a", QByteArray("a"));
    t.dir("d/sub");
    t.link("d/l", "a");
    Fd dir = openPath(t.path("d"), O_RDONLY | O_DIRECTORY);
    ASSERT_TRUE(dir.valid());
    QStringList seen;
    {
        DirReader reader(dir.get());
        ASSERT_EQ(reader.error(), 0);
        DirReader::Entry e;
        while (reader.next(e))
            seen << QString::fromUtf8(e.name) + (e.isDir ? "/" : "");
    }
    seen.sort();
    // Not every file system marks folders in its listing; where it does, only the folder is marked.
    EXPECT_TRUE(seen == QStringList({"a", "l", "sub/"}) || seen == QStringList({"a", "l", "sub"})) << seen.join(',').toStdString();
    QList<QByteArray> names;
    EXPECT_EQ(listNames(dir.get(), names), 0);   // the caller's descriptor is still usable
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QList<QByteArray>{"a", "l", "sub"}));
    EXPECT_EQ(DirReader(-1).error(), EBADF);
}

TEST(ReadLink, ReadsTargetsOfAnyLength)
{
    test::TempTree t;
    const QString longTarget = QString(1000, u'x');
    t.link("short", "a");
    t.link("long", longTarget);
    Fd dir = openPath(t.root(), O_RDONLY | O_DIRECTORY);
    QByteArray target;
    EXPECT_EQ(readLinkAt(dir.get(), "short", target), 0);
    EXPECT_EQ(target, QByteArray("a"));
    EXPECT_EQ(readLinkAt(dir.get(), "long", target, 10), 0);   // a hint shorter than the target
    EXPECT_EQ(target, longTarget.toUtf8());
    EXPECT_EQ(readLinkAt(dir.get(), "missing", target), ENOENT);
}

} // namespace
