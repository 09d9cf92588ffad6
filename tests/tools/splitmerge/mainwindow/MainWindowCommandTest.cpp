#include "support/MainWindowFixture.h"
#include "app/ToolLauncher.h"
#include "tools/splitmerge/SplitMergeWindow.h"
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SplitMergeCommand : public test::MainWindowFixture {
protected:
    static std::vector<Tfsf*> splitWindows()
    {
        const QList<Tfsf*> l = toolWindows<Tfsf>(true);
        return {l.begin(), l.end()};
    }
};

TEST_F(SplitMergeCommand, ToolButtonHidesTheMainWindowUntilTheSplitWindowCloses)
{
    window = std::make_unique<TOrvo>();
    window->show();
    window->toolLauncher().ToolButton31Click();
    auto windows = splitWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(windows[0]->mainWindow(), window.get());
    EXPECT_TRUE(windows[0]->testAttribute(Qt::WA_DeleteOnClose));
    windows[0]->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(splitWindows().empty());
}

TEST_F(SplitMergeCommand, SwitchOpensAWindowAndKeepsTheMainWindowVisible)
{
    window = std::make_unique<TOrvo>(QStringList{QStringLiteral("/H")});
    window->show();
    EXPECT_EQ(splitWindows().size(), 1u);
    window->toolLauncher().switchSplitMerge();
    EXPECT_EQ(splitWindows().size(), 2u);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
