// The grid's column rules and texts: offset formats and widths, gap columns, nibbles and masking, row text.
#include "HexTestSupport.h"
#include "support/TempTree.h"
#include "tools/hexview/engine/HexLayout.h"
#include "tools/hexview/engine/HexSource.h"
#include <gtest/gtest.h>

using hexview::HexLayout;

namespace {

struct OffsetCase {
    const char* name;
    TOffsetDisplayStyle style;
    qint64 size;
    qint64 row;
    const char* text;
    int units;     // offset column width in characters
};

class OffsetTextTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(OffsetTextTest, TextAndWidth)
{
    const OffsetCase& c = GetParam();
    HexLayout l;
    l.offsetDisplay = c.style;
    EXPECT_EQ(l.offsetText(c.row, c.size), QString::fromLatin1(c.text));
    EXPECT_EQ(l.columnUnits(0, c.size), c.units);
}

INSTANTIATE_TEST_SUITE_P(Styles, OffsetTextTest,
    ::testing::Values(
        OffsetCase{"HexFirstRow", odHex, 1000, 0, "0x000:", 6},
        OffsetCase{"HexLastRow", odHex, 1000, 62, "0x3E0:", 6},
        OffsetCase{"HexEmpty", odHex, 0, 0, "0x0:", 4},
        OffsetCase{"DecThousandBytes", odDec, 1000, 0, "  0:", 4},
        OffsetCase{"DecLastRow", odDec, 1000, 62, "992:", 4},
        OffsetCase{"DecEmpty", odDec, 0, 0, "0:", 2},
        OffsetCase{"OctalRow", odOctal, 1000, 1, "o 0020:", 7},
        OffsetCase{"OctalEmpty", odOctal, 0, 0, "o 0:", 4},
        OffsetCase{"NoneHasNoWidth", odNone, 1000, 3, " ", 0},
        OffsetCase{"HexBeyondFourGib", odHex, qint64(100) << 30, (qint64(100) << 26) - 1, "0x18FFFFFFF0:", 13}),
    [](const auto& info) { return std::string(info.param.name); });

// Hex columns that end a group of BytesPerColumn bytes are two characters wide; nothing else is.
TEST(HexLayoutTest, GapColumnsFollowEachGroup)
{
    const struct {
        int bytesPerColumn;
        std::vector<int> wide;
    } cases[] = {
        {1, {3, 5, 7, 9, 11, 13, 15, 17}},
        {4, {9, 17}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytesPerColumn);
        HexLayout l;
        l.bytesPerLine = 8;
        l.bytesPerColumn = c.bytesPerColumn;
        ASSERT_EQ(l.columnCount(), 27);
        std::vector<int> wide;
        for (int col = 1; col < l.columnCount(); ++col) {
            if (l.columnUnits(col, 100) == 2)
                wide.push_back(col);
            else
                EXPECT_EQ(l.columnUnits(col, 100), 1) << col;
        }
        EXPECT_EQ(wide, c.wide);
    }
}

TEST(HexLayoutTest, ColumnKindsAndBytes)
{
    HexLayout l;   // 16 bytes per line
    EXPECT_EQ(l.kind(0), HexLayout::Column::Offset);
    EXPECT_EQ(l.kind(1), HexLayout::Column::Marker);
    EXPECT_EQ(l.kind(2), HexLayout::Column::Hex);
    EXPECT_EQ(l.kind(33), HexLayout::Column::Hex);
    EXPECT_EQ(l.kind(34), HexLayout::Column::Separator);
    EXPECT_EQ(l.kind(35), HexLayout::Column::Char);
    EXPECT_EQ(l.byteOfColumn(33), 15);
    EXPECT_EQ(l.byteOfColumn(35), 0);
    EXPECT_EQ(l.byteOfColumn(50), 15);
    EXPECT_EQ(l.byteOfColumn(34), -1);
    l.showMarkerColumn = false;
    EXPECT_EQ(l.columnUnits(1, 0), 0);
}

TEST(HexLayoutTest, NibblesFollowSwapNibbles)
{
    HexLayout l;
    EXPECT_EQ(l.hexDigit(0xA7, 0), u'A');
    EXPECT_EQ(l.hexDigit(0xA7, 1), u'7');
    l.swapNibbles = true;
    EXPECT_EQ(l.hexDigit(0xA7, 0), u'7');
    EXPECT_EQ(l.hexDigit(0xA7, 1), u'A');
    EXPECT_FALSE(l.columnIsHighNibble(0));
}

TEST(HexLayoutTest, BytesBelowThirtyTwoAreMasked)
{
    HexLayout l;
    EXPECT_EQ(l.charOf(0), u'.');
    EXPECT_EQ(l.charOf(31), u'.');
    EXPECT_EQ(l.charOf(32), u' ');
    EXPECT_EQ(l.charOf('A'), u'A');
    EXPECT_EQ(l.charOf(0xE9), QChar(0xE9));   // each byte alone, as Latin-1
    l.maskChar = u'*';
    EXPECT_EQ(l.charOf(9), u'*');
    l.maskWhiteSpaces = false;
    EXPECT_EQ(l.charOf(9), QChar(9));
    EXPECT_EQ(l.codeOf(u'Z'), 'Z');
    EXPECT_EQ(l.codeOf(QChar(0x4E2D)), -1);
}

// The 17-byte file at 16 bytes per line: two rows, the second with one byte and empty cells after it.
TEST(HexLayoutTest, SeventeenBytesMakeTwoRows)
{
    test::TempTree tree;
    QByteArray bytes = hextest::pattern(17);
    bytes[16] = 'A';
    hexview::HexSource s;
    ASSERT_TRUE(s.loadFromFile(tree.file("x.bin", bytes)));
    HexLayout l;
    l.bytesPerColumn = 1;
    l.offsetDisplay = odDec;
    EXPECT_EQ(l.rowCount(17), 2);
    EXPECT_EQ(l.rowCount(16), 1);
    EXPECT_EQ(l.rowCount(0), 1);
    EXPECT_EQ(l.rowText(s, 0),
              QStringLiteral(" 0: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  ................"));
    EXPECT_EQ(l.rowText(s, 1), QString(QStringLiteral("16: 41") + QString(47, u' ') + u'A' + QString(15, u' ')));
    s.setMarker(4, 1);
    EXPECT_TRUE(l.rowText(s, 1).startsWith(QStringLiteral("16:4")));
}

} // namespace
