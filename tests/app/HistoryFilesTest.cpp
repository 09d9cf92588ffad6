#include "AppTestSupport.h"
#include "app/HistoryFiles.h"
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using apptest::privateFile;
using apptest::readBytes;
using apptest::writeBytes;

namespace {

class ListFileTest : public ::testing::Test {
protected:
    void SetUp() override { apptest::cleanAccount(); }
    void TearDown() override { apptest::cleanAccount(); }
};

TEST(SplitLinesTest, AnyLineEndAndNoTrailingEmptyEntry)
{
    const struct {
        const char* text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"\r\n", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::splitLines(QString::fromLatin1(c.text)), c.lines) << c.text;
}

TEST_F(ListFileTest, WritesUtf8WithCrLfAndReadsItBack)
{
    const QStringList lines{"/home/用户/桌面/", "", "/tmp/a b/"};
    ASSERT_TRUE(app::writeListFile(app::kPathListFile, lines));
    EXPECT_EQ(readBytes(privateFile(app::kPathListFile)),
              QByteArray("/home/用户/桌面/\r\n\r\n/tmp/a b/\r\n"));
    EXPECT_EQ(app::readListFile(app::kPathListFile), lines);
    EXPECT_FALSE(QFile::exists(privateFile(app::kPathListFile + ".part")));
}

TEST_F(ListFileTest, MissingFileReadsAsNothing)
{
    EXPECT_FALSE(app::listFileExists(app::kMaskListFile));
    EXPECT_EQ(app::readListFile(app::kMaskListFile), std::nullopt);
    EXPECT_TRUE(app::removeListFile(app::kMaskListFile));
}

TEST_F(ListFileTest, LinksAreNeitherReadNorFollowedOnWrite)
{
    const QString target = privateFile("elsewhere.txt");
    writeBytes(target, "secret\r\n");
    const QString link = privateFile(app::kPathListFile);
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    EXPECT_EQ(app::readListFile(app::kPathListFile), std::nullopt);
    ASSERT_TRUE(app::writeListFile(app::kPathListFile, {"x"}));
    EXPECT_EQ(readBytes(target), QByteArray("secret\r\n"));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    QFile::remove(target);
}

// A FIFO or a folder in the list file's place reads as a damaged list at once (no wait for a writer).
TEST_F(ListFileTest, AFifoOrFolderInItsPlaceReadsAsNothing)
{
    const QString path = privateFile(app::kPathListFile);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(app::readListFile(app::kPathListFile), std::nullopt);
    ASSERT_EQ(::unlink(QFile::encodeName(path).constData()), 0);
    ASSERT_EQ(::mkdir(QFile::encodeName(path).constData(), 0700), 0);
    EXPECT_EQ(app::readListFile(app::kPathListFile), std::nullopt);
    ASSERT_EQ(::rmdir(QFile::encodeName(path).constData()), 0);
    writeBytes(path, QByteArray(70000, 'a') + "\r\nb\r\n");   // past one read block
    const auto lines = app::readListFile(app::kPathListFile);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (QStringList{QString(70000, u'a'), "b"}));
}

} // namespace
