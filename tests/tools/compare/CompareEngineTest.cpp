#include "CompareHelpers.h"
#include "support/TempTree.h"
#include "tools/compare/engine/FileCompare.h"
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace cmptest;

namespace {

struct EdgeCase {
    const char* name;
    QByteArray file1;
    QByteArray file2;
    QStringList grid;   // rows 1 and on
};

void PrintTo(const EdgeCase& c, std::ostream* os)
{
    *os << c.name;
}

class CompareEdge : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(CompareEdge, Grid)
{
    const EdgeCase& c = GetParam();
    test::TempTree t;
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("one.txt", c.file1), t.file("two.txt", c.file2)));
    EXPECT_EQ(fc.Cells(0, 0), QStringLiteral("文件名:"));
    EXPECT_EQ(fc.Cells(1, 0), QStringLiteral("one.txt"));
    EXPECT_EQ(fc.Cells(2, 0), QStringLiteral("two.txt"));
    EXPECT_EQ(rows(fc), c.grid);
    bool anyMarked = false;
    for (const QString& r : c.grid)
        anyMarked = anyMarked || r.startsWith(u'x');
    EXPECT_EQ(fc.HasDifferences(), anyMarked);
}

QStringList fifteen()
{
    QStringList g;
    for (int i = 1; i <= 10; ++i)
        g << QStringLiteral(" %1|l%1|l%1").arg(i);
    g << "x||n1" << "x||n2" << "x||n3";
    for (int i = 11; i <= 15; ++i)
        g << QStringLiteral(" %1|l%1|l%1").arg(i);
    return g;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareEdge,
    ::testing::Values(
        EdgeCase{"identical", lines({"a", "b", "c"}), lines({"a", "b", "c"}), {" 1|a|a", " 2|b|b", " 3|c|c"}},
        EdgeCase{"extra_last_line", lines({"a", "b", "c"}), lines({"a", "b", "c", "d"}),
                 {" 1|a|a", " 2|b|b", " 3|c|c", "x||d"}},
        EdgeCase{"one_changed_line", lines(numbered("l", 7)),
                 lines({"l1", "l2", "l3", "L4", "l5", "l6", "l7"}),
                 {" 1|l1|l1", " 2|l2|l2", " 3|l3|l3", "x4|l4|L4", " 5|l5|l5", " 6|l6|l6", " 7|l7|l7"}},
        EdgeCase{"three_inserted_lines", lines(numbered("l", 15)),
                 lines(numbered("l", 10) + QStringList{"n1", "n2", "n3"} + numbered("l", 5, 11)), fifteen()},
        EdgeCase{"single_equal_line_does_not_resync", lines({"a", "b", "X", "c", "Y", "d", "e"}),
                 lines({"a", "b", "P", "c", "Q", "d", "e"}),
                 {" 1|a|a", " 2|b|b", "x3|X|P", "x4|c|c", "x5|Y|Q", " 6|d|d", " 7|e|e"}},
        EdgeCase{"lines_missing_in_file2", lines({"a", "b", "c", "d", "e", "f"}), lines({"a", "b", "e", "f"}),
                 {" 1|a|a", " 2|b|b", "x3|c|", "x4|d|", " 5|e|e", " 6|f|f"}},
        EdgeCase{"first_line_changed", lines({"X", "a", "b", "c"}), lines({"Y", "a", "b", "c"}),
                 {"x1|X|Y", " 2|a|a", " 3|b|b", " 4|c|c"}},
        EdgeCase{"last_line_changed", lines({"a", "b"}), lines({"a", "c"}), {" 1|a|a", "x2|b|c"}},
        EdgeCase{"case_and_blanks_count", lines({"a", "B", "c ", "d", "e"}), lines({"a", "b", "c", "d", "e"}),
                 {" 1|a|a", "x2|B|b", "x3|c |c", " 4|d|d", " 5|e|e"}},
        EdgeCase{"no_common_pair", lines({"a", "p", "q"}), lines({"a", "r", "s", "t"}),
                 {" 1|a|a", "x2|p|r", "x3|q|s", "x||t"}},
        EdgeCase{"file1_shorter_after_difference", lines({"a", "X"}), lines({"a", "Y", "b", "c"}),
                 {" 1|a|a", "x2|X|Y", "x||b", "x||c"}},
        // Both files end right after a resynchronisation that left a line of file 2 below the pair.
        EdgeCase{"rows_left_after_the_last_pair", lines({"a", "X", "Y", "b", "c"}), lines({"a", "b", "c", "Z"}),
                 {" 1|a|a", "x2|X|", "x3|Y|", " 4|b|b", " 5|c|c", "x||Z"}},
        EdgeCase{"both_empty", QByteArray(), QByteArray(), {}},
        EdgeCase{"file1_empty", QByteArray(), lines({"p", "q"}), {"x||p", "x||q"}},
        EdgeCase{"line_breaks", QByteArray("a\r\nb\r\n\r\nc"), QByteArray("a\nb\n\nc\n"),
                 {" 1|a|a", " 2|b|b", " 3||", " 4|c|c"}},
        EdgeCase{"empty_line_is_not_a_gap", lines({"a", "", "b", "c"}), lines({"a", "b", "c"}),
                 {" 1|a|a", "x2||", " 3|b|b", " 4|c|c"}}),
    [](const ::testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

TEST(CompareEngine, NamesLowerCasedPathsKeepCase)
{
    test::TempTree t;
    const QString one = t.file("Mixed/ONE.Txt", lines({"a"}));
    const QString two = t.file("Mixed/Two.TXT", lines({"a"}));
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(one, two));   // opened by their own paths: a lower-cased path would not exist
    EXPECT_EQ(fc.Cells(1, 0), QStringLiteral("one.txt"));
    EXPECT_EQ(fc.Cells(2, 0), QStringLiteral("two.txt"));
    EXPECT_EQ(rows(fc), QStringList{" 1|a|a"});
}

TEST(CompareEngine, TailAfterFailedResyncIsLimited)
{
    test::TempTree t;
    QByteArray two = "b\n";
    for (int i = 1; i <= 40000; ++i)
        two += "q" + QByteArray::number(i) + '\n';
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("one.txt", QByteArray("a\n")), t.file("two.txt", two)));
    // Row 1 differs, file 1 cannot give row 2: the second line of file 2 was loaded, then 30000 more.
    ASSERT_EQ(fc.RowCount(), 1 + 2 + FileCompare::kTailLines);
    EXPECT_EQ(fc.Cells(0, 1), QStringLiteral("x1"));
    EXPECT_EQ(fc.Cells(0, 2), QStringLiteral("x"));
    const int last = fc.RowCount() - 1;
    EXPECT_EQ(fc.Cells(0, last), QStringLiteral("x"));
    EXPECT_EQ(fc.Cells(2, last), QStringLiteral("q30001"));
}

TEST(CompareEngine, LongDifferingPassagesResynchronise)
{
    // 3000 lines of each side differ before a common tail; every line of the passage repeats, so the pair
    // search has long candidate chains to walk.
    test::TempTree t;
    QStringList a, b;
    for (int i = 0; i < 3000; ++i) {
        a << (i % 2 ? "p" : "q");
        b << (i % 3 ? "r" : "p");
    }
    const QStringList tail = numbered("t", 5);
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("a", lines(a + tail)), t.file("b", lines(b + tail))));
    const QStringList g = rows(fc);
    ASSERT_GE(g.size(), 3005);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(g[g.size() - 6 + i], QStringLiteral(" %1|t%2|t%2").arg(3000 + i).arg(i));
}

TEST(CompareEngine, AbortLeavesNoResult)
{
    test::TempTree t;
    const QString one = t.file("one.txt", lines(numbered("a", 20000)));
    const QString two = t.file("two.txt", lines(numbered("b", 20000)));
    FileCompare fc;
    int calls = 0;
    fc.OnProgress = [&](FileCompare* sender) {
        EXPECT_EQ(sender, &fc);
        if (++calls == 2)
            sender->Abort();
    };
    EXPECT_FALSE(fc.Execute(one, two));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(fc.RowCount(), 0);
    fc.OnProgress = nullptr;
    ASSERT_TRUE(fc.Execute(one, one));   // a later run starts afresh
    EXPECT_EQ(fc.RowCount(), 20001);
    EXPECT_FALSE(fc.HasDifferences());
}

TEST(CompareEngine, UnreadableFilesThrow)
{
    test::TempTree t;
    const QString ok = t.file("ok.txt", lines({"a"}));
    FileCompare fc;
    for (const QString& bad : {t.path("missing.txt"), t.dir("folder")}) {
        try {
            fc.Execute(ok, bad);
            ADD_FAILURE() << "no error for " << bad.toStdString();
        } catch (const EFileCompareError& e) {
            EXPECT_TRUE(e.message().startsWith(bad)) << e.what();
        }
        EXPECT_EQ(fc.RowCount(), 0);
    }
    // A read that fails after a successful open.
    if (QFile::exists(QStringLiteral("/proc/self/mem"))) {
        EXPECT_THROW(fc.Execute(QStringLiteral("/proc/self/mem"), ok), EFileCompareError);
    }
}

TEST(CompareEngine, LinesLongerThanAReadBlock)
{
    test::TempTree t;
    const QByteArray big(3 << 20, 'z');
    const QByteArray one = "a\n" + big + "\nb\nc\n";
    const QByteArray two = "a\n" + big + "y\nb\nc\n";
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("one", one), t.file("two", two)));
    ASSERT_EQ(fc.RowCount(), 5);
    EXPECT_EQ(fc.Marker(2), u'x');
    EXPECT_EQ(fc.LineBytes(1, 2).size(), big.size());
    EXPECT_EQ(fc.LineBytes(2, 2).size(), big.size() + 1);
    EXPECT_EQ(fc.Marker(3), u' ');
    EXPECT_EQ(fc.Cells(2, 3), QStringLiteral("b"));
}

TEST(CompareEngine, TextDecoding)
{
    test::TempTree t;
    // UTF-8 with a byte-order mark, and GB18030 ("中文" is D6 D0 CE C4).
    const QByteArray utf8 = "\xEF\xBB\xBF" + QStringLiteral("中文").toUtf8() + "\nz\nw\n";
    const QByteArray gbk = QByteArray("\xD6\xD0\xCE\xC4\nz\nw\n");
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("u.txt", utf8), t.file("g.txt", gbk)));
    EXPECT_TRUE(fc.IsUtf8(1));
    EXPECT_FALSE(fc.IsUtf8(2));
    EXPECT_EQ(fc.Cells(1, 1), QStringLiteral("中文"));
    EXPECT_EQ(fc.Cells(2, 1), QStringLiteral("中文"));
    EXPECT_EQ(fc.Marker(1), u'x');   // lines compare as bytes
    EXPECT_EQ(fc.Marker(2), u' ');
}

// Lines of every length around the read blocks' boundaries keep their bytes, with either line break.
TEST(CompareEngine, LinesAcrossReadBlocksKeepTheirBytes)
{
    QList<QByteArray> lines;
    QByteArray lf, crlf;
    for (int i = 0; lf.size() < (3 << 20) + 5000; ++i) {
        lines << QByteArray::number(i) + QByteArray(i % 97, char('a' + i % 26)) + (i % 5 == 0 ? "\r" : "");
        lf += lines.back() + '\n';
        crlf += lines.back() + "\r\n";
    }
    lf.chop(1);   // the last line without a break
    test::TempTree t;
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("lf.txt", lf), t.file("crlf.txt", crlf)));
    ASSERT_EQ(fc.RowCount(), int(lines.size()) + 1);
    // A CR right before a LF belongs to the break: lines that end in CR lose it in the LF file only.
    for (int r = 1; r < fc.RowCount(); ++r) {
        const QByteArray& line = lines[r - 1];
        const bool endsInCr = line.endsWith('\r') && r < fc.RowCount() - 1;
        ASSERT_EQ(fc.LineBytes(1, r).toByteArray(), endsInCr ? line.chopped(1) : line) << r;
        ASSERT_EQ(fc.LineBytes(2, r).toByteArray(), line) << r;
        if (!endsInCr && r > 1 && !lines[r - 2].endsWith('\r'))
            ASSERT_EQ(fc.Marker(r), u' ') << r;   // equal, and not next to a differing line
    }
    EXPECT_TRUE(fc.HasDifferences());
}

// Files larger than a read block: the encoding is decided by the lines the grid shows, wherever their bytes
// fall among the blocks.
TEST(CompareEngine, EncodingOfLinesAcrossReadBlocks)
{
    constexpr int kBlock = 1 << 20;   // the engine's read block
    const QByteArray gb = "\xD6\xD0\xCE\xC4";   // "中文" in GB18030, not UTF-8
    const QByteArray utf8 = QStringLiteral("中文").toUtf8();
    // ASCII lines of 64 bytes; `insert` is placed so that its bytes start at byte `at` of the file.
    const auto file = [](int size, int at, const QByteArray& insert) {
        QByteArray data;
        for (int i = 0; data.size() < size; ++i)
            data += QByteArray::number(i).rightJustified(63, '.') + '\n';
        data.replace(at, insert.size(), insert);
        return data;
    };
    struct Case {
        const char* name;
        QByteArray data;
        bool utf8;
    };
    const std::vector<Case> cases = {
        {"plain ASCII", file(3 * kBlock, 0, ""), true},
        {"UTF-8 in a later block", file(3 * kBlock, 2 * kBlock + 100, utf8), true},
        {"UTF-8 across a block boundary", file(3 * kBlock, kBlock - 2, utf8), true},
        {"GB18030 in a later block", file(3 * kBlock, 2 * kBlock + 100, gb), false},
        {"GB18030 at the end of a block", file(3 * kBlock, kBlock - 4, gb), false},
        {"GB18030 across a block boundary", file(3 * kBlock, kBlock - 2, gb), false},
        {"GB18030 at the start of a block", file(3 * kBlock, kBlock, gb), false},
        {"GB18030 in the last line", file(3 * kBlock, 3 * kBlock - 10, gb), false},
    };
    test::TempTree t;
    for (const Case& c : cases) {
        const QString path = t.file(QStringLiteral("f.txt"), c.data);
        FileCompare fc;
        ASSERT_TRUE(fc.Execute(path, path)) << c.name;
        EXPECT_FALSE(fc.HasDifferences()) << c.name;
        EXPECT_EQ(fc.IsUtf8(1), c.utf8) << c.name;
        EXPECT_EQ(fc.IsUtf8(2), c.utf8) << c.name;
    }

    // Only the lines shown count: a GB18030 line beyond the rows read after the comparison gave up.
    QByteArray two = "b\n";
    for (int i = 1; i <= FileCompare::kTailLines + 10; ++i)
        two += "q" + QByteArray::number(i) + '\n';
    two += gb + '\n';
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("one.txt", QByteArray("a\n")), t.file("two.txt", two)));
    EXPECT_TRUE(fc.IsUtf8(2));
    two += QByteArray(3 * kBlock, 'w');   // the same with several blocks read
    ASSERT_TRUE(fc.Execute(t.file("one.txt", QByteArray("a\n")), t.file("two.txt", two)));
    EXPECT_TRUE(fc.IsUtf8(2));
}

TEST(CompareEngine, DifferenceNavigation)
{
    test::TempTree t;
    // Rows 3-4 and 8 differ.
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("a", lines({"1", "2", "A", "B", "5", "6", "7", "C", "9", "10"})),
                           t.file("b", lines({"1", "2", "a", "b", "5", "6", "7", "c", "9", "10"}))));
    ASSERT_EQ(rows(fc).filter(QRegularExpression("^x")).size(), 3);
    EXPECT_EQ(fc.NextDifference(1), 3);
    EXPECT_EQ(fc.NextDifference(3), 8);   // skips the block it starts in
    EXPECT_EQ(fc.NextDifference(4), 8);
    EXPECT_EQ(fc.NextDifference(8), -1);
    EXPECT_EQ(fc.NextDifference(0), 3);   // row 0 is no difference
    EXPECT_EQ(fc.PreviousDifference(10), 8);
    EXPECT_EQ(fc.PreviousDifference(8), 4);   // lands on the last row of the block above
    EXPECT_EQ(fc.PreviousDifference(4), 0);
    EXPECT_EQ(fc.PreviousDifference(2), 0);
}

} // namespace
