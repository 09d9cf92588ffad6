#include "platform/ShellInfo.h"
#include "platform/IconKeys.h"
#include <thread>
#include <vector>
#include <gtest/gtest.h>

namespace {

TEST(ShellInfo, TypeNames)
{
    using plat::ShellInfo;
    EXPECT_EQ(ShellInfo::typeName("anything.txt", true), QStringLiteral("文件夹"));
    EXPECT_EQ(ShellInfo::typeName("notes.txt", false), QStringLiteral("纯文本文档"));
    EXPECT_EQ(ShellInfo::typeName("NOTES.TXT", false), QStringLiteral("纯文本文档"));
    EXPECT_EQ(ShellInfo::typeName("data.zzqq", false), QStringLiteral("ZZQQ 文件"));
    EXPECT_EQ(ShellInfo::typeName("Makefile-like", false), QStringLiteral("文件"));
    EXPECT_EQ(ShellInfo::typeName("trailing.", false), QStringLiteral("文件"));
    EXPECT_LE(ShellInfo::typeName("x.docx", false).size(), 79);
}

TEST(ShellInfo, IconKeysAreThemeNames)
{
    using plat::ShellInfo;
    EXPECT_EQ(ShellInfo::iconKey("d", true), QStringLiteral("folder"));
    EXPECT_EQ(ShellInfo::iconKey("a.txt", false), QStringLiteral("text-plain"));
    EXPECT_EQ(plat::iconKeyAt(ShellInfo::describe("b.TXT", false).icon), QStringLiteral("text-plain"));
    EXPECT_EQ(ShellInfo::driveIconKey(plat::DriveType::CdRom), QStringLiteral("drive-optical"));
    EXPECT_EQ(ShellInfo::driveIconKey(plat::DriveType::Fixed), QStringLiteral("drive-harddisk"));
}

TEST(ShellInfo, SameAnswerFromManyThreads)
{
    const QStringList names = {"a.png", "b.pdf", "c.mp3", "d.c", "e.qqq1", "f.html", "g.json", "h.rar"};
    std::vector<QStringList> answers(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < answers.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                for (const QString& n : names)
                    answers[t] << plat::ShellInfo::typeName(n, false);
        });
    }
    for (std::thread& th : threads)
        th.join();
    for (const QStringList& a : answers) {
        ASSERT_EQ(a.size(), names.size() * 50);
        for (qsizetype i = 0; i < a.size(); ++i)
            EXPECT_EQ(a[i], plat::ShellInfo::typeName(names[i % names.size()], false));
    }
}

} // namespace
