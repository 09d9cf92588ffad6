#include "Md5TestSupport.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include "tools/md5/engine/MD5.h"
#include "tools/md5/engine/MD5Hash.h"
#include "tools/md5/engine/MemoryMappedFileStream.h"
#include <QDir>
#include <vector>

using namespace md5test;

namespace {

struct Vector {
    const char* message;
    const char* digest;
};

class RfcVectors : public ::testing::TestWithParam<Vector> {};

TEST_P(RfcVectors, DigestOfMessage)
{
    EXPECT_EQ(md5::digestOf(QByteArray(GetParam().message)), QLatin1String(GetParam().digest));
}

INSTANTIATE_TEST_SUITE_P(
    Md5, RfcVectors,
    ::testing::Values(
        Vector{"", "D41D8CD98F00B204E9800998ECF8427E"}, Vector{"a", "0CC175B9C0F1B6A831C399E269772661"},
        Vector{"abc", "900150983CD24FB0D6963F7D28E17F72"},
        Vector{"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        Vector{"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        Vector{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        Vector{"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
               "57EDF4A22BE3C955AC49DA2E2107B67A"}),
    [](const auto& i) { return test::caseName(i.param.message); });

TEST(Md5Context, PiecesInAnySplitGiveTheWholeDigest)
{
    const QByteArray data = patternBytes(3000);
    const QString want = referenceDigest(data);
    for (int piece : {1, 3, 55, 56, 63, 64, 65, 127, 1000}) {
        md5::Md5Context ctx;
        for (qsizetype at = 0; at < data.size(); at += piece)
            ctx.Update(data.constData() + at, size_t(std::min<qsizetype>(piece, data.size() - at)));
        EXPECT_EQ(md5::digestText(ctx.Final()), want) << piece;
    }
}

// Files at block and buffer boundaries, in every read mode, against an independent implementation.
class Boundaries : public ::testing::TestWithParam<std::tuple<qint64, int>> {};

TEST_P(Boundaries, FileDigestMatches)
{
    const auto [size, mode] = GetParam();
    test::TempTree t;
    const QByteArray data = patternBytes(size, std::uint32_t(size));
    const QString path = t.file("f.bin", data);
    EXPECT_EQ(MD5File(path, mode), referenceDigest(data));
}

INSTANTIATE_TEST_SUITE_P(Md5, Boundaries,
                         ::testing::Combine(::testing::Values(1, 55, 56, 63, 64, 65, 4095, 4096, 4097, 8192,
                                                              4194303, 4194304, 4194305, 8388607, 8388608, 8388609),
                                            ::testing::Values(rmAuto, rmMapped, rmFileStream)),
                         [](const auto& i) {
                             const int mode = std::get<1>(i.param);
                             return std::to_string(std::get<0>(i.param)) + "_bytes_" +
                                    (mode == rmAuto ? "Auto" : mode == rmMapped ? "Mapped" : "FileStream");
                         });

TEST(Md5File, EmptyFileHasTheEmptyMessageDigestInEveryMode)
{
    test::TempTree t;
    const QString path = t.file("empty", 0);
    for (int mode : {rmAuto, rmMapped, rmFileStream}) {
        int calls = 0;
        EXPECT_EQ(MD5File(path, mode, [&](bool&, qint64, qint64, void*) { ++calls; }), kEmptyDigest) << mode;
        EXPECT_EQ(calls, 0);
    }
}

struct Call {
    qint64 done, total;
    bool operator==(const Call&) const = default;
};

// Records the callbacks; cancels at call number `cancelAt` (1-based, 0 = never).
std::vector<Call> hashRecording(const QString& path, int mode, int cancelAt, QString* digest)
{
    std::vector<Call> calls;
    int tag = 7;
    *digest = MD5File(
        path, mode,
        [&](bool& cancel, qint64 done, qint64 total, void* data) {
            EXPECT_EQ(data, &tag);
            EXPECT_FALSE(cancel);
            calls.push_back({done, total});
            cancel = int(calls.size()) == cancelAt;
        },
        &tag);
    return calls;
}

TEST(Md5File, OneCallbackPerBlockOfTheModesBlockSize)
{
    test::TempTree t;
    QString digest;
    const QString page = t.file("page", 4096, 'p');
    EXPECT_EQ(hashRecording(page, rmMapped, 0, &digest), (std::vector<Call>{{4096, 4096}}));
    EXPECT_EQ(digest, referenceDigest(QByteArray(4096, 'p')));

    const QString odd = t.file("odd", 10000, 'o');
    EXPECT_EQ(hashRecording(odd, rmAuto, 0, &digest), (std::vector<Call>{{4096, 10000}, {8192, 10000}, {10000, 10000}}));
    EXPECT_EQ(hashRecording(odd, rmFileStream, 0, &digest), (std::vector<Call>{{10000, 10000}}));

    const QString big = t.file("big", 4194304 + 5, 'b');
    EXPECT_EQ(hashRecording(big, rmFileStream, 0, &digest),
              (std::vector<Call>{{4194304, 4194309}, {4194309, 4194309}}));
    EXPECT_EQ(digest, referenceDigest(QByteArray(4194309, 'b')));
}

TEST(Md5File, CancelAfterTheFirstBlockGivesNoDigest)
{
    test::TempTree t;
    const QString path = t.file("f", 20000, 'c');
    for (int mode : {rmMapped, rmFileStream}) {
        QString digest = QStringLiteral("x");
        const qint64 first = mode == rmMapped ? 4096 : 20000;
        EXPECT_EQ(hashRecording(path, mode, 1, &digest), (std::vector<Call>{{first, 20000}}));
        EXPECT_TRUE(digest.isEmpty());
    }
}

// The 2 GB rule on sparse files: cancelling at the first block shows which mode automatic mode chose.
TEST(Md5File, TwoGigabyteThreshold)
{
    test::TempTree t;
    const QString below = t.path("below");
    const QString at = t.path("at");
    makeSparse(below, 2147483647LL);
    makeSparse(at, 2147483648LL);
    EXPECT_FALSE(MD5IsLargeFile(below));
    EXPECT_TRUE(MD5IsLargeFile(at));
    EXPECT_FALSE(MD5IsLargeFile(t.path("missing")));

    QString digest = QStringLiteral("x");
    EXPECT_EQ(hashRecording(below, rmAuto, 1, &digest), (std::vector<Call>{{4096, 2147483647LL}}));
    EXPECT_EQ(hashRecording(at, rmAuto, 1, &digest), (std::vector<Call>{{4194304, 2147483648LL}}));
    EXPECT_EQ(hashRecording(below, rmMapped, 1, &digest), (std::vector<Call>{{4096, 2147483647LL}}));
    // Mapped mode refuses a large file without reading it: no digest, no error.
    EXPECT_TRUE(hashRecording(at, rmMapped, 1, &digest).empty());
    EXPECT_TRUE(digest.isEmpty());
}

TEST(Md5File, FilesThatCannotBeOpenedRaiseTheOpenError)
{
    test::TempTree t;
    const QString missing = t.path("missing.bin");
    const QString folder = t.dir("folder");
    const QString fifo = t.fifo("pipe");   // must not block waiting for a writer
    for (const QString& path : {missing, folder, fifo}) {
        for (int mode : {rmAuto, rmMapped, rmFileStream}) {
            try {
                MD5File(path, mode);
                ADD_FAILURE() << "no error for " << path.toStdString() << " in mode " << mode;
            } catch (const md5::EFOpenError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Error opening ") + path);
            }
        }
    }
}

TEST(MappedStream, OpenAndMappingErrors)
{
    test::TempTree t;
    const QString missing = t.path("gone.txt");
    EXPECT_THROW(
        {
            try {
                TMemoryMappedReadOnlyFileStream s(missing, QStringLiteral("gone.txt_MAPPED_FOR_MD5"));
            } catch (const md5::EFOpenError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Error opening ") + missing);
                throw;
            }
        },
        md5::EFOpenError);
    const QString empty = t.file("empty.txt", 0);
    EXPECT_THROW(
        {
            try {
                TMemoryMappedReadOnlyFileStream s(empty, QStringLiteral("empty.txt_MAPPED_FOR_MD5"));
            } catch (const md5::EFOpenError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Error creating file mapping object empty.txt_MAPPED_FOR_MD5"));
                throw;
            }
        },
        md5::EFOpenError);
}

TEST(MappedStream, ReadSeekWriteAndSize)
{
    test::TempTree t;
    const QString path = t.file("ten", QByteArray("0123456789"));
    TMemoryMappedReadOnlyFileStream s(path, QStringLiteral("ten_MAPPED_FOR_MD5"));
    EXPECT_EQ(s.FileName(), path);
    EXPECT_EQ(s.MappingName(), QStringLiteral("ten_MAPPED_FOR_MD5"));
    EXPECT_EQ(s.Size(), 10);
    char buf[16] = {};
    EXPECT_EQ(s.Read(buf, 4), 4);
    EXPECT_EQ(QByteArray(buf, 4), "0123");
    EXPECT_EQ(s.Position(), 4);
    EXPECT_EQ(s.Read(buf, 100), 6);
    EXPECT_EQ(QByteArray(buf, 6), "456789");
    EXPECT_EQ(s.Read(buf, 1), 0);                       // at the end
    EXPECT_EQ(s.Seek(-3, md5::soEnd), 7);
    EXPECT_EQ(s.Read(buf, -1), 0);                      // negative count
    EXPECT_EQ(s.Read(buf, 2), 2);
    EXPECT_EQ(QByteArray(buf, 2), "78");
    EXPECT_EQ(s.Seek(-20, md5::soCurrent), -11);        // no bounds check
    EXPECT_EQ(s.Read(buf, 2), 0);
    EXPECT_EQ(s.Seek(50, md5::soBeginning), 50);
    EXPECT_EQ(s.Read(buf, 2), 0);
    EXPECT_EQ(s.Seek(2, md5::soBeginning), 2);
    EXPECT_EQ(s.Read(buf, 1), 1);
    EXPECT_EQ(buf[0], '2');
    try {
        s.Write("x", 1);
        ADD_FAILURE();
    } catch (const md5::EWriteError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Could not write read only MapOfFile"));
    }
    try {
        s.SetSize(3);
        ADD_FAILURE();
    } catch (const EFSizeUnChangable& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Could not change the read only MapOfFile's size."));
    }
    EXPECT_EQ(s.Size(), 10);
}

// Another program shortens the file while it is hashed through the mapping: the program survives and
// reports a read error instead of a digest of bytes the file no longer has.
class ShortenedWhileMapped : public ::testing::TestWithParam<std::tuple<qint64, qint64>> {};

TEST_P(ShortenedWhileMapped, ReportsAReadError)
{
    const auto [size, cutTo] = GetParam();
    test::TempTree t;
    const QString path = t.file("shrinking", patternBytes(size));
    int calls = 0;
    try {
        MD5File(path, rmMapped, [&](bool&, qint64, qint64, void*) {
            if (++calls == 1)
                truncateTo(path, cutTo);
        });
        ADD_FAILURE() << "a digest for a file cut from " << size << " to " << cutTo;
    } catch (const md5::EReadError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Error reading ") + path);
    }
    // The guard does not linger: the same file hashes normally afterwards.
    EXPECT_EQ(MD5File(path, rmMapped), referenceDigest(patternBytes(size).left(cutTo)));
}

INSTANTIATE_TEST_SUITE_P(Md5, ShortenedWhileMapped,
                         ::testing::Values(std::make_tuple(65536, 10000),     // faults on a later page
                                           std::make_tuple(65536, 8192),      // cut at a page boundary
                                           std::make_tuple(12000, 10000),     // within the last page: no fault
                                           std::make_tuple(65536, 4096)),
                         [](const auto& i) {
                             return std::to_string(std::get<0>(i.param)) + "_bytes_cut_to_" +
                                    std::to_string(std::get<1>(i.param));
                         });

TEST(Md5File, StreamModeReadsAFileThatShrankUpToItsNewEnd)
{
    test::TempTree t;
    const QByteArray data = patternBytes(4194304 * 2 + 100);
    const QString path = t.file("shrinking", data);
    const QString digest = MD5File(path, rmFileStream, [&](bool&, qint64 done, qint64, void*) {
        if (done == 4194304)
            truncateTo(path, 4194304 + 10);
    });
    EXPECT_EQ(digest, referenceDigest(data.left(4194304 + 10)));
}

TEST(Md5File, LongPathsAreNotCut)
{
    test::TempTree t;
    const QString deep = t.dir(QString(100, u'a') + u'/' + QString(100, u'b') + u'/' + QString(100, u'c'));
    const QString path = deep + u'/' + QString(120, u'd') + QStringLiteral(".bin");
    ASSERT_GT(path.size(), 400);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    for (int mode : {rmAuto, rmMapped, rmFileStream})
        EXPECT_EQ(MD5File(path, mode), QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
}

} // namespace
