#include "app/Orvo.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "tools/splitmerge/Fsf.h"
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SplitMergeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        instances.takeSlot();
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    void TearDown() override
    {
        // Collected first: deleting a window deletes its menus, which are top-level widgets too.
        std::vector<QPointer<Tfsf>> left;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<Tfsf*>(t))
                left.emplace_back(f);
        for (const QPointer<Tfsf>& f : left)
            delete f.data();
        main.reset();
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    static plat::Services fakes(test::FakeInstances& i, test::FakeHotkeys& h, test::FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.instances = &i;
        s.hotkeys = &h;
        s.launcher = &l;
        return s;
    }
    static std::vector<Tfsf*> splitWindows()
    {
        std::vector<Tfsf*> out;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<Tfsf*>(t); f && f->isVisible())
                out.push_back(f);
        return out;
    }

    test::ScriptedDialogs dialogs;
    test::FakeInstances instances;
    test::FakeHotkeys hotkeys;
    test::FakeLauncher launcher;
    plat::ScopedServices services{fakes(instances, hotkeys, launcher)};
    std::unique_ptr<TOrvo> main;
};

TEST_F(SplitMergeCommand, ToolButtonHidesTheMainWindowUntilTheSplitWindowCloses)
{
    main = std::make_unique<TOrvo>();
    main->show();
    main->ToolButton31Click();
    auto windows = splitWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(windows[0]->mainWindow(), main.get());
    EXPECT_TRUE(windows[0]->testAttribute(Qt::WA_DeleteOnClose));
    windows[0]->close();
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(splitWindows().empty());
}

TEST_F(SplitMergeCommand, SwitchOpensAWindowAndKeepsTheMainWindowVisible)
{
    main = std::make_unique<TOrvo>(QStringList{QStringLiteral("/H")});
    main->show();
    EXPECT_EQ(splitWindows().size(), 1u);
    main->switchSplitMerge();
    EXPECT_EQ(splitWindows().size(), 2u);
    EXPECT_TRUE(main->isVisible());
}

} // namespace
