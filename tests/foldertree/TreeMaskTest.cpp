#include "foldertree/engine/TreeMask.h"
#include "support/CaseNames.h"
#include <gtest/gtest.h>

using foldertree::TreeMask;

namespace {

struct MaskCase {
    const char* mask;
    const char* name;
    bool matches;
};

class TreeMaskMatch : public ::testing::TestWithParam<MaskCase> {};

TEST_P(TreeMaskMatch, Matches)
{
    const MaskCase& c = GetParam();
    EXPECT_EQ(TreeMask(QString::fromUtf8(c.mask)).matches(QString::fromUtf8(c.name)), c.matches)
        << c.mask << " / " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TreeMaskMatch,
    ::testing::Values(
        // "*.*" needs a dot; "*" takes everything
        MaskCase{"*.*", "README", false}, MaskCase{"*.*", "a.txt", true}, MaskCase{"*.*", ".bashrc", true},
        MaskCase{"*", "README", true}, MaskCase{"", "README", false}, MaskCase{" ; ;", "a.b", true},
        // case-insensitive, parts trimmed, any part matches
        MaskCase{"*.TXT", "a.txt", true}, MaskCase{" *.doc ; *.jpg ", "photo.JPG", true},
        MaskCase{"*.doc;*.jpg", "photo.png", false},
        // wildcards consume the whole name unless the mask ends in '*'
        MaskCase{"a?c", "abc", true}, MaskCase{"a?c", "abcd", false}, MaskCase{"a*", "abcd", true},
        MaskCase{"*.tar", "x.tar.gz", false}, MaskCase{"*.tar*", "x.tar.gz", true}, MaskCase{"*a*b", "xaxb", true},
        MaskCase{"*a*b", "xabx", false},
        // no wildcards: the equal name only
        MaskCase{"readme", "README", true}, MaskCase{"readme", "README.md", false},
        MaskCase{"数据*.csv", "数据1.CSV", true}),
    [](const auto& i) { return test::literalName(i.param.mask) + "_on_" + test::literalName(i.param.name); });

TEST(TreeMask, PartsAreTrimmedLowerCasedAndJoined)
{
    EXPECT_EQ(TreeMask(QStringLiteral(" *.Doc ;; *.JPG ")).joined(), QStringLiteral("*.doc;*.jpg"));
    EXPECT_EQ(TreeMask().joined(), QStringLiteral("*.*"));
}

} // namespace
