#include "platform/Times.h"
#include "support/CaseNames.h"
#include <QByteArray>
#include <gtest/gtest.h>
#include <cstdlib>
#include <ctime>

namespace {

constexpr qint64 kSec = 1000000000;

// Switches the process time zone for one test and restores it.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* tz) : m_saved(qgetenv("TZ"))
    {
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        setenv("TZ", m_saved.constData(), 1);
        tzset();
    }
private:
    QByteArray m_saved;
};

TEST(Times, FormatsInTheLocalZone)
{
    EXPECT_EQ(plat::localTimeText(0), QStringLiteral("1970-01-01 08:00:00"));   // CST-8
    EXPECT_EQ(plat::localTimeText(1700000000 * kSec + 999999999), QStringLiteral("2023-11-15 06:13:20"));
    EXPECT_EQ(plat::localTimeText(-1), QStringLiteral("1970-01-01 07:59:59"));  // before the epoch rounds down
}

TEST(Times, RejectsMalformedTexts)
{
    for (const char* bad : {"2023-11-15 06:13", "2023/11/15 06:13:20", "2023-13-01 00:00:00", "2023-02-29 00:00:00",
                            "2023-04-31 00:00:00", "2023-01-01 24:00:00", "2023-01-01 00:60:00", "abcd-ef-gh ij:kl:mn"})
        EXPECT_FALSE(plat::parseLocalTime(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(plat::parseLocalTime(u"2024-02-29 12:00:00"));
}

struct ZoneCase {
    const char* tz;
    qint64 utcSeconds;
};

class TimesRoundTrip : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(TimesRoundTrip, TextReadsBackToTheSameSecond)
{
    ZoneGuard zone(GetParam().tz);
    const qint64 ns = GetParam().utcSeconds * kSec;
    const QString text = plat::localTimeText(ns + 123456789);
    const auto back = plat::parseLocalTime(text);
    ASSERT_TRUE(back) << text.toStdString();
    EXPECT_EQ(*back, ns) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Zones, TimesRoundTrip, ::testing::Values(
    ZoneCase{"CST-8", 0}, ZoneCase{"CST-8", 1700000000}, ZoneCase{"CST-8", 4102444800},
    ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1700000000},          // winter
    ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1690000000},          // summer
    ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1711846800},          // 2024-03-31 03:00 CEST, just after the change
    ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1729989000}),         // 2024-10-27 02:30 CEST, first pass of the repeated hour
    [](const auto& i) { return std::string(i.param.tz, 3) + "_" + std::to_string(i.param.utcSeconds); });

TEST(TimesDaylight, SummerAndWinterOffsets)
{
    ZoneGuard zone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(plat::localTimeText(1690000000 * kSec), QStringLiteral("2023-07-22 06:26:40"));   // UTC+2
    EXPECT_EQ(plat::localTimeText(1700000000 * kSec), QStringLiteral("2023-11-14 23:13:20"));   // UTC+1
    // 02:30 on the autumn change day exists twice; the earlier (summer) reading is taken.
    EXPECT_EQ(*plat::parseLocalTime(u"2024-10-27 02:30:00"), 1729989000 * kSec);
    // 02:30 on the spring change day does not exist; it moves forward into summer time.
    const auto skipped = plat::parseLocalTime(u"2024-03-31 02:30:00");
    ASSERT_TRUE(skipped);
    EXPECT_EQ(plat::localTimeText(*skipped), QStringLiteral("2024-03-31 03:30:00"));
}

} // namespace
