#include "TreeFixture.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using test::childTexts;
using test::TreeFixture;
using test::waitFor;

namespace {

TEST_F(TreeFixture, OutsideChangesShowWithoutUserAction)
{
    t.dir("keep");
    t.dir("old");
    TShellnode* root = buildAt(t.root());
    ASSERT_TRUE(root->Monitor());
    EXPECT_EQ(root->Monitor()->Filter(), 6u);
    QDir(t.root()).mkdir("created");
    ASSERT_TRUE(waitFor([&] { return childTexts(root).contains("created"); }));
    ASSERT_TRUE(QDir(t.root()).rename("old", "renamed"));
    ASSERT_TRUE(waitFor([&] { return childTexts(root) == QStringList({"created", "keep", "renamed"}); }));
    // A watched folder deleted from outside: its own monitor ends, its parent's removes the node.
    TDiscMonitorThread* keepMonitor = tree.nodeForPath(t.path("keep"))->Monitor();
    ASSERT_TRUE(keepMonitor && keepMonitor->Watching());
    ASSERT_TRUE(QDir(t.path("keep")).removeRecursively());
    ASSERT_TRUE(waitFor([&] { return childTexts(root) == QStringList({"created", "renamed"}); }));
}

TEST_F(TreeFixture, LeafFoldersGetTheirOwnMonitor)
{
    t.dir("leaf");
    TShellnode* root = buildAt(t.root());
    TShellnode* leaf = node(t.path("leaf"));
    ASSERT_TRUE(leaf->Monitor());
    EXPECT_FALSE(leaf->HasChildren());
    QDir(t.path("leaf")).mkdir("inner");
    ASSERT_TRUE(waitFor([&] { return leaf->HasChildren(); }));
    EXPECT_EQ(childTexts(leaf), QStringList{"inner"});
    EXPECT_EQ(root->childCount(), 1);
}

TEST_F(TreeFixture, NoRefreshWhileUpdAutoThreadIsOff)
{
    TShellnode* root = buildAt(t.root());
    t.dir("first");
    ASSERT_TRUE(waitFor([&] { return root->childCount() == 1; }));
    tree.setUpdAutoThread(false);
    const int seen = root->Monitor()->Notifications();
    QDir(t.root()).mkdir("second");
    ASSERT_TRUE(waitFor([&] { return root->Monitor()->Notifications() > seen; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(tree.pendingReads(), 0);
    EXPECT_EQ(childTexts(root), QStringList{"first"});
}

TEST_F(TreeFixture, FilesOptionChangesTheMonitorsFilterWithoutRecreatingThem)
{
    t.dir("a");
    t.dir("b/c");
    TShellnode* root = buildAt(t.root());
    TShellnode* a = node(t.path("a"));
    TDiscMonitorThread* rootMonitor = root->Monitor();
    TDiscMonitorThread* aMonitor = a->Monitor();
    ASSERT_TRUE(rootMonitor && aMonitor);
    QFile(t.path("a/before.txt")).open(QIODevice::WriteOnly);
    tree.setOptions(TF_FOLDERS | TF_NONFOLDERS);
    EXPECT_EQ(tree.NotifyFilter(), 7u);
    EXPECT_EQ(root->Monitor(), rootMonitor);
    EXPECT_EQ(a->Monitor(), aMonitor);
    EXPECT_EQ(aMonitor->Filter(), 7u);
    EXPECT_TRUE(aMonitor->Watching());
    a->setExpanded(true);
    EXPECT_EQ(childTexts(a), QStringList{"before.txt"});
    QFile(t.path("a/after.txt")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(waitFor([&] { return childTexts(a).size() == 2; }));
    tree.setOptions(TF_FOLDERS);
    EXPECT_EQ(aMonitor->Filter(), 6u);
}

TEST_F(TreeFixture, SuspendReleasesEveryWatchAndResumeRestoresThem)
{
    const int baseline = test::kernelWatches();
    t.dir("a/b/c");
    t.dir("d");
    tree.setOptions(TF_FOLDERS | TF_NONFOLDERS);
    buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    tree.setPath(t.path("a/b/c"));
    ASSERT_GT(tree.monitorCount(), 2);
    EXPECT_EQ(test::kernelWatches(), baseline + tree.monitorCount());
    tree.suspend();
    EXPECT_TRUE(tree.isSuspended());
    EXPECT_FALSE(tree.Options() & TF_FOLDERS);
    EXPECT_EQ(tree.monitorCount(), 0);
    EXPECT_EQ(test::kernelWatches(), baseline);
    EXPECT_EQ(tree.Root()->childCount(), 0);
    // Nothing holds the folders now: they can be deleted; a refresh meanwhile watches nothing.
    ASSERT_TRUE(QDir(t.path("a")).removeRecursively());
    tree.Refresh();
    EXPECT_EQ(test::kernelWatches(), baseline);
    tree.resume();
    EXPECT_TRUE(tree.Options() & TF_FOLDERS);
    EXPECT_EQ(childTexts(tree.Root()), QStringList{"d"});
    EXPECT_GE(tree.monitorCount(), 2);
    QDir(t.root()).mkdir("e");
    ASSERT_TRUE(waitFor([&] { return childTexts(tree.Root()) == QStringList({"d", "e"}); }));
}

TEST_F(TreeFixture, RebuildAndDestructionReleaseTheWatches)
{
    const int baseline = test::kernelWatches();
    t.dir("a/b");
    {
        TShellTree other;
        other.setRootUsePIDL(false);
        other.setRootDir(t.root());
        other.ensureBuilt();
        other.setPath(t.path("a/b"));
        EXPECT_GT(test::kernelWatches(), baseline);
        other.setRootDir(t.path("a"));
        EXPECT_EQ(test::kernelWatches(), baseline + other.monitorCount());
    }
    EXPECT_EQ(test::kernelWatches(), baseline);
}

TEST_F(TreeFixture, RefreshOfALargeFolderRunsOffTheGuiThread)
{
    for (int i = 0; i < 300; ++i)
        t.dir(QStringLiteral("big/d%1").arg(i, 3, 10, QChar(u'0')));
    buildAt(t.root());
    TShellnode* big = expand(t.path("big"));
    ASSERT_EQ(big->childCount(), 300);
    TShellnode* first = big->childNode(0);
    QDir(t.path("big")).mkdir("d150a");
    ASSERT_TRUE(waitFor([&] { return tree.pendingReads() > 0 || big->childCount() == 301; }));
    ASSERT_TRUE(waitFor([&] { return big->childCount() == 301; }));
    EXPECT_EQ(big->childNode(0), first);   // existing nodes are kept
    EXPECT_EQ(big->childNode(151)->text(0), QStringLiteral("d150a"));
    EXPECT_EQ(tree.pendingReads(), 0);
}

} // namespace

namespace {

// Refreshes apply only what changed since the last read; after any mix of outside changes the children
// must be exactly what a full re-read gives.
TEST_F(TreeFixture, RefreshesByDifferenceMatchAFullReRead)
{
    t.file("f/b.txt");
    t.file("f/c.log");
    t.dir("f/sub");
    buildAt(t.root(), TF_FOLDERS | TF_NONFOLDERS);
    tree.setFileMask("*.txt");
    tree.setFileMaskUse(true);
    tree.setFileSortOrder(so_Descending);
    TShellnode* f = expand(t.path("f"));
    ASSERT_EQ(childTexts(f), (QStringList{"sub", "b.txt"}));
    auto settle = [&](const QStringList& expected) {
        EXPECT_TRUE(waitFor([&] { return childTexts(f) == expected && tree.pendingReads() == 0; }))
            << childTexts(f).join(',').toStdString();
        tree.Refresh();
        EXPECT_EQ(childTexts(f), expected);
    };
    t.file("f/a.txt");                                  // added, accepted
    t.file("f/d.log");                                  // added, rejected by the mask
    settle({"sub", "a.txt", "b.txt"});
    QFile::remove(t.path("f/c.log"));                   // removed, never shown
    QFile::rename(t.path("f/b.txt"), t.path("f/e.txt"));
    settle({"sub", "a.txt", "e.txt"});
    t.setMode("f/a.txt", 0444);                         // changed in place
    ASSERT_TRUE(waitFor([&] { return (tree.nodeForPath(t.path("f/a.txt"))->Attributes() & sfgao::READONLY) != 0; }));
    QFile::rename(t.path("f/d.log"), t.path("f/d.txt")); // a hidden-by-mask entry becomes visible
    settle({"sub", "a.txt", "d.txt", "e.txt"});
    // A rename through the tree: the parent's next refresh re-reads it all, without duplicates.
    ASSERT_TRUE(tree.RenameNode(tree.nodeForPath(t.path("f/e.txt")), "b2.txt"));
    t.file("f/z.txt");
    settle({"sub", "a.txt", "b2.txt", "d.txt", "z.txt"});
    QDir(t.path("f/sub")).removeRecursively();
    settle({"a.txt", "b2.txt", "d.txt", "z.txt"});
}

} // namespace
