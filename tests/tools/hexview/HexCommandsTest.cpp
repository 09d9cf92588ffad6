// The main window's hex view commands: each opens a new viewer owned by the main window, showing the
// selected entry of list one, then that of list two.
#include "HexTestSupport.h"
#include "app/ListActions.h"
#include "support/MainWindowFixture.h"
#include "support/TempTree.h"
#include "tools/hexview/HexEditor.h"
#include "tools/hexview/HexViewWindow.h"
#include <QAction>
#include <QFileInfo>

namespace {

class HexCommandsTest : public test::MainWindowFixture {
protected:
    static QList<Thexf*> viewers() { return toolWindows<Thexf>(); }
    test::TempTree t;
};

TEST_F(HexCommandsTest, BothCommandsOpenANewWindowForTheSelectedFile)
{
    const QString one = t.file("one/a.bin", QByteArray("0123456789abcdefXYZ"));
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.path("one/"));
    w.LsFilelistView281->selectRow(rowOf(w.LsFilelistView281, QStringLiteral("a.bin")));
    for (QAction* a : {w.h16, w.hexv}) {
        SCOPED_TRACE(a->objectName().toStdString());
        ASSERT_TRUE(a->isEnabled());
        EXPECT_EQ(a->text(), QStringLiteral("十六进制查看&H"));
    }
    w.h16->trigger();
    w.hexv->trigger();
    const QList<Thexf*> opened = viewers();
    ASSERT_EQ(opened.size(), 2);
    for (Thexf* v : opened) {
        EXPECT_TRUE(v->isVisible());
        EXPECT_EQ(v->parentWidget(), &w);
        EXPECT_EQ(v->windowTitle(), one);
        EXPECT_EQ(v->toolTip(), one);
        EXPECT_EQ(v->HexEditor1->DataSize(), 19);
        EXPECT_EQ(v->HexEditor1->RowCount(), 2);
    }
    EXPECT_NE(opened[0]->HexEditor1->workingFilePath(), opened[1]->HexEditor1->workingFilePath());
}

TEST_F(HexCommandsTest, ListTwoWinsWhenBothListsHaveASelection)
{
    t.file("one/a.bin", QByteArray("aaaa"));
    const QString two = t.file("two/b.bin", QByteArray("bb"));
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.path("one/"));
    w.LsFilelistView282->setDirectory(t.path("two/"));
    w.LsFilelistView281->selectRow(rowOf(w.LsFilelistView281, QStringLiteral("a.bin")));
    w.LsFilelistView282->selectRow(rowOf(w.LsFilelistView282, QStringLiteral("b.bin")));
    w.hexv->trigger();
    ASSERT_EQ(viewers().size(), 1);
    Thexf* v = viewers().first();
    EXPECT_EQ(v->windowTitle(), two);
    EXPECT_EQ(v->HexEditor1->DataSize(), 2);
    EXPECT_EQ(v->HexEditor1->source().byteAt(0), 'b');
}

TEST_F(HexCommandsTest, NoSelectionShowsAnEmptyGrid)
{
    TOrvo& w = open();
    w.LsFilelistView281->clearSelection();
    w.LsFilelistView282->clearSelection();
    w.listActions().h16Click();
    ASSERT_EQ(viewers().size(), 1);
    Thexf* v = viewers().first();
    EXPECT_EQ(v->windowTitle(), QStringLiteral("十六进制查看文件"));
    EXPECT_EQ(v->HexEditor1->RowCount(), 1);
    EXPECT_EQ(v->HexEditor1->cellLook(0, 0).text, QStringLiteral("0:"));
}

TEST_F(HexCommandsTest, ClosingTheViewerRemovesItsWorkingFileAndKeepsTheFile)
{
    const QString path = t.file("one/a.bin", QByteArray("abcdef"));
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.path("one/"));
    w.LsFilelistView281->selectRow(rowOf(w.LsFilelistView281, QStringLiteral("a.bin")));
    w.h16->trigger();
    ASSERT_EQ(viewers().size(), 1);
    Thexf* v = viewers().first();
    v->HexEditor1->source().overwrite(0, 'Z');
    const QString work = v->HexEditor1->workingFilePath();
    ASSERT_TRUE(QFileInfo::exists(work));
    v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewers().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(work));
    EXPECT_EQ(hextest::readAll(path), QByteArray("abcdef"));
}

} // namespace
