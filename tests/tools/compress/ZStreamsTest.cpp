#include "ZipTestSupport.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include "tools/compress/engine/ZErrors.h"
#include "tools/compress/engine/ZInflaters.h"
#include "tools/compress/engine/ZStreams.h"
#include <QFile>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace ziptest;

namespace {

QByteArray deflated(const QByteArray& in, int level = 6, int windowBits = 15, int memLevel = 8,
                    int strategy = Z_DEFAULT_STRATEGY, const QByteArray& dictionary = QByteArray())
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

QByteArray inflated(const QByteArray& z)
{
    QByteArray out;
    z_stream s{};
    EXPECT_EQ(inflateInit(&s), Z_OK);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(z.constData()));
    s.avail_in = uInt(z.size());
    char buf[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        s.next_out = reinterpret_cast<Bytef*>(buf);
        s.avail_out = sizeof buf;
        rc = inflate(&s, Z_NO_FLUSH);
        out.append(buf, qsizetype(sizeof buf - s.avail_out));
    }
    inflateEnd(&s);
    return rc == Z_STREAM_END ? out : QByteArray("<not a complete zlib stream>");
}

QByteArray text(qint64 n) { return content('t', n, 21); }
QByteArray valid() { return deflated(text(300000)); }

// A zlib stream whose first block is a fixed-code block with a match before any output.
QByteArray distanceBeforeTheStart()
{
    // Header 78 9c; BFINAL 1, BTYPE 01; length code 257 (3 bytes), distance code 0 (1 back): nothing is back.
    return QByteArray::fromHex("789c" "03" "02" "00");
}

// One decoding of a whole stream: the bytes, or the failure as it was raised.
struct Outcome {
    QByteArray bytes;
    QString error;
    int code = 0;
    bool fellBack = false;
};

// Decodes `file` with `engine` in `step`-byte reads (0: countToEnd, then the reads of a second pass).
Outcome decode(const QString& file, zak::InflateEngine engine, qint64 step)
{
    Outcome o;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {QByteArray(), QStringLiteral("cannot open"), -1};
    zak::DecompressionStream z(f, engine);
    try {
        if (step == 0) {
            const qint64 total = z.countToEnd({});
            o.fellBack = z.fellBack();
            z.reset();
            o.bytes.resize(total);
            EXPECT_EQ(z.read(o.bytes.data(), total), total);
            char extra;
            EXPECT_EQ(z.read(&extra, 1), 0);
        } else {
            QByteArray buf(step, Qt::Uninitialized);
            while (!z.atEnd())
                o.bytes.append(buf.constData(), z.read(buf.data(), step));
            o.fellBack = z.fellBack();
        }
    } catch (const EZDecompressionError& e) {
        o.bytes.clear();
        o.error = QString::fromUtf8(e.what());
        o.code = e.code();
        o.fellBack = z.fellBack();
    }
    return o;
}

struct InflateCase {
    const char* label;
    QByteArray (*bytes)();
    bool valid;
};

class InflaterAgreementTest : public ::testing::TestWithParam<InflateCase> {
protected:
    test::TempTree tree;
};

// The fast inflater and zlib give the same bytes for every stream, and the same failure (text and status)
// for every damaged one, whatever the read size.
TEST_P(InflaterAgreementTest, FastAndZlibDecodeAlike)
{
    const InflateCase c = GetParam();
    const QString file = tree.file("s.zak", c.bytes());
    for (const qint64 step : {qint64(0), qint64(7), qint64(4097), qint64(61440), qint64(1) << 20}) {
        SCOPED_TRACE(step);
        const Outcome slow = decode(file, zak::InflateEngine::Zlib, step);
        const Outcome fast = decode(file, zak::InflateEngine::Fastest, step);
        EXPECT_EQ(fast.error, slow.error);
        EXPECT_EQ(fast.code, slow.code);
        EXPECT_TRUE(fast.bytes == slow.bytes);
        EXPECT_EQ(slow.error.isEmpty(), c.valid) << slow.error.toStdString();
        EXPECT_FALSE(slow.fellBack);
        // The fast inflater does the work of every valid stream and hands every damaged one to zlib.
        EXPECT_EQ(fast.fellBack, zak::fastInflaterBuiltIn() && !c.valid);
    }
}

// The fast inflater on its own never takes a damaged stream for a good one.
TEST_P(InflaterAgreementTest, FastInflaterAloneFindsTheFault)
{
    const InflateCase c = GetParam();
    const QByteArray in = c.bytes();
    const std::unique_ptr<zak::Inflater> inflater = zak::makeInflater(zak::InflateEngine::Fastest);
    EXPECT_EQ(inflater->isFast(), zak::fastInflaterBuiltIn());
    inflater->feed(in.constData(), in.size());
    QByteArray out;
    QByteArray buf(65536, Qt::Uninitialized);
    int rc = Z_OK;
    for (;;) {
        qint64 given = 0;
        const qint64 before = inflater->pending();
        rc = inflater->inflate(buf.data(), buf.size(), given);
        out.append(buf.constData(), given);
        if (rc != Z_OK || (given == 0 && inflater->pending() == before))
            break;
    }
    EXPECT_EQ(rc == Z_STREAM_END, c.valid) << rc;
    if (c.valid) {
        EXPECT_TRUE(out == inflated(in));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, InflaterAgreementTest,
    ::testing::Values(
        InflateCase{"text level 6", [] { return valid(); }, true},
        InflateCase{"text level 1", [] { return deflated(text(200000), 1); }, true},
        InflateCase{"text level 9 small window", [] { return deflated(text(200000), 9, 9, 1); }, true},
        InflateCase{"random stored", [] { return deflated(content('r', 150000, 3), 0); }, true},
        InflateCase{"random level 6", [] { return deflated(content('r', 150000, 4)); }, true},
        InflateCase{"zeros rle", [] { return deflated(content('z', 1 << 20), 6, 15, 8, Z_RLE); }, true},
        InflateCase{"huffman only", [] { return deflated(text(100000), 6, 15, 8, Z_HUFFMAN_ONLY); }, true},
        InflateCase{"fixed codes", [] { return deflated(text(100000), 4, 10, 5, Z_FIXED); }, true},
        InflateCase{"empty stream", [] { return deflated(QByteArray()); }, true},
        InflateCase{"one byte", [] { return deflated("x"); }, true},
        InflateCase{"trailing bytes", [] { return QByteArray(valid() + "trailing bytes"); }, true},
        InflateCase{"empty file", [] { return QByteArray(); }, false},
        InflateCase{"header only", [] { return valid().left(2); }, false},
        InflateCase{"half", [] { const QByteArray z = valid(); return z.left(z.size() / 2); }, false},
        InflateCase{"no check value", [] { const QByteArray z = valid(); return z.left(z.size() - 4); }, false},
        InflateCase{"check cut", [] { const QByteArray z = valid(); return z.left(z.size() - 1); }, false},
        InflateCase{"wrong check",
                    [] {
                        QByteArray z = valid();
                        z[z.size() - 1] = char(z[z.size() - 1] ^ 1);
                        return z;
                    },
                    false},
        InflateCase{"bit flipped in the data",
                    [] {
                        QByteArray z = valid();
                        z[z.size() / 2] = char(z[z.size() / 2] ^ 0x10);
                        return z;
                    },
                    false},
        InflateCase{"reserved block type", [] { return QByteArray::fromHex("789c07000000000001"); }, false},
        InflateCase{"stored length mismatch", [] { return QByteArray::fromHex("789c010500fbff68656c6c6f"); }, false},
        InflateCase{"distance before the start", [] { return distanceBeforeTheStart(); }, false},
        InflateCase{"header check wrong", [] { return QByteArray(QByteArray::fromHex("789d") + valid().mid(2)); }, false},
        InflateCase{"not deflate", [] { return QByteArray(QByteArray::fromHex("7f9c") + valid().mid(2)); }, false},
        InflateCase{"gzip", [] { return QByteArray::fromHex("1f8b0800000000000003030000000000000000"); }, false},
        InflateCase{"random", [] { return content('r', 100000, 9); }, false},
        InflateCase{"preset dictionary", [] { return deflated(text(1000), 6, 15, 8, Z_DEFAULT_STRATEGY, "alpha"); },
                    false}),
    [](const auto& info) { return test::caseName(info.param.label); });

// --- Adler-32 ---

TEST(Adler32, MatchesZlibForAnyLengthAndStart)
{
    const QByteArray data = content('r', 70000, 5) + content('z', 5000) + text(20000);
    for (const qint64 n : {0, 1, 15, 16, 17, 5551, 5552, 5553, 65536, 95000}) {
        for (const quint32 start : {1u, 0u, 0xfff0fff0u}) {
            SCOPED_TRACE(std::to_string(n) + " from " + std::to_string(start));
            EXPECT_EQ(zak::adler32Of(start, data.constData(), n),
                      quint32(adler32(start, reinterpret_cast<const Bytef*>(data.constData()), uInt(n))));
        }
    }
}

// --- The parallel deflate ---

struct ParallelCase {
    int level;
    int threads;
    qint64 blockSize;
    qint64 size;
    int writeStep;
};

class ParallelCompressionTest : public ::testing::TestWithParam<ParallelCase> {
protected:
    test::TempTree tree;
};

// Any number of blocks, threads and write sizes gives one zlib stream of the input with zlib's header, and
// the sizes it reports are those of the file.
TEST_P(ParallelCompressionTest, WritesOneZlibStreamOfTheInput)
{
    const ParallelCase c = GetParam();
    const QByteArray data =
        QByteArray(content('t', c.size / 2, 8) + content('r', c.size / 4, 9) + content('z', c.size - c.size / 2 - c.size / 4));
    QFile f(tree.path("p.zak"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    qint64 out = 0;
    {
        zak::ParallelCompressionStream z(f, c.level, c.threads, c.blockSize);
        for (qint64 at = 0; at < data.size(); at += c.writeStep)
            z.write(data.constData() + at, std::min<qint64>(c.writeStep, data.size() - at));
        z.finish();
        EXPECT_EQ(z.bytesIn(), data.size());
        out = z.bytesOut();
    }
    f.close();
    const QByteArray written = readAll(tree.path("p.zak"));
    EXPECT_EQ(out, written.size());
    EXPECT_EQ(written.left(2), zak::zlibHeader(c.level));
    EXPECT_TRUE(inflated(written) == data);
    // Each block ends its deflate blocks and flushes: a few hundred bytes a block at most.
    const qint64 blocks = (data.size() + c.blockSize - 1) / c.blockSize;
    EXPECT_LE(written.size(), deflated(data, c.level).size() * 101 / 100 + 200 * blocks);
}

INSTANTIATE_TEST_SUITE_P(Blocks, ParallelCompressionTest,
                         ::testing::Values(ParallelCase{6, 2, 32768, 1000000, 61440},
                                           ParallelCase{6, 3, 40000, 1000000, 1 << 20},
                                           ParallelCase{1, 2, 262144, 2000000, 4096},
                                           ParallelCase{9, 1, 100000, 700000, 99999},
                                           ParallelCase{6, 2, 262144, 262144, 61440},
                                           ParallelCase{6, 2, 1 << 20, 3 << 20, 1 << 20}),
                         [](const auto& i) {
                             return "Level" + std::to_string(i.param.level) + "_Threads" +
                                    std::to_string(i.param.threads) + "_Block" + std::to_string(i.param.blockSize) +
                                    "_Size" + std::to_string(i.param.size) + "_Step" + std::to_string(i.param.writeStep);
                         });

TEST(ParallelCompression, BlockSizeGrowsWithTheInputWithinItsBounds)
{
    using P = zak::ParallelCompressionStream;
    EXPECT_EQ(P::blockSizeFor(600000, 2), P::kBlockSize);
    EXPECT_EQ(P::blockSizeFor(3 * 262144 + 5, 2), P::kBlockSize);
    EXPECT_EQ(P::blockSizeFor(1500000, 2), P::kBlockSize);
    EXPECT_EQ(P::blockSizeFor(qint64(4) << 20, 2), 512 * 1024);
    EXPECT_EQ(P::blockSizeFor(qint64(256) << 20, 2), P::kLargeBlockSize);
    EXPECT_EQ(P::blockSizeFor(qint64(256) << 20, 64), P::kLargeBlockSize);
    EXPECT_EQ(P::blockSizeFor(qint64(4) << 20, 64), P::kBlockSize);
}

} // namespace
