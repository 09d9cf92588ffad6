#include "platform/NumberFormat.h"
#include "support/CaseNames.h"
#include <QLocale>
#include <QString>
#include <gtest/gtest.h>

namespace {

struct PictureCase {
    double value;
    const char16_t* pattern;
    const char16_t* text;
};

class Picture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(Picture, FormatsWithZhCnSeparators)
{
    const PictureCase& c = GetParam();
    EXPECT_EQ(plat::formatPicture(c.value, QStringView(c.pattern)), QString::fromUtf16(c.text))
        << c.value << " with " << QString::fromUtf16(c.pattern).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, Picture, ::testing::Values(
    PictureCase{0, u"###,##0", u"0"},
    PictureCase{1234567, u"###,##0", u"1,234,567"},
    PictureCase{999, u"###,##0", u"999"},
    PictureCase{1000, u"###,##0", u"1,000"},
    PictureCase{0, u"###,##0.00", u"0.00"},
    PictureCase{1234.567, u"###,##0.00", u"1,234.57"},
    PictureCase{0, u"###,###.00", u".00"},
    PictureCase{0.5, u"###,###.00", u".50"},
    PictureCase{12345.5, u"###,###.00", u"12,345.50"},
    PictureCase{0, u"#,#", u""},
    PictureCase{7, u"#,#", u"7"},
    PictureCase{1234567890, u"#,#", u"1,234,567,890"},
    PictureCase{0, u"###,###,### Mb", u" Mb"},
    PictureCase{264212, u"###,###,### Mb", u"264,212 Mb"},
    PictureCase{0, u"#,##0.##", u"0"},
    PictureCase{1234.5, u"#,##0.##", u"1,234.5"},
    PictureCase{1234, u"#,##0.##", u"1,234"},
    PictureCase{0.004, u"#,##0.##", u"0"},
    PictureCase{-1234.5, u"#,##0.##", u"-1,234.5"}),
    [](const auto& i) {
        return test::literalName(QString::number(i.param.value, 'f', QLocale::FloatingPointShortest)) + "_as_" +
               test::literalName(i.param.pattern);
    });

TEST(PictureInt, KeepsLargeValuesExact)
{
    EXPECT_EQ(plat::formatPicture(qint64(9007199254740993), u"#,#"), QStringLiteral("9,007,199,254,740,993"));
    EXPECT_EQ(plat::formatPicture(qint64(0), u"###,###,### Mb"), QStringLiteral(" Mb"));
    EXPECT_EQ(plat::formatPicture(qint64(5), u"###,###.00"), QStringLiteral("5.00"));
}

} // namespace
