#include "support/CaseNames.h"
#include "tools/splitmerge/engine/SplitFields.h"
#include <gtest/gtest.h>

using splitmerge::SplitFields;

struct SettleCase {
    qint64 available;
    bool bySize;        // the size field changed, else the count field
    qint64 value;
    SplitFields before;
    SplitFields after;
};

class Settle : public ::testing::TestWithParam<SettleCase> {};

TEST_P(Settle, CountAndSizeSettleAsTheFieldsDo)
{
    const SettleCase& c = GetParam();
    const SplitFields f = c.bySize ? splitmerge::settleFromSize(c.available, c.value, c.before)
                                   : splitmerge::settleFromCount(c.available, c.value, c.before);
    EXPECT_EQ(f.count, c.after.count);
    EXPECT_EQ(f.size, c.after.size);
    EXPECT_EQ(f.remainder, c.after.remainder);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Settle,
    ::testing::Values(
        // 10 bytes, count 3: size 3, remainder 1 (pieces 3, 3, 3 and 1).
        SettleCase{10, false, 3, {2, 5, 0}, {3, 3, 1}},
        // 10 bytes, count 20: the size becomes 1, the count 10, no remainder.
        SettleCase{10, false, 20, {2, 5, 0}, {10, 1, 0}},
        // Count 4 for 10 bytes gives size 2, then count 5, remainder 0.
        SettleCase{10, false, 4, {2, 5, 0}, {5, 2, 0}},
        // The count of a freshly opened file (size field still "0").
        SettleCase{10, false, 2, {2, 0, 0}, {2, 5, 0}},
        // Start position 4 of 10 bytes leaves 6: count 2 gives pieces of 3.
        SettleCase{6, false, 2, {2, 5, 0}, {2, 3, 0}},
        // A size beyond the bytes becomes the whole rest in one piece.
        SettleCase{10, true, 50, {2, 5, 0}, {1, 10, 0}},
        SettleCase{10, true, 3, {2, 5, 0}, {3, 3, 1}},
        // The size stays but the typed count would not cover the bytes: the count follows the size.
        SettleCase{100, false, 31, {30, 3, 10}, {33, 3, 1}},
        // A count above the bytes when the size already reads 1.
        SettleCase{10, false, 30, {10, 1, 0}, {10, 1, 0}},
        // Nothing to divide (an empty file): the other fields stay, no remainder.
        SettleCase{0, false, 2, {2, 0, 0}, {2, 0, 0}},
        // 64-bit sizes: 6 GiB in 3 pieces.
        SettleCase{qint64(6) << 30, false, 3, {2, 0, 0}, {3, qint64(2) << 30, 0}}),
    [](const auto& i) {
        return (i.param.bySize ? "Size" : "Count") + std::to_string(i.param.value) + "_of_" +
               std::to_string(i.param.available) + "_bytes";
    });

TEST(Settle, EveryResultCoversTheBytesExactly)
{
    for (qint64 a = 1; a <= 120; ++a) {
        for (qint64 v = 1; v <= 130; ++v) {
            for (const SplitFields& before : {SplitFields{2, 0, 0}, SplitFields{7, 3, 0}, SplitFields{1, 1, 0}}) {
                for (bool bySize : {false, true}) {
                    const SplitFields f = bySize ? splitmerge::settleFromSize(a, v, before)
                                                 : splitmerge::settleFromCount(a, v, before);
                    ASSERT_GT(f.size, 0) << a << " " << v;
                    ASSERT_EQ(f.count * f.size + f.remainder, a) << "a=" << a << " v=" << v << " bySize=" << bySize;
                    ASSERT_LT(f.remainder, f.size) << a << " " << v;
                    ASSERT_EQ(splitmerge::piecesFor(a, f.size), f.count + (f.remainder > 0 ? 1 : 0));
                }
            }
        }
    }
}

TEST(PieceNames, NumberFollowsTheBaseWithoutLeadingZeros)
{
    EXPECT_EQ(splitmerge::pieceName(QStringLiteral("/out/movie.avi"), 1), QStringLiteral("/out/movie.avi1"));
    EXPECT_EQ(splitmerge::pieceName(QStringLiteral("/out/movie.avi"), 9), QStringLiteral("/out/movie.avi9"));
    EXPECT_EQ(splitmerge::pieceName(QStringLiteral("/out/movie.avi"), 10), QStringLiteral("/out/movie.avi10"));
    EXPECT_EQ(splitmerge::pieceName(QStringLiteral("/out/movie.avi"), 123), QStringLiteral("/out/movie.avi123"));
    // Any piece names its set by dropping its last character; piece 12 points at another set.
    EXPECT_EQ(splitmerge::mergeBase(QStringLiteral("/out/movie.avi2")), QStringLiteral("/out/movie.avi"));
    EXPECT_EQ(splitmerge::mergeBase(QStringLiteral("/out/movie.avi12")), QStringLiteral("/out/movie.avi1"));
    EXPECT_EQ(splitmerge::mergeBase(QString()), QString());
}

TEST(Fields, OnlyDigitsWithinSixtyFourBits)
{
    qint64 v = -1;
    EXPECT_TRUE(splitmerge::parseField(QStringLiteral("0"), &v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(splitmerge::parseField(QStringLiteral("5000000000"), &v));
    EXPECT_EQ(v, 5000000000LL);
    for (const char* bad : {"", "-1", "1 ", "+3", "1e3", "0x10", "1234567890123456789"})
        EXPECT_FALSE(splitmerge::parseField(QString::fromLatin1(bad), &v)) << bad;
}
