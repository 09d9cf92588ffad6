// The byte source: loading, the 64 KiB cache, the piece table's overwrites, removals and undo, the change
// marks, the markers and the private working file; the shown file is never written.
#include "HexTestSupport.h"
#include "platform/PrivateDir.h"
#include "platform/posix/Faults.h"
#include "support/TempTree.h"
#include "tools/hexview/engine/ByteRanges.h"
#include "tools/hexview/engine/HexErrors.h"
#include "tools/hexview/engine/HexSource.h"
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sys/stat.h>

using hexview::ByteRanges;
using hexview::HexSource;
using namespace hextest;

namespace {

constexpr qint64 GiB = qint64(1) << 30;

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EOrvoError& e) {
        return e.message();
    }
    return QString();
}

QByteArray contentOf(HexSource& s)
{
    QByteArray out;
    for (qint64 i = 0; i < s.size(); ++i)
        out.append(char(s.byteAt(i)));
    return out;
}

TEST(ByteRangesTest, AddMergesTouchingRunsAndRemoveSplitsThem)
{
    ByteRanges r;
    for (qint64 p : {5, 6, 7, 20, 9, 8})
        r.add(p);
    EXPECT_EQ(r.runCount(), 2);
    EXPECT_EQ(r.count(), 6);
    EXPECT_TRUE(r.contains(9));
    EXPECT_FALSE(r.contains(10));
    r.remove(7, 8);
    EXPECT_EQ(r.runCount(), 3);
    EXPECT_FALSE(r.contains(7));
    EXPECT_TRUE(r.contains(8));
    ByteRanges tail = r.tailFrom(9);
    EXPECT_EQ(tail.count(), 2);   // 9 and 20
    r.truncateFrom(6);
    EXPECT_EQ(r.count(), 1);
    EXPECT_TRUE(r.contains(5));
    r.addAll(tail);
    EXPECT_TRUE(r.contains(20));
}

// A run of a multi-GiB file costs one entry, not one bit per byte.
TEST(ByteRangesTest, AHugeRunIsOneEntry)
{
    ByteRanges r;
    r.add(0, 8 * GiB);
    EXPECT_EQ(r.runCount(), 1);
    EXPECT_EQ(r.count(), 8 * GiB);
    EXPECT_TRUE(r.contains(8 * GiB - 1));
}

class ByteSourceTest : public ::testing::Test {
protected:
    test::TempTree tree;
};

TEST_F(ByteSourceTest, ReadsEveryByteAcrossCacheBlocks)
{
    const QByteArray bytes = pattern(3 * HexSource::kCacheSize + 17);
    const QString path = tree.file("data.bin", bytes);
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    EXPECT_EQ(s.size(), bytes.size());
    EXPECT_EQ(contentOf(s), bytes);
    EXPECT_EQ(s.byteAt(-1), -1);
    EXPECT_EQ(s.byteAt(bytes.size()), -1);
    EXPECT_EQ(s.fileName(), path);
}

TEST_F(ByteSourceTest, AFileThatCannotBeOpenedLeavesThePreviousContent)
{
    const QString path = tree.file("kept.bin", QByteArray("kept"));
    HexSource s;
    EXPECT_EQ(s.fileName(), QStringLiteral("Untitled"));
    EXPECT_EQ(s.size(), 0);
    ASSERT_TRUE(s.loadFromFile(path));
    const QString folder = tree.dir("folder");
    for (const QString& bad : {tree.path("missing.bin"), folder, tree.fifo("pipe")}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(s.loadFromFile(bad));
        EXPECT_EQ(s.fileName(), path);
        EXPECT_EQ(contentOf(s), QByteArray("kept"));
    }
}

TEST_F(ByteSourceTest, OverwritingMarksTheByteAndLeavesTheFileAlone)
{
    const QByteArray bytes = pattern(100);
    const QString path = tree.file("data.bin", bytes);
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    EXPECT_EQ(s.undoDescription(), QStringLiteral("No Undo"));

    // The same value changes nothing.
    EXPECT_FALSE(s.overwrite(10, quint8(10)));
    EXPECT_FALSE(s.isChanged(10));
    EXPECT_EQ(s.undoCount(), 0);

    EXPECT_TRUE(s.overwrite(10, 0xAB));
    EXPECT_TRUE(s.overwrite(11, 0xCD));
    EXPECT_FALSE(s.overwrite(100, 1));   // past the end
    EXPECT_EQ(s.byteAt(10), 0xAB);
    EXPECT_EQ(s.byteAt(11), 0xCD);
    EXPECT_EQ(s.byteAt(12), 12);
    EXPECT_TRUE(s.isChanged(10));
    EXPECT_TRUE(s.isChanged(11));
    EXPECT_FALSE(s.isChanged(12));
    EXPECT_EQ(s.changes().runCount(), 1);
    EXPECT_EQ(s.undoDescription(), QStringLiteral("Byte changed"));
    EXPECT_EQ(readAll(path), bytes);

    // Neighbouring added bytes share one piece.
    EXPECT_EQ(s.pieces().size(), 3u);

    ASSERT_TRUE(s.undo());
    EXPECT_EQ(s.byteAt(11), 11);
    EXPECT_FALSE(s.isChanged(11));
    EXPECT_TRUE(s.isChanged(10));
    ASSERT_TRUE(s.undo());
    EXPECT_EQ(contentOf(s), bytes);
    EXPECT_TRUE(s.changes().isEmpty());
    EXPECT_FALSE(s.undo());
    EXPECT_EQ(s.undoDescription(), QStringLiteral("No Undo"));
}

TEST_F(ByteSourceTest, RemovalShiftsTheBytesAndDropsLaterMarks)
{
    const QByteArray bytes = pattern(50);
    const QString path = tree.file("data.bin", bytes);
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    ASSERT_TRUE(s.overwrite(3, 0xEE));
    ASSERT_TRUE(s.overwrite(30, 0xEE));
    ASSERT_TRUE(s.remove(20, 5));
    EXPECT_EQ(s.size(), 45);
    EXPECT_EQ(s.undoDescription(), QStringLiteral("Byte(s) removed"));
    QByteArray expected = bytes;
    expected[3] = char(0xEE);
    expected[30] = char(0xEE);
    expected.remove(20, 5);
    EXPECT_EQ(contentOf(s), expected);
    EXPECT_TRUE(s.isChanged(3));
    EXPECT_FALSE(s.isChanged(25));   // the byte changed at 30 moved here; its mark is gone
    EXPECT_EQ(s.changes().count(), 1);

    // A removal past the end is clamped; nothing at the end is refused.
    EXPECT_TRUE(s.remove(40, 100));
    EXPECT_EQ(s.size(), 40);
    EXPECT_FALSE(s.remove(40, 1));

    ASSERT_TRUE(s.undo());
    ASSERT_TRUE(s.undo());
    EXPECT_EQ(s.size(), 50);
    EXPECT_TRUE(s.isChanged(30));
    EXPECT_EQ(s.byteAt(30), 0xEE);
    EXPECT_EQ(readAll(path), bytes);
}

TEST_F(ByteSourceTest, InsertionAddsMarkedBytes)
{
    const QString path = tree.file("data.bin", QByteArray("abcdef"));
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    ASSERT_TRUE(s.insert(2, QByteArray("XY")));
    EXPECT_EQ(contentOf(s), QByteArray("abXYcdef"));
    EXPECT_EQ(s.undoDescription(), QStringLiteral("Insert buffer"));
    EXPECT_TRUE(s.isChanged(2));
    EXPECT_TRUE(s.isChanged(3));
    EXPECT_FALSE(s.isChanged(4));
    ASSERT_TRUE(s.undo());
    EXPECT_EQ(contentOf(s), QByteArray("abcdef"));
    EXPECT_EQ(readAll(path), QByteArray("abcdef"));
}

TEST_F(ByteSourceTest, TheUndoLogKeepsTheNewestHundredRecords)
{
    const QString path = tree.file("data.bin", QByteArray(200, '\0'));
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    for (int i = 0; i < 120; ++i)
        ASSERT_TRUE(s.overwrite(i, 1));
    EXPECT_EQ(s.undoCount(), HexSource::kMaxUndo);
    while (s.undo()) {
    }
    // The twenty oldest changes can no longer be taken back.
    for (int i = 0; i < 120; ++i)
        EXPECT_EQ(s.byteAt(i), i < 20 ? 1 : 0) << i;
    EXPECT_EQ(s.changes().count(), 20);
}

TEST_F(ByteSourceTest, LoadingEmptiesTheMarksAndTheUndoLog)
{
    const QString a = tree.file("a.bin", QByteArray("aaaa"));
    const QString b = tree.file("b.bin", QByteArray("bb"));
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(a));
    ASSERT_TRUE(s.overwrite(0, 'z'));
    ASSERT_TRUE(s.loadFromFile(b));
    EXPECT_EQ(contentOf(s), QByteArray("bb"));
    EXPECT_TRUE(s.changes().isEmpty());
    EXPECT_EQ(s.undoDescription(), QStringLiteral("No Undo"));
}

TEST_F(ByteSourceTest, MarkersHoldARowEachAndRefuseOtherIndexes)
{
    HexSource s;
    for (int i = 0; i < HexSource::kMarkerCount; ++i)
        EXPECT_EQ(s.marker(i), -1);
    s.setMarker(7, 12);
    s.setMarker(2, 12);
    EXPECT_EQ(s.marker(7), 12);
    EXPECT_EQ(s.markerOnRow(12), 2);
    EXPECT_EQ(s.markerOnRow(13), -1);
    for (int bad : {10, -1}) {
        EXPECT_EQ(errorOf([&] { s.setMarker(bad, 0); }), QStringLiteral("SetMarker : Invalid marker index"));
        EXPECT_EQ(errorOf([&] { s.marker(bad); }), QStringLiteral("SetMarker : Invalid marker index"));
    }
}

// The working file: 8 upper-case hex digits and ".MPHT" in the private folder, mode 0600, removed with the
// source. It holds only the added bytes.
TEST_F(ByteSourceTest, TheWorkingFileIsPrivateAndGoesWithTheSource)
{
    const QString path = tree.file("data.bin", pattern(1000));
    QString work;
    {
        HexSource s;
        work = s.workingFilePath();
        ASSERT_FALSE(work.isEmpty());
        EXPECT_EQ(QFileInfo(work).path() + u'/', plat::privateDir());
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}\\.MPHT$")).match(QFileInfo(work).fileName()).hasMatch());
        struct stat st;
        ASSERT_EQ(::lstat(QFile::encodeName(work).constData(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        ASSERT_TRUE(s.loadFromFile(path));
        EXPECT_EQ(QFileInfo(work).size(), 0);   // the file is not copied
        ASSERT_TRUE(s.overwrite(500, 0xFF));
        EXPECT_EQ(QFileInfo(work).size(), 1);
    }
    EXPECT_FALSE(QFileInfo::exists(work));
}

// Names that are taken, by files or by links another user put there, are skipped and left alone.
TEST_F(ByteSourceTest, TakenWorkingFileNamesAreSkipped)
{
    const QString dir = plat::privateDir();
    ASSERT_FALSE(dir.isEmpty());
    const QString target = tree.file("target.txt", QByteArray("target"));
    const quint32 now = quint32(QDeadlineTimer::current().deadline());
    QStringList taken;
    for (quint32 t = now; t < now + 200; ++t) {
        const QString name = dir + QStringLiteral("%1.MPHT").arg(t, 8, 16, QLatin1Char('0')).toUpper();
        ASSERT_TRUE(QFile::link(target, name));
        taken << name;
    }
    {
        HexSource s;
        EXPECT_FALSE(s.workingFilePath().isEmpty());
        EXPECT_FALSE(taken.contains(s.workingFilePath()));
        const QString data = tree.file("data.bin", QByteArray("0123"));
        ASSERT_TRUE(s.loadFromFile(data));
        ASSERT_TRUE(s.overwrite(0, 'x'));
    }
    EXPECT_EQ(readAll(target), QByteArray("target"));
    for (const QString& name : taken) {
        EXPECT_TRUE(QFileInfo(name).isSymLink());
        QFile::remove(name);
    }
}

TEST_F(ByteSourceTest, AFailedWriteToTheWorkingFileChangesNothing)
{
    const QByteArray bytes = pattern(64);
    const QString path = tree.file("data.bin", bytes);
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    {
        plat::posix::faults::injectInFolder(plat::posix::faults::Op::Write, plat::privateDir(), ENOSPC);
        const QString error = errorOf([&] { s.overwrite(5, 0x99); });
        plat::posix::faults::clear();
        EXPECT_TRUE(error.startsWith(s.workingFilePath())) << error.toStdString();
    }
    EXPECT_EQ(contentOf(s), bytes);
    EXPECT_TRUE(s.changes().isEmpty());
    EXPECT_EQ(s.undoCount(), 0);
    EXPECT_TRUE(s.overwrite(5, 0x99));
    EXPECT_EQ(s.byteAt(5), 0x99);
}

// A file that shrinks on disk while shown: the bytes that are gone read as empty; nothing crashes.
TEST_F(ByteSourceTest, BytesGoneFromTheDiskReadAsEmpty)
{
    const QString path = tree.file("data.bin", pattern(3 * HexSource::kCacheSize));
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    ASSERT_TRUE(QFile::resize(path, 1000));
    EXPECT_EQ(s.size(), 3 * HexSource::kCacheSize);
    EXPECT_EQ(s.byteAt(999), 999 % 251);
    EXPECT_EQ(s.byteAt(1000), -1);
    EXPECT_EQ(s.byteAt(2 * HexSource::kCacheSize + 5), -1);
    // A byte that is gone can still be overwritten in the working file.
    EXPECT_TRUE(s.overwrite(2 * HexSource::kCacheSize + 5, 7));
    EXPECT_EQ(s.byteAt(2 * HexSource::kCacheSize + 5), 7);
}

// A sparse file of several GiB: edits at 64-bit offsets, nothing copied, the file on disk untouched.
TEST_F(ByteSourceTest, EditsOnASparseMultiGibFile)
{
    const qint64 size = 5 * GiB + 3;
    const QString path = tree.path("big.bin");
    ASSERT_TRUE(makeSparse(path, size));
    HexSource s;
    ASSERT_TRUE(s.loadFromFile(path));
    EXPECT_EQ(s.size(), size);
    EXPECT_EQ(s.byteAt(size - 1), 0);

    const qint64 at = 4 * GiB + 7;
    ASSERT_TRUE(s.overwrite(at, 0x5A));
    ASSERT_TRUE(s.overwrite(2 * GiB, 0x11));
    EXPECT_EQ(s.byteAt(at), 0x5A);
    EXPECT_TRUE(s.isChanged(at));

    // Removing one byte at 1 GiB moves both changes up by one and drops their marks.
    ASSERT_TRUE(s.remove(GiB, 1));
    EXPECT_EQ(s.size(), size - 1);
    EXPECT_EQ(s.byteAt(at - 1), 0x5A);
    EXPECT_EQ(s.byteAt(at), 0);
    EXPECT_EQ(s.byteAt(2 * GiB - 1), 0x11);
    EXPECT_FALSE(s.isChanged(at - 1));
    s.setMarker(9, (size - 2) / 16);
    EXPECT_EQ(s.marker(9), (size - 2) / 16);

    ASSERT_TRUE(s.undo());
    EXPECT_EQ(s.byteAt(at), 0x5A);
    EXPECT_TRUE(s.isChanged(at));
    EXPECT_LE(QFileInfo(s.workingFilePath()).size(), 2);
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_EQ(readAt(path, at, 1), QByteArray(1, '\0'));
    EXPECT_EQ(readAt(path, 2 * GiB, 1), QByteArray(1, '\0'));
}

} // namespace
