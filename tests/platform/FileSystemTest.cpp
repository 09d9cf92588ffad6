#include "platform/FileSystem.h"
#include "platform/Times.h"
#include "platform/posix/Faults.h"
#include "platform/posix/Fd.h"
#include "platform/posix/PathCodec.h"
#include "support/TempTree.h"
#include <QDateTime>
#include <QStringList>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

QStringList names(plat::IFileSystem& fs, const QString& dir, const QString& piece,
                  plat::KindFilter kinds = plat::KindFilter::Any)
{
    QStringList out;
    fs.enumerateKind(dir, piece, kinds, [&](const plat::FindData& fd) {
        out << fd.name;
        return true;
    });
    out.sort();
    return out;
}

TEST(LinuxFileSystem, DeliversDotEntriesAndMatchesThePiece)
{
    test::TempTree t;
    t.file("a.txt");
    t.file("B.TXT");
    t.file("README");
    t.dir("sub.d");
    plat::LinuxFileSystem fs;
    EXPECT_EQ(names(fs, t.root(), "*.*"), (QStringList{".", "..", "B.TXT", "README", "a.txt", "sub.d"}));
    EXPECT_EQ(names(fs, t.root(), "*.txt"), (QStringList{"B.TXT", "a.txt"}));
    EXPECT_EQ(names(fs, t.root(), " *.txt"), QStringList());
    EXPECT_EQ(names(fs, t.root(), "*.*", plat::KindFilter::FoldersOnly), (QStringList{".", "..", "sub.d"}));
    EXPECT_EQ(names(fs, t.root(), "*.*", plat::KindFilter::NonFolders), (QStringList{"B.TXT", "README", "a.txt"}));
}

TEST(LinuxFileSystem, ReturnValueTellsWhetherAnythingMatched)
{
    test::TempTree t;
    t.file("a.txt");
    plat::LinuxFileSystem fs;
    const auto sink = [](const plat::FindData&) { return true; };
    EXPECT_TRUE(fs.enumerate(t.root(), "*.txt", sink));
    EXPECT_FALSE(fs.enumerate(t.root(), "*.doc", sink));
    EXPECT_FALSE(fs.enumerate(t.path("missing/"), "*.*", sink));
}

TEST(LinuxFileSystem, RootHasNoParentEntry)
{
    plat::LinuxFileSystem fs;
    const QStringList root = names(fs, "/", "*.*", plat::KindFilter::FoldersOnly);
    EXPECT_TRUE(root.contains("."));
    EXPECT_FALSE(root.contains(".."));
}

TEST(LinuxFileSystem, UnreadableFolderYieldsNothing)
{
    namespace faults = plat::posix::faults;
    test::TempTree t;
    t.file("locked/a.txt");
    plat::LinuxFileSystem fs;
    {
        const faults::Scoped denied(faults::Op::Open, t.path("locked"), EACCES);
        EXPECT_TRUE(names(fs, t.path("locked/"), "*.*").isEmpty());
        EXPECT_TRUE(fs.find(t.path("locked")).has_value());   // the folder itself is still there
    }
    EXPECT_EQ(names(fs, t.path("locked/"), "*.txt"), QStringList{"a.txt"});
}

// A name that is not UTF-8 keeps its bytes: it finds its own file again and matches its ".hidden" line.
TEST(LinuxFileSystem, NamesThatAreNotUtf8RoundTrip)
{
    namespace posix = plat::posix;
    test::TempTree t;
    const QByteArray latin1("caf\xe9");
    ASSERT_TRUE(posix::openPath(posix::decodePath(posix::encodePath(t.root()) + latin1), O_WRONLY | O_CREAT, 0644).valid());
    t.file(".hidden", latin1 + '\n');
    plat::LinuxFileSystem fs;
    QList<plat::FindData> found;
    fs.enumerate(t.root(), "caf*", [&](const plat::FindData& fd) {
        found << fd;
        return true;
    });
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(posix::encodePath(found[0].name), latin1);
    EXPECT_TRUE(found[0].attributes & plat::kAttrHidden);
    EXPECT_TRUE(fs.find(t.root() + found[0].name).has_value());
}

TEST(LinuxFileSystem, FindDataOfEntries)
{
    test::TempTree t;
    t.file("five", 5);
    t.dir("d");
    t.file("target", 7);
    t.link("ln", t.path("target"));
    t.link("dead", t.path("nowhere"));
    const QDateTime access = QDateTime::fromString("2021-03-04T05:06:07Z", Qt::ISODate);
    const QDateTime write = QDateTime::fromString("2020-01-02T03:04:05Z", Qt::ISODate);
    t.setTimes("five", access, write);
    plat::LinuxFileSystem fs;
    QHash<QString, plat::FindData> found;
    fs.enumerate(t.root(), "*", [&](const plat::FindData& fd) {
        found.insert(fd.name, fd);
        return true;
    });
    EXPECT_EQ(found["five"].size, 5);
    EXPECT_EQ(found["five"].writeNs, write.toMSecsSinceEpoch() * 1000000);
    EXPECT_EQ(found["five"].accessNs, access.toMSecsSinceEpoch() * 1000000);
    EXPECT_TRUE(found["five"].shortName.isEmpty());
    EXPECT_EQ(found["d"].size, 0);
    EXPECT_TRUE(found["d"].isDir());
    EXPECT_TRUE(found["ln"].isLink);
    EXPECT_EQ(found["ln"].size, 7);                         // the link is followed
    EXPECT_EQ(found["ln"].ino, found["target"].ino);
    EXPECT_TRUE(found["dead"].isLink);                      // a dangling link gives its own data
    EXPECT_FALSE(found["dead"].attributes & plat::kAttrArchive);
    EXPECT_FALSE(found["five"].isLink);
}

TEST(LinuxFileSystem, FindOnePath)
{
    test::TempTree t;
    t.file("big", 0);
    ASSERT_EQ(::truncate(QFile::encodeName(t.path("big")).constData(), 5LL << 30), 0);   // sparse 5 GiB
    plat::LinuxFileSystem fs;
    const auto big = fs.find(t.path("big"));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->size, 5LL << 30);
    EXPECT_EQ(big->name, QStringLiteral("big"));
    const auto dir = fs.find(t.root());
    ASSERT_TRUE(dir);
    EXPECT_TRUE(dir->isDir());
    EXPECT_FALSE(fs.find(t.path("missing")));
}

TEST(LinuxFileSystem, HeartbeatSeesSkippedRecordsAndCanStop)
{
    test::TempTree t;
    for (int i = 0; i < 20; ++i)
        t.file(QStringLiteral("f%1").arg(i));
    plat::LinuxFileSystem fs;
    int beats = 0;
    int delivered = 0;
    fs.enumerateKind(t.root(), "*.*", plat::KindFilter::FoldersOnly, [&](const plat::FindData&) {
        ++delivered;
        return true;
    }, [&] { return ++beats < 5; });
    EXPECT_EQ(beats, 5);
    EXPECT_LE(delivered, 2);   // at most "." and ".."
}

} // namespace
