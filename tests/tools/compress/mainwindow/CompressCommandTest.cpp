#include "support/MainWindowFixture.h"
#include "tools/compress/CompressWindow.h"
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

class CompressCommand : public test::MainWindowFixture {
protected:
    static std::vector<Tysjys*> windows()
    {
        const QList<Tysjys*> l = toolWindows<Tysjys>(true);
        return {l.begin(), l.end()};
    }
};

TEST_F(CompressCommand, SwitchMenuAndRightClickEachOpenANewWindow)
{
    window = std::make_unique<TOrvo>(QStringList{QStringLiteral("/Y")});
    window->show();
    ASSERT_EQ(windows().size(), 1u);
    window->PAK1->trigger();
    EXPECT_EQ(windows().size(), 2u);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), window->ToolButton29->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(window->ToolButton29, &menu);
    const std::vector<Tysjys*> open = windows();
    ASSERT_EQ(open.size(), 3u);
    EXPECT_TRUE(window->isVisible());
    for (Tysjys* y : open) {
        EXPECT_TRUE(y->testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_EQ(y->parentWidget(), nullptr);
        EXPECT_EQ(y->windowTitle(), QStringLiteral("压缩/解压缩文件"));
    }
    EXPECT_EQ(window->PAK1->text(), QStringLiteral("文件压缩/解压缩&K"));
    QPointer<Tysjys> first = open.front();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(windows().size(), 2u);
}

} // namespace
