#include "ListHelpers.h"
#include "filelist/engine/RowFormats.h"
#include "platform/Services.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

using filelist::FileLister;

namespace {

TEST(Listing, SizeTexts)
{
    test::TempTree t;
    const QList<QPair<qint64, QString>> sizes = {{0, "0 KB"}, {1, "1 KB"}, {1023, "1 KB"}, {1024, "1 KB"},
                                                 {2047, "1 KB"}, {2048, "2 KB"}, {5LL << 30, "5242880 KB"}};
    for (const auto& s : sizes) {
        const QString name = QStringLiteral("f%1").arg(s.first);
        t.file(name, 0);
        ASSERT_EQ(::truncate(QFile::encodeName(t.path(name)).constData(), s.first), 0);   // sparse
    }
    t.dir("folder");
    FileLister l;
    l.setDirectory(t.root());
    for (const auto& s : sizes)
        EXPECT_EQ(l.subItem(test::rowOf(l, QStringLiteral("f%1").arg(s.first)), 0), s.second) << s.first;
    EXPECT_EQ(l.subItem(test::rowOf(l, "folder"), 0), QStringLiteral(" "));
    EXPECT_EQ(l.subItem(test::rowOf(l, ".."), 0), QStringLiteral(" "));
    qint64 total = 0;
    for (const auto& s : sizes)
        total += s.first;
    EXPECT_EQ(l.TotalSize(), total);
}

TEST(Listing, RowLayoutOfFilesFoldersAndTheParentEntry)
{
    test::TempTree t;
    t.file("a.txt", 10);
    t.setTimes("a.txt", QDateTime::fromString("2022-05-06T07:08:09Z", Qt::ISODate),
               QDateTime::fromString("2021-01-02T03:04:05Z", Qt::ISODate));
    t.dir("sub");
    FileLister l;
    l.setDirectory(t.root());
    const int a = test::rowOf(l, "a.txt");
    const QStringList expected = {"1 KB", QStringLiteral("纯文本文档"), "2021-01-02 11:04:05", l.subItem(a, 3),
                                  t.root() + "a.txt", "file", "2022-05-06 15:08:09", "A"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(l.subItem(a, i), expected[i]) << i;
    const int sub = test::rowOf(l, "sub");
    EXPECT_EQ(l.subItem(sub, 1), QStringLiteral("文件夹"));
    EXPECT_EQ(l.subItem(sub, 4), t.root() + "sub");
    EXPECT_EQ(l.subItem(sub, 5), QStringLiteral("dir"));
    const int up = test::rowOf(l, "..");
    EXPECT_EQ(l.subItem(up, 1), QStringLiteral("上一级文件夹\\"));
    EXPECT_EQ(l.subItem(up, 4), t.root() + "..");
    EXPECT_EQ(l.subItem(up, 5), QStringLiteral("dir"));
    EXPECT_EQ(l.iconIndex(up), FileLister::parentIconIndex());
}

TEST(Listing, ParentRowFollowsTheSort)
{
    test::TempTree t;
    t.dir("sub");
    t.file("a.txt", 3000);
    t.file("b.txt");
    FileLister l;
    l.setDirectory(t.root());
    for (int column : {-1, 0, 1, 1}) {
        if (column >= 0)
            l.ColumnClick(column);
        ASSERT_EQ(l.rowCount(), 4);
        for (int r = 0; r < l.rowCount(); ++r)
            EXPECT_EQ(l.isParentRow(r), l.caption(r) == QLatin1String("..")) << "row " << r << " column " << column;
    }
    EXPECT_FALSE(l.isParentRow(4));
    EXPECT_FALSE(l.isParentRow(-1));
}

TEST(Listing, AttributeLetters)
{
    test::TempTree t;
    t.file("plain");
    t.file("ro");
    t.setMode("ro", 0444);
    t.file(".dot");
    t.fifo("pipe");
    FileLister l;
    l.setHhf(false);
    l.setHsf(false);
    l.setDirectory(t.root());
    EXPECT_EQ(l.subItem(test::rowOf(l, "plain"), 7), QStringLiteral("A"));
    EXPECT_EQ(l.subItem(test::rowOf(l, "ro"), 7), QStringLiteral("AR"));
    EXPECT_EQ(l.subItem(test::rowOf(l, ".dot"), 7), QStringLiteral("AH"));
    EXPECT_EQ(l.subItem(test::rowOf(l, "pipe"), 7), QStringLiteral("S"));
}

// Admission: which captions a listing shows for given settings.
struct AdmissionCase {
    const char* what;
    std::function<void(FileLister&)> configure;
    QStringList expected;
};

class Admission : public ::testing::TestWithParam<AdmissionCase> {};

TEST_P(Admission, ShowsExactlyTheAdmittedEntries)
{
    test::TempTree t;
    t.file("plain.txt");
    t.file("ro.txt");
    t.setMode("ro.txt", 0444);
    t.file(".dot");
    t.file("listed");
    t.hideListed("listed");           // also creates the dot-file ".hidden"
    t.fifo("pipe");
    t.fifo(".hpipe");                 // hidden and system
    t.dir("sub");
    t.dir("rodir");
    t.setMode("rodir", 0555);
    t.dir(".hdir");
    FileLister l;
    l.setReadOnly(true);              // no listing while configuring
    GetParam().configure(l);
    l.setReadOnly(false);
    l.setDirectory(t.root());
    QStringList shown = test::captions(l);
    shown.sort();
    QStringList expected = GetParam().expected;
    expected.sort();
    EXPECT_EQ(shown, expected) << GetParam().what;
    t.setMode("rodir", 0755);
}

const QStringList kDefault = {"..", "plain.txt", "ro.txt", "sub", "rodir"};

INSTANTIATE_TEST_SUITE_P(Table, Admission, ::testing::Values(
    AdmissionCase{"defaults", [](FileLister&) {}, kDefault},
    AdmissionCase{"hidden shown; a hidden system entry stays hidden", [](FileLister& l) { l.setHhf(false); },
                  kDefault + QStringList{".dot", "listed", ".hidden", ".hdir"}},
    AdmissionCase{"system shown", [](FileLister& l) { l.setHsf(false); }, kDefault + QStringList{"pipe"}},
    AdmissionCase{"both shown", [](FileLister& l) { l.setHhf(false); l.setHsf(false); },
                  kDefault + QStringList{".dot", "listed", ".hidden", ".hdir", "pipe", ".hpipe"}},
    AdmissionCase{"without ftReadOnly", [](FileLister& l) { l.setFileType(2 | 4 | 32); }, {"..", "plain.txt", "sub"}},
    AdmissionCase{"without ftArchive", [](FileLister& l) { l.setFileType(1 | 2 | 4); }, {"..", "sub", "rodir"}},
    AdmissionCase{"without ftHidden, ftSystem, ftNormal", [](FileLister& l) { l.setFileType(1 | 32); }, kDefault},
    AdmissionCase{"all five", [](FileLister& l) { l.setFileType(1 | 2 | 4 | 32 | 128); }, kDefault},
    AdmissionCase{"no parent entry", [](FileLister& l) { l.setParentDirEnabled(false); }, {"plain.txt", "ro.txt", "sub", "rodir"}},
    AdmissionCase{"folders off: no parent entry either", [](FileLister& l) { l.setShowFolders(false); }, {"plain.txt", "ro.txt"}}),
    [](const auto& i) { return test::caseName(i.param.what); });

struct MaskCase {
    const char* mask;
    QStringList expected;   // files only (folders off)
};

class MaskPieces : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskPieces, OnePassPerPiece)
{
    test::TempTree t;
    t.file("a.txt");
    t.file("b.doc");
    t.file("README");
    FileLister l;
    l.setReadOnly(true);
    l.setShowFolders(false);
    l.setMask(QString::fromUtf8(GetParam().mask));
    l.setReadOnly(false);
    l.setDirectory(t.root());
    QStringList shown = test::captions(l);
    shown.sort();
    EXPECT_EQ(shown, GetParam().expected) << GetParam().mask;
}

INSTANTIATE_TEST_SUITE_P(Table, MaskPieces, ::testing::Values(
    MaskCase{"*.*", {"README", "a.txt", "b.doc"}},
    MaskCase{"*.txt;*.*", {"README", "a.txt", "a.txt", "b.doc"}},
    MaskCase{" *.txt", {"a.txt"}},
    MaskCase{"*.txt; *.doc", {"a.txt"}},
    MaskCase{"*.txt;*.doc ", {"a.txt", "b.doc"}},
    MaskCase{"   ", {"README", "a.txt", "b.doc"}},
    MaskCase{"", {"README", "a.txt", "b.doc"}},
    MaskCase{"*.TXT", {"a.txt"}},
    MaskCase{"?.*;READ*", {"README", "a.txt", "b.doc"}}),
    [](const auto& i) { return test::literalName(i.param.mask); });

TEST(Listing, HideFileExtCutsCaptionsOnly)
{
    test::TempTree t;
    t.dir("release.2");
    t.file(".profile");
    t.file("a.tar.gz");
    t.file("plain");
    FileLister l;
    l.setHideFileExt(true);
    l.setHhf(false);
    l.setDirectory(t.root());
    QStringList shown = test::captions(l);
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"", "..", "a.tar", "plain", "release"}));
    EXPECT_EQ(l.subItem(test::rowOf(l, "release"), 4), t.root() + "release.2");
    EXPECT_EQ(l.subItem(test::rowOf(l, ""), 4), t.root() + ".profile");
    EXPECT_EQ(l.subItem(test::rowOf(l, "a.tar"), 4), t.root() + "a.tar.gz");
}

TEST(Listing, NamesWithBlanksCjkAndLeadingDashes)
{
    test::TempTree t;
    const QStringList names = {"with space.doc", QStringLiteral("数据 报告.csv"), "-dash", "--", " lead", "tab\there"};
    for (const QString& n : names)
        t.file(n, 3);
    FileLister l;
    l.setShowFolders(false);
    l.setDirectory(t.root());
    QStringList shown = test::captions(l);
    QStringList expected = names;
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
    for (const QString& n : names)
        EXPECT_EQ(l.subItem(test::rowOf(l, n), 4), t.root() + n);
}

TEST(Directory, SetterNormalisesAndComparesCaseSensitively)
{
    test::TempTree t;
    t.file("x/A/upper.txt");
    t.file("x/a/lower.txt");
    FileLister l;
    EXPECT_EQ(l.Directory(), QStringLiteral("Drives"));
    l.setDirectory(t.path("x/a"));
    EXPECT_EQ(l.Directory(), t.path("x/a/"));
    EXPECT_GE(test::rowOf(l, "lower.txt"), 0);
    const int listings = l.listings();
    l.setDirectory(t.path("x/a/"));                 // same folder: nothing happens
    l.setDirectory(t.path("x/./a"));
    EXPECT_EQ(l.listings(), listings);
    l.setDirectory(t.path("x/A/"));                 // another folder on Linux
    EXPECT_EQ(l.listings(), listings + 1);
    EXPECT_GE(test::rowOf(l, "upper.txt"), 0);
    EXPECT_EQ(test::rowOf(l, "lower.txt"), -1);
}

TEST(Directory, MissingFolderShowsTheDriveList)
{
    test::FakeVolumes volumes;
    volumes.volumes = {{"/", "/dev/sda1", "ext4", "", plat::DriveType::Fixed, 0, 0}};
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    test::TempTree t;
    FileLister l;
    l.setDirectory(t.root());
    l.setDirectory(t.path("no/such/folder"));
    EXPECT_EQ(l.Directory(), QStringLiteral("DRIVES"));
    EXPECT_TRUE(l.DriveColumnsShown());
    EXPECT_EQ(l.rowCount(), 1);
    const int listings = l.listings();
    l.setDirectory("drives");                        // the drive-list word, any case
    EXPECT_EQ(l.listings(), listings);
}

TEST(Directory, VanishedFolderFallsBackToItsParentThenToTheDriveList)
{
    test::FakeVolumes volumes;
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    test::TempTree t;
    t.file("a/b/c.txt");
    FileLister l;
    l.setDirectory(t.path("a/b"));
    QDir(t.path("a/b")).removeRecursively();
    l.UpdateFileList();
    EXPECT_EQ(l.Directory(), t.path("a/"));
    l.setDirectory(t.path("a"));
    t.dir("a/b");
    l.setDirectory(t.path("a/b"));
    QDir(t.path("a")).removeRecursively();
    l.UpdateFileList();
    EXPECT_EQ(l.Directory(), QStringLiteral("DRIVES"));
}

TEST(Directory, OneLevelUp)
{
    test::FakeVolumes volumes;
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    test::TempTree t;
    t.dir("a/b");
    FileLister l;
    l.setDirectory(t.path("a/b"));
    l.OneLevelUp();
    EXPECT_EQ(l.Directory(), t.path("a/"));
    l.setDirectory("/");
    EXPECT_EQ(test::rowOf(l, ".."), -1);            // a root lists no parent entry
    EXPECT_GE(test::rowOf(l, "tmp"), 0);
    l.OneLevelUp();
    EXPECT_EQ(l.Directory(), QStringLiteral("Drives"));
    EXPECT_TRUE(l.DriveColumnsShown());
    const int listings = l.listings();
    l.OneLevelUp();                                  // nothing above the drive list
    EXPECT_EQ(l.listings(), listings);
}

TEST(Drives, RowsFromTheVolumes)
{
    test::FakeVolumes volumes;
    volumes.available = 123 * 1024;
    volumes.volumes = {
        {"/", "/dev/sda1", "ext4", "", plat::DriveType::Fixed, 300LL * 1000 * 1000 * 1024, 1536000 * 1024LL},
        {"/media/u/USB", "/dev/sdb1", "vfat", "USB", plat::DriveType::Removable, 8LL << 30, 1LL << 30},
        {"/media/cd", "/dev/sr0", "iso9660", "Disc", plat::DriveType::CdRom, 700LL << 20, 0},
        {"/net", "srv:/x", "nfs", "", plat::DriveType::Remote, 999 * 1024, 512},
        {"/run/x", "tmpfs", "tmpfs", "", plat::DriveType::RamDisk, 0, 0},
        {"/odd", "/dev/x", "ext4", "", plat::DriveType::Unknown, 0, 0}};
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    FileLister l;
    l.UpdateFileList();
    ASSERT_EQ(l.rowCount(), 6);
    const QList<QStringList> expected = {
        {" (/)  ", "Fixed Disk", "300,000 Mb", "1,536 Mb", "Disk", "/", "drv"},
        {" (/media/u/USB)  USB ", "Removable Disk", "0 Mb", "0 Mb", "Disk", "/media/u/USB/", "drv"},
        {" (/media/cd)  Disc ", "CD-ROM Disk", "0 Mb", "0 Mb", "Disk", "/media/cd/", "drv"},
        {" (/net)  ", "Network Disk", " Mb", "0 Mb", "Disk", "/net/", "drv"},
        {" (/run/x)  ", "RAM Disk", "0 Mb", "0 Mb", "Disk", "/run/x/", "drv"},
        {" (/odd)  ", QStringLiteral("未知"), "0 Mb", "0 Mb", "Disk", "/odd/", "drv"}};
    for (int r = 0; r < 6; ++r) {
        QStringList row = {l.caption(r)};
        for (int i = 0; i < 6; ++i)
            row << l.subItem(r, i);
        EXPECT_EQ(row, expected[r]) << r;
    }
    EXPECT_EQ(l.DriveFreeSpace(), 0);               // nothing while the drive list is shown
    const int column = l.SortColumn();
    l.ColumnClick(2);                                // header clicks do nothing here
    EXPECT_EQ(l.SortColumn(), column);
    EXPECT_EQ(l.caption(0), QStringLiteral(" (/)  "));
    test::TempTree t;
    l.setDirectory(t.root());
    EXPECT_EQ(l.DriveFreeSpace(), 123);
    EXPECT_EQ(l.selectedSize({0}), 0);               // the parent entry is a folder
}

TEST(Cooperation, NewerListingStopsTheOlderOne)
{
    test::SlowFileSystem slow;
    plat::ScopedServices scoped(test::withFileSystem(&slow));
    test::TempTree t;
    for (int i = 0; i < 6; ++i)
        t.file(QStringLiteral("old/o%1").arg(i));
    t.file("new/n1");
    t.file("new/n2");
    FileLister l;
    QTimer::singleShot(0, [&] { l.setDirectory(t.path("new")); });
    l.setDirectory(t.path("old"));
    EXPECT_EQ(l.listings(), 2);
    EXPECT_EQ(l.Directory(), t.path("new/"));
    EXPECT_EQ(test::captions(l), (QStringList{"..", "n1", "n2"}));
    EXPECT_TRUE(l.stopa());
}

TEST(Cooperation, StopaKeepsTheRowsFoundAndStillSorts)
{
    test::SlowFileSystem slow;
    plat::ScopedServices scoped(test::withFileSystem(&slow));
    test::TempTree t;
    for (int i = 0; i < 12; ++i)
        t.file(QStringLiteral("f%1").arg(i, 2, 10, QLatin1Char('0')));
    FileLister l;
    l.setShowFolders(false);
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (l.rowCount() >= 3)
            l.setStopa(true);
    });
    stopper.start(0);
    l.setDirectory(t.root());
    const QStringList shown = test::captions(l);
    EXPECT_GE(shown.size(), 3);
    EXPECT_LT(shown.size(), 12);
    QStringList sorted = shown;
    sorted.sort();
    EXPECT_EQ(shown, sorted);
    EXPECT_TRUE(l.stopa());
}

// The real file system, pausing after every 40 delivered entries, so that a listing hands its rows out in
// several batches.
class PausingFileSystem : public plat::IFileSystem {
public:
    bool enumerate(const QString& dir, const QString& piece, const plat::EntrySink& sink) override
    {
        return m_real.enumerate(dir, piece, [&](const plat::FindData& fd) {
            if (++m_delivered % 40 == 0)
                QThread::msleep(16);
            return sink(fd);
        });
    }
    std::optional<plat::FindData> find(const QString& path) override { return m_real.find(path); }
private:
    plat::LinuxFileSystem m_real;
    int m_delivered = 0;
};

// Keeps a copy of the rows as an observer hears of them: appended batches, then the sort's moves.
class RowReplica : public filelist::ListObserver {
public:
    explicit RowReplica(const FileLister& l) : m_lister(l) {}
    QStringList rows;
    int batches = 0;
    bool contiguous = true;

    void rowsAboutToBeRemoved(int, int) override { rows.clear(); }
    void rowsAboutToBeAppended(int first, int) override { contiguous = contiguous && first == rows.size(); }
    void rowsAppended() override
    {
        ++batches;
        for (int r = int(rows.size()); r < m_lister.rowCount(); ++r)
            rows << rowText(m_lister, r);
    }
    void rowsSorted(const std::vector<int>& newPosition) override
    {
        QStringList moved(rows.size());
        for (qsizetype old = 0; old < rows.size(); ++old)
            moved[newPosition[size_t(old)]] = rows[old];
        rows = moved;
    }
    static QString rowText(const FileLister& l, int r)
    {
        QStringList cells{l.caption(r)};
        for (int i = 0; i < 8; ++i)
            cells << l.subItem(r, i);
        return cells.join(u'\t');
    }

private:
    const FileLister& m_lister;
};

TEST(Cooperation, BatchesAddUpToTheFullListing)
{
    test::TempTree t;
    for (int i = 0; i < 1200; ++i)
        t.file(QStringLiteral("%1f%2.%3").arg(QChar(u'a' + i % 26)).arg(i).arg(i % 3 ? "txt" : "dat"), i % 5 * 700);
    for (int i = 0; i < 30; ++i)
        t.dir(QStringLiteral("D%1").arg(i));

    QStringList whole;
    {
        FileLister l;
        l.setParentDirEnabled(false);   // the parent folder's times may change meanwhile
        l.setDirectory(t.root());
        for (int r = 0; r < l.rowCount(); ++r)
            whole << RowReplica::rowText(l, r);
    }
    ASSERT_EQ(whole.size(), 1200 + 30);

    PausingFileSystem pausing;
    plat::ScopedServices scoped(test::withFileSystem(&pausing));
    FileLister l;
    RowReplica replica(l);
    l.setObserver(&replica);
    l.setParentDirEnabled(false);
    l.setDirectory(t.root());
    EXPECT_GT(replica.batches, 2);
    EXPECT_TRUE(replica.contiguous);
    EXPECT_EQ(replica.rows, whole);
    l.setObserver(nullptr);
}

} // namespace
