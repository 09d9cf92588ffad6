#include "ZipTestSupport.h"
#include "support/TempTree.h"
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace ziptest;

namespace {

struct CliResult {
    int exitCode;
    QString err;
};

class ZakCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef ORVO_CLI_PATH
        m_cli = QStringLiteral(ORVO_CLI_PATH);
#endif
        if (m_cli.isEmpty() || !QFileInfo(m_cli).isExecutable())
            GTEST_SKIP() << "orvo-cli has not been built";
    }
    CliResult zak(const QStringList& args)
    {
        QProcess p;
        p.start(m_cli, QStringList{"zak"} + args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromLocal8Bit(p.readAllStandardError())};
    }

    test::TempTree tree;
    QString m_cli;
};

TEST_F(ZakCommandTest, RoundTripWithEachLevel)
{
    const QByteArray data = content('t', 200000);
    const QString src = tree.file("a.txt", data);
    const struct {
        const char* level;
        const char* header;
    } cases[] = {{"none", "7801"}, {"fastest", "7801"}, {"default", "789c"}, {"max", "78da"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        const CliResult r = zak({"compress", "--level", c.level, src, tree.path("a.zak")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(readAll(tree.path("a.zak")).left(2).toHex(), QByteArray(c.header));
        EXPECT_EQ(zak({"decompress", tree.path("a.zak"), tree.path("a.out")}).exitCode, 0);
        EXPECT_TRUE(readAll(tree.path("a.out")) == data);
    }
}

TEST_F(ZakCommandTest, FailuresExitNonZeroWithAMessage)
{
    const QString text = tree.file("plain.txt", QByteArray("not a zlib stream"));
    const struct {
        QStringList args;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"decompress", text, tree.path("out")}, 1, "不是有效的压缩文件"},
        {{"compress", tree.path("missing"), tree.path("out")}, 1, "源文件不存在"},
        {{"compress", text, text}, 1, "同一个文件"},
        {{"compress", text, tree.path("no/folder/out")}, 1, "不能创建文件"},
        {{"compress", "--level", "7", text, tree.path("out")}, 2, "usage: orvo-cli zak"},
        {{"pack", text, tree.path("out")}, 2, "usage: orvo-cli zak"},
        {{"compress", text}, 2, "usage: orvo-cli zak"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = zak(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(readAll(text), QByteArray("not a zlib stream"));
    EXPECT_EQ(entries(tree.root()), QStringList{"plain.txt"});
}

} // namespace
