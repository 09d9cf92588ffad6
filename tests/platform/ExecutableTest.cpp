#include "platform/posix/Executable.h"
#include "support/TempTree.h"
#include <gtest/gtest.h>

namespace {

struct ExecCase {
    const char* name;
    QByteArray bytes;   // empty: a folder
    mode_t mode;
    bool executable;
    bool program;
};

class ExecutableRule : public ::testing::TestWithParam<ExecCase> {};

TEST_P(ExecutableRule, AccessForTheCurrentUserOnARegularFile)
{
    const ExecCase& c = GetParam();
    test::TempTree t;
    const QString p = c.bytes.isEmpty() ? t.dir(c.name) : t.file(c.name, c.bytes);
    t.setMode(c.name, c.mode);
    EXPECT_EQ(plat::posix::isExecutable(p), c.executable);
    EXPECT_EQ(plat::posix::isElfProgram(p), c.program);
    t.setMode(c.name, 0755);
}

const QByteArray kElf("\x7f" "ELF\x02\x01\x01", 7);
const QByteArray kScript("#!/bin/sh\nexit 0\n");

INSTANTIATE_TEST_SUITE_P(Posix, ExecutableRule,
                         ::testing::Values(ExecCase{"script0755", kScript, 0755, true, false},
                                           ExecCase{"script0644", kScript, 0644, false, false},
                                           ExecCase{"elf0755", kElf, 0755, true, true},
                                           ExecCase{"elf0644", kElf, 0644, false, false},
                                           ExecCase{"elf0700", kElf, 0700, true, true},
                                           ExecCase{"folder0755", QByteArray(), 0755, false, false}),
                         [](const ::testing::TestParamInfo<ExecCase>& i) { return std::string(i.param.name); });

TEST(ExecutableRule, MissingFilesAndLinks)
{
    test::TempTree t;
    t.file("elf", kElf);
    t.setMode("elf", 0755);
    EXPECT_TRUE(plat::posix::isElfProgram(t.link("toElf", t.path("elf"))));   // links are followed
    EXPECT_FALSE(plat::posix::isExecutable(t.path("missing")));
    EXPECT_FALSE(plat::posix::isExecutable(QString()));
}

} // namespace
