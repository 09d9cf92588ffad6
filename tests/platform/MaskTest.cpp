#include "platform/Mask.h"
#include "support/CaseNames.h"
#include <QString>
#include <gtest/gtest.h>

namespace {

struct MaskCase {
    const char16_t* name;
    const char16_t* piece;
    bool matches;
};

class MaskMatch : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskMatch, FollowsWildcardRules)
{
    const MaskCase& c = GetParam();
    EXPECT_EQ(plat::platformMaskMatch(QStringView(c.name), QStringView(c.piece)), c.matches)
        << QString::fromUtf16(c.name).toStdString() << " vs " << QString::fromUtf16(c.piece).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, MaskMatch, ::testing::Values(
    MaskCase{u"README", u"*.*", true},             // a name without '.' is tried as "README."
    MaskCase{u"README", u"*.", true},
    MaskCase{u"a.txt", u"*.txt", true},
    MaskCase{u"A.TXT", u"*.txt", true},            // case-folded
    MaskCase{u"a.txt", u"*.TxT", true},
    MaskCase{u"a.txt.bak", u"*.txt", false},
    MaskCase{u"a.doc", u" *.doc", false},          // pieces are not trimmed
    MaskCase{u" a.doc", u" *.doc", true},
    MaskCase{u"ab", u"a?", true},
    MaskCase{u"a", u"a?", true},                  // "?" takes the appended dot
    MaskCase{u"a", u"a??", false},
    MaskCase{u"abc", u"a?", false},
    MaskCase{u"abc", u"a*c", true},
    MaskCase{u"abcbc", u"a*bc", true},
    MaskCase{u"ac", u"a*c*", true},
    MaskCase{u"a[1].txt", u"a[1].*", true},        // '[' and '\' are literal
    MaskCase{u"a\\b", u"a\\b", true},
    MaskCase{u"ab", u"a\\b", false},
    MaskCase{u"数据.csv", u"数*.CSV", true},
    MaskCase{u"ÄBC.txt", u"äbc.*", true},
    MaskCase{u"x", u"", false},
    MaskCase{u"anything", u"*", true},
    MaskCase{u".profile", u"*.*", true},
    MaskCase{u"abc", u"???", true},
    MaskCase{u"abc", u"????", true},               // the fourth '?' takes the appended dot
    MaskCase{u"abcd.e", u"????", false}),
    [](const auto& i) { return test::literalName(i.param.piece) + "_on_" + test::literalName(i.param.name); });

} // namespace
