// The hex viewer window: its settings, caption and hint, and edits that never reach the file.
#include "HexTestSupport.h"
#include "support/TempTree.h"
#include "tools/hexview/HexEditor.h"
#include "tools/hexview/HexViewWindow.h"
#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace hextest;

namespace {

class HexViewWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        delete window.data();
    }
    Thexf* open()
    {
        window = new Thexf;
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.data()));
        return window.data();
    }
    test::TempTree tree;
    QPointer<Thexf> window;
};

TEST_F(HexViewWindowTest, AWindowOnTopCentredWithTheGridFillingIt)
{
    Thexf* w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("十六进制查看文件"));
    EXPECT_EQ(w->size(), QSize(716, 507));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(w->testAttribute(Qt::WA_AlwaysShowToolTips));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred on the desktop, give or take the window frame.
    EXPECT_LE((w->frameGeometry().center() - screen.center()).manhattanLength(), 6);
    THexEditor* grid = w->HexEditor1;
    EXPECT_EQ(grid->objectName(), QStringLiteral("HexEditor1"));
    EXPECT_EQ(grid->geometry(), w->rect());
    EXPECT_EQ(QApplication::focusWidget(), grid);
}

TEST_F(HexViewWindowTest, TheGridsSettings)
{
    THexEditor* g = open()->HexEditor1;
    EXPECT_EQ(g->BytesPerLine(), 16);
    EXPECT_EQ(g->BytesPerColumn(), 1);
    EXPECT_EQ(g->OffsetDisplay(), odDec);
    EXPECT_EQ(g->OffsetSeparator(), u':');
    EXPECT_EQ(g->Translation(), ttAnsi);
    EXPECT_EQ(g->CaretStyle(), csLeftLine);
    EXPECT_FALSE(g->FocusFrame());
    EXPECT_EQ(g->BackupExtension, QStringLiteral(".bak"));
    EXPECT_TRUE(g->ShowMarkerColumn());
    EXPECT_TRUE(g->MaskWhiteSpaces());
    EXPECT_FALSE(g->AllowInsertMode);
    EXPECT_EQ(g->font().pixelSize(), 16);
    EXPECT_EQ(g->font().family(), QStringLiteral("Courier"));
    EXPECT_EQ(g->viewport()->cursor().shape(), Qt::IBeamCursor);
    const TColors& c = g->Colors();
    EXPECT_EQ(c.Background, QApplication::palette().color(QPalette::Midlight));
    const struct {
        const char* name;
        QColor actual, expected;
    } colours[] = {
        {"PositionBackground", c.PositionBackground, QColor(128, 0, 128)},
        {"PositionText", c.PositionText, QColor(255, 251, 240)},
        {"ChangedBackground", c.ChangedBackground, QColor(128, 128, 0)},
        {"ChangedText", c.ChangedText, QColor(128, 0, 0)},
        {"CursorFrame", c.CursorFrame, QColor(0, 0, 255)},
        {"Offset", c.Offset, QColor(0, 0, 0)},
        {"OddColumn", c.OddColumn(), QColor(0, 0, 128)},
        {"EvenColumn", c.EvenColumn(), QColor(0, 128, 128)},
        {"OddInverse", c.OddInverse(), QColor(255, 255, 127)},
        {"EvenInverse", c.EvenInverse(), QColor(255, 127, 127)},
    };
    for (const auto& colour : colours)
        EXPECT_EQ(colour.actual, colour.expected) << colour.name;
}

TEST_F(HexViewWindowTest, AnEmptyGridShowsOneRowWithOffsetZero)
{
    THexEditor* g = open()->HexEditor1;
    EXPECT_EQ(g->RowCount(), 1);
    EXPECT_EQ(g->cellLook(0, 0).text, QStringLiteral("0:"));
    EXPECT_TRUE(window->toolTip().isEmpty());
}

// The group colours alternate per byte; the byte's twin cell in the other pane is framed.
TEST_F(HexViewWindowTest, ByteColoursAlternate)
{
    Thexf* w = open();
    w->showFile(tree.file("a.bin", pattern(20)));
    THexEditor* g = w->HexEditor1;
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(g->cellLook(2 + 2 * b, 0).foreground, b % 2 ? g->Colors().EvenColumn() : g->Colors().OddColumn()) << b;
}

TEST_F(HexViewWindowTest, EditsNeverReachTheFileAndAreDiscardedOnClose)
{
    const QByteArray bytes = pattern(300);
    const QString path = tree.file("data.bin", bytes);
    Thexf* w = open();
    w->showFile(path);
    EXPECT_EQ(w->windowTitle(), path);
    EXPECT_EQ(w->toolTip(), path);
    THexEditor* g = w->HexEditor1;
    ASSERT_EQ(QApplication::focusWidget(), g);
    QTest::keyClicks(g, QStringLiteral("FFEE"));
    QTest::keyClick(g, Qt::Key_Tab);
    QTest::keyClicks(g, QStringLiteral("xy"));
    QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(g->source().byteAt(0), 0xFF);
    EXPECT_EQ(g->source().byteAt(2), 'x');
    EXPECT_EQ(g->DataSize(), 299);
    const QString work = g->workingFilePath();
    ASSERT_TRUE(QFileInfo::exists(work));
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(QFileInfo::exists(work));
    EXPECT_EQ(readAll(path), bytes);
}

TEST_F(HexViewWindowTest, AFileThatCannotBeReadLeavesTheGridEmpty)
{
    Thexf* w = open();
    const QString missing = tree.path("missing.bin");
    w->showFile(missing);
    EXPECT_EQ(w->windowTitle(), missing);
    EXPECT_EQ(w->HexEditor1->DataSize(), 0);
    EXPECT_EQ(w->HexEditor1->FileName(), QStringLiteral("Untitled"));
}

} // namespace
