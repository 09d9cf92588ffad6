#include "app/Orvo.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "tools/compress/Ysjys.h"
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CompressCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        instances.takeSlot();
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    void TearDown() override
    {
        std::vector<QPointer<Tysjys>> left;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* y = qobject_cast<Tysjys*>(t))
                left.emplace_back(y);
        for (const QPointer<Tysjys>& y : left)
            delete y.data();
        main.reset();
    }
    static plat::Services fakes(test::FakeInstances& i, test::FakeHotkeys& h, test::FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.instances = &i;
        s.hotkeys = &h;
        s.launcher = &l;
        return s;
    }
    static std::vector<Tysjys*> windows()
    {
        std::vector<Tysjys*> out;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* y = qobject_cast<Tysjys*>(t); y && y->isVisible())
                out.push_back(y);
        return out;
    }

    test::ScriptedDialogs dialogs;
    test::FakeInstances instances;
    test::FakeHotkeys hotkeys;
    test::FakeLauncher launcher;
    plat::ScopedServices services{fakes(instances, hotkeys, launcher)};
    std::unique_ptr<TOrvo> main;
};

TEST_F(CompressCommand, SwitchMenuAndRightClickEachOpenANewWindow)
{
    main = std::make_unique<TOrvo>(QStringList{QStringLiteral("/Y")});
    main->show();
    ASSERT_EQ(windows().size(), 1u);
    main->PAK1->trigger();
    EXPECT_EQ(windows().size(), 2u);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2));
    QApplication::sendEvent(main->ToolButton29, &menu);
    const std::vector<Tysjys*> open = windows();
    ASSERT_EQ(open.size(), 3u);
    EXPECT_TRUE(main->isVisible());
    for (Tysjys* y : open) {
        EXPECT_TRUE(y->testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_EQ(y->parentWidget(), nullptr);
        EXPECT_EQ(y->windowTitle(), QStringLiteral("压缩/解压缩文件"));
    }
    EXPECT_EQ(main->PAK1->text(), QStringLiteral("文件压缩/解压缩&K"));
    QPointer<Tysjys> first = open.front();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(windows().size(), 2u);
}

} // namespace
