// The hex grid driven as a user drives it: keys to the focused grid, mouse clicks on its cells.
#include "HexTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/hexview/HexEditor.h"
#include "tools/hexview/engine/HexErrors.h"
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace hextest;

namespace {

constexpr qint64 GiB = qint64(1) << 30;

class HexEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<THexEditor>();
        QFont f(QStringLiteral("Courier"));
        f.setPixelSize(16);
        grid->setFont(f);
        grid->resize(800, 400);
        grid->show();
        grid->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
        grid->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), grid.get());
    }
    void load(const QByteArray& bytes) { ASSERT_TRUE(grid->LoadFromFile(file = tree.file("data.bin", bytes))); }
    // A key to the widget that has the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, k, mods);
    }
    void type(const char* text)
    {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
    }
    QPoint centreOf(int column, qint64 row) const { return grid->cellRect(column, row).center(); }
    void click(int column, qint64 row, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, centreOf(column, row));
    }
    int hexCol(int byteInRow, int nibble = 0) const { return 2 + 2 * byteInRow + nibble; }
    int charCol(int byteInRow) const { return 2 * grid->BytesPerLine() + 3 + byteInRow; }

    test::TempTree tree;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<THexEditor> grid;
    QString file;
};

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EHexEditorError& e) {
        return e.message();
    }
    return QString();
}

TEST_F(HexEditorTest, CreatedEmptyWithOneRow)
{
    EXPECT_EQ(grid->FileName(), QStringLiteral("Untitled"));
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->ColCount(), 51);
    EXPECT_EQ(grid->cellLook(0, 0).text, QStringLiteral("0x0:"));
    EXPECT_TRUE(grid->cellLook(hexCol(0), 0).text.isEmpty());
    // Typing into an empty file does nothing.
    type("A");
    EXPECT_EQ(grid->DataSize(), 0);
    EXPECT_TRUE(grid->source().changes().isEmpty());
}

TEST_F(HexEditorTest, SeventeenBytesShowTwoRowsTheSecondWithOneByte)
{
    load(pattern(17));
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->cellLook(hexCol(0, 0), 1).text, QStringLiteral("1"));
    EXPECT_EQ(grid->cellLook(hexCol(0, 1), 1).text, QStringLiteral("0"));
    EXPECT_EQ(grid->cellLook(charCol(0), 1).text, QStringLiteral("."));
    for (int b = 1; b < 16; ++b) {
        EXPECT_TRUE(grid->cellLook(hexCol(b), 1).text.isEmpty()) << b;
        EXPECT_TRUE(grid->cellLook(charCol(b), 1).text.isEmpty()) << b;
    }
}

// Column widths: W per column, 2W for the column that ends a group, the offset column as wide as the last
// row's offset text; the row height is that of "yY" plus 2.
TEST_F(HexEditorTest, ColumnGeometry)
{
    load(pattern(1000));
    const int W = grid->charWidth();
    EXPECT_EQ(W, QFontMetrics(grid->font()).horizontalAdvance(u'w'));
    EXPECT_EQ(grid->rowHeight(), QFontMetrics(grid->font()).boundingRect(QStringLiteral("yY")).height() + 2);
    grid->setOffsetDisplay(odDec);
    EXPECT_EQ(grid->columnWidth(0), 4 * W);   // "992:"
    EXPECT_EQ(grid->cellLook(0, 62).text, QStringLiteral("992:"));
    grid->setOffsetDisplay(odNone);
    EXPECT_EQ(grid->columnWidth(0), 0);
    EXPECT_EQ(grid->columnWidth(1), W);
    grid->setShowMarkerColumn(false);
    EXPECT_EQ(grid->columnWidth(1), 0);
    grid->setBytesPerColumn(1);
    EXPECT_EQ(grid->columnWidth(hexCol(0, 0)), W);
    EXPECT_EQ(grid->columnWidth(hexCol(0, 1)), 2 * W);
    grid->setBytesPerColumn(4);
    EXPECT_EQ(grid->columnWidth(hexCol(0, 1)), W);
    EXPECT_EQ(grid->columnWidth(hexCol(3, 1)), 2 * W);
    EXPECT_EQ(grid->columnWidth(charCol(0) - 1), W);
}

TEST_F(HexEditorTest, TheTwoErrorTexts)
{
    for (int bad : {0, 257})
        EXPECT_EQ(errorOf([&] { grid->setBytesPerLine(bad); }), QStringLiteral("Invalid BytesPerLine argument"));
    EXPECT_EQ(grid->BytesPerLine(), 16);
    EXPECT_EQ(errorOf([&] { grid->SetMarker(10, 0); }), QStringLiteral("SetMarker : Invalid marker index"));
}

TEST_F(HexEditorTest, AValidBytesPerLineKeepsTheCaretOnItsByte)
{
    load(pattern(100));
    grid->moveCaret(37, false);
    grid->setBytesPerLine(8);
    EXPECT_EQ(grid->caretByte(), 37);
    EXPECT_EQ(grid->caretRow(), 4);
    EXPECT_EQ(grid->ColCount(), 27);
}

// The key table on a 40-byte file (rows of 16, 16 and 8 bytes).
struct KeyCase {
    const char* name;
    qint64 from;
    bool fromChar;
    int fromNibble;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    qint64 to;
    bool toChar;
    int toNibble;
};

class HexKeyTest : public HexEditorTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(HexKeyTest, MovesTheCaret)
{
    const KeyCase& c = GetParam();
    load(pattern(40));
    grid->moveCaret(c.from, c.fromChar, c.fromNibble);
    key(c.key, c.mods);
    EXPECT_EQ(grid->caretByte(), c.to);
    EXPECT_EQ(grid->caretInCharPane(), c.toChar);
    EXPECT_EQ(grid->caretColumn(),
              c.toChar ? charCol(int(c.to % 16)) : hexCol(int(c.to % 16), c.toNibble));
    EXPECT_FALSE(grid->hasSelection());
}

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;

INSTANTIATE_TEST_SUITE_P(Keys, HexKeyTest,
    ::testing::Values(
        KeyCase{"RightHighToLowNibble", 5, false, 0, Qt::Key_Right, None, 5, false, 1},
        KeyCase{"RightLowNibbleToNextByte", 5, false, 1, Qt::Key_Right, None, 6, false, 0},
        KeyCase{"RightStopsAtTheLastByte", 39, false, 1, Qt::Key_Right, None, 39, false, 1},
        KeyCase{"RightInTheCharacterPane", 15, true, 0, Qt::Key_Right, None, 16, true, 0},
        KeyCase{"LeftLowToHighNibble", 5, false, 1, Qt::Key_Left, None, 5, false, 0},
        KeyCase{"LeftCrossesToThePreviousByte", 5, false, 0, Qt::Key_Left, None, 4, false, 1},
        KeyCase{"LeftStopsAtTheFirstByte", 0, false, 0, Qt::Key_Left, None, 0, false, 0},
        KeyCase{"LeftInTheCharacterPane", 16, true, 0, Qt::Key_Left, None, 15, true, 0},
        KeyCase{"BackspaceIsOneColumnLeft", 5, false, 1, Qt::Key_Backspace, None, 5, false, 0},
        KeyCase{"CtrlRightToTheRowsLastCell", 17, false, 0, Qt::Key_Right, Ctrl, 31, false, 1},
        KeyCase{"CtrlRightOnTheShortLastRow", 33, true, 0, Qt::Key_Right, Ctrl, 39, true, 0},
        KeyCase{"UpSameColumn", 21, false, 1, Qt::Key_Up, None, 5, false, 1},
        KeyCase{"UpOnTheFirstRowStays", 3, false, 0, Qt::Key_Up, None, 3, false, 0},
        KeyCase{"DownSameColumn", 5, true, 0, Qt::Key_Down, None, 21, true, 0},
        KeyCase{"DownToTheNearestByteOfAShortRow", 29, false, 0, Qt::Key_Down, None, 39, false, 1},
        KeyCase{"DownOnTheLastRowStays", 35, false, 0, Qt::Key_Down, None, 35, false, 0},
        KeyCase{"HomeToTheRowsFirstByte", 21, false, 1, Qt::Key_Home, None, 16, false, 0},
        KeyCase{"EndToTheRowsLastByte", 21, false, 1, Qt::Key_End, None, 31, false, 0},
        KeyCase{"EndOnTheShortLastRow", 33, false, 1, Qt::Key_End, None, 39, false, 0},
        KeyCase{"CtrlHomeToTheFirstByte", 33, true, 0, Qt::Key_Home, Ctrl, 0, true, 0},
        KeyCase{"CtrlEndToTheLastByte", 3, false, 0, Qt::Key_End, Ctrl, 39, false, 0},
        KeyCase{"TabToTheCharacterPane", 7, false, 1, Qt::Key_Tab, None, 7, true, 0},
        KeyCase{"ShiftTabBackToTheHexPane", 7, true, 0, Qt::Key_Backtab, Qt::ShiftModifier, 7, false, 0},
        KeyCase{"CtrlTSwitchesPanes", 7, false, 0, Qt::Key_T, Ctrl, 7, true, 0},
        KeyCase{"PageDownOnAShortFileToTheLastRow", 3, false, 0, Qt::Key_PageDown, None, 35, false, 0},
        KeyCase{"CtrlPageUpToTheTopVisibleRow", 35, false, 0, Qt::Key_PageUp, Ctrl, 3, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HexEditorTest, CtrlEndThenEndStaysOnTheLastByte)
{
    load(pattern(40));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->caretByte(), 39);
    key(Qt::Key_End);
    EXPECT_EQ(grid->caretByte(), 39);
}

TEST_F(HexEditorTest, TabInAnEmptyFileStaysInTheHexPane)
{
    key(Qt::Key_Tab);
    EXPECT_FALSE(grid->caretInCharPane());
    EXPECT_EQ(QApplication::focusWidget(), grid.get());
}

TEST_F(HexEditorTest, PagesScrollTheViewWithTheCaret)
{
    load(pattern(16 * 1000));
    const int page = grid->visibleRows();
    ASSERT_GT(page, 2);
    key(Qt::Key_PageDown);
    EXPECT_EQ(grid->caretRow(), page);
    EXPECT_EQ(grid->topRow(), page);
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(grid->caretRow(), 2 * page - 1);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(grid->caretRow(), page);
    key(Qt::Key_PageUp);
    EXPECT_EQ(grid->caretRow(), 0);
    EXPECT_EQ(grid->topRow(), 0);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->topRow(), 1000 - page);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 1000 - page);
}

TEST_F(HexEditorTest, ShiftExtendsTheSelectionFromWhereTheCaretWas)
{
    load(pattern(40));
    grid->moveCaret(20, false);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelStart(), 20);
    EXPECT_EQ(grid->SelEnd(), 21);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid->caretByte(), 5);
    EXPECT_EQ(grid->SelStart(), 5);
    EXPECT_EQ(grid->SelEnd(), 20);
    key(Qt::Key_Right);
    EXPECT_FALSE(grid->hasSelection());
}

TEST_F(HexEditorTest, MarkerKeysSetAndJump)
{
    load(pattern(100));
    grid->moveCaret(37, false);
    key(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid->Marker(3), 2);
    const THexEditor::CellLook mark = grid->cellLook(1, 2);
    EXPECT_EQ(mark.text, QStringLiteral("3"));
    EXPECT_EQ(mark.background, grid->Colors().PositionBackground);
    EXPECT_EQ(mark.foreground, grid->Colors().PositionText);
    EXPECT_TRUE(grid->cellLook(1, 1).text.isEmpty());
    // A layout that reports the shifted symbol sets the same digit.
    grid->moveCaret(81, false);
    key(Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid->Marker(1), 5);
    grid->moveCaret(0, false);
    key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(grid->caretByte(), 32);   // row 2, same column
    key(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(grid->caretRow(), 5);
    // An unset marker keeps the current row.
    grid->moveCaret(20, false);
    key(Qt::Key_7, Qt::ControlModifier);
    EXPECT_EQ(grid->caretByte(), 20);
}

TEST_F(HexEditorTest, TypingOverwritesNibblesAndCharacters)
{
    load(pattern(40));
    int states = 0;
    grid->OnStateChanged = [&](THexEditor* sender) {
        EXPECT_EQ(sender, grid.get());
        ++states;
    };
    grid->moveCaret(2, false);
    type("a");
    EXPECT_EQ(grid->source().byteAt(2), 0xA2);
    EXPECT_EQ(grid->caretColumn(), hexCol(2, 1));   // on as with Right
    type("F");
    EXPECT_EQ(grid->source().byteAt(2), 0xAF);
    EXPECT_EQ(grid->caretByte(), 3);
    EXPECT_TRUE(grid->isChanged(2));
    EXPECT_EQ(grid->UndoDescription(), QStringLiteral("Byte changed"));
    type("g");   // not a hex digit
    EXPECT_EQ(grid->source().byteAt(3), 3);
    EXPECT_EQ(grid->caretByte(), 3);
    key(Qt::Key_Tab);
    // Keys whose text is a control character type nothing (as the keyboard sends them, text included).
    for (const auto& [k, code] : {std::pair{Qt::Key_Delete, 0x7F}, std::pair{Qt::Key_Escape, 0x1B}, std::pair{Qt::Key_Return, 0x0D}})
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), k, QString(QChar(code)), Qt::NoModifier);
    EXPECT_EQ(grid->source().byteAt(3), 3);
    EXPECT_EQ(grid->caretByte(), 3);
    type("Z");
    EXPECT_EQ(grid->source().byteAt(3), 'Z');
    EXPECT_EQ(grid->caretByte(), 4);
    key(Qt::Key_Tab, Qt::NoModifier);
    EXPECT_GT(states, 4);
    EXPECT_EQ(readAll(file), pattern(40));
}

TEST_F(HexEditorTest, OverwritingWithTheSameValueLeavesNoMark)
{
    QByteArray bytes = pattern(20);
    bytes[4] = char(0x4C);
    load(bytes);
    grid->moveCaret(4, false);
    type("4");
    EXPECT_FALSE(grid->isChanged(4));
    EXPECT_EQ(grid->UndoDescription(), QStringLiteral("No Undo"));
    EXPECT_EQ(grid->caretColumn(), hexCol(4, 0));   // nothing happened, the caret stays
    grid->moveCaret(4, false, 1);
    type("c");
    EXPECT_FALSE(grid->isChanged(4));
    grid->moveCaret(4, true);
    type("L");   // 0x4C
    EXPECT_FALSE(grid->isChanged(4));
}

TEST_F(HexEditorTest, ChangedAndSelectedCellColours)
{
    load(pattern(40));
    TColors colors;
    colors.setOddColumn(QColor(0, 0, 128));
    colors.setEvenColumn(QColor(0, 128, 128));
    colors.Background = QColor(224, 224, 224);
    grid->setColors(colors);
    grid->setBytesPerColumn(1);
    EXPECT_EQ(grid->Colors().OddInverse(), QColor(255, 255, 127));
    EXPECT_EQ(grid->Colors().EvenInverse(), QColor(255, 127, 127));

    const auto look = [&](int col) { return grid->cellLook(col, 0); };
    EXPECT_EQ(look(hexCol(0)).foreground, colors.OddColumn());
    EXPECT_EQ(look(hexCol(1)).foreground, colors.EvenColumn());
    EXPECT_EQ(look(hexCol(0)).background, colors.Background);
    EXPECT_EQ(look(charCol(0)).foreground, grid->palette().color(QPalette::Text));

    grid->moveCaret(1, false);
    type("FF");
    EXPECT_EQ(look(hexCol(1)).background, colors.ChangedBackground);
    EXPECT_EQ(look(hexCol(1)).foreground, colors.ChangedText);
    EXPECT_EQ(look(charCol(1)).background, colors.ChangedBackground);

    grid->moveCaret(0, false);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(grid->SelEnd(), 1);
    // Selected: background and text swapped; an unchanged hex cell takes its group colour's inverse.
    EXPECT_EQ(look(hexCol(0)).background, colors.OddColumn());
    EXPECT_EQ(look(hexCol(0)).foreground, colors.OddInverse());
    EXPECT_EQ(look(hexCol(1)).background, colors.ChangedText);
    EXPECT_EQ(look(hexCol(1)).foreground, colors.ChangedBackground);
    EXPECT_EQ(look(charCol(0)).background, grid->palette().color(QPalette::Text));
    EXPECT_EQ(look(charCol(0)).foreground, colors.Background);
    EXPECT_EQ(look(hexCol(2)).background, colors.Background);
}

TEST_F(HexEditorTest, CtrlDeleteRemovesTheCaretByteOrTheSelection)
{
    const QByteArray bytes = pattern(40);
    load(bytes);
    grid->moveCaret(30, false);
    type("00");
    ASSERT_TRUE(grid->isChanged(30));
    grid->moveCaret(5, false);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->DataSize(), 39);
    EXPECT_EQ(grid->source().byteAt(5), 6);
    EXPECT_FALSE(grid->isChanged(29));   // later marks are dropped
    EXPECT_EQ(grid->UndoDescription(), QStringLiteral("Byte(s) removed"));
    EXPECT_EQ(grid->caretByte(), 5);

    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(grid->SelStart(), 5);
    ASSERT_EQ(grid->SelEnd(), 22);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->DataSize(), 21);
    EXPECT_FALSE(grid->hasSelection());
    EXPECT_EQ(grid->RowCount(), 2);
    // The caret goes to the last byte when the file became shorter than its place.
    EXPECT_EQ(grid->caretByte(), 20);
    EXPECT_EQ(readAll(file), bytes);

    grid->NoSizeChange = true;
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->DataSize(), 21);

    // Both removals and the two nibble overwrites are taken back in turn.
    EXPECT_TRUE(grid->Undo());
    EXPECT_EQ(grid->DataSize(), 39);
    EXPECT_TRUE(grid->Undo());
    EXPECT_EQ(grid->DataSize(), 40);
    EXPECT_TRUE(grid->isChanged(30));
    EXPECT_TRUE(grid->Undo());
    EXPECT_EQ(grid->source().byteAt(30), 0x0E);
    EXPECT_TRUE(grid->Undo());
    EXPECT_EQ(grid->source().byteAt(30), 30);
    EXPECT_FALSE(grid->isChanged(30));
    EXPECT_FALSE(grid->Undo());
    EXPECT_EQ(grid->UndoDescription(), QStringLiteral("No Undo"));
}

TEST_F(HexEditorTest, InsertClearsMarksAndTogglesOnlyWhenAllowed)
{
    load(pattern(40));
    grid->setCaretStyle(csLeftLine);
    type("11");
    ASSERT_TRUE(grid->isChanged(0));
    key(Qt::Key_Insert);
    EXPECT_FALSE(grid->InsertMode());
    EXPECT_FALSE(grid->isChanged(0));
    EXPECT_EQ(grid->CaretStyle(), csFull);   // the overwrite shape

    grid->AllowInsertMode = true;
    key(Qt::Key_Insert);
    EXPECT_TRUE(grid->InsertMode());
    EXPECT_EQ(grid->CaretStyle(), csLeftLine);
    grid->moveCaret(3, true);
    type("Q");
    EXPECT_EQ(grid->DataSize(), 41);
    EXPECT_EQ(grid->source().byteAt(3), 'Q');
    key(Qt::Key_Insert);
    EXPECT_FALSE(grid->InsertMode());

    grid->NoSizeChange = true;
    key(Qt::Key_Insert);
    EXPECT_FALSE(grid->InsertMode());
}

TEST_F(HexEditorTest, AClickPlacesTheCaretAndADragSelects)
{
    load(pattern(40));
    click(hexCol(4, 1), 1);
    EXPECT_EQ(grid->caretByte(), 20);
    EXPECT_EQ(grid->caretColumn(), hexCol(4, 1));
    EXPECT_FALSE(grid->hasSelection());
    click(charCol(2), 0);
    EXPECT_EQ(grid->caretByte(), 2);
    EXPECT_TRUE(grid->caretInCharPane());

    QWidget* vp = grid->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, centreOf(hexCol(3), 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(centreOf(hexCol(1), 2)), vp->mapToGlobal(QPointF(centreOf(hexCol(1), 2))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, centreOf(hexCol(1), 2));
    EXPECT_EQ(grid->SelStart(), 3);
    EXPECT_EQ(grid->SelEnd(), 33);
    EXPECT_EQ(grid->caretByte(), 33);
    // A press clears the selection.
    click(hexCol(0), 0);
    EXPECT_FALSE(grid->hasSelection());
    // A click on the offset column moves nothing.
    click(0, 1);
    EXPECT_EQ(grid->caretByte(), 0);
}

// A 100 GiB sparse file: the scroll bar is scaled into its int range, Ctrl+End reaches the last row and
// only the visible rows are painted.
TEST_F(HexEditorTest, ScrollsAHundredGibFile)
{
    const QString path = tree.path("huge.bin");
    ASSERT_TRUE(makeSparse(path, 100 * GiB));
    ASSERT_TRUE(grid->LoadFromFile(path));
    const qint64 rows = 100 * GiB / 16;
    EXPECT_EQ(grid->RowCount(), rows);
    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_LE(bar->maximum(), 1 << 20);
    grid->viewport()->grab();
    EXPECT_LE(grid->paintedRows(), grid->visibleRows() + 1);

    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->caretByte(), 100 * GiB - 1);
    EXPECT_EQ(grid->topRow(), rows - grid->visibleRows());
    EXPECT_EQ(bar->value(), bar->maximum());
    grid->viewport()->grab();
    EXPECT_EQ(grid->cellLook(0, rows - 1).text, QStringLiteral("0x18FFFFFFF0:"));
    EXPECT_FALSE(grid->cellRect(hexCol(15), rows - 1).isEmpty());

    type("7");
    EXPECT_EQ(grid->source().byteAt(100 * GiB - 1), 0x70);
    EXPECT_EQ(readAt(path, 100 * GiB - 1, 1), QByteArray(1, '\0'));

    // Dragging the bar to its middle shows the middle of the file.
    bar->setValue(bar->maximum() / 2);
    EXPECT_NEAR(double(grid->topRow()), double(rows) / 2, double(rows) / 1000);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->topRow(), 0);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(HexEditorTest, TheWorkingFileGoesWithTheGrid)
{
    load(pattern(10));
    type("AB");
    const QString work = grid->workingFilePath();
    ASSERT_TRUE(QFileInfo::exists(work));
    grid.reset();
    EXPECT_FALSE(QFileInfo::exists(work));
}

} // namespace
