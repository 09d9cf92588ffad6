#include "SplitMergeTestSupport.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include "tools/splitmerge/engine/FileSplitter.h"
#include "tools/splitmerge/engine/SplitFields.h"
#include "tools/splitmerge/engine/SplitMergeError.h"
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

using splitmerge::ESplitMergeError;
using splitmerge::FileSplitter;
using splitmerge::PieceMerger;
using smtest::digits;
using smtest::readBytes;

namespace {

// A split by count: file size, start position, count; the expected piece contents.
struct SplitCase {
    const char* name;
    int fileSize;
    qint64 start;
    qint64 count;
    std::vector<QByteArray> pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SplitByCount : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitByCount, WritesNumberedPiecesCoveringTheRest)
{
    const SplitCase& c = GetParam();
    test::TempTree tree;
    const QString src = tree.file(QStringLiteral("src.bin"), digits(c.fileSize));
    FileSplitter file;
    file.Open(src);
    file.SetPosition(c.start);
    const qint64 start = file.Position();   // a start at or past the end is 0
    const auto f = splitmerge::settleFromCount(file.Available(), c.count, {2, 0, 0});
    EXPECT_EQ(file.Split(tree.path(QStringLiteral("p.bin")), f.size),
              FileSplitter::Outcome::Completed);
    for (size_t k = 0; k < c.pieces.size(); ++k)
        EXPECT_EQ(readBytes(tree.path(QStringLiteral("p.bin") + QString::number(k + 1))), c.pieces[k]) << k + 1;
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("p.bin") + QString::number(c.pieces.size() + 1))));
    // The pieces join back into the bytes from the start position on.
    PieceMerger merger(tree.path(QStringLiteral("p.bin")), tree.path(QStringLiteral("joined")));
    EXPECT_EQ(merger.Execute(), int(c.pieces.size()));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("joined"))), digits(c.fileSize).mid(int(start)));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SplitByCount,
    ::testing::Values(SplitCase{"ten_bytes_count_3", 10, 0, 3, {"012", "345", "678", "9"}},
                      SplitCase{"ten_bytes_count_20", 10, 0, 20, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
                      SplitCase{"start_4_count_2", 10, 4, 2, {"456", "789"}},
                      SplitCase{"twelve_pieces", 12, 0, 12,
                                {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "1"}},
                      SplitCase{"start_at_end_is_start_0", 4, 4, 1, {"0123"}}),
    test::NameField());

TEST(Split, ExistingPieceIsReplacedOnlyWhenAllowedAndARefusalStops)
{
    test::TempTree tree;
    const QString src = tree.file(QStringLiteral("src"), digits(10));
    tree.file(QStringLiteral("p2"), QByteArray("old"));
    FileSplitter file;
    QStringList asked;
    file.OnReplace = [&](FileSplitter* sender, const QString& path) {
        EXPECT_EQ(sender, &file);
        asked << path;
        return false;
    };
    file.Open(src);
    EXPECT_EQ(file.Split(tree.path(QStringLiteral("p")), 4), FileSplitter::Outcome::Stopped);
    EXPECT_EQ(asked, QStringList{tree.path(QStringLiteral("p2"))});
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p1"))), QByteArray("0123"));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p2"))), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("p3"))));

    file.OnReplace = [](FileSplitter*, const QString&) { return true; };
    EXPECT_EQ(file.Split(tree.path(QStringLiteral("p")), 4), FileSplitter::Outcome::Completed);
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p2"))), QByteArray("4567"));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p3"))), QByteArray("89"));
}

TEST(Split, EmptyFileAndZeroSizeAreRefused)
{
    test::TempTree tree;
    FileSplitter file;
    file.Open(tree.file(QStringLiteral("empty"), 0));
    EXPECT_THROW(file.Split(tree.path(QStringLiteral("p")), 1), ESplitMergeError);
    file.Open(tree.file(QStringLiteral("ten"), 10));
    EXPECT_THROW(file.Split(tree.path(QStringLiteral("p")), 0), ESplitMergeError);
    EXPECT_EQ(smtest::entries(tree.root()), (QStringList{QStringLiteral("empty"), QStringLiteral("ten")}));
}

// Every way an output could be the file being read is refused before anything is written.
TEST(SelfOverwrite, APieceThatIsTheOpenedFileIsRefused)
{
    test::TempTree tree;
    const QString src = tree.file(QStringLiteral("x3"), digits(10));
    tree.link(QStringLiteral("y2"), src);
    for (const QString& base : {tree.path(QStringLiteral("x")), tree.path(QStringLiteral("y"))}) {
        FileSplitter file;
        file.OnReplace = [](FileSplitter*, const QString&) { return true; };
        file.Open(src);
        try {
            file.Split(base, 3);
            ADD_FAILURE() << "no refusal for " << base.toStdString();
        } catch (const ESplitMergeError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("分割出的文件不能是正在分割的文件: "))) << e.what();
        }
        EXPECT_FALSE(QFile::exists(base + QStringLiteral("1")));
        EXPECT_EQ(readBytes(src), digits(10));
    }
}

TEST(SelfOverwrite, AMergeOutputThatIsAPieceOrTheOpenedFileIsRefused)
{
    test::TempTree tree;
    tree.file(QStringLiteral("m1"), QByteArray("aa"));
    tree.file(QStringLiteral("m2"), QByteArray("bb"));
    tree.file(QStringLiteral("m3"), QByteArray("cc"));
    const QString other = tree.file(QStringLiteral("other"), QByteArray("zz"));
    tree.link(QStringLiteral("alias"), tree.path(QStringLiteral("m3")));
    for (const char* out : {"m1", "m3", "alias"}) {
        PieceMerger merger(tree.path(QStringLiteral("m")), tree.path(QString::fromLatin1(out)));
        EXPECT_THROW(merger.Execute(), ESplitMergeError) << out;
    }
    PieceMerger toOpened(tree.path(QStringLiteral("m")), other);
    EXPECT_THROW(toOpened.Execute(other), ESplitMergeError);
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("m1"))), QByteArray("aa"));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("m3"))), QByteArray("cc"));
    EXPECT_EQ(readBytes(other), QByteArray("zz"));
    EXPECT_EQ(smtest::entries(tree.root()).size(), 5);   // no temporary file left
}

TEST(SelfOverwrite, InsertingTheOpenedFileOrBackingUpOverAnInputIsRefused)
{
    test::TempTree tree;
    const QString opened = tree.file(QStringLiteral("x.bin"), QByteArray("0123"));
    const QString source = tree.file(QStringLiteral("备份x.bin"), QByteArray("ab"));
    tree.link(QStringLiteral("same"), opened);
    FileSplitter file;
    file.OnReplace = [](FileSplitter*, const QString&) { return true; };
    file.Open(opened);
    EXPECT_THROW(file.Insert(opened, 0), ESplitMergeError);
    EXPECT_THROW(file.Insert(tree.path(QStringLiteral("same")), 0), ESplitMergeError);
    // The backup name of x.bin is the file to insert.
    EXPECT_THROW(file.Insert(source, 0, FileSplitter::BackupName(opened)), ESplitMergeError);
    // A backup that is the opened file under another name.
    EXPECT_THROW(file.Insert(source, 0, tree.path(QStringLiteral("same"))), ESplitMergeError);
    EXPECT_EQ(readBytes(opened), QByteArray("0123"));
    EXPECT_EQ(readBytes(source), QByteArray("ab"));
}

TEST(Merge, JoinsUpToTheFirstGap)
{
    test::TempTree tree;
    tree.file(QStringLiteral("m1"), QByteArray("one "));
    tree.file(QStringLiteral("m2"), QByteArray("two "));
    tree.file(QStringLiteral("m4"), QByteArray("four"));
    tree.file(QStringLiteral("out"), QByteArray("an older and longer output"));
    PieceMerger merger(tree.path(QStringLiteral("m")), tree.path(QStringLiteral("out")));
    qint64 last = 0;
    merger.OnProgress = [&](PieceMerger*, qint64 done) { last = done; };
    EXPECT_EQ(merger.CountPieces(), 2);
    EXPECT_EQ(merger.Execute(), 2);
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("out"))), QByteArray("one two "));
    EXPECT_EQ(last, 8);
}

TEST(Merge, PiecesBeyondNineAndAMissingFirstPiece)
{
    test::TempTree tree;
    QByteArray expected;
    for (int k = 1; k <= 11; ++k) {
        const QByteArray b = QByteArray::number(k) + ',';
        tree.file(QStringLiteral("s") + QString::number(k), b);
        expected += b;
    }
    EXPECT_TRUE(splitmerge::mergeAvailable(tree.path(QStringLiteral("s7"))));
    // Piece 11 points at the set "s1": s11 exists, s12 does not.
    EXPECT_FALSE(splitmerge::mergeAvailable(tree.path(QStringLiteral("s11"))));
    EXPECT_EQ(PieceMerger(tree.path(QStringLiteral("s")), tree.path(QStringLiteral("all"))).Execute(), 11);
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("all"))), expected);

    PieceMerger none(tree.path(QStringLiteral("t")), tree.path(QStringLiteral("none")));
    try {
        none.Execute();
        ADD_FAILURE();
    } catch (const ESplitMergeError& e) {
        EXPECT_EQ(e.message(), tree.path(QStringLiteral("t1")) + QStringLiteral("  不存在！"));
    }
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("none"))));
}

TEST(Insert, ReplacesBytesAtThePositionAndGrowsTheFile)
{
    struct Case {
        qint64 position;
        QByteArray result;
    };
    for (const Case& c : {Case{0, "ABC3456"}, Case{5, "01234ABC"}, Case{7, "0123456ABC"}, Case{99, "0123456ABC"}}) {
        test::TempTree tree;
        const QString opened = tree.file(QStringLiteral("x"), QByteArray("0123456"));
        FileSplitter file;
        file.Open(opened);
        EXPECT_TRUE(file.Insert(tree.file(QStringLiteral("ins"), QByteArray("ABC")), c.position));
        EXPECT_FALSE(file.IsOpen());   // closed, its close checked
        EXPECT_EQ(readBytes(opened), c.result) << c.position;
    }
}

TEST(Insert, BackupIsMadeFirstAndAnExistingOneReplacedOnlyWhenAllowed)
{
    test::TempTree tree;
    const QString opened = tree.file(QStringLiteral("x.bin"), QByteArray("0123"));
    const QString source = tree.file(QStringLiteral("ins"), QByteArray("AB"));
    const QString backup = tree.file(QStringLiteral("备份x.bin"), QByteArray("old backup"));
    EXPECT_EQ(FileSplitter::BackupName(opened), backup);
    FileSplitter file;
    file.Open(opened);
    int asked = 0;
    bool allow = false;
    file.OnReplace = [&](FileSplitter*, const QString& path) {
        EXPECT_EQ(path, backup);
        ++asked;
        return allow;
    };
    EXPECT_FALSE(file.Insert(source, 1, backup));
    EXPECT_EQ(readBytes(opened), QByteArray("0123"));
    EXPECT_EQ(readBytes(backup), QByteArray("old backup"));
    allow = true;
    EXPECT_TRUE(file.Insert(source, 1, backup));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(readBytes(backup), QByteArray("0123"));
    file.Close();
    EXPECT_EQ(readBytes(opened), QByteArray("0AB3"));
}

TEST(Open, AReadOnlyFileIsNotOpenedForWritingButCanBeRead)
{
    test::TempTree tree;
    const QString path = tree.file(QStringLiteral("ro"), digits(6));
    tree.setMode(QStringLiteral("ro"), 0444);
    FileSplitter file;
    EXPECT_THROW(file.Open(path), ESplitMergeError);
    EXPECT_FALSE(file.IsOpen());
    file.Open(path, false);
    EXPECT_EQ(file.Size(), 6);
    EXPECT_THROW(file.Insert(tree.file(QStringLiteral("ins"), 1), 0), ESplitMergeError);
    EXPECT_EQ(file.Split(tree.path(QStringLiteral("p")), 3), FileSplitter::Outcome::Completed);
    EXPECT_THROW(file.Open(tree.dir(QStringLiteral("folder")), false), ESplitMergeError);
    EXPECT_THROW(file.Open(tree.fifo(QStringLiteral("fifo")), false), ESplitMergeError);
}

// --- Write failures: an error, the partial output removed, older files kept ---

TEST(WriteFailure, AReadOnlyPieceOrOutputIsNotReplaced)
{
    test::TempTree tree;
    const QString src = tree.file(QStringLiteral("src"), digits(10));
    tree.file(QStringLiteral("p2"), QByteArray("keep"));
    tree.setMode(QStringLiteral("p2"), 0444);
    FileSplitter file;
    file.OnReplace = [](FileSplitter*, const QString&) { return true; };
    file.Open(src);
    EXPECT_THROW(file.Split(tree.path(QStringLiteral("p")), 5), ESplitMergeError);
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p2"))), QByteArray("keep"));

    tree.file(QStringLiteral("out"), QByteArray("old"));
    tree.setMode(QStringLiteral("out"), 0444);
    PieceMerger merger(tree.path(QStringLiteral("p")), tree.path(QStringLiteral("out")));
    EXPECT_THROW(merger.Execute(), ESplitMergeError);
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("out"))), QByteArray("old"));
    EXPECT_EQ(smtest::entries(tree.root()),
              (QStringList{QStringLiteral("out"), QStringLiteral("p1"), QStringLiteral("p2"), QStringLiteral("src")}));
}

TEST(WriteFailure, AFailingWriteRemovesThePartialPieceAndKeepsTheOlderOutput)
{
    test::TempTree tree;
    const QString src = tree.file(QStringLiteral("src"), digits(40));
    tree.file(QStringLiteral("out"), QByteArray("older output"));
    for (int k = 1; k <= 4; ++k)
        tree.file(QStringLiteral("m") + QString::number(k), digits(10));
    FileSplitter file;
    file.Open(src);
    QString splitError, mergeError;
    {
        smtest::FileSizeLimit limit(15);   // the first piece of 20 bytes cannot be written
        try {
            file.Split(tree.path(QStringLiteral("p")), 20);
        } catch (const ESplitMergeError& e) {
            splitError = e.message();
        }
        try {
            PieceMerger(tree.path(QStringLiteral("m")), tree.path(QStringLiteral("out"))).Execute();
        } catch (const ESplitMergeError& e) {
            mergeError = e.message();
        }
    }
    EXPECT_TRUE(splitError.startsWith(QStringLiteral("写文件出错: ") + tree.path(QStringLiteral("p1")))) << splitError.toStdString();
    EXPECT_TRUE(mergeError.startsWith(QStringLiteral("写文件出错: ") + tree.path(QStringLiteral("out")))) << mergeError.toStdString();
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("out"))), QByteArray("older output"));
    EXPECT_EQ(smtest::entries(tree.root()),
              (QStringList{QStringLiteral("m1"), QStringLiteral("m2"), QStringLiteral("m3"), QStringLiteral("m4"),
                           QStringLiteral("out"), QStringLiteral("src")}));
}

TEST(WriteFailure, InsertionReportsAFailingWrite)
{
    test::TempTree tree;
    const QString opened = tree.file(QStringLiteral("x"), digits(10));
    const QString source = tree.file(QStringLiteral("ins"), digits(20));
    FileSplitter file;
    file.Open(opened);
    bool thrown = false;
    {
        smtest::FileSizeLimit limit(15);
        try {
            file.Insert(source, 10);
        } catch (const ESplitMergeError&) {
            thrown = true;
        }
    }
    EXPECT_TRUE(thrown);
}

} // namespace
