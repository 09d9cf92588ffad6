#pragma once
// The hex grid THexEditor: a file as rows of bytes with an offset column, a marker column, a hexadecimal pane
// (one column per nibble) and a character pane. A caret, a selection, ten row markers, overwriting of nibbles
// and characters and removal of bytes, all on the byte source's piece table; the file itself is never written.
// Painted by hand, only the visible rows, so that a file of any size scrolls.
#include "tools/hexview/engine/HexLayout.h"
#include "tools/hexview/engine/HexSource.h"
#include <QAbstractScrollArea>
#include <QColor>
#include <QStaticText>
#include <array>
#include <functional>
#include <vector>

enum TCaretStyle { csFull, csLeftLine, csBottomLine };

// The grid's colours. Setting OddColumn or EvenColumn also keeps its inverse (255 minus each of red, green
// and blue), the text colour of a selected, unchanged hex cell.
class TColors {
public:
    QColor Background = QColor(255, 255, 255);
    QColor PositionBackground = QColor(0, 0, 128);
    QColor PositionText = QColor(255, 255, 255);
    QColor ChangedBackground = QColor(255, 255, 168);
    QColor ChangedText = QColor(128, 0, 0);
    QColor CursorFrame = QColor(0, 0, 128);
    QColor Offset = QColor(0, 0, 0);

    QColor OddColumn() const { return m_odd; }
    QColor EvenColumn() const { return m_even; }
    QColor OddInverse() const { return m_oddInverse; }
    QColor EvenInverse() const { return m_evenInverse; }
    void setOddColumn(const QColor& c);
    void setEvenColumn(const QColor& c);
    static QColor inverse(const QColor& c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); }

private:
    QColor m_odd = QColor(0, 0, 255);
    QColor m_even = QColor(0, 0, 128);
    QColor m_oddInverse = inverse(QColor(0, 0, 255));
    QColor m_evenInverse = inverse(QColor(0, 0, 128));
};

class THexEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    // What one cell shows.
    struct CellLook {
        QString text;
        QColor background;
        QColor foreground;
    };

    explicit THexEditor(QWidget* parent = nullptr);
    ~THexEditor() override;

    // Loads `path`; a missing or unreadable file leaves the previous content (false).
    bool LoadFromFile(const QString& path);
    QString FileName() const { return m_source.fileName(); }

    // Properties.
    int BytesPerLine() const { return m_layout.bytesPerLine; }
    void setBytesPerLine(int n);                 // 1..256, else EHexEditorError "Invalid BytesPerLine argument"
    int BytesPerColumn() const { return m_layout.bytesPerColumn; }
    void setBytesPerColumn(int n);
    TOffsetDisplayStyle OffsetDisplay() const { return m_layout.offsetDisplay; }
    void setOffsetDisplay(TOffsetDisplayStyle s);
    QChar OffsetSeparator() const { return m_layout.offsetSeparator; }
    void setOffsetSeparator(QChar c);
    bool ShowMarkerColumn() const { return m_layout.showMarkerColumn; }
    void setShowMarkerColumn(bool on);
    TTranslationType Translation() const { return m_layout.translation; }
    void setTranslation(TTranslationType t);
    bool MaskWhiteSpaces() const { return m_layout.maskWhiteSpaces; }
    void setMaskWhiteSpaces(bool on);
    QChar MaskChar() const { return m_layout.maskChar; }
    void setMaskChar(QChar c);
    bool SwapNibbles() const { return m_layout.swapNibbles; }
    void setSwapNibbles(bool on);
    TCaretStyle CaretStyle() const { return m_caretStyle; }
    void setCaretStyle(TCaretStyle s);
    bool AutoCaretMode = true;
    bool FocusFrame() const { return m_focusFrame; }
    void setFocusFrame(bool on);
    bool AllowInsertMode = false;
    bool NoSizeChange = false;
    bool CreateBackup = true;
    QString BackupExtension = QStringLiteral(".bak");
    const TColors& Colors() const { return m_colors; }
    void setColors(const TColors& c);
    // Raised when the caret, the selection or the state changes.
    std::function<void(THexEditor*)> OnStateChanged;

    // Markers 0..9 (a row or -1); an index above 9: EHexEditorError "SetMarker : Invalid marker index".
    void SetMarker(int index, qint64 row);
    qint64 Marker(int index) const { return m_source.marker(index); }

    // State.
    qint64 DataSize() const { return m_source.size(); }
    qint64 RowCount() const { return m_layout.rowCount(m_source.size()); }
    int ColCount() const { return m_layout.columnCount(); }
    qint64 caretByte() const { return m_caretByte; }
    bool caretInCharPane() const { return m_charPane; }
    int caretColumn() const;
    qint64 caretRow() const { return m_caretByte / m_layout.bytesPerLine; }
    bool InsertMode() const { return m_insertMode; }
    bool hasSelection() const { return m_selStart >= 0; }
    qint64 SelStart() const { return m_selStart; }
    qint64 SelEnd() const { return m_selEnd; }
    bool isSelected(qint64 pos) const { return m_selStart >= 0 && pos >= m_selStart && pos <= m_selEnd; }
    bool isChanged(qint64 pos) const { return m_source.isChanged(pos); }
    QString UndoDescription() const { return m_source.undoDescription(); }
    QString workingFilePath() const { return m_source.workingFilePath(); }
    hexview::HexSource& source() { return m_source; }

    // Geometry: the character width W, the row height, column widths in pixels, the first shown row and
    // the number of whole rows that fit.
    int charWidth() const { return m_charW; }
    int rowHeight() const { return m_rowH; }
    int columnWidth(int column) const;
    qint64 topRow() const { return m_topRow; }
    int visibleRows() const;
    void setTopRow(qint64 row);
    // A cell's rectangle in the viewport (empty when the row or column is not shown).
    QRect cellRect(int column, qint64 row) const;
    // What a cell shows: text and colours, as painted.
    CellLook cellLook(int column, qint64 row);
    // The rows painted by the last paint.
    qint64 paintedRows() const { return m_paintedRows; }

    // Moves the caret to `pos` in the given pane (`nibbleColumn` 0 or 1 in the hex pane).
    void moveCaret(qint64 pos, bool charPane, int nibbleColumn = 0, bool extend = false);
    // Removes the selected bytes, or the byte under the caret (Ctrl+Delete).
    void removeSelection();
    // Takes back the newest change (no key of the grid reaches it). False when the log is empty.
    bool Undo();

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void recomputeLayout();
    void updateScrollBars();
    void ensureCaretVisible();
    void stateChanged();
    qint64 lastByte() const { return std::max<qint64>(0, m_source.size() - 1); }
    bool handleMoveKey(QKeyEvent* e);
    void typeCharacter(const QString& text);
    // The column and row under a viewport point; false outside the cells.
    bool hitTest(const QPoint& p, int& column, qint64& row) const;
    void placeFromMouse(const QPoint& p, bool extend);
    int fixedWidth() const { return m_colX[2]; }
    void drawCaret(QPainter& p);
    void paintCell(QPainter& p, int col, qint64 row, int x, int y);
    void drawCellText(QPainter& p, int x, int y, const QString& text);

    hexview::HexSource m_source;
    hexview::HexLayout m_layout;
    TColors m_colors;
    TCaretStyle m_caretStyle = csFull;
    bool m_focusFrame = true;
    bool m_insertMode = false;

    qint64 m_caretByte = 0;
    bool m_charPane = false;
    int m_nibble = 0;
    qint64 m_selStart = -1;
    qint64 m_selEnd = -1;
    qint64 m_anchor = -1;
    bool m_dragging = false;

    int m_charW = 8;
    int m_rowH = 16;
    int m_baseline = 12;
    int m_ascent = 10;
    std::array<QStaticText, 256> m_glyphs;   // one-character cell texts, laid out for the current font
    std::vector<int> m_colX;      // left edge of each column in content coordinates, plus the total width
    qint64 m_topRow = 0;
    bool m_syncingBar = false;
    qint64 m_paintedRows = 0;
};
