#include "Md5TestSupport.h"
#include "support/TempTree.h"
#include <QCoreApplication>
#include <QProcess>

using namespace md5test;

namespace {

struct CliRun {
    int code;
    QByteArray out;
    QByteArray err;
};

CliRun orvoCli(const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/orvo-cli"), QStringList{"md5"} + args);
    EXPECT_TRUE(p.waitForStarted());
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

TEST(Md5Cli, PrintsDigestAndPathPerFileInEveryMode)
{
    test::TempTree t;
    const QString a = t.file("a.txt", QByteArray("abc"));
    const QString e = t.file("empty", 0);
    for (const char* mode : {"auto", "mapped", "stream"}) {
        const CliRun r = orvoCli({"--mode", mode, a, e});
        EXPECT_EQ(r.code, 0) << mode;
        EXPECT_EQ(r.out, "900150983CD24FB0D6963F7D28E17F72  " + a.toUtf8() + "\n" + kEmptyDigest.toLatin1() + "  " +
                             e.toUtf8() + "\n");
    }
    const CliRun missing = orvoCli({a, t.path("missing")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.out, "900150983CD24FB0D6963F7D28E17F72  " + a.toUtf8() + "\n");
    EXPECT_TRUE(missing.err.contains(QByteArray(QByteArray("Error opening ") + t.path("missing").toUtf8())));
    EXPECT_EQ(orvoCli({"--mode", "fast", a}).code, 2);
    EXPECT_EQ(orvoCli({}).code, 2);
}

TEST(Md5Cli, MappedModeRefusesLargeFiles)
{
    test::TempTree t;
    const QString big = t.path("big");
    makeSparse(big, 2147483648LL);
    const CliRun r = orvoCli({"--mode", "mapped", big});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(Md5Cli, CheckVerifiesAListInEitherCase)
{
    test::TempTree t;
    t.file("a.txt", QByteArray("abc"));
    t.file("b.txt", QByteArray("b"));
    t.file("back\\slash", QByteArray("abc"));
    const QByteArray good = "900150983cd24fb0d6963f7d28e17f72  a.txt\r\n"      // lower case, CR LF
                            "92EB5FFEE6AE2FEC3AD71C777531578F *b.txt\n"          // upper case, binary marker
                            "# a comment\n"
                            "\n"
                            "\\900150983CD24FB0D6963F7D28E17F72  back\\\\slash\n";
    const QString list = t.file("good.md5", good);
    QProcess p;
    p.setWorkingDirectory(t.root());
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/orvo-cli"), {"md5", "--check", list});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(), "a.txt: OK\nb.txt: OK\n\\back\\\\slash: OK\n");

    const QByteArray bad = "900150983cd24fb0d6963f7d28e17f72  " + t.path("b.txt").toUtf8() + "\n" +
                           "900150983cd24fb0d6963f7d28e17f72  " + t.path("a.txt").toUtf8() + "\n" +
                           "900150983cd24fb0d6963f7d28e17f72  " + t.path("gone").toUtf8() + "\n";
    const CliRun r = orvoCli({"--mode", "mapped", "--check", "-"}, bad);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, t.path("b.txt").toUtf8() + ": FAILED\n" + t.path("a.txt").toUtf8() + ": OK\n" +
                         t.path("gone").toUtf8() + ": FAILED\n");

    const CliRun malformed = orvoCli({"--check", "-"}, "not a digest line\n");
    EXPECT_EQ(malformed.code, 1);
    EXPECT_TRUE(malformed.out.isEmpty());
    EXPECT_FALSE(malformed.err.isEmpty());
}

} // namespace
