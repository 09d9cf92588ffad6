#pragma once
#include <QWidget>

class FileCompare;

// The result grid of the compare window: three columns over a FileCompare result, row 0 and column 0 fixed,
// drawn by the window's own rules. It has no scroll bars of its own; the window sets its top row and the
// horizontal text offset.
class CompareGrid : public QWidget {
    Q_OBJECT
public:
    explicit CompareGrid(QWidget* parent = nullptr);

    void setSource(const FileCompare* source);   // nullptr shows nothing
    const FileCompare* source() const { return m_source; }

    int RowCount() const;
    int TopRow() const { return m_topRow; }
    void setTopRow(int row);
    int VisibleRowCount() const;                  // rows below row 0 that fit whole
    int DefaultRowHeight() const { return m_rowHeight; }
    int ColWidths(int col) const { return m_colWidths[col]; }
    int HOffset() const { return m_hOffset; }     // characters left out at the start of columns 1 and 2
    void setHOffset(int h);

    // The text a cell shows: column 0 without its marker (at most 20 characters), columns 1 and 2 from the
    // horizontal offset (at most 255 characters); row 0 whole.
    QString DisplayText(int col, int row) const;
    QRect CellRect(int col, int row) const;       // empty when the row is not shown

    static QColor markedColor() { return QColor(0, 0x80, 0x80); }
    static QColor textGray() { return QColor(0x80, 0x80, 0x80); }

Q_SIGNALS:
    void wheelRows(int rows);   // mouse wheel: rows to scroll, negative upwards

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawCell(QPainter& p, int col, int row, const QRect& rect);
    void updateMetrics();

    const FileCompare* m_source = nullptr;
    int m_topRow = 1;
    int m_hOffset = 0;
    int m_rowHeight = 16;
    int m_colWidths[3] = {0, 0, 0};
    int m_wheelSum = 0;
};
