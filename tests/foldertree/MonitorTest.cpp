#include "TreeTestSupport.h"
#include "foldertree/engine/DiscMonitorThread.h"
#include "platform/posix/InotifyHub.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <sys/inotify.h>

using plat::InotifyHub;

namespace {

struct EventCase {
    quint32 filter;
    quint32 mask;
    const char* name;
    bool matches;
};

class HubFilter : public ::testing::TestWithParam<EventCase> {};

TEST_P(HubFilter, Matches)
{
    const EventCase& c = GetParam();
    EXPECT_EQ(InotifyHub::matches(c.filter, c.mask, QByteArray(c.name)), c.matches)
        << c.filter << " " << std::hex << c.mask << " " << c.name;
}

// "Filter6_CreateFolder_d": the filter, the event's bits as words, the name.
std::string eventCaseName(const ::testing::TestParamInfo<EventCase>& i)
{
    static const std::pair<quint32, const char*> kEvents[] = {
        {IN_CREATE, "Create"}, {IN_DELETE, "Delete"},         {IN_MOVED_TO, "MovedTo"}, {IN_MOVED_FROM, "MovedFrom"},
        {IN_ATTRIB, "Attrib"}, {IN_CLOSE_WRITE, "CloseWrite"}, {IN_ISDIR, "Folder"}};
    std::string event;
    for (const auto& [bit, word] : kEvents)
        if (i.param.mask & bit)
            event += word;
    return "Filter" + std::to_string(i.param.filter) + "_" + event + "_" + test::literalName(i.param.name);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, HubFilter,
    ::testing::Values(
        EventCase{6, IN_CREATE | IN_ISDIR, "d", true}, EventCase{6, IN_CREATE, "f", false},
        EventCase{7, IN_CREATE, "f", true}, EventCase{5, IN_MOVED_TO | IN_ISDIR, "d", false},
        EventCase{1, IN_DELETE, "f", true}, EventCase{2, IN_MOVED_FROM | IN_ISDIR, "d", true},
        EventCase{4, IN_ATTRIB, "f", true}, EventCase{3, IN_ATTRIB, "f", false},
        EventCase{4, IN_CLOSE_WRITE, ".hidden", true}, EventCase{4, IN_CLOSE_WRITE, "other", false},
        EventCase{4, IN_MOVED_TO, ".hidden", true}, EventCase{4, IN_CREATE, "f", false}),
    eventCaseName);

// A monitor with a counter in place of the tree's refresh.
struct Counted {
    Counted(const QString& path, quint32 filter)
        : monitor(std::make_unique<TDiscMonitorThread>(path, filter, [this] { ++refreshes; }))
    {
    }
    int refreshes = 0;
    std::unique_ptr<TDiscMonitorThread> monitor;
};

TEST(Monitor, CreatedSuspendedRefreshesOnMatchingChanges)
{
    test::TempTree t;
    const QString dir = t.dir("watched");
    Counted c(dir, 6);
    EXPECT_FALSE(c.monitor->Started());
    const int watches = InotifyHub::instance().watchCount();
    c.monitor->Start();
    EXPECT_TRUE(c.monitor->Watching());
    EXPECT_EQ(InotifyHub::instance().watchCount(), watches + 1);
    QFile(dir + "file.txt").open(QIODevice::WriteOnly);   // file names are not in filter 6
    QDir(dir).mkdir("sub");
    ASSERT_TRUE(test::waitFor([&] { return c.refreshes > 0; }));
    EXPECT_EQ(c.monitor->Notifications(), 1);
    // A burst of changes coalesces into at most one pending refresh.
    for (int i = 0; i < 20; ++i)
        QDir(dir).mkdir(QStringLiteral("burst%1").arg(i));
    const int before = c.refreshes;
    ASSERT_TRUE(test::waitFor([&] { return c.monitor->Notifications() >= 21; }));
    QCoreApplication::processEvents();
    EXPECT_LT(c.refreshes - before, 20);
    EXPECT_GE(c.refreshes - before, 1);
}

TEST(Monitor, ChangeFilterKeepsTheWatch)
{
    test::TempTree t;
    const QString dir = t.dir("watched");
    Counted c(dir, 6);
    c.monitor->Start();
    const int watches = InotifyHub::instance().watchCount();
    c.monitor->ChangeFilter(7);
    EXPECT_EQ(c.monitor->Filter(), 7u);
    EXPECT_TRUE(c.monitor->Watching());
    EXPECT_EQ(InotifyHub::instance().watchCount(), watches);
    QFile(dir + "file.txt").open(QIODevice::WriteOnly);
    ASSERT_TRUE(test::waitFor([&] { return c.refreshes > 0; }));
}

TEST(Monitor, FolderThatCannotBeWatchedFails)
{
    test::TempTree t;
    Counted missing(t.path("missing"), 6);
    missing.monitor->Start();
    EXPECT_TRUE(missing.monitor->Failed());
    EXPECT_TRUE(missing.monitor->Finished());
    // A file is no folder either.
    Counted file(t.file("plain"), 6);
    file.monitor->Start();
    EXPECT_TRUE(file.monitor->Failed());
}

TEST(Monitor, DeletedOrMovedFolderEndsItsMonitor)
{
    test::TempTree t;
    Counted deleted(t.dir("gone"), 6);
    Counted moved(t.dir("moved"), 6);
    deleted.monitor->Start();
    moved.monitor->Start();
    const int kernel = test::kernelWatches();
    ASSERT_TRUE(QDir(t.path("gone")).removeRecursively());
    ASSERT_TRUE(QDir().rename(t.path("moved"), t.path("elsewhere")));
    ASSERT_TRUE(test::waitFor([&] { return deleted.monitor->Failed() && moved.monitor->Failed(); }));
    EXPECT_EQ(deleted.refreshes + moved.refreshes, 0);
    // The moved folder still exists: its watch is released all the same.
    EXPECT_TRUE(test::waitFor([&] { return test::kernelWatches() == kernel - 2; }));
}

TEST(Monitor, SharedFolderKeepsOneWatchUntilTheLastMonitorGoes)
{
    test::TempTree t;
    const QString dir = t.dir("shared");
    const int kernel = test::kernelWatches();
    auto a = std::make_unique<Counted>(dir, 6);
    Counted b(dir, 7);
    a->monitor->Start();
    b.monitor->Start();
    EXPECT_EQ(test::kernelWatches(), kernel + 1);
    QFile(dir + "f").open(QIODevice::WriteOnly);   // only b asks for file names
    ASSERT_TRUE(test::waitFor([&] { return b.refreshes > 0; }));
    EXPECT_EQ(a->refreshes, 0);
    a.reset();
    EXPECT_EQ(test::kernelWatches(), kernel + 1);
    b.monitor.reset();
    EXPECT_EQ(test::kernelWatches(), kernel);
}

TEST(Monitor, HiddenListChangesCountAsAttributes)
{
    test::TempTree t;
    const QString dir = t.dir("folder");
    t.dir("folder/sub");
    Counted c(dir, 4);
    c.monitor->Start();
    t.hideListed("folder/sub");
    ASSERT_TRUE(test::waitFor([&] { return c.refreshes > 0; }));
}

} // namespace
