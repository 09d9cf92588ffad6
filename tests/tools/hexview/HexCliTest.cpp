// orvo-cli hex run as a process: the grid's rows as text.
#include "HexTestSupport.h"
#include "support/TempTree.h"
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int code;
    QString out;
    QString err;
};

CliRun hex(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ORVO_CLI_PATH), QStringList{QStringLiteral("hex")} + args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {-1, {}, {}};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(HexCliTest, SeventeenBytesAsTheViewerShowsThem)
{
    test::TempTree t;
    QByteArray bytes = hextest::pattern(17);
    bytes[1] = 'A';
    bytes[16] = char(0xE9);
    const QString path = t.file("x.bin", bytes);
    const CliRun r = hex({QStringLiteral("--offset-style"), QStringLiteral("dec"), QStringLiteral("--bytes-per-column"),
                       QStringLiteral("1"), path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString(QStringLiteral(" 0: 00 41 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  .A..............\n"
                                    "16: E9") + QString(47, u' ') + QChar(0xE9) + QString(15, u' ') + u'\n'));
}

TEST(HexCliTest, GroupsOfFourAndTheOtherOffsetStyles)
{
    test::TempTree t;
    const QString path = t.file("x.bin", QByteArray("0123456789abcdefABCD"));
    const struct {
        const char* style;
        const char* line;
    } cases[] = {
        {"hex", "0x10: 41424344                             ABCD            "},
        {"octal", "o 20: 41424344                             ABCD            "},
        {"none", " 41424344                             ABCD            "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        const CliRun r = hex({QStringLiteral("--offset"), QStringLiteral("17"), QStringLiteral("--offset-style"),
                           QString::fromLatin1(c.style), path});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QString(QString::fromLatin1(c.line) + u'\n'));
    }
}

// A row beyond 4 GiB of a sparse file, and a window of rows.
TEST(HexCliTest, RowsBeyondFourGib)
{
    test::TempTree t;
    const QString path = t.path("big.bin");
    ASSERT_TRUE(hextest::makeSparse(path, (qint64(5) << 30)));
    const CliRun r = hex({QStringLiteral("--offset"), QStringLiteral("4294967040"), QStringLiteral("--rows"),
                       QStringLiteral("16"), path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.first(), QStringLiteral("0x0FFFFFF00: 00000000 00000000 00000000 00000000  ................"));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("0x0FFFFFFF0: ")));
}

TEST(HexCliTest, ErrorsAndUsage)
{
    test::TempTree t;
    const CliRun missing = hex({t.path("missing.bin")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("orvo-cli hex: ") + t.path("missing.bin") + QStringLiteral(": ")))
        << missing.err.toStdString();
    for (const QStringList& bad : {QStringList{}, QStringList{QStringLiteral("--bytes-per-line"), QStringLiteral("0"), QStringLiteral("x")},
                                   QStringList{QStringLiteral("--offset-style"), QStringLiteral("roman"), QStringLiteral("x")}}) {
        const CliRun r = hex(bad);
        EXPECT_EQ(r.code, 2) << bad.join(u' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("usage: orvo-cli hex"))) << r.err.toStdString();
    }
}

} // namespace
