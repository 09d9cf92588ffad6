#include "ZipTestSupport.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include "tools/compress/engine/ZStreams.h"
#include "platform/posix/Faults.h"
#include <QDir>
#include <QFile>
#include <cerrno>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <zlib.h>

using namespace ziptest;

namespace {

constexpr qint64 kChunk = 61440;

// Pumps events until `done` holds (or a generous deadline passes, which fails the test).
template <class F>
void pumpUntil(F done)
{
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(done());
}

QByteArray inflateWithZlib(const QByteArray& z, qint64 expectedSize)
{
    QByteArray out(expectedSize + 1, '\0');
    uLongf len = uLongf(out.size());
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &len, reinterpret_cast<const Bytef*>(z.constData()),
                   uLong(z.size())) != Z_OK)
        return QByteArray("<not a zlib stream>");
    out.resize(qsizetype(len));
    return out;
}

QByteArray deflateWithZlib(const QByteArray& in, int level, int windowBits, int memLevel, int strategy,
                           const QByteArray& dictionary = QByteArray())
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, windowBits, memLevel, strategy), Z_OK);
    if (!dictionary.isEmpty())
        deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.constData()), uInt(dictionary.size()));
    QByteArray out(qsizetype(deflateBound(&z, uLong(in.size()))) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

std::vector<Event> processEvents(qint64 size)
{
    std::vector<Event> v;
    for (qint64 done = 0; done < size;) {
        done = std::min(done + kChunk, size);
        v.push_back({'P', done});
    }
    return v;
}

class ZnZipTest : public ::testing::Test {
protected:
    void SetUp() override { rec.attach(zip); }

    // Runs one job to its end; returns whether it started.
    bool run(bool compress, const QString& src, const QString& dest)
    {
        zip.setSourceFile(src);
        zip.setDestFile(dest);
        const bool started = compress ? zip.Compress() : zip.Decompress();
        zip.WaitFor();
        return started;
    }
    std::vector<Event> kinds(char kind) const
    {
        std::vector<Event> v;
        for (const Event& e : rec.events)
            if (e.kind == kind)
                v.push_back(e);
        return v;
    }

    test::TempTree tree;
    TZnZip zip;
    Recorder rec;
};

// --- Format, levels, events ---

struct LevelCase {
    TZCompressionLevel level;
    qint64 size;        // above 512 KiB the deflate runs on several threads
    uchar h0, h1;
};

class ZnZipLevelTest : public ZnZipTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(ZnZipLevelTest, HeaderEventsAndRoundTrip)
{
    const LevelCase c = GetParam();
    const QByteArray data = content('t', c.size, 7);
    const QString src = tree.file("a.txt", data);
    zip.setZipLevel(c.level);
    ASSERT_TRUE(run(true, src, tree.path("a.zak")));
    const QByteArray z = readAll(tree.path("a.zak"));
    ASSERT_GE(z.size(), 6);
    EXPECT_EQ(uchar(z[0]), c.h0);
    EXPECT_EQ(uchar(z[1]), c.h1);
    EXPECT_TRUE(inflateWithZlib(z, c.size) == data) << "another decoder must read the stream";

    std::vector<Event> expected{{'B', c.size}};
    for (const Event& e : processEvents(c.size))
        expected.push_back(e);
    expected.push_back({'E', 1});
    EXPECT_EQ(rec.events, expected);
    EXPECT_NEAR(rec.events.back().rate, (1.0 - double(z.size()) / double(c.size)) * 100.0, 0.01);

    rec.events.clear();
    ASSERT_TRUE(run(false, tree.path("a.zak"), tree.path("a.out")));
    EXPECT_TRUE(readAll(tree.path("a.out")) == data);
    expected.back() = {'E', 1};
    EXPECT_EQ(rec.events, expected);
    EXPECT_EQ(rec.events.back().rate, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Levels, ZnZipLevelTest,
                         ::testing::Values(LevelCase{zcNone, 1000, 0x78, 0x01},
                                           LevelCase{zcFastest, 1000, 0x78, 0x01},
                                           LevelCase{zcDefault, 1000, 0x78, 0x9C},
                                           LevelCase{zcMax, 1000, 0x78, 0xDA},
                                           LevelCase{zcNone, 1500000, 0x78, 0x01},
                                           LevelCase{zcFastest, 1500000, 0x78, 0x01},
                                           LevelCase{zcDefault, 3 * 262144 + 5, 0x78, 0x9C},
                                           LevelCase{zcMax, 1500000, 0x78, 0xDA}),
                         [](const auto& i) {
                             const TZCompressionLevel l = i.param.level;
                             return std::string(l == zcNone      ? "None"
                                                : l == zcFastest ? "Fastest"
                                                : l == zcDefault ? "Default"
                                                                 : "Max") +
                                    "_" + std::to_string(i.param.size) + "_bytes";
                         });

TEST_F(ZnZipTest, EmptyInputIsAnEmptyStreamWithoutProgress)
{
    const QString src = tree.file("empty", 0);
    ASSERT_TRUE(run(true, src, tree.path("empty.zak")));
    EXPECT_EQ(readAll(tree.path("empty.zak")), QByteArray::fromHex("789c030000000001"));
    EXPECT_EQ(rec.events, (std::vector<Event>{{'B', 0}, {'E', 1}}));
    EXPECT_EQ(rec.events.back().rate, 0.0f);

    rec.events.clear();
    ASSERT_TRUE(run(false, tree.path("empty.zak"), tree.path("empty.out")));
    EXPECT_EQ(rec.events, (std::vector<Event>{{'B', 0}, {'E', 1}}));
    EXPECT_TRUE(QFileInfo::exists(tree.path("empty.out")));
    EXPECT_EQ(QFileInfo(tree.path("empty.out")).size(), 0);
}

class ZnZipChunkTest : public ZnZipTest, public ::testing::WithParamInterface<qint64> {};

TEST_P(ZnZipChunkTest, OneProcessEventPerChunkBothWays)
{
    const qint64 size = GetParam();
    const QByteArray data = content('r', size, 3);
    ASSERT_TRUE(run(true, tree.file("s", data), tree.path("s.zak")));
    EXPECT_EQ(kinds('P'), processEvents(size));
    EXPECT_EQ(rec.events.front(), (Event{'B', size}));
    rec.events.clear();
    ASSERT_TRUE(run(false, tree.path("s.zak"), tree.path("s.out")));
    EXPECT_EQ(kinds('P'), processEvents(size));
    EXPECT_EQ(rec.events.front(), (Event{'B', size}));
    EXPECT_TRUE(readAll(tree.path("s.out")) == data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ZnZipChunkTest, ::testing::Values(1, 61439, 61440, 61441, 122880, 700001),
                         [](const auto& i) { return std::to_string(i.param) + "_bytes"; });

// --- Streams from other encoders ---

struct ForeignCase {
    int level, windowBits, memLevel, strategy;
    char kind;
};

class ZnZipForeignTest : public ZnZipTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ZnZipForeignTest, DecodesAnyZlibStream)
{
    const ForeignCase c = GetParam();
    const QByteArray data = content(c.kind, 300000, 11);
    const QString zak = tree.file("f.zak", deflateWithZlib(data, c.level, c.windowBits, c.memLevel, c.strategy));
    ASSERT_TRUE(run(false, zak, tree.path("f.out")));
    EXPECT_TRUE(rec.succeeded());
    EXPECT_TRUE(readAll(tree.path("f.out")) == data);
}

INSTANTIATE_TEST_SUITE_P(Encoders, ZnZipForeignTest,
                         ::testing::Values(ForeignCase{6, 15, 8, Z_DEFAULT_STRATEGY, 't'},
                                           ForeignCase{9, 9, 1, Z_DEFAULT_STRATEGY, 't'},
                                           ForeignCase{1, 12, 9, Z_FILTERED, 'r'},
                                           ForeignCase{6, 15, 8, Z_HUFFMAN_ONLY, 't'},
                                           ForeignCase{6, 15, 8, Z_RLE, 'z'},
                                           ForeignCase{0, 15, 8, Z_DEFAULT_STRATEGY, 'r'},
                                           ForeignCase{4, 10, 5, Z_FIXED, 't'}),
                         [](const auto& i) {
                             const int s = i.param.strategy;
                             const char* strategy = s == Z_FILTERED       ? "Filtered"
                                                    : s == Z_HUFFMAN_ONLY ? "HuffmanOnly"
                                                    : s == Z_RLE          ? "Rle"
                                                    : s == Z_FIXED        ? "Fixed"
                                                                          : "DefaultStrategy";
                             const char* data = i.param.kind == 'r' ? "random" : i.param.kind == 'z' ? "zeros" : "text";
                             return "Level" + std::to_string(i.param.level) + "_Window" +
                                    std::to_string(i.param.windowBits) + "_Memory" + std::to_string(i.param.memLevel) +
                                    "_" + strategy + "_" + data;
                         });

TEST_F(ZnZipTest, BytesAfterTheStreamEndAreIgnored)
{
    const QByteArray data = content('t', 5000, 2);
    const QString zak = tree.file("g.zak", deflateWithZlib(data, 6, 15, 8, Z_DEFAULT_STRATEGY) + "trailing bytes");
    ASSERT_TRUE(run(false, zak, tree.path("g.out")));
    EXPECT_TRUE(rec.succeeded());
    EXPECT_TRUE(readAll(tree.path("g.out")) == data);
}

// --- Inputs that are not a complete zlib stream ---

QByteArray validZak()
{
    return deflateWithZlib(content('t', 200000, 5), 6, 15, 8, Z_DEFAULT_STRATEGY);
}

struct BadCase {
    const char* label;
    QByteArray (*bytes)();
};

class ZnZipBadInputTest : public ZnZipTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(ZnZipBadInputTest, FailsOnceAndKeepsTheOldDestination)
{
    const QString zak = tree.file("bad.zak", GetParam().bytes());
    const QString dest = tree.file("out.txt", QByteArray("older contents"));
    ASSERT_TRUE(run(false, zak, dest));
    EXPECT_EQ(rec.events, (std::vector<Event>{{'E', 0}}));
    EXPECT_EQ(rec.events.back().rate, 0.0f);
    EXPECT_FALSE(zip.LastError().isEmpty());
    EXPECT_FALSE(zip.Busy());
    EXPECT_EQ(readAll(dest), QByteArray("older contents"));
    EXPECT_EQ(entries(tree.root()), (QStringList{"bad.zak", "out.txt"}));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ZnZipBadInputTest,
    ::testing::Values(
        BadCase{"text", [] { return QByteArray("just some text, no zlib header here\n"); }},
        BadCase{"random", [] { return content('r', 100000, 9); }},
        BadCase{"gzip", [] { return QByteArray::fromHex("1f8b0800000000000003030000000000000000"); }},
        BadCase{"empty", [] { return QByteArray(); }},
        BadCase{"header only", [] { return validZak().left(2); }},
        BadCase{"half", [] { const QByteArray z = validZak(); return z.left(z.size() / 2); }},
        BadCase{"no check value", [] { const QByteArray z = validZak(); return z.left(z.size() - 4); }},
        BadCase{"check cut", [] { const QByteArray z = validZak(); return z.left(z.size() - 1); }},
        BadCase{"wrong check", [] { QByteArray z = validZak(); z[z.size() - 1] = char(z[z.size() - 1] ^ 1); return z; }},
        BadCase{"preset dictionary",
                [] { return deflateWithZlib(content('t', 1000), 6, 15, 8, Z_DEFAULT_STRATEGY, "alpha beta"); }}),
    [](const auto& info) { return test::caseName(info.param.label); });

// --- Starting, stopping, destroying ---

TEST_F(ZnZipTest, StartRequestsThatAreIgnored)
{
    zip.setDestFile(tree.path("x.zak"));
    for (const QString& src : {QString(), tree.path("missing"), tree.dir("folder"), tree.fifo("pipe")}) {
        zip.setSourceFile(src);
        EXPECT_FALSE(zip.Compress());
        EXPECT_FALSE(zip.Decompress());
        EXPECT_FALSE(zip.Busy());
    }
    // A second request while a job runs is ignored too.
    zip.setSourceFile(tree.file("a", 3 * kChunk));
    ASSERT_TRUE(zip.Compress());
    EXPECT_TRUE(zip.Busy());
    EXPECT_FALSE(zip.Compress());
    EXPECT_FALSE(zip.Decompress());
    zip.WaitFor();
    EXPECT_FALSE(zip.Busy());
    EXPECT_EQ(rec.ends(), 1);
    EXPECT_TRUE(rec.succeeded());
}

TEST_F(ZnZipTest, DestinationThatIsTheSourceIsRefused)
{
    const QString src = tree.file("a.txt", QByteArray("keep me"));
    const QString hard = tree.path("hard.txt");
    ASSERT_EQ(::link(QFile::encodeName(src).constData(), QFile::encodeName(hard).constData()), 0);
    const QString soft = tree.link("soft.txt", src);
    for (const QString& dest : QStringList{src, hard, soft, tree.root() + "./a.txt"}) {
        zip.setSourceFile(src);
        zip.setDestFile(dest);
        EXPECT_THROW(zip.Compress(), EZCompressionError);
        EXPECT_THROW(zip.Decompress(), EZDecompressionError);
        EXPECT_FALSE(zip.Busy());
    }
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(readAll(src), QByteArray("keep me"));
}

TEST_F(ZnZipTest, DestinationThatCannotBeWrittenFails)
{
    const QString src = tree.file("a", 10);
    const struct {
        QString dest;
        const char* says;
    } cases[] = {
        {tree.path("no/such/folder/a.zak"), "不能创建文件"},
        {tree.dir("folder"), "目标不是普通文件"},
        {tree.fifo("pipe"), "目标不是普通文件"},
        {tree.link("to-pipe", tree.path("pipe")), "目标不是普通文件"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dest.toStdString());
        rec.events.clear();
        ASSERT_TRUE(run(true, src, c.dest));
        EXPECT_EQ(rec.events, (std::vector<Event>{{'E', 0}}));
        EXPECT_TRUE(zip.LastError().contains(QString::fromUtf8(c.says))) << zip.LastError().toStdString();
    }
    EXPECT_TRUE(QFileInfo(tree.path("pipe")).exists() && !QFileInfo(tree.path("pipe")).isFile());
    EXPECT_TRUE(QFileInfo(tree.path("to-pipe")).isSymLink());
}

// A full disk is named as such in both directions, and no output is left behind.
TEST_F(ZnZipTest, AFullDiskIsNamedBothWays)
{
    const QString plain = tree.file("in/plain", 300000, 'p');
    ASSERT_TRUE(run(true, plain, tree.path("in/plain.zak")));
    ASSERT_TRUE(zip.LastError().isEmpty()) << zip.LastError().toStdString();
    tree.dir("out");
    for (const bool compress : {true, false}) {
        SCOPED_TRACE(compress ? "compress" : "decompress");
        rec.events.clear();
        plat::posix::faults::injectInFolder(plat::posix::faults::Op::Write, tree.path("out"), ENOSPC);
        ASSERT_TRUE(run(compress, compress ? plain : tree.path("in/plain.zak"), tree.path("out/result")));
        plat::posix::faults::clear();
        EXPECT_EQ(rec.events.back(), (Event{'E', 0}));
        EXPECT_TRUE(zip.LastError().contains(QStringLiteral("写入文件出错：") + tree.path("out/result") +
                                             QStringLiteral("（No space left on device）")))
            << zip.LastError().toStdString();
        EXPECT_TRUE(QDir(tree.path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    }
}

// A file that reports size 0 but has content (as those in /proc do) is compressed whole.
TEST_F(ZnZipTest, AFileReportingNoSizeIsReadToItsEnd)
{
    QFile version(QStringLiteral("/proc/version"));
    ASSERT_TRUE(version.open(QIODevice::ReadOnly));
    ASSERT_EQ(version.size(), 0);
    const QByteArray content = version.readAll();
    ASSERT_FALSE(content.isEmpty());
    ASSERT_TRUE(run(true, QStringLiteral("/proc/version"), tree.path("v.zak")));
    ASSERT_TRUE(zip.LastError().isEmpty()) << zip.LastError().toStdString();
    QFile z(tree.path("v.zak"));
    ASSERT_TRUE(z.open(QIODevice::ReadOnly));
    EXPECT_EQ(inflateWithZlib(z.readAll(), content.size()), content);
}

TEST_F(ZnZipTest, BusyIsClearedBeforeOnEndSoANewJobCanStartThere)
{
    const QString src = tree.file("a", content('t', 1000));
    bool busyInEnd = true;
    bool secondStarted = false;
    zip.OnEnd = [&](TZnZip* z, bool ok, float) {
        rec.events.push_back({'E', ok});
        busyInEnd = z->Busy();
        if (rec.ends() == 1) {
            z->setSourceFile(tree.path("a.zak"));
            z->setDestFile(tree.path("a.out"));
            secondStarted = z->Decompress();
        }
    };
    ASSERT_TRUE(run(true, src, tree.path("a.zak")));
    pumpUntil([&] { return rec.ends() == 2; });
    zip.WaitFor();
    EXPECT_FALSE(busyInEnd);
    EXPECT_TRUE(secondStarted);
    EXPECT_TRUE(rec.succeeded());
    EXPECT_EQ(readAll(tree.path("a.out")), content('t', 1000));
}

struct StopCase {
    bool compress;
    bool oldDest;
};

class ZnZipStopTest : public ZnZipTest, public ::testing::WithParamInterface<StopCase> {};

// The worker waits for each event to be handled, so a stop from the first progress handler always lands in the
// middle of the job.
TEST_P(ZnZipStopTest, StopRaisesOneFailedEndAndLeavesNoOutput)
{
    const StopCase c = GetParam();
    const QByteArray data = content('t', 40 * kChunk, 4);
    QString src = tree.file("big.txt", data);
    if (!c.compress) {
        ASSERT_TRUE(run(true, src, tree.path("big.zak")));
        ::unlink(QFile::encodeName(src).constData());
        src = tree.path("big.zak");
        rec.events.clear();
    }
    const QString dest = tree.path("out");
    if (c.oldDest)
        writeAll(dest, "older contents");
    const QStringList before = entries(tree.root());

    int endsWhenStopped = -1;
    bool busyWhenStopped = true;
    zip.OnProcess = [&](TZnZip* z, qint64 n) {
        rec.events.push_back({'P', n});
        if (kinds('P').size() == 1) {
            z->Stop();
            endsWhenStopped = rec.ends();
            busyWhenStopped = z->Busy();
            z->Stop();      // nothing left to stop
        }
    };
    ASSERT_TRUE(run(c.compress, src, dest));
    QCoreApplication::processEvents();
    EXPECT_EQ(endsWhenStopped, 1) << "OnEnd runs before Stop returns";
    EXPECT_FALSE(busyWhenStopped);
    EXPECT_EQ(rec.ends(), 1);
    EXPECT_EQ(rec.events.back(), (Event{'E', 0}));
    EXPECT_EQ(rec.events.back().rate, 0.0f);
    EXPECT_LT(kinds('P').size(), size_t(40));
    EXPECT_EQ(entries(tree.root()), before);
    if (c.oldDest) {
        EXPECT_EQ(readAll(dest), QByteArray("older contents"));
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, ZnZipStopTest,
                         ::testing::Values(StopCase{true, false}, StopCase{true, true}, StopCase{false, false},
                                           StopCase{false, true}),
                         [](const auto& i) {
                             return std::string(i.param.compress ? "Compress" : "Decompress") +
                                    (i.param.oldDest ? "_OverAnOlderFile" : "_NewFile");
                         });

TEST_F(ZnZipTest, StopFromTheOwnersThreadBetweenEvents)
{
    // A 4 GiB sparse source cannot be compressed within the short pump below.
    const QString src = tree.file("sparse", 0);
    ASSERT_EQ(::truncate(QFile::encodeName(src).constData(), qint64(4) << 30), 0);
    zip.setSourceFile(src);
    zip.setDestFile(tree.path("sparse.zak"));
    ASSERT_TRUE(zip.Compress());
    QDeadlineTimer deadline(20000);
    while (kinds('P').empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    ASSERT_FALSE(kinds('P').empty());
    zip.Stop();
    EXPECT_EQ(rec.ends(), 1);
    EXPECT_FALSE(zip.Busy());
    EXPECT_EQ(rec.events.back(), (Event{'E', 0}));
    EXPECT_EQ(rec.events.front(), (Event{'B', qint64(4) << 30}));
    EXPECT_EQ(entries(tree.root()), QStringList{"sparse"});
}

TEST_F(ZnZipTest, WaitingFromInsideAHandlerLetsTheJobFinish)
{
    const QByteArray data = content('t', 10 * kChunk);
    zip.OnProcess = [&](TZnZip* z, qint64 n) {
        rec.events.push_back({'P', n});
        if (kinds('P').size() == 1) {
            z->WaitFor();
            EXPECT_EQ(rec.ends(), 1);
        }
    };
    ASSERT_TRUE(run(true, tree.file("a", data), tree.path("a.zak")));
    EXPECT_TRUE(rec.succeeded());
    EXPECT_EQ(kinds('P'), processEvents(data.size()));
    EXPECT_EQ(inflateWithZlib(readAll(tree.path("a.zak")), data.size()), data);
}

TEST_F(ZnZipTest, DestroyingTheComponentStopsTheJobSilently)
{
    const QString src = tree.file("big.txt", content('t', 40 * kChunk));
    auto z = std::make_unique<TZnZip>();
    rec.attach(*z);
    z->setSourceFile(src);
    z->setDestFile(tree.path("big.zak"));
    ASSERT_TRUE(z->Compress());
    pumpUntil([&] { return !kinds('P').empty(); });
    z.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.ends(), 0);
    EXPECT_EQ(entries(tree.root()), QStringList{"big.txt"});
}

TEST_F(ZnZipTest, RateIsTakenFromTheFinishedFile)
{
    ASSERT_TRUE(run(true, tree.file("zeros", 1 << 20), tree.path("zeros.zak")));
    const float zerosRate = rec.events.back().rate;
    EXPECT_NEAR(zerosRate, (1.0 - QFileInfo(tree.path("zeros.zak")).size() / double(1 << 20)) * 100.0, 0.01);
    EXPECT_GT(zerosRate, 99.0f);
    rec.events.clear();
    ASSERT_TRUE(run(true, tree.file("random", content('r', 100000)), tree.path("random.zak")));
    EXPECT_LT(rec.events.back().rate, 0.0f) << "incompressible data grows a little";
}

// A job with no OnBegin / OnProcess handler (as the command line runs it) hands over no progress, works in
// larger steps, and writes the same results.
TEST_F(ZnZipTest, AJobNobodyFollowsRaisesOnlyItsEnd)
{
    zip.OnBegin = nullptr;
    zip.OnProcess = nullptr;
    for (const qint64 size : {qint64(1000), 3 * kChunk + 7, qint64(5) << 20}) {
        SCOPED_TRACE(size);
        rec.events.clear();
        const QByteArray data = content('t', size, 12);
        ASSERT_TRUE(run(true, tree.file("q", data), tree.path("q.zak")));
        EXPECT_EQ(rec.events, (std::vector<Event>{{'E', 1}}));
        EXPECT_TRUE(inflateWithZlib(readAll(tree.path("q.zak")), size) == data);
        rec.events.clear();
        ASSERT_TRUE(run(false, tree.path("q.zak"), tree.path("q.out")));
        EXPECT_EQ(rec.events, (std::vector<Event>{{'E', 1}}));
        EXPECT_TRUE(readAll(tree.path("q.out")) == data);
    }
}

TEST(ZlibHeader, MatchesWhatZlibWrites)
{
    for (int level : {Z_DEFAULT_COMPRESSION, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
        SCOPED_TRACE(level);
        const QByteArray z = deflateWithZlib("x", level, 15, 8, Z_DEFAULT_STRATEGY);
        EXPECT_EQ(zak::zlibHeader(level), z.left(2));
    }
}

} // namespace
