// The recycle bin: unique names with info records, emptying every trash folder without following links.
#include "FileOpsHelpers.h"
#include "fileops/engine/Delete.h"
#include "fileops/engine/Trash.h"
#include "support/Fakes.h"
#include <QStorageInfo>
#include <QUrl>
#include "platform/posix/FileOps.h"

using namespace fotest;
using fileops::TrashCan;

namespace {

class Trash : public testing::Test {
protected:
    void SetUp() override { TrashCan::emptyAll(); }
    void TearDown() override { TrashCan::emptyAll(); }
    test::FakeVolumes volumes;   // no real volume's trash is ever touched here
    plat::ScopedServices scoped{test::withVolumes(&volumes)};
    test::TempTree t;
    QString files = TrashCan::homeTrashFiles();
    QString info = TrashCan::homeTrash() + QStringLiteral("/info/");
};

TEST_F(Trash, LivesUnderTheTestsDataHome)
{
    EXPECT_EQ(TrashCan::homeTrash(), QDir::cleanPath(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"))) + "/Trash");
    EXPECT_TRUE(files.endsWith("/Trash/files/"));
}

TEST_F(Trash, SameNameTwiceGetsTwoEntries)
{
    t.file("one/n.txt", QByteArray("first"));
    t.file("two/n.txt", QByteArray("second"));
    QString as1, as2;
    EXPECT_EQ(TrashCan::trash(t.path("one/n.txt"), &as1), 0);
    EXPECT_EQ(TrashCan::trash(t.path("two/n.txt"), &as2), 0);
    EXPECT_EQ(as1, files + "n.txt");
    EXPECT_EQ(as2, files + "n.txt.2");
    EXPECT_EQ(readAll(as2), QByteArray("second"));
    EXPECT_TRUE(exists(info + "n.txt.trashinfo"));
    EXPECT_TRUE(exists(info + "n.txt.2.trashinfo"));
    EXPECT_EQ(TrashCan::trash(t.path("one/n.txt")), ENOENT);
}

// Names so long that name + ".trashinfo" passes 255 bytes go to the trash under a shorter name (cut at a
// character boundary); the info record keeps the whole original path.
TEST_F(Trash, LongNamesAreShortenedInTheTrashButKeptInTheRecord)
{
    const struct {
        QString name;
        qsizetype trashedBytes;   // of the first entry's name
    } rows[] = {
        {QString(245, u'a'), 245},
        {QString(246, u'b'), 245},
        {QString(255, u'c'), 245},
        {QString(85, u'中'), 243},   // 255 bytes of three-byte characters: 81 whole ones fit
        {QString(250, u'd') + u'\xe9', 245},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.size());
        const QByteArray bytes = plat::posix::encodePath(row.name);
        for (const char* folder : {"one/", "two/"}) {
            t.file(QString::fromLatin1(folder) + row.name, QByteArray(folder));
            QString as;
            ASSERT_EQ(TrashCan::trash(t.path(QString::fromLatin1(folder) + row.name), &as), 0);
            EXPECT_FALSE(exists(t.path(QString::fromLatin1(folder) + row.name)));
            EXPECT_EQ(readAll(as), QByteArray(folder));
            const QByteArray trashed = plat::posix::encodePath(as.mid(files.size()));
            EXPECT_LE(trashed.size() + 10, 255);
            EXPECT_TRUE(QString::fromUtf8(trashed).toUtf8() == trashed);   // whole characters only
            const QByteArray record = readAll(info + as.mid(files.size()) + ".trashinfo");
            const QByteArray path = "\nPath=" +
                                    plat::posix::encodePath(QDir(t.path(folder)).canonicalPath()).toPercentEncoding("/") +
                                    '/' + bytes.toPercentEncoding("/") + '\n';
            EXPECT_TRUE(record.contains(path))
                << record.toStdString();
            if (QLatin1String(folder) == QLatin1String("one/")) {
                EXPECT_EQ(trashed.size(), row.trashedBytes);
            }
        }
        TrashCan::emptyAll();
    }
}

TEST_F(Trash, EmptyingRemovesEverythingInsideButFollowsNoLink)
{
    t.file("outside/keep", QByteArray("keep"));
    t.file("item/inner", QByteArray("i"));
    t.link("item/back", t.path("outside"));
    ASSERT_EQ(TrashCan::trash(t.path("item")), 0);
    // A link planted straight into files/ and a directorysizes cache.
    ASSERT_EQ(::symlink(encodePath(t.path("outside")).constData(), encodePath(files + "planted").constData()), 0);
    QDir().mkpath(TrashCan::homeTrash() + "/expunged/old");
    QFile sizes(TrashCan::homeTrash() + "/directorysizes");
    ASSERT_TRUE(sizes.open(QIODevice::WriteOnly));
    sizes.close();

    test::RecordingPrompter ui;
    ui.answer(Prompt::No);
    EXPECT_FALSE(fileops::askEmptyRecycleBin(ui));
    EXPECT_TRUE(exists(files + "item"));
    ui.answer(Prompt::Yes);
    EXPECT_TRUE(fileops::askEmptyRecycleBin(ui));
    ASSERT_EQ(ui.callsOf("question").size(), 2u);
    EXPECT_EQ(ui.callsOf("question")[1].text, QStringLiteral("清空回收站？"));
    EXPECT_EQ(ui.callsOf("question")[1].caption, QStringLiteral("回收站"));

    const auto empty = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    EXPECT_TRUE(QDir(files).entryList(empty).isEmpty());
    EXPECT_TRUE(QDir(info).entryList(empty).isEmpty());
    EXPECT_TRUE(QDir(TrashCan::homeTrash() + "/expunged").entryList(empty).isEmpty());
    EXPECT_FALSE(exists(TrashCan::homeTrash() + "/directorysizes"));
    EXPECT_EQ(readAll(t.path("outside/keep")), QByteArray("keep"));
}

TEST_F(Trash, VolumeTrashFoldersAreEmptiedButNeverThroughALink)
{
    const QString uid = QString::number(::getuid());
    // A volume with its own trash, and one whose trash folder is a link to precious data.
    t.file("vol1/.Trash-" + uid + "/files/old", QByteArray("old"));
    t.file("vol1/.Trash-" + uid + "/info/old.trashinfo", QByteArray("[Trash Info]\n"));
    t.file("precious/files/data", QByteArray("precious"));
    t.dir("vol2");
    t.link("vol2/.Trash-" + uid, t.path("precious"));
    t.dir("vol3/.Trash");
    t.link("vol3/.Trash/" + uid, t.path("precious"));
    for (const char* v : {"vol1", "vol2", "vol3"}) {
        plat::Volume vol;
        vol.root = t.path(v);
        volumes.volumes << vol;
    }
    EXPECT_EQ(TrashCan::trashFolders(), QStringList({TrashCan::homeTrash(), t.path("vol1/.Trash-") + uid}));
    TrashCan::emptyAll();
    EXPECT_FALSE(exists(t.path("vol1/.Trash-" + uid + "/files/old")));
    EXPECT_FALSE(exists(t.path("vol1/.Trash-" + uid + "/info/old.trashinfo")));
    EXPECT_EQ(readAll(t.path("precious/files/data")), QByteArray("precious"));
}

// Emptying visits the trash of every mount point an item can be trashed to, not only the drive list's
// (memory file systems, loop devices and bind mounts are left out of that list).
TEST_F(Trash, EmptyingVisitsMountPointsTheDriveListLeavesOut)
{
    struct Mounts : test::FakeVolumes {
        QStringList points;
        QStringList mountPoints() override { return points; }
    } mounts;
    plat::ScopedServices scopedMounts(test::withVolumes(&mounts));
    const QString uid = QString::number(::getuid());
    t.file("listed/.Trash-" + uid + "/files/a", QByteArray("a"));
    t.file("tmpfs/.Trash-" + uid + "/files/b", QByteArray("b"));
    plat::Volume listed;
    listed.root = t.path("listed");
    mounts.volumes << listed;
    mounts.points = {t.path("listed"), t.path("tmpfs")};
    EXPECT_EQ(TrashCan::trashFolders(),
              QStringList({TrashCan::homeTrash(), t.path("listed/.Trash-") + uid, t.path("tmpfs/.Trash-") + uid}));
    TrashCan::emptyAll();
    EXPECT_FALSE(exists(t.path("listed/.Trash-" + uid + "/files/a")));
    EXPECT_FALSE(exists(t.path("tmpfs/.Trash-" + uid + "/files/b")));
}

TEST_F(Trash, ItemOnAnotherFileSystemGoesToThatVolumesTrash)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/orvo-trash-XXXXXX"));
    if (!other.isValid() || lstatOf(other.path()).st_dev == lstatOf(t.root()).st_dev)
        GTEST_SKIP() << "no second file system";
    const QString top = QStorageInfo(other.path()).rootPath();
    const QString own = top + "/.Trash-" + QString::number(::getuid());
    const bool hadOwn = exists(own);
    QFile f(other.path() + "/far.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("far");
    f.close();
    QString as;
    ASSERT_EQ(TrashCan::trash(other.path() + "/far.txt", &as), 0);
    EXPECT_TRUE(as.startsWith(top)) << as.toStdString();
    EXPECT_EQ(readAll(as), QByteArray("far"));
    const QString name = QFileInfo(as).fileName();
    const QString infoFile = QFileInfo(as).absolutePath() + "/../info/" + name + ".trashinfo";
    const QString rel = QDir(top).relativeFilePath(other.path() + "/far.txt");
    EXPECT_TRUE(readAll(infoFile).contains(QByteArray(QByteArray("Path=") + QUrl::toPercentEncoding(rel, "/")))) << readAll(infoFile).constData();
    QFile::remove(as);
    QFile::remove(infoFile);
    if (!hadOwn)
        plat::posix::removeTree(own);
}

TEST_F(Trash, OpenedInTheFileManager)
{
    test::FakeLauncher launcher;
    plat::Services s = plat::services();
    s.launcher = &launcher;
    plat::ScopedServices withLauncher(s);
    const QUrl trash(QStringLiteral("trash:///"));
    const QUrl folder = QUrl::fromLocalFile(files);
    const struct {
        const char* name;
        bool fileManager;
        const char* trashHandler;
        const char* folderHandler;
        std::vector<QUrl> shown;
        std::vector<QUrl> opened;
    } cases[] = {
        {"file manager on the bus", true, "", "", {trash}, {}},
        {"a trash: handler", false, "org.gnome.Nautilus.desktop", "", {trash}, {trash}},
        // xdg-open would start and show nothing: the files/ folder instead
        {"no trash: handler", false, "", "org.gnome.Nautilus.desktop", {trash, folder}, {folder}},
        {"only Orvo opens folders", false, "", "orvo-folder.desktop", {trash, folder}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        launcher.opened.clear();
        launcher.shownFolders.clear();
        launcher.fileManager = c.fileManager;
        launcher.handlers = {{QStringLiteral("x-scheme-handler/trash"), QString::fromLatin1(c.trashHandler)},
                             {QStringLiteral("inode/directory"), QString::fromLatin1(c.folderHandler)}};
        fileops::openRecycleBin();
        EXPECT_EQ(launcher.shownFolders, c.shown);
        EXPECT_EQ(launcher.opened, c.opened);
    }
}

} // namespace
