// Target building and the property setters of TFindFile.
#include "support/CaseNames.h"
#include "tools/search/engine/FindFile.h"
#include <QDir>
#include <gtest/gtest.h>

using search::EFindFileError;
using search::TFindFile;

namespace {

struct TargetCase {
    const char* location;
    const char* filename;
    std::vector<const char*> expected;   // "." stands for the current folder
};

void PrintTo(const TargetCase& c, std::ostream* os)
{
    *os << c.location << " | " << c.filename;
}

class Targets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(Targets, AreBuiltFromLocationAndMask)
{
    const TargetCase& c = GetParam();
    TFindFile f;
    f.setLocation(QString::fromUtf8(c.location));
    f.setFilename(QString::fromUtf8(c.filename));
    const QString cwd = QDir::currentPath() == QLatin1String("/") ? QStringLiteral("/") : QDir::currentPath() + u'/';
    QStringList expected;
    for (const char* e : c.expected) {
        QString s = QString::fromUtf8(e);
        if (s.startsWith(u'.'))
            s = cwd + s.mid(2);
        expected << s;
    }
    EXPECT_EQ(f.TargetList(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Search, Targets,
    ::testing::Values(
        TargetCase{"/a;/b", "*.txt", {"/a/*.txt", "/b/*.txt"}},
        TargetCase{"/a;", "*.txt", {"/a/*.txt"}},
        TargetCase{"/a;;/b", "*.txt", {"/a/*.txt", "./*.txt", "/b/*.txt"}},
        TargetCase{"/a;;", "x.y", {"/a/x.y"}},
        TargetCase{"", "x.y", {"./x.y"}},
        TargetCase{";", "x.y", {"./x.y"}},
        TargetCase{"/a;/a/;/a/../a", "x.y", {"/a/x.y"}},          // duplicates after expansion
        TargetCase{"/a;/A", "x.y", {"/a/x.y", "/A/x.y"}},          // identity is case-sensitive
        TargetCase{"sub/dir", "x.y", {"./sub/dir/x.y"}},           // relative to the current folder
        TargetCase{"/a", "", {"/a/*.*"}},
        TargetCase{"/a", "readme", {"/a/readme.*"}},
        TargetCase{"/a", "*", {"/a/*.*"}},
        TargetCase{"/", "*.c", {"/*.c"}}),
    [](const auto& i) {
        return test::literalName(i.param.location) + "_with_" + test::literalName(i.param.filename);
    });

TEST(SearchProperties, DefaultsOfTheComponent)
{
    TFindFile f;
    EXPECT_EQ(f.Filename(), QStringLiteral("*.*"));
    EXPECT_EQ(f.Location(), QString());
    EXPECT_TRUE(f.Subfolders());
    EXPECT_EQ(f.Attributes(), (search::TFileAttributes{search::ffArchive, search::ffReadonly, search::ffHidden,
                                                       search::ffSystem}));
    EXPECT_EQ(f.Attributes().bits(), 0x0F);
    EXPECT_FALSE(f.ExactAttribute());
    EXPECT_TRUE(f.IgnoreCase());
    EXPECT_FALSE(f.Threaded());
    EXPECT_EQ(f.ThreadPriority(), search::tpNormal);
    EXPECT_EQ(f.SizeMin(), 0);
    EXPECT_EQ(f.SizeMax(), 0);
    EXPECT_FALSE(f.Busy());
    EXPECT_FALSE(f.Aborted());
}

TEST(SearchProperties, SettersRefuseFolderPartsAndWildcardsAndKeepTheOldValue)
{
    TFindFile f;
    f.setFilename(QStringLiteral("*.txt"));
    f.setLocation(QStringLiteral("/tmp"));
    try {
        f.setFilename(QStringLiteral("sub/*.txt"));
        ADD_FAILURE() << "no error";
    } catch (const EFindFileError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("sub/*.txt\n\rInvalid filename specified"));
    }
    EXPECT_EQ(f.Filename(), QStringLiteral("*.txt"));
    for (const char* bad : {"/tmp/*", "/tmp/a?c;/x"}) {
        try {
            f.setLocation(QString::fromUtf8(bad));
            ADD_FAILURE() << "no error for " << bad;
        } catch (const EFindFileError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(bad) + QStringLiteral("\n\rlocation cannot to be contained wildcards"));
        }
    }
    EXPECT_EQ(f.Location(), QStringLiteral("/tmp"));
    // A backslash is an ordinary name character here.
    EXPECT_NO_THROW(f.setFilename(QStringLiteral("a\\b.txt")));
}

TEST(SearchProperties, IncludeFilesReplaceLocationAndFilenameUnchanged)
{
    TFindFile f;
    f.setLocation(QStringLiteral("/a"));
    const QStringList include = {QStringLiteral("/x/*.c"), QStringLiteral("/x/*.c"), QStringLiteral("/y/readme")};
    f.setIncludeFiles(include);
    EXPECT_EQ(f.TargetList(), include);
    f.setIncludeFiles({});
    EXPECT_EQ(f.TargetList(), QStringList{QStringLiteral("/a/*.*")});
}

} // namespace
