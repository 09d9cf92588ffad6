#include "ListHelpers.h"
#include "filelist/engine/RowSort.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <gtest/gtest.h>

using filelist::CompareItems;
using filelist::FileRow;
using filelist::FileLister;

namespace {

FileRow row(const QString& name, bool dir, qint64 size = 0, const char* modified = "2024-01-01 00:00:00",
            const char* accessed = "2024-01-01 00:00:00", quint8 attrs = 0)
{
    FileRow r;
    r.name = name;
    r.type = dir ? QStringLiteral("文件夹") : QStringLiteral("文件");
    r.size = size;
    std::memcpy(r.modified, modified, plat::kTimeTextLength);
    std::memcpy(r.created, modified, plat::kTimeTextLength);
    std::memcpy(r.accessed, accessed, plat::kTimeTextLength);
    r.attrs = quint8(attrs | (dir ? 0x10 : 0x20));
    r.flags = name == QLatin1String("..") ? FileRow::kParent : 0;
    return r;
}

struct CompareCase {
    const char* what;
    FileRow a, b;
    int column;
    bool descending;
    int sign;
};

class Compare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Compare, Sign)
{
    const CompareCase& c = GetParam();
    const int r = CompareItems(c.a, c.b, c.column, c.descending);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, Compare, ::testing::Values(
    CompareCase{"folder before file", row("z", true), row("a", false), 0, false, -1},
    CompareCase{"descending puts files first", row("z", true), row("a", false), 0, true, 1},
    CompareCase{"parent before a file, even descending", row("..", true), row("a", false), 0, true, -1},
    CompareCase{"parent against a folder is not reversed", row("..", true), row("b", true), 0, true, -1},
    CompareCase{"names ignore case", row("abc", false), row("ABD", false), 0, false, -1},
    CompareCase{"equal names", row("Abc", false), row("aBC", false), 0, false, 0},
    CompareCase{"descending name", row("abc", false), row("abd", false), 0, true, 1},
    CompareCase{"1500 bytes level with 1024", row("a", false, 1500), row("b", false, 1024), 1, false, 0},
    CompareCase{"1 byte counts as 1 KB", row("a", false, 1), row("b", false, 1024), 1, false, 0},
    CompareCase{"2048 above 2047", row("a", false, 2048), row("b", false, 2047), 1, false, 1},
    CompareCase{"sizes above 4 GiB", row("a", false, 5LL << 30), row("b", false, 4LL << 30), 1, true, -1},
    CompareCase{"modified same second", row("a", false, 0, "2024-01-01 00:00:00"), row("b", false, 0, "2024-01-01 00:00:00"), 3, false, 0},
    CompareCase{"modified one second apart", row("a", false, 0, "2024-01-01 00:00:01"), row("b", false, 0, "2024-01-01 00:00:00"), 3, false, 1},
    CompareCase{"accessed earlier", row("a", false, 0, "2024-01-01 00:00:00", "2023-12-31 23:59:59"), row("b", false), 7, false, -1},
    CompareCase{"accessed later, descending", row("a", false, 0, "2024-01-01 00:00:00", "2024-06-01 00:00:00"), row("b", false), 7, true, -1},
    CompareCase{"type text, a-z folded", row("a.txt", false), row("b.txt", false), 2, false, 0},
    CompareCase{"path column compares the names", row("b", false), row("A", false), 5, false, 1},
    CompareCase{"attribute letters", row("a", false, 0, "2024-01-01 00:00:00", "2024-01-01 00:00:00", 0x01), row("b", false), 8, false, 1},
    CompareCase{"a column past the last compares equal", row("a", false), row("b", false), 12, false, 0}),
    [](const auto& i) { return test::caseName(i.param.what); });

TEST(SortOrder, ParentEntryPlacement)
{
    const std::vector<FileRow> rows = {row("b.txt", false), row("..", true), row("sub", true), row("-x", true), row("a.txt", false)};
    auto names = [&](const std::vector<int>& order) {
        QStringList out;
        for (int i : order)
            out << rows[size_t(i)].name;
        return out;
    };
    // Ascending: the parent entry takes its place among the folders ("-" sorts before ".").
    EXPECT_EQ(names(*filelist::sortOrder(rows, 0, false)), (QStringList{"-x", "..", "sub", "a.txt", "b.txt"}));
    // Descending: files first, the parent entry ahead of everything.
    EXPECT_EQ(names(*filelist::sortOrder(rows, 0, true)), (QStringList{"..", "b.txt", "a.txt", "sub", "-x"}));
    EXPECT_FALSE(filelist::sortOrder(rows, 0, false, [] { return false; }));   // abandoned on request
}

TEST(SortOrder, AgreesWithCompareItemsOnManyRows)
{
    std::vector<FileRow> rows;
    for (int i = 0; i < 20000; ++i)
        rows.push_back(row(QStringLiteral("%1%2.x").arg(QChar(u'a' + (i * 7) % 26)).arg(i % 997), i % 13 == 0, (i * 389) % 5000));
    for (int column : {0, 1}) {
        for (bool desc : {false, true}) {
            const std::vector<int> order = *filelist::sortOrder(rows, column, desc);
            ASSERT_EQ(order.size(), rows.size());
            for (size_t k = 1; k < order.size(); ++k)
                ASSERT_LE(CompareItems(rows[size_t(order[k - 1])], rows[size_t(order[k])], column, desc), 0)
                    << "column " << column << " desc " << desc << " at " << k;
        }
    }
}

// The rows of a large folder, with many ties in every column (names differing only in case, equal sizes
// and times), more rows than one sorting step takes, so that the merging of steps decides ties too.
std::vector<FileRow> tiedRows(int count)
{
    static const char* const kTimes[] = {"2024-01-01 00:00:00", "2023-05-06 07:08:09", "2024-01-01 00:00:01"};
    std::vector<FileRow> rows;
    for (int i = 0; i < count; ++i) {
        QString name = QStringLiteral("n%1.%2").arg((i * 7919) % 1500).arg(i % 3 ? QStringLiteral("txt") : QStringLiteral("TXT"));
        if (i % 5 == 0)
            name = name.toUpper();
        FileRow r = row(name, i % 11 == 0, (i * 389) % 4000, kTimes[i % 3], kTimes[(i / 3) % 3], quint8(i % 4 == 0 ? 0x01 : 0));
        if (i % 7 == 0)
            r.type = QStringLiteral("TXT 文件");
        rows.push_back(r);
    }
    return rows;
}

TEST(SortOrder, EqualsAStableSortOfTheFoundOrder)
{
    const std::vector<FileRow> rows = tiedRows(40000);
    int steps = 0;
    const auto counted = [&] { return ++steps > 0; };
    for (int column : {0, 1, 2, 3, 5, 7, 8}) {
        std::vector<int> ascending(rows.size());
        std::iota(ascending.begin(), ascending.end(), 0);
        std::stable_sort(ascending.begin(), ascending.end(), [&](int a, int b) {
            return CompareItems(rows[size_t(a)], rows[size_t(b)], column, false) < 0;
        });
        // Descending order is the ascending one read backwards (no parent entry here).
        const std::vector<int> descending(ascending.rbegin(), ascending.rend());
        EXPECT_EQ(*filelist::sortOrder(rows, column, false), ascending) << "column " << column;
        EXPECT_EQ(*filelist::sortOrder(rows, column, true, counted), descending) << "column " << column;
    }
    EXPECT_GT(steps, 7 * 5);   // the long sorts let events run between their steps
}

TEST(SortOrder, AbandonedAtAnyStep)
{
    const std::vector<FileRow> rows = tiedRows(30000);
    for (int column : {0, 1}) {
        int total = 0;
        ASSERT_TRUE(filelist::sortOrder(rows, column, false, [&] { return ++total > 0; }));
        for (int stopAt : {1, total / 2, total}) {
            int calls = 0;
            EXPECT_FALSE(filelist::sortOrder(rows, column, false, [&] { return ++calls < stopAt; }))
                << "column " << column << " stopped at step " << stopAt << " of " << total;
        }
    }
}

class HeaderClicks : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.dir("Beta");
        t.dir("alpha");
        t.file("b.txt", 1500);
        t.file("a.txt", 1024);
        t.file("C.txt", 5000);
        l.setDirectory(t.root());
    }
    test::TempTree t;
    FileLister l;
};

TEST_F(HeaderClicks, ListingEndsAscendingByNameAndClicksToggle)
{
    EXPECT_EQ(l.SortColumn(), 0);
    EXPECT_FALSE(l.SortDescending());
    EXPECT_EQ(test::captions(l), (QStringList{"..", "alpha", "Beta", "a.txt", "b.txt", "C.txt"}));
    l.ColumnClick(0);
    EXPECT_TRUE(l.SortDescending());
    EXPECT_EQ(test::captions(l), (QStringList{"..", "C.txt", "b.txt", "a.txt", "Beta", "alpha"}));
    l.ColumnClick(0);
    EXPECT_EQ(test::captions(l), (QStringList{"..", "alpha", "Beta", "a.txt", "b.txt", "C.txt"}));
}

TEST_F(HeaderClicks, SizeColumnThenRelistEndsByNameDescending)
{
    l.ColumnClick(1);
    EXPECT_EQ(l.SortColumn(), 1);
    EXPECT_TRUE(l.SortDescending());
    const QStringList bySize = test::captions(l);
    EXPECT_EQ(bySize.first(), QStringLiteral(".."));
    EXPECT_EQ(bySize[1], QStringLiteral("C.txt"));
    EXPECT_EQ(QSet<QString>(bySize.begin() + 2, bySize.begin() + 4), (QSet<QString>{"a.txt", "b.txt"}));   // both 1 KB
    l.UpdateFileList();
    EXPECT_EQ(l.SortColumn(), 0);
    EXPECT_TRUE(l.SortDescending());
    EXPECT_EQ(test::captions(l), (QStringList{"..", "C.txt", "b.txt", "a.txt", "Beta", "alpha"}));
    l.UpdateFileList();   // a second listing gives ascending order again
    EXPECT_FALSE(l.SortDescending());
}

TEST_F(HeaderClicks, AccessTimeColumn)
{
    const QDateTime base = QDateTime::fromString("2020-01-01T00:00:00Z", Qt::ISODate);
    t.setTimes("a.txt", base.addSecs(30), base);
    t.setTimes("b.txt", base.addSecs(10), base);
    t.setTimes("C.txt", base.addSecs(20), base);
    l.UpdateFileList();
    l.ColumnClick(8);                       // a text column first
    l.ColumnClick(7);
    EXPECT_TRUE(l.SortDescending());
    const QStringList shown = test::captions(l);
    EXPECT_EQ(shown.mid(0, 4), (QStringList{"..", "a.txt", "C.txt", "b.txt"}));
}

} // namespace
