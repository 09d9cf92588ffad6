// The pure rules of the search: dates, exclusions, content matching, packed times and result texts.
#include "support/CaseNames.h"
#include "tools/search/engine/ContentSearch.h"
#include "tools/search/engine/ExcludeMatch.h"
#include "tools/search/engine/FindTypes.h"
#include "tools/search/engine/NameMask.h"
#include "platform/Mask.h"
#include "tools/search/engine/SearchWalk.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace search;

namespace {

// --- Date rule ---

qint64 utcNsOf(const QDateTime& local)
{
    return local.toMSecsSinceEpoch() * 1000000;
}

struct DateCase {
    const char* name;
    TDateTime before;
    TDateTime after;
    bool passes;
};

// The file time is 2021-03-04 08:00:00 local.
void PrintTo(const DateCase& c, std::ostream* os)
{
    *os << c.name;
}

class DateRule : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateRule, ComparesDatesTimesOfDayOrMoments)
{
    const DateCase& c = GetParam();
    const LocalMoment t = localMoment(utcNsOf(QDateTime(QDate(2021, 3, 4), QTime(8, 0))));
    EXPECT_EQ(passesDateBounds(t, c.before, c.after), c.passes) << c.name;
}

const TDateTime kDay = encodeDate(2021, 3, 4);

INSTANTIATE_TEST_SUITE_P(
    Search, DateRule,
    ::testing::Values(
        DateCase{"no bounds", 0, 0, true},
        DateCase{"before the same day includes the whole day", kDay, 0, true},
        DateCase{"before the previous day", kDay - 1, 0, false},
        DateCase{"after the same day", 0, kDay, true},
        DateCase{"after the next day", 0, kDay + 1, false},
        DateCase{"after a time of day, inclusive", 0, encodeTime(8, 0, 0), true},
        DateCase{"after a later time of day", 0, encodeTime(8, 0, 1), false},
        DateCase{"before an earlier time of day", encodeTime(7, 59, 59), 0, false},
        DateCase{"before the same time of day", encodeTime(8, 0, 0), 0, true},
        DateCase{"time bounds ignore the date", encodeTime(9, 0, 0), encodeTime(7, 0, 0), true},
        DateCase{"moment just before", kDay + encodeTime(7, 59, 59), 0, false},
        DateCase{"moment exactly, before", kDay + encodeTime(8, 0, 0), 0, true},
        DateCase{"moment exactly, after", 0, kDay + encodeTime(8, 0, 0), true},
        DateCase{"moment the evening before", 0, kDay - 1 + encodeTime(23, 0, 0), true},
        DateCase{"moment a day later", kDay + 1 + encodeTime(7, 0, 0), 0, true},
        DateCase{"moment a day later, after", 0, kDay + 1 + encodeTime(7, 0, 0), false}),
    test::NameField());

TEST(DateRuleDetail, SubSecondsCountForMomentsAndTimes)
{
    const LocalMoment t = localMoment(utcNsOf(QDateTime(QDate(2021, 3, 4), QTime(8, 0, 0, 500))));
    EXPECT_FALSE(passesDateBounds(t, encodeTime(8, 0, 0), 0));
    EXPECT_FALSE(passesDateBounds(t, kDay + encodeTime(8, 0, 0), 0));
    EXPECT_TRUE(passesDateBounds(t, kDay, 0));
}

TEST(DateRuleDetail, DayNumbersFollowTheUsualEpoch)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(encodeDate(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(encodeTime(12, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(toDateTime(QDateTime(QDate(2000, 1, 1), QTime(18, 0))), 36526.75);
    const LocalMoment m = localMoment(utcNsOf(QDateTime(QDate(2000, 1, 1), QTime(18, 0))));
    EXPECT_EQ(m.day, 36526);
    EXPECT_EQ(m.nsOfDay, 18LL * 3600 * 1000000000);
}

// --- Exclusion rule ---

struct NameCase {
    const char* pattern;
    const char* name;
    bool matches;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.pattern << " vs " << c.name;
}

class ExcludeName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ExcludeName, MatchesByItsOwnRule)
{
    const NameCase& c = GetParam();
    EXPECT_EQ(excludeNameMatches(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
        << c.pattern << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Search, ExcludeName,
                         ::testing::Values(NameCase{"*.*", "A.TXT", true}, NameCase{"*.*", "README", false},
                                           NameCase{"*", "A.TXT", false}, NameCase{"*", "README", true},
                                           NameCase{"*.TXT", "A.TXT", true}, NameCase{"*.TXT", "A.TMP", false},
                                           NameCase{"?.TXT", "A.TXT", true}, NameCase{"?.TXT", "AB.TXT", false},
                                           NameCase{"A?", "A", true}, NameCase{"A?C", "A.C", false},
                                           NameCase{"A?.C", "A.C", true}, NameCase{"README.*", "README", false},
                                           NameCase{"*X.TXT", "AB.TXT", true}, NameCase{"A.B.*", "A.B.C", true},
                                           NameCase{"ABC", "ABC", true}, NameCase{"ABC", "ABCD", false}),
                         [](const auto& i) {
                             return test::literalName(i.param.pattern) + "_on_" + test::literalName(i.param.name);
                         });

TEST(ExcludeRule, FolderPartsMatchTrailingFoldersWithoutCase)
{
    auto excluded = [](const char* pattern, const char* path) {
        const std::vector<ExcludePattern> p = compileExcludes({QString::fromUtf8(pattern)});
        const QString full = QString::fromUtf8(path);
        const qsizetype slash = full.lastIndexOf(u'/');
        return excludeMatches(p[0], upperAscii(full.left(slash + 1)), upperAscii(full.mid(slash + 1)));
    };
    EXPECT_TRUE(excluded("/temp/*.tmp", "/home/u/TEMP/x.TMP"));
    EXPECT_FALSE(excluded("/temp/*.tmp", "/home/u/mytemp/x.tmp"));
    EXPECT_FALSE(excluded("/temp/*.tmp", "/home/u/temp/x.txt"));
    EXPECT_TRUE(excluded("/temp/*.tmp", "/temp/x.tmp"));            // the whole folder path may match
    EXPECT_TRUE(excluded("temp/*.tmp", "/home/u/mytemp/x.tmp"));    // no leading '/': any folder ending so
    EXPECT_FALSE(excluded("/a/long/folder/*.c", "/folder/x.c"));     // longer than the entry's folder
    EXPECT_TRUE(excluded("/skip/", "/x/skip/anything"));             // empty name part: every name
    EXPECT_TRUE(excluded("*.o", "/any/where/m.O"));
    EXPECT_FALSE(excluded("*.o", "/any/where/m.c"));
}

// --- Masks on raw names ---

TEST(NameMaskRule, AgreesWithThePlatformMatcher)
{
    const QStringList names = {"README", "readme.md", "Notes.TXT", "a.b.c", "abc", "xabc", "a", "数据.txt",
                               "数据", "Ä.TXT", "report 1.doc", "file000123.log", "a..b", "trailing."};
    const QStringList masks = {"*", "*.*", "*.txt", "readme.*", "?bc", "?bc.*", "*a*", "a*b*c", "*.", "数*",
                               "*.TXT", "ä.txt", "report ?.doc", "file*.log", "*.lo?", "a?b", "??", "trailing.*"};
    for (const QString& mask : masks) {
        const NameMask m(mask);
        for (const QString& name : names) {
            const QByteArray raw = name.toUtf8();
            QString decoded;
            EXPECT_EQ(m.matches(raw.constData(), size_t(raw.size()), decoded), plat::platformMaskMatch(name, mask))
                << mask.toStdString() << " vs " << name.toStdString();
            if (!decoded.isEmpty()) {
                EXPECT_EQ(decoded, name);
            }
        }
    }
}

// --- Content ---

struct ContentCase {
    const char* name;
    QByteArray text;
    QByteArray data;
    bool ignoreCase;
    bool found;
};

void PrintTo(const ContentCase& c, std::ostream* os)
{
    *os << c.name;
}

class Content : public ::testing::TestWithParam<ContentCase> {};

TEST_P(Content, FindsTheBytesOfTheText)
{
    const ContentCase& c = GetParam();
    ContentMatcher m(c.text, c.ignoreCase);
    EXPECT_EQ(m.find(c.data.constData(), size_t(c.data.size())) != nullptr, c.found) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Search, Content,
    ::testing::Values(
        ContentCase{"exact", "needle", "hay needle hay", false, true},
        ContentCase{"case differs", "Needle", "hay nEEdle hay", false, false},
        ContentCase{"case ignored", "Needle", "hay nEEdle hay", true, true},
        ContentCase{"only ASCII letters fold", "a[b", "xa{bx", true, false},
        ContentCase{"only ASCII letters fold, other way", "A{B", "xa[bx", true, false},
        ContentCase{"at the very end", "end", "the end", true, true},
        ContentCase{"at the start", "the", "the end", false, true},
        ContentCase{"single letter", "Q", "abcq", true, true},
        ContentCase{"longer than the data", "abcdef", "abc", true, false},
        ContentCase{"UTF-8 text", QByteArray("中文"), QByteArray("前 中文 后"), true, true},
        ContentCase{"NUL bytes are data", QByteArray("a\0b", 3), QByteArray("xxa\0bxx", 7), false, true},
        ContentCase{"repeated prefix", "aab", "aaaaaab", true, true},
        ContentCase{"near miss", "abcd", "abcabcabd", true, false}),
    test::NameField());

TEST(ContentScan, FindsTheFirstOccurrenceAtEveryOffsetAndLength)
{
    const QByteArray letters = "NeedleInAHaystackWithMixedCaseLetters";
    for (int length : {1, 2, 3, 5, 16, 17, 31}) {
        const QByteArray text = letters.left(length);
        for (bool ignoreCase : {false, true}) {
            ContentMatcher m(ignoreCase ? text.toLower() : text, ignoreCase);
            for (int size : {length, 40, 70}) {
                for (int at = 0; at + length <= size; ++at) {
                    QByteArray data(size, '#');
                    data.replace(at, length, text);
                    const char* hit = m.find(data.constData(), size_t(data.size()));
                    ASSERT_TRUE(hit) << length << " " << size << " " << at;
                    EXPECT_EQ(hit - data.constData(), at) << length << " " << size << " " << at;
                }
                const QByteArray none(size, '#');
                EXPECT_FALSE(m.find(none.constData(), size_t(none.size())));
            }
        }
    }
    // Only letters fold, also in the first and last position.
    for (auto [text, data] : std::vector<std::pair<QByteArray, QByteArray>>{
             {"[ab", QByteArray(20, 'x') + "{ab"}, {"ab@", QByteArray(20, 'x') + "AB`"}}) {
        ContentMatcher m(text, true);
        EXPECT_FALSE(m.find(data.constData(), size_t(data.size()))) << text.constData();
    }
}

TEST(ContentBlocks, TextStraddlingABlockBoundaryIsFound)
{
    const QString dir = QDir::tempPath() + QStringLiteral("/orvo-content-XXXXXX");
    QTemporaryDir tmp(dir);
    ASSERT_TRUE(tmp.isValid());
    for (int start : {4090, 4093, 4095, 4096, 4097, 8190}) {
        QByteArray data(12000, 'x');
        data.replace(start, 6, "needle");
        const QString path = tmp.path() + QStringLiteral("/f%1").arg(start);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        for (bool ignoreCase : {false, true}) {
            ContentMatcher m(ignoreCase ? "NEEDLE" : "needle", ignoreCase, 4096);
            EXPECT_TRUE(m.fileContains(QFile::encodeName(path).constData())) << start << " " << ignoreCase;
            ContentMatcher other("needles", ignoreCase, 4096);
            EXPECT_FALSE(other.fileContains(QFile::encodeName(path).constData())) << start;
        }
    }
}

TEST(ContentBlocks, StopsBetweenBlocksAndReadsOnlyRegularFiles)
{
    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/orvo-content-XXXXXX"));
    const QString path = tmp.path() + QStringLiteral("/f");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(10000, 'x') + "needle");
    f.close();
    ContentMatcher m("needle", true, 4096);
    int checks = 0;
    EXPECT_FALSE(m.fileContains(QFile::encodeName(path).constData(), [&] { return ++checks > 1; }));
    EXPECT_EQ(checks, 2);
    EXPECT_FALSE(m.fileContains(QFile::encodeName(tmp.path()).constData()));   // a folder
    EXPECT_FALSE(m.fileContains("/dev/zero"));                                  // a device never ends
    EXPECT_FALSE(m.fileContains(QFile::encodeName(tmp.path() + QStringLiteral("/missing")).constData()));
}

// --- Packed times and result texts ---

TEST(ResultTexts, PackedTimesUseATwoSecondGridWithinTheirYears)
{
    const QDateTime t(QDate(2021, 1, 2), QTime(3, 4, 5));
    const qint32 packed = packedLocalTime(utcNsOf(t));
    EXPECT_EQ(unpackLocalTime(packed), QDateTime(QDate(2021, 1, 2), QTime(3, 4, 4)));
    EXPECT_EQ(packedLocalTime(utcNsOf(QDateTime(QDate(1979, 12, 31), QTime(23, 59)))), 0);
    EXPECT_EQ(packedLocalTime(utcNsOf(QDateTime(QDate(2108, 1, 1), QTime(0, 0)))), 0);
    EXPECT_NE(packedLocalTime(utcNsOf(QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59)))), 0);
    EXPECT_FALSE(unpackLocalTime(0).isValid());
}

TEST(ResultTexts, SizeAndDateTexts)
{
    TSearchRec rec;
    for (auto [size, text] : std::vector<std::pair<qint64, const char*>>{
             {0, "0KB"}, {1, "1KB"}, {1023, "1KB"}, {1024, "1KB"}, {1025, "2KB"}, {5LL << 30, "5242880KB"}}) {
        rec.Size = size;
        EXPECT_EQ(foundSizeText(rec), QString::fromUtf8(text)) << size;
    }
    rec.Attr = plat::kAttrDirectory;
    EXPECT_EQ(foundSizeText(rec), QStringLiteral("Folder"));

    rec.Time = packedLocalTime(utcNsOf(QDateTime(QDate(2021, 1, 2), QTime(3, 4, 5))));
    EXPECT_EQ(foundDateText(rec), QStringLiteral("2021/1/2 03:04:04"));
    rec.Time = packedLocalTime(utcNsOf(QDateTime(QDate(2021, 11, 12), QTime(0, 0, 1))));
    EXPECT_EQ(foundDateText(rec), QStringLiteral("2021/11/12"));   // 00:00:00 on the grid: no time
    // Outside the packed range the exact time is shown.
    rec.Time = 0;
    rec.FindData.writeNs = utcNsOf(QDateTime(QDate(1970, 1, 2), QTime(13, 14, 15)));
    EXPECT_EQ(foundDateText(rec), QStringLiteral("1970/1/2 13:14:15"));
}

TEST(ResultTexts, EventFoldersHaveNoTrailingSeparatorExceptTheRoot)
{
    EXPECT_EQ(eventFolder(QStringLiteral("/x/y/")), QStringLiteral("/x/y"));
    EXPECT_EQ(eventFolder(QStringLiteral("/")), QStringLiteral("/"));
}

} // namespace
