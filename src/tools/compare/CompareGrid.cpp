#include "tools/compare/CompareGrid.h"
#include "tools/compare/engine/FileCompare.h"
#include <QPainter>
#include <QPaintEvent>
#include <QWheelEvent>
#include <algorithm>

CompareGrid::CompareGrid(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::WheelFocus);
    updateMetrics();
}

void CompareGrid::setSource(const FileCompare* source)
{
    m_source = source;
    m_topRow = 1;
    update();
}

int CompareGrid::RowCount() const
{
    return m_source ? m_source->RowCount() : 0;
}

void CompareGrid::setTopRow(int row)
{
    row = std::clamp(row, 1, std::max(1, RowCount() - 1));
    if (row == m_topRow)
        return;
    m_topRow = row;
    update();
}

int CompareGrid::VisibleRowCount() const
{
    return std::max(0, (height() - m_rowHeight) / m_rowHeight);
}

void CompareGrid::setHOffset(int h)
{
    h = std::max(0, h);
    if (h == m_hOffset)
        return;
    m_hOffset = h;
    update();
}

void CompareGrid::updateMetrics()
{
    const QFontMetrics fm = fontMetrics();
    m_rowHeight = fm.height() + 2;
    const int w = width();
    m_colWidths[0] = fm.horizontalAdvance(QStringLiteral("文件名:")) + 2;
    const int rest = std::max(0, w - m_colWidths[0]);
    m_colWidths[1] = rest / 2;                    // column 1 gets the smaller half
    m_colWidths[2] = rest - m_colWidths[1];
}

void CompareGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateMetrics();
}

void CompareGrid::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        update();
    }
}

void CompareGrid::wheelEvent(QWheelEvent* event)
{
    // A notch (120) scrolls three rows; finer deltas add up.
    m_wheelSum += event->angleDelta().y();
    const int notches = m_wheelSum / 40;
    if (notches != 0) {
        m_wheelSum -= notches * 40;
        Q_EMIT wheelRows(-notches);
    }
    event->accept();
}

QRect CompareGrid::CellRect(int col, int row) const
{
    if (col < 0 || col > 2)
        return {};
    int y;
    if (row == 0) {
        y = 0;
    } else {
        if (row < m_topRow)
            return {};
        y = (row - m_topRow + 1) * m_rowHeight;
        if (y >= height())
            return {};
    }
    int x = 0;
    for (int c = 0; c < col; ++c)
        x += m_colWidths[c];
    return QRect(x, y, m_colWidths[col], m_rowHeight);
}

QString CompareGrid::DisplayText(int col, int row) const
{
    if (!m_source)
        return QString();
    const QString text = m_source->Cells(col, row);
    if (row == 0)
        return text;
    if (col == 0)
        return text.mid(1, 20);
    return text.mid(m_hOffset, 255);
}

void CompareGrid::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Base));
    if (!m_source || RowCount() == 0)
        return;
    const int rows = RowCount();
    for (int row = 0; row < rows; row = (row == 0 ? m_topRow : row + 1)) {
        const QRect first = CellRect(0, row);
        if (first.isEmpty())
            break;
        if (!first.united(CellRect(2, row)).intersects(event->rect()))
            continue;
        for (int col = 0; col < 3; ++col)
            DrawCell(p, col, row, CellRect(col, row));
    }
}

void CompareGrid::DrawCell(QPainter& p, int col, int row, const QRect& rect)
{
    const bool marked = row > 0 && m_source->Marker(row) == u'x';
    QColor back;
    QColor fore;
    if (marked) {
        back = markedColor();
        fore = Qt::black;
    } else {
        back = (row == 0 || col == 0) ? palette().color(QPalette::Button) : palette().color(QPalette::Base);
        fore = textGray();
    }
    p.fillRect(rect, back);
    p.setPen(fore);
    p.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs,
               DisplayText(col, row));
    if (col == 1)   // the line between the two file columns
        p.fillRect(QRect(rect.right() - 1, rect.top(), 2, rect.height()), palette().color(QPalette::Button));
}
