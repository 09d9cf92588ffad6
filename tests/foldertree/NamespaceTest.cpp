#include "TreeTestSupport.h"
#include "foldertree/engine/ShellNamespace.h"
#include "platform/Services.h"
#include "support/TempTree.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

using plat::ShellEntry;
using plat::ShellItem;
using plat::ShellNamespace;

namespace {

QString data(const QString& rel)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + rel;
}

QString config(const QString& rel)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + rel;
}

QStringList names(const QList<ShellEntry>& entries)
{
    QStringList out;
    for (const ShellEntry& e : entries)
        out << e.displayName;
    return out;
}

const ShellEntry* entryNamed(const QList<ShellEntry>& entries, const QString& name)
{
    for (const ShellEntry& e : entries)
        if (e.displayName == name)
            return &e;
    return nullptr;
}

TEST(Namespace, SpecialFoldersMapToTheirLinuxFolders)
{
    QDir(data("/applications")).removeRecursively();
    EXPECT_FALSE(ShellNamespace::special(PIDL_PROGRAMS));   // missing on disk: cannot be obtained
    QDir().mkpath(data("/applications"));
    QDir().mkpath(config("/autostart"));
    QDir().mkpath(data("/orvo/SendTo"));
    struct Row {
        TPidls pidl;
        QString id;
        QString path;
    };
    const QString desktop = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    const QList<Row> rows = {
        {PIDL_DESKTOP, "desktop", desktop},
        {PIDL_DRIVES, "drives", ""},
        {PIDL_NETWORK, "network", ""},
        {PIDL_CONTROLS, "controls", ""},
        {PIDL_PRINTERS, "printers", ""},
        {PIDL_BITBUCKET, "bitbucket", data("/Trash/files")},
        {PIDL_PROGRAMS, "", data("/applications")},
        {PIDL_STARTMENU, "", data("/applications")},
        {PIDL_STARTUP, "", config("/autostart")},
        {PIDL_SENDTO, "", data("/orvo/SendTo")},
    };
    for (const Row& r : rows) {
        const std::optional<ShellItem> item = ShellNamespace::special(r.pidl);
        ASSERT_TRUE(item) << r.pidl;
        EXPECT_EQ(item->id, r.id) << r.pidl;
        EXPECT_EQ(item->path, r.path) << r.pidl;
    }
    EXPECT_TRUE(QFileInfo(data("/Trash/info")).isDir());
    EXPECT_FALSE(ShellNamespace::special(PIDL_FAVORITES));
    EXPECT_FALSE(ShellNamespace::special(PIDL_RECENT));
    EXPECT_FALSE(ShellNamespace::special(PIDL_USERDEFINED));
    test::documentsDir();
    ASSERT_TRUE(ShellNamespace::special(PIDL_PERSONAL));
    EXPECT_EQ(ShellNamespace::special(PIDL_PERSONAL)->id, QStringLiteral("personal"));
}

TEST(Namespace, DesktopListsTheSpecialItemsThenItsFolder)
{
    test::FakeVolumes volumes;
    volumes.volumes = {test::volume("/")};
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    test::documentsDir();
    const QString desk = test::desktopDir();
    QDir(desk).mkdir(QStringLiteral("On the desktop"));
    QFile(desk + QStringLiteral("/note.txt")).open(QIODevice::WriteOnly);
    // Folders are always listed on the desktop; files only when asked for.
    const QList<ShellEntry> folders = ShellNamespace::children(ShellNamespace::desktop(), {0});
    EXPECT_EQ(names(folders), (QStringList{"我的文档", "计算机", "网上邻居", "回收站", "On the desktop"}));
    const QList<ShellEntry> all = ShellNamespace::children(ShellNamespace::desktop(), {TF_NONFOLDERS});
    EXPECT_TRUE(entryNamed(all, "note.txt"));
    const ShellEntry* computer = entryNamed(folders, "计算机");
    ASSERT_TRUE(computer);
    EXPECT_EQ(computer->parsingName(), QStringLiteral("::orvo:drives"));
    EXPECT_EQ(computer->attributes & (sfgao::FILESYSTEM | sfgao::FILESYSANCESTOR), sfgao::FILESYSANCESTOR);
    const ShellEntry* network = entryNamed(folders, "网上邻居");
    EXPECT_EQ(network->attributes & (sfgao::FILESYSTEM | sfgao::FILESYSANCESTOR), 0u);
    EXPECT_EQ(entryNamed(folders, "回收站")->attributes & sfgao::FILESYSTEM, sfgao::FILESYSTEM);
    EXPECT_EQ(ShellNamespace::describe(ShellNamespace::desktop()).displayName, QStringLiteral("桌面"));
    EXPECT_EQ(ShellNamespace::describe(ShellNamespace::desktop()).parsingName(), QDir::cleanPath(desk));
    QDir(desk).removeRecursively();
}

TEST(Namespace, ComputerListsTheVolumes)
{
    test::TempTree t;
    t.dir("usb/photos");
    const QString usb = t.path("usb");
    test::FakeVolumes volumes;
    volumes.volumes = {test::volume("/"), test::volume(usb, plat::DriveType::Removable, "STICK")};
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    const ShellItem computer = *ShellNamespace::special(PIDL_DRIVES);
    const QList<ShellEntry> v = ShellNamespace::children(computer, {TF_FOLDERS});
    ASSERT_EQ(v.size(), 2);
    EXPECT_EQ(v[0].displayName, QStringLiteral("/"));
    EXPECT_EQ(v[1].displayName, QStringLiteral("STICK (") + usb + u')');
    EXPECT_EQ(v[1].key, usb);
    EXPECT_TRUE(v[1].attributes & sfgao::REMOVABLE);
    EXPECT_TRUE(v[1].attributes & sfgao::HASSUBFOLDER);
    EXPECT_FALSE(v[1].attributes & sfgao::CANRENAME);   // a mount root
    EXPECT_TRUE(ShellNamespace::children(computer, {TF_NONFOLDERS}).isEmpty());
}

TEST(Namespace, AttributesOfFileSystemItems)
{
    test::TempTree t;
    t.dir("withsub/inner");
    t.dir("empty");
    t.dir("onlyhidden/.git");
    t.file("plain.txt", 3);
    t.file("locked.txt", 1);
    t.setMode("locked.txt", 0444);
    t.link("tosub", t.path("withsub"));
    t.link("dangling", t.path("nowhere"));
    const QList<ShellEntry> e = ShellNamespace::children(ShellNamespace::fromPath(t.root()), {TF_FOLDERS | TF_NONFOLDERS});
    auto attrs = [&](const char* name) {
        const ShellEntry* x = entryNamed(e, name);
        EXPECT_TRUE(x) << name;
        return x ? x->attributes : 0u;
    };
    const quint32 dirBits = sfgao::FOLDER | sfgao::FILESYSTEM | sfgao::FILESYSANCESTOR | sfgao::DROPTARGET | sfgao::CANRENAME;
    EXPECT_EQ(attrs("withsub") & (dirBits | sfgao::HASSUBFOLDER), dirBits | sfgao::HASSUBFOLDER);
    EXPECT_FALSE(attrs("empty") & sfgao::HASSUBFOLDER);
    EXPECT_FALSE(attrs("onlyhidden") & sfgao::HASSUBFOLDER);   // hidden sub-folders count only when listed
    EXPECT_EQ(attrs("plain.txt") & (sfgao::FOLDER | sfgao::FILESYSTEM | sfgao::CANRENAME), sfgao::FILESYSTEM | sfgao::CANRENAME);
    EXPECT_TRUE(attrs("locked.txt") & sfgao::READONLY);
    EXPECT_EQ(attrs("tosub") & (sfgao::LINK | sfgao::FOLDER), sfgao::LINK | sfgao::FOLDER);
    EXPECT_EQ(attrs("dangling") & (sfgao::LINK | sfgao::FOLDER), sfgao::LINK);
    EXPECT_EQ(entryNamed(e, "plain.txt")->size, 3);
    const QList<ShellEntry> hidden = ShellNamespace::children(ShellNamespace::fromPath(t.root()), {TF_FOLDERS | TF_HIDDEN});
    EXPECT_TRUE(entryNamed(hidden, "onlyhidden")->attributes & sfgao::HASSUBFOLDER);
    EXPECT_FALSE(ShellNamespace::describe(ShellNamespace::fromPath("/")).attributes & sfgao::CANRENAME);
    EXPECT_EQ(ShellNamespace::describe(ShellNamespace::fromPath("/")).displayName, QStringLiteral("/"));
}

TEST(Namespace, HiddenItemsNeedTheHiddenFlag)
{
    test::TempTree t;
    t.dir(".dot");
    t.dir("listed");
    t.dir("shown");
    t.hideListed("listed");
    EXPECT_EQ(names(ShellNamespace::children(ShellNamespace::fromPath(t.root()), {TF_FOLDERS})), QStringList{"shown"});
    EXPECT_EQ(ShellNamespace::children(ShellNamespace::fromPath(t.root()), {TF_FOLDERS | TF_HIDDEN}).size(), 3);
}

TEST(Namespace, ProbeForChildrenWhenFilesAreListed)
{
    test::TempTree t;
    t.file("docs/a.txt");
    t.file("pics/a.jpg");
    t.dir("none");
    plat::EnumRequest req{TF_FOLDERS | TF_NONFOLDERS};
    req.mask = foldertree::TreeMask("*.jpg");
    const QList<ShellEntry> e = ShellNamespace::children(ShellNamespace::fromPath(t.root()), req);
    EXPECT_FALSE(entryNamed(e, "docs")->anyChild);   // its only file is outside the mask
    EXPECT_TRUE(entryNamed(e, "pics")->anyChild);
    EXPECT_FALSE(entryNamed(e, "none")->anyChild);
    const QList<ShellEntry> folders = ShellNamespace::children(ShellNamespace::fromPath(t.root()), {TF_FOLDERS});
    EXPECT_FALSE(entryNamed(folders, "pics")->anyChild);   // no probe without files
}

TEST(Namespace, SubFolderProbeGivesUpAfterTwoThousandEntries)
{
    test::TempTree t;
    for (int i = 0; i < 2001; ++i)
        t.file(QStringLiteral("many/f%1").arg(i));
    t.file("few/f");
    EXPECT_TRUE(ShellNamespace::hasSubFolder(t.path("many"), false));
    EXPECT_FALSE(ShellNamespace::hasSubFolder(t.path("few"), false));
}

TEST(Namespace, PathNormalisation)
{
    test::TempTree t;
    t.dir("a/b");
    t.file("a/file.txt");
    const QString a = t.path("a");
    EXPECT_EQ(ShellNamespace::normalizePath(""), QString());
    EXPECT_EQ(ShellNamespace::normalizePath("/"), QStringLiteral("/"));
    EXPECT_EQ(ShellNamespace::normalizePath(a + "/"), a);
    EXPECT_EQ(ShellNamespace::normalizePath(a + "/b/missing/deeper"), a + "/b");
    EXPECT_EQ(ShellNamespace::normalizePath(a + "/file.txt"), a);
    EXPECT_EQ(ShellNamespace::normalizePath("/no-such-top-folder/x"), QStringLiteral("/"));
    EXPECT_EQ(ShellNamespace::normalizePath(a + "//b/./"), a + "/b");
    const QString saved = QDir::currentPath();
    QDir::setCurrent(a);
    EXPECT_EQ(ShellNamespace::normalizePath("b/missing"), a + "/b");
    QDir::setCurrent(saved);
}

TEST(Namespace, CompareByColumn)
{
    auto entry = [](const char* name, bool folder, qint64 size, qint64 time, const char* type) {
        ShellEntry e;
        e.displayName = QString::fromUtf8(name);
        e.attributes = folder ? sfgao::FOLDER : 0;
        e.size = size;
        e.modifiedNs = time;
        e.typeName = QString::fromUtf8(type);
        return e;
    };
    const ShellEntry dirB = entry("b", true, 0, 0, "文件夹");
    const ShellEntry fileA = entry("A.txt", false, 50, 2, "txt");
    const ShellEntry fileC = entry("c.txt", false, 10, 1, "txt");
    const ShellEntry fileD = entry("d.png", false, 10, 3, "png");
    EXPECT_EQ(ShellNamespace::compare(dirB, fileA, 0), -1);   // folders first
    EXPECT_EQ(ShellNamespace::compare(fileA, fileC, 0), -1);  // case-insensitive names
    EXPECT_EQ(ShellNamespace::compare(fileA, fileC, 1), 1);
    EXPECT_EQ(ShellNamespace::compare(fileC, fileD, 1), -1);  // equal sizes: by name
    EXPECT_EQ(ShellNamespace::compare(fileD, fileC, 2), -1);  // "png" before "txt"
    EXPECT_EQ(ShellNamespace::compare(fileD, fileA, 3), 1);
    ShellEntry special = entry("我的文档", true, 0, 0, "");
    special.rank = 1;
    EXPECT_EQ(ShellNamespace::compare(special, dirB, 0), -1);
}

TEST(Namespace, RenameNeverReplaces)
{
    test::TempTree t;
    t.file("a.txt", QByteArray("A"));
    t.file("b.txt", QByteArray("B"));
    t.dir("d1");
    t.dir("d2");
    auto refusal = [&](const QString& from, const QString& to) -> QString {
        try {
            ShellNamespace::rename(ShellNamespace::fromPath(t.path(from)), to);
        } catch (const plat::EShellError& e) {
            EXPECT_EQ(e.kind(), plat::EShellError::AlreadyExists);
            return e.message();
        }
        return QStringLiteral("renamed");
    };
    EXPECT_EQ(refusal("a.txt", "b.txt"), QStringLiteral("\"b.txt\" already exists !"));
    EXPECT_EQ(refusal("d1", "d2"), QStringLiteral("\"d2\" already exists !"));
    EXPECT_EQ(refusal("a.txt", "."), QStringLiteral("\".\" already exists !"));
    EXPECT_EQ(refusal("a.txt", ".."), QStringLiteral("\"..\" already exists !"));
    EXPECT_EQ(refusal("a.txt", "d1/x"), QStringLiteral("\"d1/x\" already exists !"));
    QFile b(t.path("b.txt"));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), QByteArray("B"));
    EXPECT_FALSE(QFileInfo::exists(t.path("d1/x")));
    const ShellItem moved = ShellNamespace::rename(ShellNamespace::fromPath(t.path("a.txt")), "c.txt");
    EXPECT_EQ(moved.path, t.path("c.txt"));
    EXPECT_TRUE(QFileInfo::exists(t.path("c.txt")));
    EXPECT_FALSE(QFileInfo::exists(t.path("a.txt")));
    EXPECT_THROW(ShellNamespace::rename(ShellNamespace::fromPath(t.path("gone.txt")), "x"), plat::EShellError);
    EXPECT_THROW(ShellNamespace::rename(*ShellNamespace::special(PIDL_DRIVES), "x"), plat::EShellError);
}

TEST(Namespace, RouteScores)
{
    const QStringList roots = {"/", "/media/usb"};
    const ShellItem target = ShellNamespace::fromPath("/media/usb/a/b");
    EXPECT_EQ(ShellNamespace::routeScore({"", "/media/usb/a/b"}, target, roots), ShellNamespace::kExact);
    EXPECT_EQ(ShellNamespace::routeScore({"", "/media/usb/a"}, target, roots), 12);
    EXPECT_EQ(ShellNamespace::routeScore({"", "/media/usb/ab"}, target, roots), 0);
    EXPECT_EQ(ShellNamespace::routeScore({"drives", ""}, target, roots), 10);
    EXPECT_EQ(ShellNamespace::routeScore({"network", ""}, target, roots), 0);
    EXPECT_EQ(ShellNamespace::routeScore({"drives", ""}, {"drives", ""}, roots), ShellNamespace::kExact);
    EXPECT_EQ(ShellNamespace::routeScore({"personal", "/home/u/Documents"}, ShellNamespace::fromPath("/home/u/Documents"), roots),
              ShellNamespace::kExact);
}

} // namespace
