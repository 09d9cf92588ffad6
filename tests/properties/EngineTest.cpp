// The properties engine on real files: size texts, the packed form, applying the window's settings
// (only what changed is written, every other stamp stays to the nanosecond) and the date rewrite.
#include "PropertiesTestSupport.h"
#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Times.h"
#include "platform/posix/Faults.h"
#include "properties/engine/AttributeApply.h"
#include "properties/engine/DateRewrite.h"
#include "properties/engine/ItemInfo.h"
#include "properties/engine/PackedTime.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QDir>
#include <QFile>
#include <cerrno>
#include <unistd.h>

using namespace proptest;
using properties::AttributeSettings;

namespace {

// --- Size texts ---

struct SizeCase {
    const char* name;
    qint64 bytes;
    const char* text;
};

class SizeText : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeText, KilobytesUpToOneMegabyteThenMegabytes)
{
    EXPECT_EQ(properties::sizeText(GetParam().bytes), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, SizeText, ::testing::Values(
    SizeCase{"empty", 0, "0.00KB ( 字节)"},
    SizeCase{"one and a half KB", 1536, "1.50KB (1,536 字节)"},
    SizeCase{"exactly one MB", 1048576, "1,024.00KB (1,048,576 字节)"},
    SizeCase{"one byte over one MB", 1048577, "1.00MB (1,048,577 字节)"},
    SizeCase{"three MB", 3145728, "3.00MB (3,145,728 字节)"},
    SizeCase{"two GiB", 2147483648LL, "2,048.00MB (2,147,483,648 字节)"},
    SizeCase{"one byte over four GiB", 4294967297LL, "4,096.00MB (4,294,967,297 字节)"},
    SizeCase{"five GiB", 5368709120LL, "5,120.00MB (5,368,709,120 字节)"}),
    [](const auto& i) { return test::caseName(i.param.name); });

TEST(ItemInfo, ReadsASparseFileOverFourGiB)
{
    test::TempTree t;
    const QString p = t.file(QStringLiteral("big.bin"));
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(5368709120LL));   // sparse: no data blocks
    }
    const auto item = properties::readItem(p);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->size, 5368709120LL);
    EXPECT_EQ(properties::sizeText(item->size), QStringLiteral("5,120.00MB (5,368,709,120 字节)"));
}

TEST(ItemInfo, NameTypeAttributesAndTimes)
{
    test::TempTree t;
    const QString p = t.file(QStringLiteral("note.txt"), 1536);
    setStamps(p, kOddAccess, kOddWrite);
    t.dir(QStringLiteral("sub"));
    const auto item = properties::readItem(p);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->name, QStringLiteral("note.txt"));
    EXPECT_EQ(item->path, t.path(QStringLiteral("note.txt")));
    EXPECT_EQ(item->size, 1536);
    EXPECT_TRUE(item->shortName.isEmpty());
    EXPECT_EQ(item->attributes & (plat::kAttrArchive | plat::kAttrReadOnly), quint32(plat::kAttrArchive));
    EXPECT_EQ(item->write, plat::posix::FileTime(kOddWrite.tv_sec, qint32(kOddWrite.tv_nsec)));
    EXPECT_EQ(item->access, plat::posix::FileTime(kOddAccess.tv_sec, qint32(kOddAccess.tv_nsec)));
    EXPECT_FALSE(item->typeName.isEmpty());
    const auto folder = properties::readItem(t.path(QStringLiteral("sub/")));
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->isDir());
    EXPECT_EQ(folder->name, QStringLiteral("sub"));
    EXPECT_EQ(folder->typeName, QStringLiteral("文件夹"));
    int error = 0;
    EXPECT_FALSE(properties::readItem(t.path(QStringLiteral("gone")), &error));
    EXPECT_EQ(error, ENOENT);
}

// --- The packed form ---

TEST(PackedTime, TwoSecondGridWithinItsYears)
{
    const struct {
        const char* in;
        const char* out;   // nullptr: outside the form
    } cases[] = {
        {"2021-03-04 18:30:05", "2021-03-04 18:30:04"}, {"2021-03-04 18:30:04", "2021-03-04 18:30:04"},
        {"1980-01-01 00:00:01", "1980-01-01 00:00:00"}, {"2107-12-31 23:59:59", "2107-12-31 23:59:58"},
        {"1979-12-31 23:59:59", nullptr},               {"2108-01-01 00:00:00", nullptr},
        {"2021-02-29 00:00:00", nullptr},               {"2021-03-04 18:30", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        const auto packed = properties::packLocalText(QString::fromLatin1(c.in));
        ASSERT_EQ(packed.has_value(), c.out != nullptr);
        if (packed) {
            EXPECT_EQ(properties::packedText(*packed), QString::fromLatin1(c.out));
        }
    }
    // 2021-03-04 18:30:04 by hand: (41 << 9 | 3 << 5 | 4) << 16 | (18 << 11 | 30 << 5 | 2).
    EXPECT_EQ(*properties::packLocalText(u"2021-03-04 18:30:05"), quint32((41 << 9 | 3 << 5 | 4) << 16 | (18 << 11 | 30 << 5 | 2)));
    EXPECT_EQ(properties::packedToFileTime(*properties::packLocalText(u"2021-03-04 18:30:05"))->sec,
              localSeconds(2021, 3, 4, 18, 30, 4));
}

TEST(PackedTime, MidnightBecomesTwoSecondsPast)
{
    EXPECT_EQ(properties::withMidnightRule(QTime(0, 0, 0)), QTime(0, 0, 2));
    EXPECT_EQ(properties::withMidnightRule(QTime(0, 0, 0, 500)), QTime(0, 0, 2));
    EXPECT_EQ(properties::withMidnightRule(QTime(0, 0, 1)), QTime(0, 0, 1));
    EXPECT_EQ(properties::withMidnightRule(QTime(12, 0, 0)), QTime(12, 0, 0));
    EXPECT_EQ(properties::rewriteValue(QDate(2020, 5, 6), QTime(0, 0)), QDateTime(QDate(2020, 5, 6), QTime(0, 0, 2)));
    EXPECT_EQ(properties::rewriteValue(QDate(2020, 5, 6), QTime(7, 8, 9)), QDateTime(QDate(2020, 5, 6), QTime(7, 8, 8)));
    EXPECT_FALSE(properties::rewriteValue(QDate(1979, 5, 6), QTime(7, 8, 9)).isValid());
}

// --- Applying the window's settings ---

class Apply : public ::testing::Test {
protected:
    void TearDown() override { plat::posix::faults::clear(); }
    // A file with odd stamps, and its item.
    QString oddFile(const char* name, const QByteArray& bytes = "contents")
    {
        const QString p = t.file(QString::fromLatin1(name), bytes);
        setStamps(p, kOddAccess, kOddWrite);
        return p;
    }
    static properties::ItemInfo item(const QString& p)
    {
        auto i = properties::readItem(p);
        EXPECT_TRUE(i) << p.toStdString();
        return i ? *i : properties::ItemInfo();
    }
    test::TempTree t;
};

// Pressing OK without edits writes nothing, in a zone without and one with daylight saving time.
TEST_F(Apply, UnchangedSettingsLeaveEveryStampBitIdenticalInTwoZones)
{
    const struct {
        const char* tz;
        long offset;
    } zones[] = {{"Asia/Shanghai", 8 * 3600}, {"America/New_York", -5 * 3600}};
    for (const auto& z : zones) {
        SCOPED_TRACE(z.tz);
        Zone zone(z.tz, z.offset);
        const QString file = oddFile("odd.txt");
        const QString folder = t.dir(QStringLiteral("folder"));
        setStamps(folder, kOddAccess, kOddWrite);
        for (const QString& p : {file, folder}) {
            const Stamps before = Stamps::of(p);
            const properties::ItemInfo i = item(p);
            const properties::ApplyResult r = properties::applySettings(i, AttributeSettings::of(i));
            EXPECT_FALSE(r.changed);
            const Stamps after = Stamps::of(p);
            EXPECT_TRUE(same(before.access, after.access));
            EXPECT_TRUE(same(before.write, after.write));
            EXPECT_TRUE(same(before.birth, after.birth));
            EXPECT_EQ(before.ino, after.ino);
            EXPECT_EQ(before.contents, after.contents);
        }
    }
}

// One changed time is written on the two-second grid; the other stays to the nanosecond.
TEST_F(Apply, OneChangedTimeLeavesTheOtherUntouched)
{
    for (bool changeWrite : {true, false}) {
        SCOPED_TRACE(changeWrite ? "modification" : "access");
        const QString p = oddFile("one.txt", "same bytes");
        const Stamps before = Stamps::of(p);
        const properties::ItemInfo i = item(p);
        AttributeSettings s = AttributeSettings::of(i);
        (changeWrite ? s.writeText : s.accessText) = QStringLiteral("2020-02-29 13:14:15");
        const properties::ApplyResult r = properties::applySettings(i, s);
        EXPECT_TRUE(r.changed);
        EXPECT_TRUE(r.timesWritten);
        EXPECT_EQ(r.timeError, 0);
        const Stamps after = Stamps::of(p);
        const timespec expected{time_t(localSeconds(2020, 2, 29, 13, 14, 14)), 0};
        EXPECT_TRUE(same(changeWrite ? after.write : after.access, expected));
        EXPECT_TRUE(same(changeWrite ? after.access : after.write, changeWrite ? before.access : before.write));
        EXPECT_TRUE(same(before.birth, after.birth));
        EXPECT_EQ(before.ino, after.ino);
        EXPECT_EQ(after.contents, QByteArray("same bytes"));
    }
}

TEST_F(Apply, AnUncheckedBoxLeavesItsChangedTimeAlone)
{
    const QString p = oddFile("box.txt");
    const properties::ItemInfo i = item(p);
    AttributeSettings s = AttributeSettings::of(i);
    s.writeText = QStringLiteral("2001-01-01 01:01:02");
    s.writeChecked = false;
    s.accessText = QStringLiteral("2002-02-02 02:02:02");
    const properties::ApplyResult r = properties::applySettings(i, s);
    EXPECT_FALSE(r.writeRequested);
    EXPECT_TRUE(r.accessRequested);
    const Stamps after = Stamps::of(p);
    EXPECT_TRUE(same(after.write, kOddWrite));
    EXPECT_EQ(after.access.tv_sec, localSeconds(2002, 2, 2, 2, 2, 2));
}

TEST_F(Apply, AFoldersTimesAreNotWrittenButCountAsAChange)
{
    const QString folder = t.dir(QStringLiteral("folder"));
    setStamps(folder, kOddAccess, kOddWrite);
    const properties::ItemInfo i = item(folder);
    AttributeSettings s = AttributeSettings::of(i);
    s.writeText = QStringLiteral("2010-10-10 10:10:10");
    const properties::ApplyResult r = properties::applySettings(i, s);
    EXPECT_TRUE(r.changed);
    EXPECT_FALSE(r.timesWritten);
    EXPECT_EQ(r.timeError, 0);
    EXPECT_TRUE(same(Stamps::of(folder).write, kOddWrite));
}

// Refused for a read-only file even as root; clearing read-only in the same settings lets the time through.
TEST_F(Apply, AReadOnlyFileKeepsItsTimesUnlessReadOnlyIsClearedToo)
{
    const QString p = oddFile("ro.txt");
    t.setMode(QStringLiteral("ro.txt"), 0444);
    properties::ItemInfo i = item(p);
    AttributeSettings s = AttributeSettings::of(i);
    ASSERT_TRUE(s.readOnly);
    s.writeText = QStringLiteral("2010-10-10 10:10:10");
    properties::ApplyResult r = properties::applySettings(i, s);
    EXPECT_EQ(r.timeError, EACCES);
    EXPECT_TRUE(same(Stamps::of(p).write, kOddWrite));

    s.readOnly = false;
    r = properties::applySettings(i, s);
    EXPECT_EQ(r.timeError, 0);
    EXPECT_EQ(Stamps::of(p).write.tv_sec, localSeconds(2010, 10, 10, 10, 10, 10));
    EXPECT_TRUE(same(Stamps::of(p).access, kOddAccess));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);   // only the owner write bit came back
}

TEST_F(Apply, AnOpenRefusedByTheSystemIsReported)
{
    const QString p = oddFile("denied.txt");
    plat::posix::faults::Scoped denied(plat::posix::faults::Op::Open, p, EACCES);
    const properties::ItemInfo i = item(p);
    AttributeSettings s = AttributeSettings::of(i);
    s.accessText = QStringLiteral("2010-10-10 10:10:10");
    const properties::ApplyResult r = properties::applySettings(i, s);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.timeError, EACCES);
    EXPECT_TRUE(same(Stamps::of(p).access, kOddAccess));
}

struct AttrCase {
    const char* name;
    const char* file;
    mode_t mode;
    bool hiddenListed;
    bool readOnly;      // wanted
    bool hidden;        // wanted
    mode_t modeAfter;
    const char* hiddenListAfter;
    int error;
};

class ApplyAttributes : public ::testing::TestWithParam<AttrCase> {};

// Read-only is the owner write bit alone; hidden is the folder's .hidden list, never a rename.
TEST_P(ApplyAttributes, WritesOnlyTheChangedBits)
{
    const AttrCase& c = GetParam();
    test::TempTree t;
    const QString name = QString::fromLatin1(c.file);
    const QString p = t.file(name, QByteArray("keep"));
    t.file(QStringLiteral("other"), 1);
    t.setMode(name, c.mode);
    if (c.hiddenListed) {
        t.hideListed(QStringLiteral("other"));
        t.hideListed(name);
    }
    setStamps(p, kOddAccess, kOddWrite);
    const Stamps before = Stamps::of(p);
    const auto i = properties::readItem(p);
    ASSERT_TRUE(i);
    AttributeSettings s = AttributeSettings::of(*i);
    s.readOnly = c.readOnly;
    s.hidden = c.hidden;
    const properties::ApplyResult r = properties::applySettings(*i, s);
    EXPECT_EQ(r.attributeError, c.error);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.modeAfter);
    QFile list(t.path(QStringLiteral(".hidden")));
    const QByteArray listed = list.open(QIODevice::ReadOnly) ? list.readAll() : QByteArray("<none>");
    EXPECT_EQ(listed, QByteArray(c.hiddenListAfter));
    const Stamps after = Stamps::of(p);
    EXPECT_TRUE(same(before.write, after.write));
    EXPECT_TRUE(same(before.access, after.access));
    EXPECT_EQ(before.ino, after.ino);
    EXPECT_EQ(after.contents, QByteArray("keep"));
}

INSTANTIATE_TEST_SUITE_P(Table, ApplyAttributes, ::testing::Values(
    AttrCase{"set read only", "a.txt", 0664, false, true, false, 0444 | 0020, "<none>", 0},
    AttrCase{"clear read only", "a.txt", 0440, false, false, false, 0640, "<none>", 0},
    AttrCase{"nothing changed", "a.txt", 0604, false, false, false, 0604, "<none>", 0},
    AttrCase{"set hidden", "a.txt", 0644, false, false, true, 0644, "a.txt\n", 0},
    AttrCase{"clear hidden", "a.txt", 0644, true, false, false, 0644, "other\n", 0},
    AttrCase{"a dot name stays hidden", ".dot", 0644, false, false, false, 0644, "<none>", EPERM},
    AttrCase{"both at once", "a.txt", 0644, false, true, true, 0444, "a.txt\n", 0}),
    [](const auto& i) { return test::caseName(i.param.name); });

TEST_F(Apply, AnUnreadableOrOutOfRangeTimeWritesNothing)
{
    const QString p = oddFile("bad.txt");
    const properties::ItemInfo i = item(p);
    for (const char* text : {"2021-13-01 00:00:00", "yesterday", "1975-01-01 00:00:00", "2200-01-01 00:00:00"}) {
        SCOPED_TRACE(text);
        AttributeSettings s = AttributeSettings::of(i);
        s.readOnly = true;
        s.writeText = QString::fromLatin1(text);
        EXPECT_THROW(properties::applySettings(i, s), properties::EAttributeError);
        EXPECT_FALSE(plat::attributes(p) & plat::kAttrReadOnly);
        EXPECT_TRUE(same(Stamps::of(p).write, kOddWrite));
    }
}

// --- The date rewrite ---

class Rewrite : public Apply {};

TEST_F(Rewrite, MidnightAndOddSecondsOnTwoFiles)
{
    const QString a = oddFile("a.txt", "aaa");
    const QString b = oddFile("b.txt", "bbb");
    const struct {
        QTime chosen;
        qint64 stored;
    } cases[] = {
        {QTime(0, 0, 0), localSeconds(2019, 7, 8, 0, 0, 2)},
        {QTime(9, 10, 11), localSeconds(2019, 7, 8, 9, 10, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toString().toStdString());
        const Stamps beforeA = Stamps::of(a), beforeB = Stamps::of(b);
        const properties::RewriteOutcome o = properties::rewriteWriteTimes({a, b}, QDate(2019, 7, 8), c.chosen);
        EXPECT_EQ(o.written, 2);
        EXPECT_EQ(o.failedIndex, -1);
        for (const auto& [p, before] : {std::pair{a, beforeA}, std::pair{b, beforeB}}) {
            const Stamps after = Stamps::of(p);
            EXPECT_TRUE(same(after.write, timespec{time_t(c.stored), 0}));
            EXPECT_TRUE(same(after.access, before.access));
            EXPECT_EQ(after.ino, before.ino);
            EXPECT_EQ(after.contents, before.contents);
        }
    }
}

TEST_F(Rewrite, StopsAtTheFirstFileItCannotOpen)
{
    const QString a = oddFile("a.txt"), b = oddFile("b.txt"), c = oddFile("c.txt");
    t.setMode(QStringLiteral("a.txt"), 0444);
    properties::RewriteOutcome o = properties::rewriteWriteTimes({a, b, c}, QDate(2019, 7, 8), QTime(1, 2, 4));
    EXPECT_EQ(o.written, 0);
    EXPECT_EQ(o.failedIndex, 0);
    EXPECT_EQ(o.error, EACCES);
    for (const QString& p : {a, b, c})
        EXPECT_TRUE(same(Stamps::of(p).write, kOddWrite));
    EXPECT_EQ(properties::cannotOpenText(a), QStringLiteral("不能打开 a.txt"));

    t.setMode(QStringLiteral("a.txt"), 0644);
    plat::posix::faults::Scoped denied(plat::posix::faults::Op::Open, b, EACCES);
    o = properties::rewriteWriteTimes({a, b, c}, QDate(2019, 7, 8), QTime(1, 2, 4));
    EXPECT_EQ(o.written, 1);
    EXPECT_EQ(o.failedIndex, 1);
    EXPECT_EQ(Stamps::of(a).write.tv_sec, localSeconds(2019, 7, 8, 1, 2, 4));
    EXPECT_TRUE(same(Stamps::of(b).write, kOddWrite));
    EXPECT_TRUE(same(Stamps::of(c).write, kOddWrite));
}

TEST_F(Rewrite, OutsideThePackedYearsIsRefused)
{
    const QString a = oddFile("a.txt");
    EXPECT_THROW(properties::rewriteWriteTimes({a}, QDate(1979, 12, 31), QTime(12, 0)), properties::EAttributeError);
    EXPECT_TRUE(same(Stamps::of(a).write, kOddWrite));
}

// --- The platform calls underneath ---

TEST(OpenForWrite, NeverTruncatesAndRefusesWhatIsNotAWritableFile)
{
    test::TempTree t;
    const QString p = t.file(QStringLiteral("f.txt"), QByteArray("0123456789"));
    int error = 0;
    {
        plat::posix::Fd fd = plat::openForWrite(p, &error);
        ASSERT_TRUE(fd.valid()) << error;
    }
    EXPECT_EQ(Stamps::of(p).contents, QByteArray("0123456789"));
    const struct {
        const char* what;
        QString path;
        int error;
    } refused[] = {
        {"read-only", [&] { t.file(QStringLiteral("ro"), 1); t.setMode(QStringLiteral("ro"), 0444); return t.path(QStringLiteral("ro")); }(), EACCES},
        {"folder", t.dir(QStringLiteral("d")), EISDIR},
        {"fifo", t.fifo(QStringLiteral("pipe")), EINVAL},
        {"missing", t.path(QStringLiteral("gone")), ENOENT},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        error = 0;
        EXPECT_FALSE(plat::openForWrite(r.path, &error).valid());
        EXPECT_EQ(error, r.error);
    }
}

} // namespace
