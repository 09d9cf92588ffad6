// TFindFile walking real folders: order, names, attributes, sizes, dates, exclusions, contents, links,
// special files, inline and threaded runs, stopping and destruction.
#include "SearchTestSupport.h"
#include "platform/posix/Faults.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QDateTime>
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace search;
using searchtest::Reported;

namespace {

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

TFindFile& at(TFindFile& f, const test::TempTree& t, const QString& mask = QStringLiteral("*.*"))
{
    f.setLocation(t.root());
    f.setFilename(mask);
    return f;
}

void setSize(const QString& path, qint64 size)
{
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), size), 0);   // sparse
}

// A small tree used by several tests.
void makeTree(test::TempTree& t)
{
    t.file("b.txt", 1);
    t.file("a.txt", 1);
    t.file("c.dat", 1);
    t.file("sub1/c.txt", 1);
    t.file("sub1/deep/d.txt", 1);
    t.file("sub2/e.txt", 1);
    t.file(".hid/x.txt", 1);
    t.file(".dot.txt", 1);
    t.file("sub2/.dot.txt", 1);
}

TEST(SearchWalk, FilesOfAFolderComeBeforeItsSubfoldersDepthFirst)
{
    test::TempTree t;
    makeTree(t);
    t.file("sub1/deep/deeper/f.txt", 1);
    TFindFile f;
    const Reported r = searchtest::search(at(f, t, QStringLiteral("*.txt")), t.root());
    EXPECT_EQ(sorted(r.found),
              sorted({"a.txt", "b.txt", "sub1/c.txt", "sub1/deep/d.txt", "sub1/deep/deeper/f.txt", "sub2/e.txt"}));
    EXPECT_EQ(sorted(r.folders), sorted({"", "sub1", "sub1/deep", "sub1/deep/deeper", "sub2"}));
    EXPECT_EQ(r.completes, 1);
    EXPECT_FALSE(r.abortedAtComplete);
    EXPECT_FALSE(f.Busy());

    // Pre-order: every entry right after its own folder's event; each folder after its parent, and a
    // subtree once left is never returned to.
    QStringList stack;
    QString current;
    for (const QString& e : r.events) {
        if (e.startsWith(QLatin1String("folder:"))) {
            current = e.mid(7);
            const QString parent = current.contains(u'/') ? current.left(current.lastIndexOf(u'/')) : QString();
            while (!stack.isEmpty() && stack.last() != parent)
                stack.removeLast();
            if (!current.isEmpty()) {
                EXPECT_FALSE(stack.isEmpty()) << "folder " << current.toStdString() << " outside its parent";
            }
            stack << current;
        } else {
            const QString p = e.mid(6);
            const QString folder = p.contains(u'/') ? p.left(p.lastIndexOf(u'/')) : QString();
            EXPECT_EQ(folder, current) << p.toStdString();
        }
    }
}

TEST(SearchWalk, NoSubfoldersAndIgnoredFolders)
{
    test::TempTree t;
    makeTree(t);
    TFindFile f;
    at(f, t, QStringLiteral("*.txt")).setSubfolders(false);
    Reported r = searchtest::search(f, t.root());
    EXPECT_EQ(sorted(r.found), sorted({"a.txt", "b.txt"}));
    EXPECT_EQ(r.folders, QStringList{""});

    TFindFile g;
    Reported r2;
    searchtest::record(at(g, t, QStringLiteral("*.txt")), r2, t.root());
    auto recordFolder = g.OnNewFolder;
    g.OnNewFolder = [&](TFindFile* s, const QString& folder, bool& ignore) {
        recordFolder(s, folder, ignore);
        ignore = folder.endsWith(QLatin1String("/sub1"));
    };
    g.Execute();
    EXPECT_EQ(sorted(r2.found), sorted({"a.txt", "b.txt", "sub2/e.txt"}));
    EXPECT_EQ(sorted(r2.folders), sorted({"", "sub1", "sub2"}));   // sub1 was announced, then skipped whole
}

TEST(SearchWalk, MasksFollowThePlatformRules)
{
    test::TempTree t;
    t.file("README", 1);
    t.file("readme.md", 1);
    t.file("Notes.TXT", 1);
    t.file("abc", 1);
    t.file("abc.d", 1);
    t.file("xabc", 1);
    struct Case {
        const char* mask;
        QStringList found;
    };
    const Case cases[] = {{"", {"README", "readme.md", "Notes.TXT", "abc", "abc.d", "xabc"}},
                          {"readme", {"README", "readme.md"}},   // becomes readme.*
                          {"*.txt", {"Notes.TXT"}},
                          {"abc", {"abc", "abc.d"}},
                          {"?bc.*", {"abc", "abc.d"}}};
    for (const Case& c : cases) {
        TFindFile f;
        f.setSubfolders(false);
        EXPECT_EQ(sorted(searchtest::search(at(f, t, QString::fromUtf8(c.mask)), t.root()).found), sorted(c.found))
            << c.mask;
    }
}

TEST(SearchWalk, SeveralStartFoldersAndIncludeFiles)
{
    test::TempTree t;
    makeTree(t);
    TFindFile f;
    f.setFilename(QStringLiteral("*.txt"));
    f.setLocation(t.path("sub1") + u';' + t.path("sub2") + QStringLiteral(";") + t.path("sub1/"));
    Reported r = searchtest::search(f, t.root());
    EXPECT_EQ(sorted(r.found), sorted({"sub1/c.txt", "sub1/deep/d.txt", "sub2/e.txt"}));   // sub1 once

    TFindFile g;
    g.setIncludeFiles({t.path("sub1/*.txt"), t.path("*.dat")});
    g.setSubfolders(false);
    EXPECT_EQ(sorted(searchtest::search(g, t.root()).found), sorted({"sub1/c.txt", "c.dat"}));
}

// --- Attributes ---

struct AttrCase {
    const char* name;
    TFileAttributes attributes;
    bool exact;
    QStringList found;
};

void PrintTo(const AttrCase& c, std::ostream* os)
{
    *os << c.name;
}

class AttributeRule : public ::testing::TestWithParam<AttrCase> {};

TEST_P(AttributeRule, SelectsEntriesByTheirAttributeSet)
{
    const AttrCase& c = GetParam();
    test::TempTree t;
    t.file("plain", 1);
    t.file("ro", 1);
    t.setMode("ro", 0444);
    t.file("listed", 1);
    t.hideListed("listed");
    t.fifo("pipe");
    t.dir("folder");
    t.dir("rofolder");
    t.setMode("rofolder", 0555);
    TFindFile f;
    at(f, t).setSubfolders(false);
    f.setAttributes(c.attributes);
    f.setExactAttribute(c.exact);
    EXPECT_EQ(sorted(searchtest::search(f, t.root()).found), sorted(c.found)) << c.name;
    t.setMode("rofolder", 0755);
}

INSTANTIATE_TEST_SUITE_P(
    Search, AttributeRule,
    ::testing::Values(
        AttrCase{"defaults", {ffArchive, ffReadonly, ffHidden, ffSystem}, false,
                 {"plain", "ro", "listed", "pipe", "rofolder"}},
        AttrCase{"with folders", {ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory}, false,
                 {"plain", "ro", "listed", "pipe", "folder", "rofolder"}},
        AttrCase{"read-only only", {ffReadonly}, false, {"ro", "rofolder"}},
        AttrCase{"exact archive", {ffArchive}, true, {"plain"}},
        AttrCase{"exact archive and hidden", {ffArchive, ffHidden}, true, {"listed"}},
        AttrCase{"exact archive and read-only", {ffArchive, ffReadonly}, true, {"ro"}},
        AttrCase{"exact system", {ffSystem}, true, {"pipe"}},
        AttrCase{"exact folder", {ffDirectory}, true, {"folder"}},
        AttrCase{"exact, all members", {ffArchive, ffReadonly, ffHidden, ffSystem}, true, {}}),
    test::NameField());

// --- Sizes ---

TEST(SearchWalk, SizeBoundsAre64BitAndIgnoreFolders)
{
    test::TempTree t;
    setSize(t.file("s1023"), 1023);
    setSize(t.file("s1024"), 1024);
    setSize(t.file("s1025"), 1025);
    setSize(t.file("big"), 5LL << 30);
    t.dir("folder");
    struct Case {
        qint64 min, max;
        QStringList found;
    };
    const Case cases[] = {{0, 0, {"s1023", "s1024", "s1025", "big", "folder"}},
                          {1024, 0, {"s1024", "s1025", "big", "folder"}},
                          {0, 1024, {"s1023", "s1024", "folder"}},
                          {4LL << 30, 0, {"big", "folder"}},                       // above 2,097,151 KB
                          {0, 3LL << 30, {"s1023", "s1024", "s1025", "folder"}},
                          {1025, 1025, {"s1025", "folder"}}};
    for (const Case& c : cases) {
        TFindFile f;
        at(f, t).setSubfolders(false);
        f.setAttributes({ffArchive, ffDirectory});
        f.setSizeMin(c.min);
        f.setSizeMax(c.max);
        EXPECT_EQ(sorted(searchtest::search(f, t.root()).found), sorted(c.found)) << c.min << ".." << c.max;
    }
}

// --- Dates ---

TEST(SearchWalk, DateBoundsApplyToTheChosenTime)
{
    test::TempTree t;
    const QDateTime old(QDate(2020, 5, 6), QTime(7, 30));
    const QDateTime day(QDate(2021, 3, 4), QTime(8, 0));
    const QDateTime evening(QDate(2021, 3, 4), QTime(20, 15));
    t.file("old", 1);
    t.file("morning", 1);
    t.file("evening", 1);
    t.setTimes("old", evening, old);
    t.setTimes("morning", old, day);
    t.setTimes("evening", day, evening);
    const TDateTime d = encodeDate(2021, 3, 4);

    auto found = [&](auto set) {
        TFindFile f;
        at(f, t).setSubfolders(false);
        set(f);
        return sorted(searchtest::search(f, t.root()).found);
    };
    // A pure date bound includes that whole day.
    EXPECT_EQ(found([&](TFindFile& f) { f.setModifiedAfter(d); f.setModifiedBefore(d); }),
              sorted({"morning", "evening"}));
    // A pure time bound compares the time of day on any date.
    EXPECT_EQ(found([&](TFindFile& f) { f.setModifiedAfter(encodeTime(8, 0, 0)); }), sorted({"morning", "evening"}));
    EXPECT_EQ(found([&](TFindFile& f) { f.setModifiedBefore(encodeTime(8, 0, 0)); }), sorted({"old", "morning"}));
    // A moment bound.
    EXPECT_EQ(found([&](TFindFile& f) { f.setModifiedAfter(d + encodeTime(8, 0, 1)); }), QStringList{"evening"});
    // Access times are separate.
    EXPECT_EQ(found([&](TFindFile& f) { f.setAccessedBefore(encodeDate(2020, 12, 31)); }), QStringList{"morning"});
}

// --- Exclusions ---

TEST(SearchWalk, ExcludedEntriesAreNotReported)
{
    test::TempTree t;
    makeTree(t);
    t.file("sub2/keep.log", 1);
    t.file("sub1/drop.LOG", 1);
    TFindFile f;
    at(f, t);
    f.setExcludeFiles({QStringLiteral("/sub1/*.log"), QStringLiteral("/sub2/*.*"), QStringLiteral("*.dat")});
    EXPECT_EQ(sorted(searchtest::search(f, t.root()).found),
              sorted({"a.txt", "b.txt", "sub1/c.txt", "sub1/deep/d.txt"}));
}

// --- Contents ---

TEST(SearchWalk, ContentTestReadsRegularFilesAcrossBlocks)
{
    test::TempTree t;
    QByteArray big(300 * 1024, 'x');
    big.replace(256 * 1024 - 3, 6, "Needle");       // straddles the engine's block boundary
    t.file("big.txt", big);
    t.file("small.txt", QByteArray("a needle here"));
    t.file("none.txt", QByteArray("nothing"));
    t.file("sub/deep.txt", QByteArray("NEEDLE"));
    t.fifo("pipe.txt");                               // would block if opened for reading
    t.link("proc.txt", QStringLiteral("/proc/self/mem"));   // a regular file that fails to read
    t.link("dangling.txt", t.path("missing"));
    t.dir("needle.dir");
    TFindFile f;
    at(f, t);
    f.setAttributes({ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory});
    f.setContaining(QStringLiteral("needle"));
    Reported r = searchtest::search(f, t.root());
    EXPECT_EQ(sorted(r.found), sorted({"big.txt", "small.txt", "sub/deep.txt", "needle.dir", "sub"}));
    EXPECT_FALSE(r.abortedAtComplete);   // unreadable files do not end the search

    f.setIgnoreCase(false);
    f.setAttributes({ffArchive});
    EXPECT_EQ(sorted(searchtest::search(f, t.root()).found), QStringList{"small.txt"});
}

// Many folders and files, so that a content search hands its entries between threads in many batches;
// the files whose names hold "hit" contain the text, some of them beyond the first read block.
void makeContentTree(test::TempTree& t)
{
    for (int d = 0; d < 12; ++d) {
        const QString folder = QStringLiteral("d%1/").arg(d);
        for (int i = 0; i < 60; ++i) {
            const bool hit = (i * 7 + d) % 5 == 0;
            const int size = i % 11 == 0 ? 300 * 1024 : 100 + i;
            QByteArray data(size, 'x');
            if (hit)
                data.replace(size - 8, 6, "NEEDLE");
            t.file(folder + (hit ? QStringLiteral("hit%1.txt") : QStringLiteral("miss%1.txt")).arg(i), data);
        }
        t.file(folder + QStringLiteral("sub/hit-deep.txt"), QByteArray("a needle"));
        t.file(folder + QStringLiteral("sub/inner/miss.txt"), QByteArray("none"));
    }
}

// The events of a search without a text, keeping the files whose names hold "hit".
QStringList expectedContentEvents(const QStringList& withoutText)
{
    QStringList out;
    for (const QString& e : withoutText)
        if (e.startsWith(QLatin1String("folder:")) || e.contains(QLatin1String("hit")))
            out << e;
    return out;
}

TEST(SearchWalk, ContentSearchReportsInTheWalksOrder)
{
    test::TempTree t;
    makeContentTree(t);
    // Folders ending in "/d3" and "/d8/sub" are skipped by the handler.
    const auto skipSome = [](TFindFile& f) {
        auto recordFolder = f.OnNewFolder;
        f.OnNewFolder = [recordFolder](TFindFile* s, const QString& folder, bool& ignore) {
            recordFolder(s, folder, ignore);
            ignore = folder.endsWith(QLatin1String("/d3")) || folder.endsWith(QLatin1String("/d8/sub"));
        };
    };
    for (bool skip : {false, true}) {
        TFindFile plain;
        Reported all;
        searchtest::record(at(plain, t), all, t.root());
        if (skip)
            skipSome(plain);
        plain.Execute();
        const QStringList expected = expectedContentEvents(all.events);
        ASSERT_GT(expected.size(), 150);
        for (bool threaded : {false, true}) {
            TFindFile f;
            at(f, t).setContaining(QStringLiteral("needle"));
            f.setThreaded(threaded);
            Reported r;
            searchtest::record(f, r, t.root());
            if (skip)
                skipSome(f);
            f.Execute();
            if (f.Busy()) {
                QEventLoop loop;
                QObject::connect(&f, &TFindFile::searchEnded, &loop, &QEventLoop::quit);
                loop.exec();
            }
            EXPECT_EQ(r.events, expected) << "skip " << skip << " threaded " << threaded;
            EXPECT_EQ(r.completes, 1);
            EXPECT_FALSE(r.abortedAtComplete);
        }
    }
}

TEST(SearchWalk, StoppingAContentSearchEndsItsEvents)
{
    test::TempTree t;
    makeContentTree(t);
    for (bool threaded : {false, true}) {
        TFindFile f;
        at(f, t).setContaining(QStringLiteral("needle"));
        f.setThreaded(threaded);
        Reported r;
        searchtest::record(f, r, t.root());
        auto recordFound = f.OnFound;
        f.OnFound = [&](TFindFile* s, const QString& folder, const TSearchRec& rec) {
            recordFound(s, folder, rec);
            if (r.found.size() == 3)
                s->Abort();
        };
        QEventLoop loop;
        QObject::connect(&f, &TFindFile::searchEnded, &loop, &QEventLoop::quit);
        f.Execute();
        if (f.Busy())
            loop.exec();
        EXPECT_EQ(r.found.size(), 3) << threaded;
        EXPECT_EQ(r.completes, 1) << threaded;
        EXPECT_TRUE(r.abortedAtComplete) << threaded;
    }
}

TEST(SearchWalk, UnreadableFilesFailTheirContentTestSilently)
{
    namespace faults = plat::posix::faults;
    test::TempTree t;
    t.file("locked.txt", QByteArray("needle"));
    t.file("open.txt", QByteArray("needle"));
    const faults::Scoped denied(faults::Op::Open, t.path("locked.txt"), EACCES);
    TFindFile f;
    at(f, t).setContaining(QStringLiteral("needle"));
    const Reported r = searchtest::search(f, t.root());
    EXPECT_EQ(r.found, QStringList{"open.txt"});
    EXPECT_FALSE(r.abortedAtComplete);
}

// --- Links ---

TEST(SearchWalk, LinkedFoldersAreReportedButNeverEntered)
{
    test::TempTree t;
    t.file("real/inside.txt", 1);
    t.link("loop", t.root());              // a cycle if followed
    t.link("real-link", t.path("real"));
    t.link("file-link.txt", t.path("real/inside.txt"));
    TFindFile f;
    at(f, t).setAttributes({ffArchive, ffDirectory});
    const Reported r = searchtest::search(f, t.root());
    EXPECT_EQ(sorted(r.found), sorted({"real", "real/inside.txt", "loop", "real-link", "file-link.txt"}));
    EXPECT_EQ(sorted(r.folders), sorted({"", "real"}));
}

// --- Threads, stopping, destruction ---

void makeWideTree(test::TempTree& t, int folders)
{
    for (int i = 0; i < folders; ++i)
        t.file(QStringLiteral("d%1/f%1.txt").arg(i), 1);
}

TEST(SearchThreads, ThreadedSearchReportsTheSameAsInline)
{
    test::TempTree t;
    makeTree(t);
    makeWideTree(t, 20);
    TFindFile inlineFind;
    const Reported a = searchtest::search(at(inlineFind, t), t.root());
    TFindFile threaded;
    at(threaded, t).setThreaded(true);
    threaded.setThreadPriority(tpLower);
    const Reported b = searchtest::search(threaded, t.root());
    EXPECT_EQ(b.events, a.events);
    EXPECT_EQ(b.completes, 1);
    EXPECT_FALSE(threaded.Busy());
}

TEST(SearchThreads, StoppingRaisesOnCompleteOnceWithAborted)
{
    test::TempTree t;
    makeWideTree(t, 200);
    for (bool threaded : {false, true}) {
        TFindFile f;
        at(f, t).setThreaded(threaded);
        Reported r;
        searchtest::record(f, r, t.root());
        auto recordFolder = f.OnNewFolder;
        bool abortReturned = false;
        f.OnNewFolder = [&](TFindFile* s, const QString& folder, bool& ignore) {
            recordFolder(s, folder, ignore);
            if (r.folders.size() != 2)
                return;
            if (threaded) {
                // Stop from the event loop, as the Stop button does; Abort returns once OnComplete has run.
                QTimer::singleShot(0, &f, [&] {
                    f.Abort();
                    abortReturned = true;
                    EXPECT_FALSE(f.Busy());
                    EXPECT_EQ(r.completes, 1);
                });
            } else {
                f.Abort();
            }
        };
        f.Execute();
        while (threaded && !abortReturned)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(r.completes, 1) << threaded;
        EXPECT_TRUE(r.abortedAtComplete) << threaded;
        EXPECT_TRUE(f.Aborted());
        EXPECT_LT(r.folders.size(), 10) << threaded;
        // The next search starts afresh.
        f.OnNewFolder = recordFolder;
        const Reported again = searchtest::search(f, t.root());
        EXPECT_EQ(again.found.size(), 200);
        EXPECT_FALSE(f.Aborted());
    }
}

TEST(SearchThreads, AbortFromInsideAThreadedEventDoesNotWaitForItself)
{
    test::TempTree t;
    makeWideTree(t, 50);
    TFindFile f;
    at(f, t).setThreaded(true);
    Reported r;
    searchtest::record(f, r, t.root());
    f.OnFound = [&](TFindFile* s, const QString&, const TSearchRec&) {
        s->Abort();
        r.found << QStringLiteral("x");
    };
    QEventLoop loop;
    QObject::connect(&f, &TFindFile::searchEnded, &loop, &QEventLoop::quit);
    f.Execute();
    if (f.Busy())
        loop.exec();
    EXPECT_EQ(r.found.size(), 1);
    EXPECT_EQ(r.completes, 1);
    EXPECT_TRUE(r.abortedAtComplete);
}

TEST(SearchThreads, AHandlerExceptionEndsTheSearchAsStopped)
{
    test::TempTree t;
    makeWideTree(t, 5);
    for (bool threaded : {false, true}) {
        TFindFile f;
        at(f, t).setThreaded(threaded);
        Reported r;
        searchtest::record(f, r, t.root());
        f.OnFound = [](TFindFile*, const QString&, const TSearchRec&) { throw std::runtime_error("handler failed"); };
        QEventLoop loop;
        QObject::connect(&f, &TFindFile::searchEnded, &loop, &QEventLoop::quit);
        f.Execute();
        if (f.Busy())
            loop.exec();
        EXPECT_EQ(r.completes, 1);
        EXPECT_TRUE(r.abortedAtComplete);
    }
}

TEST(SearchThreads, DestroyingTheComponentStopsTheWorkerWithoutFurtherEvents)
{
    test::TempTree t;
    makeWideTree(t, 300);
    auto* f = new TFindFile;
    at(*f, t).setThreaded(true);
    Reported r;
    searchtest::record(*f, r, t.root());
    QPointer<TFindFile> alive(f);
    auto recordFolder = f->OnNewFolder;
    int foldersAtDelete = -1;
    f->OnNewFolder = [&](TFindFile* s, const QString& folder, bool& ignore) {
        recordFolder(s, folder, ignore);
        if (r.folders.size() == 3)
            QTimer::singleShot(0, [&, f] {
                foldersAtDelete = int(r.folders.size());
                delete f;
            });
    };
    f->Execute();
    while (alive)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(r.completes, 0);
    EXPECT_EQ(int(r.folders.size()), foldersAtDelete);
}

} // namespace
