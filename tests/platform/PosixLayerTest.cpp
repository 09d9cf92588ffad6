#include "platform/posix/Faults.h"
#include "platform/posix/Fd.h"
#include "platform/posix/PathCodec.h"
#include "platform/posix/SysError.h"
#include "support/TempTree.h"
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat::posix;

namespace {

struct CodecCase {
    const char* label;
    QByteArray bytes;
    bool utf8;          // decodes like QString::fromUtf8
};

class PathCodecTest : public ::testing::TestWithParam<CodecCase> {};

TEST_P(PathCodecTest, DecodesAndEncodesBackToTheSameBytes)
{
    const CodecCase& c = GetParam();
    const QString text = decodePath(c.bytes);
    EXPECT_EQ(encodePath(text), c.bytes);
    EXPECT_EQ(hasEscapedBytes(text), !c.utf8);
    if (c.utf8) {
        EXPECT_EQ(text, QString::fromUtf8(c.bytes));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathCodecTest,
    ::testing::Values(CodecCase{"Ascii", "/tmp/a b.txt", true},
                      CodecCase{"Chinese", "/tmp/新建的文件夹", true},
                      CodecCase{"FourByteCharacter", "/tmp/\xF0\x9F\x98\x80.txt", true},
                      CodecCase{"Latin1Byte", "/tmp/caf\xE9", false},
                      CodecCase{"LoneContinuationByte", "/tmp/\x80x", false},
                      CodecCase{"OverlongSlash", "/tmp/\xC0\xAF", false},
                      CodecCase{"EncodedSurrogate", "/tmp/\xED\xB2\x80", false},
                      CodecCase{"TruncatedSequence", "/tmp/\xE6\x96", false},
                      CodecCase{"AboveUnicode", "/tmp/\xF4\x90\x80\x80", false},
                      CodecCase{"MixedValidAndInvalid", "\xE6\x96\xB0\xFF\xFE\xE6\x96\xB0", false}),
    [](const ::testing::TestParamInfo<CodecCase>& info) { return std::string(info.param.label); });

TEST(PathCodec, TwoUndecodableNamesStayTwoFiles)
{
    test::TempTree tree;
    const QByteArray a = encodePath(tree.root()) + "x\xE9";
    const QByteArray b = encodePath(tree.root()) + "x\xE8";
    for (const QByteArray& p : {a, b}) {
        Fd fd(::open(p.constData(), O_CREAT | O_EXCL | O_WRONLY, 0600));
        ASSERT_TRUE(fd.valid());
    }
    const QString nameA = decodePath(a);
    EXPECT_NE(nameA, decodePath(b));
    Fd reopened = openPath(nameA, O_WRONLY | O_TRUNC);
    ASSERT_TRUE(reopened.valid());
    ASSERT_EQ(::write(reopened.get(), "A", 1), 1);
    struct stat st;
    ASSERT_EQ(::stat(b.constData(), &st), 0);
    EXPECT_EQ(st.st_size, 0);   // the other file was not touched
    ASSERT_EQ(::stat(a.constData(), &st), 0);
    EXPECT_EQ(st.st_size, 1);
}

TEST(Faults, InjectedOpenFailureHitsOnlyThatPathAndEndsWithTheScope)
{
    test::TempTree tree;
    const QString locked = tree.dir("locked");
    const QString other = tree.dir("other");
    {
        faults::Scoped fault(faults::Op::Open, locked, EACCES);
        errno = 0;
        EXPECT_FALSE(openPath(locked, O_RDONLY | O_DIRECTORY).valid());
        EXPECT_EQ(errno, EACCES);
        Fd parent = openPath(tree.root(), O_RDONLY | O_DIRECTORY);
        ASSERT_TRUE(parent.valid());
        EXPECT_FALSE(openAt(parent.get(), "locked", O_RDONLY | O_DIRECTORY).valid());
        EXPECT_TRUE(openAt(parent.get(), "other", O_RDONLY | O_DIRECTORY).valid());
        EXPECT_TRUE(openPath(other, O_RDONLY | O_DIRECTORY).valid());
    }
    EXPECT_TRUE(openPath(locked, O_RDONLY | O_DIRECTORY).valid());
}

TEST(SysError, DescribesTheOperationThePathAndTheReason)
{
    const SysError e{ENOENT, QStringLiteral("open"), QStringLiteral("/x/y")};
    EXPECT_TRUE(bool(e));
    EXPECT_EQ(e.describe(), QStringLiteral("open /x/y: ") + errnoText(ENOENT));
    EXPECT_FALSE(errnoText(ENOSPC).isEmpty());
}

TEST(Fd, CloseReportsAndLeavesTheWrapperEmpty)
{
    test::TempTree tree;
    Fd fd = openPath(tree.file("f", 3), O_RDONLY);
    ASSERT_TRUE(fd.valid());
    EXPECT_EQ(fd.close(), 0);
    EXPECT_FALSE(fd.valid());
    EXPECT_EQ(fd.close(), 0);
}

} // namespace
