#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <gtest/gtest.h>

namespace {

TEST(AttributeLetters, FixedOrderARHS)
{
    using namespace plat;
    EXPECT_EQ(attributeLetters(0), QString());
    EXPECT_EQ(attributeLetters(kAttrArchive), QStringLiteral("A"));
    EXPECT_EQ(attributeLetters(kAttrArchive | kAttrReadOnly), QStringLiteral("AR"));
    EXPECT_EQ(attributeLetters(kAttrSystem | kAttrHidden), QStringLiteral("HS"));
    EXPECT_EQ(attributeLetters(kAttrSystem | kAttrHidden | kAttrReadOnly | kAttrArchive | kAttrDirectory), QStringLiteral("ARHS"));
    EXPECT_EQ(attributeLetters(kAttrDirectory | kAttrNormal), QString());
}

struct AttrCase {
    const char* what;
    std::function<QString(test::TempTree&)> make;   // returns the path
    const char* letters;
    bool dir;
};

class AttributesOnDisk : public ::testing::TestWithParam<AttrCase> {};

TEST_P(AttributesOnDisk, ReadFromModeNameAndHiddenList)
{
    test::TempTree t;
    const QString path = GetParam().make(t);
    const quint32 a = plat::attributes(path);
    EXPECT_EQ(plat::attributeLetters(a), QString::fromLatin1(GetParam().letters)) << GetParam().what;
    EXPECT_EQ(bool(a & plat::kAttrDirectory), GetParam().dir) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Table, AttributesOnDisk, ::testing::Values(
    AttrCase{"plain file", [](test::TempTree& t) { return t.file("a.txt", 3); }, "A", false},
    AttrCase{"read-only file", [](test::TempTree& t) { t.file("r.txt"); t.setMode("r.txt", 0444); return t.path("r.txt"); }, "AR", false},
    AttrCase{"dot file", [](test::TempTree& t) { return t.file(".profile"); }, "AH", false},
    AttrCase{"listed in .hidden", [](test::TempTree& t) { t.file("secret"); t.hideListed("secret"); return t.path("secret"); }, "AH", false},
    AttrCase{"fifo", [](test::TempTree& t) { return t.fifo("pipe"); }, "S", false},
    AttrCase{"folder", [](test::TempTree& t) { return t.dir("sub"); }, "", true},
    AttrCase{"read-only folder", [](test::TempTree& t) { t.dir("ro"); t.setMode("ro", 0555); return t.path("ro"); }, "R", true},
    AttrCase{"link to a file", [](test::TempTree& t) { t.file("target", 5); return t.link("ln", t.path("target")); }, "A", false},
    AttrCase{"link to a folder", [](test::TempTree& t) { t.dir("d"); return t.link("ln", t.path("d")); }, "", true},
    AttrCase{"dangling link", [](test::TempTree& t) { return t.link("ln", t.path("gone")); }, "", false}),
    [](const auto& i) { return test::caseName(i.param.what); });

TEST(HiddenList, ReadsOneNamePerLine)
{
    test::TempTree t;
    t.file(".hidden", QByteArray("one\r\ntwo words\n\n数据\n"));
    const QSet<QString> names = plat::readHiddenList(t.root());
    EXPECT_EQ(names, (QSet<QString>{"one", "two words", QStringLiteral("数据")}));
    EXPECT_TRUE(plat::readHiddenList(t.dir("empty")).isEmpty());
}

} // namespace
