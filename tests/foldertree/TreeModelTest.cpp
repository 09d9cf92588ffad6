#include "TreeFixture.h"
#include "platform/Services.h"
#include "platform/posix/Faults.h"
#include "platform/posix/VolumeWatcher.h"
#include "platform/ShellInfo.h"
#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>

using test::childTexts;
using test::TreeFixture;

namespace {

// --- Order ---

struct OrderCase {
    TFileSortType type;
    TFileSortOrder order;
    QStringList files;
};

class TreeOrder : public TreeFixture, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(TreeOrder, FoldersAToZFilesInTheInvertedOrder)
{
    t.dir("Zeta");
    t.dir("alpha");
    t.dir("Mid");
    t.file("b.txt", 30);
    t.file("a.png", 10);
    t.file("C.doc", 20);
    const QDateTime base(QDate(2020, 1, 1), QTime(12, 0));
    t.setTimes("b.txt", base, base.addSecs(2));
    t.setTimes("a.png", base, base.addSecs(3));
    t.setTimes("C.doc", base, base.addSecs(1));
    tree.setFileSortType(GetParam().type);
    tree.setFileSortOrder(GetParam().order);
    TShellnode* root = buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    EXPECT_EQ(childTexts(root), QStringList({"alpha", "Mid", "Zeta"}) + GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(
    Sorting, TreeOrder,
    ::testing::Values(OrderCase{so_Name, so_Ascending, {"C.doc", "b.txt", "a.png"}},
                      OrderCase{so_Name, so_Descending, {"a.png", "b.txt", "C.doc"}},
                      OrderCase{so_Size, so_Ascending, {"b.txt", "C.doc", "a.png"}},
                      OrderCase{so_Size, so_Descending, {"a.png", "C.doc", "b.txt"}},
                      OrderCase{so_Date, so_Ascending, {"a.png", "b.txt", "C.doc"}},
                      OrderCase{so_Date, so_Descending, {"C.doc", "b.txt", "a.png"}}),
    [](const auto& i) {
        const char* type = i.param.type == so_Name ? "Name" : i.param.type == so_Size ? "Size" : "Date";
        return std::string(type) + (i.param.order == so_Ascending ? "Ascending" : "Descending");
    });

TEST_F(TreeFixture, ResortsTheWholeTreeWhenTheSortChanges)
{
    t.file("sub/x.txt", 1);
    t.file("sub/y.txt", 5);
    t.file("sub/w.png", 3);
    buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    TShellnode* sub = expand(t.path("sub"));
    EXPECT_EQ(childTexts(sub), (QStringList{"y.txt", "x.txt", "w.png"}));
    tree.setFileSortOrder(so_Descending);
    EXPECT_EQ(childTexts(sub), (QStringList{"w.png", "x.txt", "y.txt"}));
    tree.setFileSortType(so_Size);
    EXPECT_EQ(childTexts(sub), (QStringList{"x.txt", "w.png", "y.txt"}));
    // By type: the shell's type names, then names.
    tree.setFileSortType(so_Type);
    const bool pngFirst = plat::ShellInfo::typeName("w.png", false).compare(plat::ShellInfo::typeName("x.txt", false),
                                                                            Qt::CaseInsensitive) < 0;
    EXPECT_EQ(childTexts(sub), pngFirst ? QStringList({"w.png", "x.txt", "y.txt"}) : QStringList({"x.txt", "y.txt", "w.png"}));
}

// --- Filtering ---

TEST_F(TreeFixture, FileMaskFiltersFilesOnly)
{
    t.dir("folder.txt.d");
    t.file("a.txt");
    t.file("b.PNG");
    t.file("c.doc");
    t.file("README");
    TShellnode* root = buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    tree.setFileSortOrder(so_Descending);
    EXPECT_EQ(childTexts(root), (QStringList{"folder.txt.d", "a.txt", "b.PNG", "c.doc", "README"}));
    tree.setFileMask(" *.txt ; *.png ");
    EXPECT_EQ(childTexts(root).size(), 5);   // the mask waits for FileMaskUse
    tree.setFileMaskUse(true);
    EXPECT_EQ(childTexts(root), (QStringList{"folder.txt.d", "a.txt", "b.PNG"}));
    tree.setFileMask("*.*");
    EXPECT_EQ(childTexts(root), (QStringList{"folder.txt.d", "a.txt", "b.PNG", "c.doc"}));   // no dot, no README
    tree.OnFileAdd = [](QObject*, const QString& name, quint32, bool& allow) { allow = !name.endsWith("c.doc"); };
    tree.Refresh();
    EXPECT_EQ(childTexts(root), (QStringList{"folder.txt.d", "a.txt", "b.PNG"}));
    tree.setOptions(TF_FOLDERS);
    EXPECT_EQ(childTexts(root), QStringList{"folder.txt.d"});
}

TEST_F(TreeFixture, HiddenItemsFollowTheOption)
{
    t.dir(".config");
    t.dir("listed");
    t.dir("plain");
    t.hideListed("listed");
    TShellnode* root = buildAt(t.root());
    EXPECT_EQ(childTexts(root), QStringList{"plain"});
    tree.setOptions(TF_FOLDERS | TF_HIDDEN);
    EXPECT_EQ(childTexts(root), (QStringList{".config", "listed", "plain"}));
}

TEST_F(TreeFixture, ExpandButtonForFolderWithoutSubFoldersOnlyWithFiles)
{
    t.file("withfile/a.txt");
    t.dir("empty");
    t.dir("nested/inner");
    buildAt(t.root());
    EXPECT_FALSE(node(t.path("withfile"))->HasChildren());
    EXPECT_FALSE(node(t.path("empty"))->HasChildren());
    EXPECT_TRUE(node(t.path("nested"))->HasChildren());
    EXPECT_EQ(node(t.path("withfile"))->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    tree.setOptions(TF_FOLDERS | TF_NONFOLDERS);
    EXPECT_TRUE(node(t.path("withfile"))->HasChildren());
    EXPECT_EQ(node(t.path("withfile"))->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_FALSE(node(t.path("empty"))->HasChildren());
    // Expanding shows the file; an empty folder stays without children.
    EXPECT_EQ(childTexts(expand(t.path("withfile"))), QStringList{"a.txt"});
    expand(t.path("empty"));
    EXPECT_EQ(node(t.path("empty"))->childCount(), 0);
}

// --- Paths ---

TEST_F(TreeFixture, PathWalksDownAndNormalises)
{
    t.dir("a/b/c");
    t.file("a/b/file.txt");
    TShellnode* root = buildAt(t.root());
    EXPECT_EQ(tree.Path(), QDir::cleanPath(t.root()));
    QList<QString> seen;
    QObject::connect(&tree, &TShellTree::pathChanged, &tree, [&](const QString& p) { seen << p; });
    tree.setPath(t.path("a/b/missing/deeper/"));
    EXPECT_EQ(tree.Path(), t.path("a/b"));
    EXPECT_TRUE(node(t.path("a"))->isExpanded());
    EXPECT_TRUE(node(t.path("a/b"))->isExpanded());   // the node itself is expanded too
    EXPECT_EQ(tree.Selected(), node(t.path("a/b")));
    EXPECT_EQ(seen, QList<QString>{t.path("a/b")});
    tree.setPath(t.path("a/b/file.txt"));   // same folder: nothing happens
    EXPECT_EQ(seen.size(), 1);
    tree.setPath(QString());
    EXPECT_EQ(tree.Selected(), root);
    tree.setPath("/");   // outside the root: the deepest node reached is the root
    EXPECT_EQ(tree.Selected(), root);
}

TEST_F(TreeFixture, PathBeforeTheTreeIsBuiltIsAppliedOnShow)
{
    t.dir("x/y");
    tree.setRootUsePIDL(false);
    tree.setRootDir(t.root());
    tree.setPath(t.path("x/y/z"));
    EXPECT_FALSE(tree.isBuilt());
    EXPECT_EQ(tree.Path(), t.path("x/y"));
    tree.show();
    EXPECT_TRUE(tree.isBuilt());
    EXPECT_EQ(tree.Selected(), node(t.path("x/y")));
}

TEST_F(TreeFixture, RootsFromDirectoriesSpecialFoldersAndTheUserDefinedItem)
{
    t.dir("r/s");
    buildAt(t.path("r/"));
    EXPECT_EQ(tree.RootDir(), t.path("r"));
    EXPECT_EQ(tree.Root()->text(0), t.path("r"));   // the root shows its parsing name
    tree.setPath(t.path("r/s"));
    tree.setRootDir(t.root());   // the selected path is selected again below the new root
    EXPECT_EQ(tree.Root()->Path(), QDir::cleanPath(t.root()));
    EXPECT_EQ(tree.Path(), t.path("r/s"));
    tree.setRootDir(t.path("missing"));
    EXPECT_EQ(tree.Root()->Path(), QStringLiteral("/"));
    tree.SetUserDefinedRoot(plat::ShellNamespace::fromPath(t.path("r")));
    tree.setRootUsePIDL(true);
    tree.setRootPIDL(PIDL_USERDEFINED);
    EXPECT_EQ(tree.Root()->Path(), t.path("r"));
    tree.SetUserDefinedRoot(plat::ShellNamespace::fromPath(t.path("r/s")));
    EXPECT_EQ(tree.Root()->Path(), t.path("r/s"));
    tree.setRootPIDL(PIDL_FAVORITES);   // cannot be obtained: the desktop
    EXPECT_EQ(tree.Root()->Item().id, QStringLiteral("desktop"));
    tree.setRootPIDL(PIDL_BITBUCKET);
    EXPECT_EQ(tree.Root()->Item().id, QStringLiteral("bitbucket"));
    EXPECT_EQ(tree.Root()->text(0), tree.Root()->Path());
}

class DesktopTree : public TreeFixture {
protected:
    void SetUp() override
    {
        volumes.volumes = {test::volume("/")};
        test::documentsDir();
        desk = test::desktopDir();
        t.dir("usb/photos/2020");
    }
    void TearDown() override { QDir(desk).removeRecursively(); }
    test::FakeVolumes volumes;
    plat::ScopedServices scoped{test::withVolumes(&volumes)};
    QString desk;
};

TEST_F(DesktopTree, DesktopRootWithItsSpecialItems)
{
    QDir(desk).mkdir("Project");
    tree.setPath(desk);
    tree.ensureBuilt();
    TShellnode* root = tree.Root();
    EXPECT_EQ(root->text(0), QDir::cleanPath(desk));
    EXPECT_EQ(tree.Selected(), root);   // the initial path is the desktop itself
    EXPECT_EQ(childTexts(root), (QStringList{"我的文档", "计算机", "网上邻居", "回收站", "Project"}));
    tree.setShowVirtualFolders(false);
    EXPECT_EQ(childTexts(root), (QStringList{"我的文档", "计算机", "回收站", "Project"}));
    // Without TF_FOLDERS the desktop still lists its folders.
    tree.setOptions(TVisOptions());
    EXPECT_EQ(childTexts(root).size(), 4);
}

TEST_F(DesktopTree, PathThroughTheComputerNodeAndSpecialFolders)
{
    tree.ensureBuilt();
    tree.setPath("/no-such-top-folder/below");   // only the drive exists
    EXPECT_EQ(tree.Path(), QStringLiteral("/"));
    EXPECT_EQ(tree.Selected()->parentNode()->text(0), QStringLiteral("计算机"));
    tree.setPath(t.path("usb/photos/2020"));
    EXPECT_EQ(tree.Path(), t.path("usb/photos/2020"));
    tree.GotoSpecialFolder(PIDL_BITBUCKET);
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("回收站"));
    tree.GotoSpecialFolder(PIDL_DRIVES);
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("计算机"));
    tree.GotoSpecialFolder(PIDL_PERSONAL);
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("我的文档"));
    tree.GotoSpecialFolder(PIDL_FAVORITES);   // cannot be obtained: nothing happens
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("我的文档"));
    tree.GotoSpecialFolder(PIDL_CONTROLS);    // not reachable below the desktop
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("我的文档"));
}

TEST_F(DesktopTree, VolumesArriveAndGo)
{
    const QString usb = t.path("usb");
    volumes.volumes.append(test::volume(usb, plat::DriveType::Removable, "USB"));
    tree.volumeWatcher()->rescan();
    tree.ensureBuilt();
    tree.GotoSpecialFolder(PIDL_DRIVES);
    TShellnode* computer = tree.Selected();
    computer->setExpanded(true);
    EXPECT_EQ(childTexts(computer), (QStringList{"/", "USB (" + usb + ")"}));
    TShellnode* stick = test::childNamed(computer, "USB (" + usb + ")");
    stick->setExpanded(true);
    EXPECT_EQ(childTexts(stick), QStringList{"photos"});
    // A removal reported for a volume still listed collapses it and keeps its expand button.
    tree.VolumesRemoved({usb});
    EXPECT_FALSE(stick->isExpanded());
    EXPECT_EQ(stick->childCount(), 0);
    EXPECT_TRUE(stick->HasChildren());
    // Unmounted: the volume leaves the computer node; mounted again, it comes back.
    volumes.volumes.removeLast();
    tree.volumeWatcher()->rescan();
    EXPECT_EQ(childTexts(computer), QStringList{"/"});
    volumes.volumes.append(test::volume(usb, plat::DriveType::Removable, "USB"));
    tree.volumeWatcher()->rescan();
    EXPECT_EQ(childTexts(computer), (QStringList{"/", "USB (" + usb + ")"}));
}

TEST_F(DesktopTree, DriveRootIsReReadWhenItsVolumeChanges)
{
    const QString usb = t.path("usb");
    tree.setRootUsePIDL(false);
    tree.setRootDir(usb);
    tree.ensureBuilt();
    EXPECT_EQ(childTexts(tree.Root()), QStringList{"photos"});
    t.dir("usb/music");
    tree.setUpdAutoThread(false);
    tree.VolumesArrived({usb});
    EXPECT_EQ(childTexts(tree.Root()), (QStringList{"music", "photos"}));
}

// --- Expansion ---

TEST_F(TreeFixture, ExpansionReReadsAndCanBeVetoed)
{
    t.dir("a/one");
    buildAt(t.root());
    tree.setUpdAutoThread(false);
    TShellnode* a = expand(t.path("a"));
    EXPECT_EQ(childTexts(a), QStringList{"one"});
    a->setExpanded(false);
    t.dir("a/two");
    tree.setUpdAuto(false);
    a->setExpanded(true);   // filled already: not read again
    EXPECT_EQ(childTexts(a), QStringList{"one"});
    a->setExpanded(false);
    tree.setUpdAuto(true);
    a->setExpanded(true);
    EXPECT_EQ(childTexts(a), (QStringList{"one", "two"}));
    t.dir("b/inner");
    tree.OnExpanding = [](QObject*, TShellnode* n, bool& allow) { allow = !n->Path().endsWith("/b"); };
    tree.Refresh();
    TShellnode* b = expand(t.path("b"));
    EXPECT_FALSE(b->isExpanded());
    EXPECT_EQ(b->childCount(), 0);
}

TEST_F(TreeFixture, RecursiveReReadDescendsIntoExpandedChildren)
{
    t.dir("a/b");
    TShellnode* root = buildAt(t.root());
    tree.setUpdAutoThread(false);
    expand(t.path("a"));
    expand(t.path("a/b"));
    root->setExpanded(false);
    t.dir("a/b/new");
    root->setExpanded(true);
    EXPECT_EQ(node(t.path("a/b"))->childCount(), 0);
    root->setExpanded(false);
    tree.setUpdAutoRec(true);
    root->setExpanded(true);
    EXPECT_EQ(childTexts(node(t.path("a/b"))), QStringList{"new"});
}

TEST_F(TreeFixture, LinkLoopsAndSelfLinksDoNotHang)
{
    t.dir("a/b");
    t.link("a/up", t.root());
    t.link("self", t.path("self"));
    buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    const QString deep = t.path("a/up/a/up/a/up/a/b");
    tree.setPath(deep);
    EXPECT_EQ(tree.Path(), deep);
    EXPECT_EQ(node(t.path("a/up"))->OverlayIndex(), 1);   // the link overlay
    EXPECT_TRUE(node(t.path("self")));                   // a file-like entry
    tree.Refresh();
    EXPECT_EQ(tree.Path(), deep);
}

TEST_F(TreeFixture, UnreadableFolderHasNoChildren)
{
    namespace faults = plat::posix::faults;
    t.dir("closed/inner");
    const faults::Scoped denied(faults::Op::Open, t.path("closed"), EACCES);
    buildAt(t.root());
    TShellnode* closed = expand(t.path("closed"));
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->childCount(), 0);
}

} // namespace
