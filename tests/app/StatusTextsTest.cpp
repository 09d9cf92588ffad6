#include "app/StatusTexts.h"
#include <gtest/gtest.h>

namespace {

struct StatusCase {
    const char* name;
    app::ListFigures figures;
    const char* panel0;
    const char* panel1;
};

class StatusTextsTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTextsTest, PanelsAreWrittenByteForByte)
{
    const StatusCase& c = GetParam();
    EXPECT_EQ(app::statusPanel0(c.figures).toStdString(), c.panel0);
    EXPECT_EQ(app::statusPanel1(c.figures).toStdString(), c.panel1);
}

app::ListFigures folder(int count, qint64 total)
{
    app::ListFigures f;
    f.itemCount = count;
    f.selectedNumber = count;
    f.folderTotal = total;
    return f;
}

app::ListFigures selection(int count, int selected, qint64 size, qint64 freeKB, bool listTwo)
{
    app::ListFigures f;
    f.itemCount = count;
    f.selectedNumber = selected;
    f.selectedSize = size;
    f.freeKB = freeKB;
    f.hasSelection = true;
    f.listTwo = listTwo;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatusTextsTest,
    ::testing::Values(
        StatusCase{"FolderTotal", folder(4, 3500), "  4 个项目",
                   "        当前文件夹总文件大小 = 3,500 字节 (不包括子文件夹的文件大小)"},
        StatusCase{"EmptyFolder", folder(0, 0), "  0 个项目",
                   "        当前文件夹总文件大小 = 0 字节 (不包括子文件夹的文件大小)"},
        StatusCase{"TotalAboveFourGigabytes", folder(2, 5000000000LL), "  2 个项目",
                   "        当前文件夹总文件大小 = 5,000,000,000 字节 (不包括子文件夹的文件大小)"},
        StatusCase{"SelectionInListOne", selection(4, 1, 1536, 2097152, false), "  4 个项目 -- 1 个选择 ",
                   "        选择的总文件大小 = 1,536 字节 ( 磁盘剩余空间: 2,048.00 MB )"},
        StatusCase{"ListTwoBelowOneMegabyte", selection(4, 1, 1536, 512, true), "  4 个项目 -- 1 个选择 ",
                   "        选择的总文件大小 = 1,536 字节 ( 磁盘剩余空间: .50 MB )"},
        StatusCase{"ListOneBelowOneMegabyte", selection(4, 1, 0, 512, false), "  4 个项目 -- 1 个选择 ",
                   "        选择的总文件大小 = 0 字节 ( 磁盘剩余空间: 0.50 MB )"},
        StatusCase{"LargeSelection", selection(9, 3, 6000000000LL, 1048576000, true), "  9 个项目 -- 3 个选择 ",
                   "        选择的总文件大小 = 6,000,000,000 字节 ( 磁盘剩余空间: 1,024,000.00 MB )"}),
    [](const ::testing::TestParamInfo<StatusCase>& i) { return std::string(i.param.name); });

} // namespace
