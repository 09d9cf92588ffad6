#include "tools/hexview/HexEditor.h"
#include "tools/hexview/engine/HexErrors.h"
#include "ui/Dialogs.h"
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace {

// The vertical scroll bar holds an int: beyond this many rows its value is scaled to the row count.
constexpr qint64 kBarLimit = qint64(1) << 20;

// The digit of Ctrl+digit and Ctrl+Shift+digit; with Shift a layout may report the shifted symbol.
int digitOfKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    static const int shifted[10] = {Qt::Key_ParenRight, Qt::Key_Exclam, Qt::Key_At, Qt::Key_NumberSign,
                                    Qt::Key_Dollar, Qt::Key_Percent, Qt::Key_AsciiCircum, Qt::Key_Ampersand,
                                    Qt::Key_Asterisk, Qt::Key_ParenLeft};
    for (int d = 0; d < 10; ++d)
        if (key == shifted[d])
            return d;
    return -1;
}

} // namespace

void TColors::setOddColumn(const QColor& c)
{
    m_odd = c;
    m_oddInverse = inverse(c);
}

void TColors::setEvenColumn(const QColor& c)
{
    m_even = c;
    m_evenInverse = inverse(c);
}

THexEditor::THexEditor(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (m_syncingBar)
            return;
        const qint64 maxTop = std::max<qint64>(0, RowCount() - visibleRows());
        m_topRow = maxTop <= kBarLimit ? value : qint64(__int128(value) * maxTop / kBarLimit);
        viewport()->update();
    });
    recomputeLayout();
}

THexEditor::~THexEditor() = default;

bool THexEditor::LoadFromFile(const QString& path)
{
    if (!m_source.loadFromFile(path))
        return false;
    m_caretByte = 0;
    m_nibble = 0;
    m_selStart = m_selEnd = m_anchor = -1;
    m_topRow = 0;
    recomputeLayout();
    stateChanged();
    return true;
}

// --- Properties ---

void THexEditor::setBytesPerLine(int n)
{
    if (n < 1 || n > 256)
        throw EHexEditorError(QStringLiteral("Invalid BytesPerLine argument"));
    m_layout.bytesPerLine = n;
    recomputeLayout();
    ensureCaretVisible();
}

void THexEditor::setBytesPerColumn(int n)
{
    m_layout.bytesPerColumn = std::max(1, n);
    recomputeLayout();
}

void THexEditor::setOffsetDisplay(TOffsetDisplayStyle s)
{
    m_layout.offsetDisplay = s;
    recomputeLayout();
}

void THexEditor::setOffsetSeparator(QChar c)
{
    m_layout.offsetSeparator = c;
    viewport()->update();
}

void THexEditor::setShowMarkerColumn(bool on)
{
    m_layout.showMarkerColumn = on;
    recomputeLayout();
}

void THexEditor::setTranslation(TTranslationType t)
{
    m_layout.translation = t;
    viewport()->update();
}

void THexEditor::setMaskWhiteSpaces(bool on)
{
    m_layout.maskWhiteSpaces = on;
    viewport()->update();
}

void THexEditor::setMaskChar(QChar c)
{
    m_layout.maskChar = c;
    viewport()->update();
}

void THexEditor::setSwapNibbles(bool on)
{
    m_layout.swapNibbles = on;
    viewport()->update();
}

void THexEditor::setCaretStyle(TCaretStyle s)
{
    m_caretStyle = s;
    viewport()->update();
}

void THexEditor::setFocusFrame(bool on)
{
    m_focusFrame = on;
    viewport()->update();
}

void THexEditor::setColors(const TColors& c)
{
    m_colors = c;
    viewport()->update();
}

void THexEditor::SetMarker(int index, qint64 row)
{
    m_source.setMarker(index, row);
    viewport()->update();
}

// --- Geometry ---

void THexEditor::recomputeLayout()
{
    const QFontMetrics fm(font());
    m_charW = std::max(1, fm.horizontalAdvance(u'w'));
    m_rowH = fm.boundingRect(QStringLiteral("yY")).height() + 2;
    m_baseline = (m_rowH - fm.height()) / 2 + fm.ascent();
    m_ascent = fm.ascent();
    m_glyphs.fill(QStaticText());
    const int count = m_layout.columnCount();
    m_colX.assign(std::size_t(count) + 1, 0);
    for (int c = 0; c < count; ++c)
        m_colX[std::size_t(c) + 1] = m_colX[std::size_t(c)] + m_layout.columnUnits(c, m_source.size()) * m_charW;
    updateScrollBars();
    viewport()->update();
}

int THexEditor::columnWidth(int column) const
{
    return m_colX[std::size_t(column) + 1] - m_colX[std::size_t(column)];
}

int THexEditor::visibleRows() const
{
    return std::max(1, viewport()->height() / m_rowH);
}

void THexEditor::updateScrollBars()
{
    m_syncingBar = true;
    const qint64 maxTop = std::max<qint64>(0, RowCount() - visibleRows());
    m_topRow = std::clamp<qint64>(m_topRow, 0, maxTop);
    QScrollBar* v = verticalScrollBar();
    if (maxTop <= kBarLimit) {
        v->setRange(0, int(maxTop));
        v->setPageStep(visibleRows());
        v->setValue(int(m_topRow));
    } else {
        v->setRange(0, int(kBarLimit));
        v->setPageStep(std::max<int>(1, int(__int128(visibleRows()) * kBarLimit / maxTop)));
        v->setValue(int(__int128(m_topRow) * kBarLimit / maxTop));
    }
    QScrollBar* h = horizontalScrollBar();
    const int scrollable = m_colX.back() - fixedWidth();
    const int room = viewport()->width() - fixedWidth();
    h->setRange(0, std::max(0, scrollable - room));
    h->setPageStep(std::max(1, room));
    h->setSingleStep(m_charW);
    m_syncingBar = false;
}

void THexEditor::setTopRow(qint64 row)
{
    m_topRow = row;
    updateScrollBars();
    viewport()->update();
}

QRect THexEditor::cellRect(int column, qint64 row) const
{
    if (column < 0 || column >= ColCount() || row < m_topRow || row >= m_topRow + visibleRows() + 1)
        return QRect();
    int x = m_colX[std::size_t(column)];
    if (column >= 2)
        x -= horizontalScrollBar()->value();
    const QRect r(x, int(row - m_topRow) * m_rowH, columnWidth(column), m_rowH);
    if (column >= 2 && r.right() < fixedWidth())
        return QRect();
    return r.intersected(viewport()->rect());
}

int THexEditor::caretColumn() const
{
    const int b = int(m_caretByte % m_layout.bytesPerLine);
    return m_charPane ? m_layout.charColumn(b) : m_layout.hexColumn(b, m_nibble);
}

void THexEditor::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void THexEditor::changeEvent(QEvent* e)
{
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        recomputeLayout();
}

void THexEditor::scrollContentsBy(int, int)
{
    viewport()->update();
}

void THexEditor::ensureCaretVisible()
{
    const qint64 row = caretRow();
    const int rows = visibleRows();
    if (row < m_topRow)
        m_topRow = row;
    else if (row >= m_topRow + rows)
        m_topRow = row - rows + 1;
    updateScrollBars();
    QScrollBar* h = horizontalScrollBar();
    const int col = caretColumn();
    const int left = m_colX[std::size_t(col)] - fixedWidth();
    const int right = m_colX[std::size_t(col) + 1] - fixedWidth();
    const int room = viewport()->width() - fixedWidth();
    if (left < h->value())
        h->setValue(left);
    else if (right > h->value() + room)
        h->setValue(right - room);
    viewport()->update();
}

void THexEditor::stateChanged()
{
    viewport()->update();
    if (OnStateChanged)
        OnStateChanged(this);
}

// --- Cells ---

THexEditor::CellLook THexEditor::cellLook(int column, qint64 row)
{
    using Column = hexview::HexLayout::Column;
    CellLook look{QString(), m_colors.Background, palette().color(QPalette::Text)};
    switch (m_layout.kind(column)) {
    case Column::Offset:
        look.text = m_layout.offsetText(row, m_source.size());
        look.foreground = m_colors.Offset;
        return look;
    case Column::Marker:
        if (const int m = m_source.markerOnRow(row); m >= 0) {
            look.text = QString(QChar(u'0' + m));
            look.background = m_colors.PositionBackground;
            look.foreground = m_colors.PositionText;
        }
        return look;
    case Column::Separator:
        return look;
    case Column::Hex:
    case Column::Char:
        break;
    }
    const int inRow = m_layout.byteOfColumn(column);
    const qint64 pos = row * m_layout.bytesPerLine + inRow;
    const int value = m_source.byteAt(pos);
    if (value < 0)
        return look;
    const bool hex = m_layout.kind(column) == Column::Hex;
    look.text = QString(hex ? m_layout.hexDigit(quint8(value), m_layout.nibbleColumnOf(column))
                            : m_layout.charOf(quint8(value)));
    const bool changed = m_source.isChanged(pos);
    const bool oddGroup = m_layout.groupOf(inRow) % 2 == 0;
    if (changed) {
        look.background = m_colors.ChangedBackground;
        look.foreground = m_colors.ChangedText;
    } else if (hex) {
        look.foreground = oddGroup ? m_colors.OddColumn() : m_colors.EvenColumn();
    }
    if (isSelected(pos)) {
        std::swap(look.background, look.foreground);
        if (hex && !changed)
            look.foreground = oddGroup ? m_colors.OddInverse() : m_colors.EvenInverse();
    }
    return look;
}

void THexEditor::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), m_colors.Background);
    const qint64 rows = std::min<qint64>(RowCount() - m_topRow, viewport()->height() / m_rowH + 1);
    const int hs = horizontalScrollBar()->value();
    const QRect scrolled(fixedWidth(), 0, std::max(0, viewport()->width() - fixedWidth()), viewport()->height());
    for (qint64 i = 0; i < rows; ++i) {
        const qint64 row = m_topRow + i;
        const int y = int(i) * m_rowH;
        // The panes scroll under the fixed offset and marker columns.
        for (int col = 2; col < ColCount(); ++col) {
            const int x = m_colX[std::size_t(col)] - hs;
            if (x + columnWidth(col) <= fixedWidth())
                continue;
            if (x >= viewport()->width())
                break;
            p.setClipRect(scrolled);
            paintCell(p, col, row, x, y);
            p.setClipping(false);
        }
        for (int col = 0; col < 2; ++col)
            if (columnWidth(col) > 0)
                paintCell(p, col, row, m_colX[std::size_t(col)], y);
    }
    m_paintedRows = std::max<qint64>(0, rows);
    drawCaret(p);
}

void THexEditor::paintCell(QPainter& p, int col, qint64 row, int x, int y)
{
    const CellLook look = cellLook(col, row);
    const QRect r(x, y, columnWidth(col), m_rowH);
    if (look.background != m_colors.Background)
        p.fillRect(col >= 2 ? QRect(x, y, m_charW, m_rowH) : r, look.background);
    if (look.text.isEmpty())
        return;
    p.setPen(look.foreground);
    if (col == 1) {
        QFont markerFont(QStringLiteral("Arial"));
        markerFont.setPixelSize(std::max(1, QFontInfo(font()).pixelSize() * 3 / 4));
        p.setFont(markerFont);
        p.drawText(r, Qt::AlignCenter, look.text);
        p.setFont(font());
    } else {
        drawCellText(p, x, y, look.text);
    }
}

// A page has hundreds of one-character cells: their texts are laid out once per font and drawn from the
// cache; longer texts (offsets) are drawn at the baseline.
void THexEditor::drawCellText(QPainter& p, int x, int y, const QString& text)
{
    if (text.size() == 1 && text.front().unicode() < m_glyphs.size()) {
        QStaticText& glyph = m_glyphs[text.front().unicode()];
        if (glyph.text().isEmpty()) {
            glyph.setText(text);
            glyph.setTextFormat(Qt::PlainText);
            glyph.prepare(QTransform(), font());
        }
        p.drawStaticText(QPoint(x, y + m_baseline - m_ascent), glyph);
        return;
    }
    p.drawText(QPoint(x, y + m_baseline), text);
}

void THexEditor::drawCaret(QPainter& p)
{
    const qint64 row = caretRow();
    const int b = int(m_caretByte % m_layout.bytesPerLine);
    // The same byte's cell in the other pane is framed.
    QRect twin;
    if (m_charPane) {
        const QRect hi = cellRect(m_layout.hexColumn(b, 0), row);
        const QRect lo = cellRect(m_layout.hexColumn(b, 1), row);
        twin = hi.isEmpty() ? lo : lo.isEmpty() ? hi : QRect(hi.topLeft(), QSize(2 * m_charW, m_rowH));
    } else {
        twin = cellRect(m_layout.charColumn(b), row);
    }
    if (!twin.isEmpty()) {
        p.setBrush(Qt::NoBrush);
        if (m_focusFrame)
            p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        else
            p.setPen(QPen(m_colors.CursorFrame, 1));
        p.drawRect(twin.adjusted(0, 0, -1, -1));
    }
    if (!hasFocus())
        return;
    QRect cell = cellRect(caretColumn(), row);
    if (cell.isEmpty())
        return;
    cell.setWidth(std::min(cell.width(), m_charW));
    QRect shape = cell;
    if (m_caretStyle == csLeftLine)
        shape.setWidth(2);
    else if (m_caretStyle == csBottomLine)
        shape.setTop(cell.bottom() - 1);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(shape, Qt::white);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// --- Caret and selection ---

void THexEditor::moveCaret(qint64 pos, bool charPane, int nibbleColumn, bool extend)
{
    const qint64 before = m_caretByte;
    pos = std::clamp<qint64>(pos, 0, lastByte());
    if (extend && m_source.size() > 0) {
        if (m_anchor < 0)
            m_anchor = std::min(before, lastByte());
        m_selStart = std::min(m_anchor, pos);
        m_selEnd = std::max(m_anchor, pos);
    } else {
        m_selStart = m_selEnd = m_anchor = -1;
    }
    m_caretByte = pos;
    m_charPane = charPane;
    m_nibble = charPane ? 0 : nibbleColumn;
    ensureCaretVisible();
    stateChanged();
}

bool THexEditor::handleMoveKey(QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const qint64 bpl = m_layout.bytesPerLine;
    const qint64 pos = m_caretByte;
    const qint64 row = pos / bpl;
    const qint64 lastRow = RowCount() - 1;
    const qint64 inRow = pos % bpl;
    const bool hex = !m_charPane;
    const auto go = [&](qint64 to, int nibble) { moveCaret(to, m_charPane, nibble, shift); };
    // Same column in another row; on a short last row the nearest cell that holds a byte.
    const auto toRow = [&](qint64 r) {
        r = std::clamp<qint64>(r, 0, lastRow);
        const qint64 to = r * bpl + inRow;
        if (to > lastByte())
            go(lastByte(), 1);
        else
            go(to, m_nibble);
    };
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        if (hex && m_nibble == 1)
            go(pos, 0);
        else if (pos > 0)
            go(pos - 1, hex ? 1 : 0);
        return true;
    case Qt::Key_Right:
        if (ctrl)
            go(std::min(row * bpl + bpl - 1, lastByte()), 1);
        else if (hex && m_nibble == 0)
            go(pos, 1);
        else if (pos < lastByte())
            go(pos + 1, 0);
        return true;
    case Qt::Key_Up: toRow(row - 1); return true;
    case Qt::Key_Down: toRow(row + 1); return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int page = visibleRows();
        const bool down = e->key() == Qt::Key_PageDown;
        if (ctrl) {
            toRow(down ? std::min(m_topRow + page - 1, lastRow) : m_topRow);
        } else {
            m_topRow = std::clamp<qint64>(m_topRow + (down ? page : -page), 0, std::max<qint64>(0, lastRow - page + 1));
            toRow(row + (down ? page : -page));
        }
        return true;
    }
    case Qt::Key_Home: go(ctrl ? 0 : row * bpl, 0); return true;
    case Qt::Key_End: go(ctrl ? lastByte() : std::min(row * bpl + bpl - 1, lastByte()), 0); return true;
    default: return false;
    }
}

void THexEditor::keyPressEvent(QKeyEvent* e)
{
    try {
        const Qt::KeyboardModifiers mods = e->modifiers();
        const bool ctrl = mods & Qt::ControlModifier;
        const bool shift = mods & Qt::ShiftModifier;
        if (e->key() == Qt::Key_Backspace && m_insertMode)
            return;
        if (handleMoveKey(e))
            return;
        if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab || (ctrl && e->key() == Qt::Key_T)) {
            if (m_source.size() > 0)
                moveCaret(m_caretByte, !m_charPane, 0);
            return;
        }
        if (ctrl) {
            if (const int d = digitOfKey(e->key()); d >= 0) {
                if (shift) {
                    SetMarker(d, caretRow());
                    stateChanged();
                } else {
                    const qint64 at = m_source.marker(d);
                    const qint64 r = at < 0 ? caretRow() : std::min(at, RowCount() - 1);
                    const qint64 to = r * m_layout.bytesPerLine + m_caretByte % m_layout.bytesPerLine;
                    moveCaret(std::min(to, lastByte()), m_charPane, m_nibble);
                }
                return;
            }
            if (e->key() == Qt::Key_Delete) {
                removeSelection();
                return;
            }
            return;
        }
        if (e->key() == Qt::Key_Insert) {
            if (AllowInsertMode && !NoSizeChange)
                m_insertMode = !m_insertMode;
            m_source.clearChanges();
            if (AutoCaretMode)
                m_caretStyle = m_insertMode ? csLeftLine : csFull;
            stateChanged();
            return;
        }
        if (!e->text().isEmpty() && !(mods & (Qt::AltModifier | Qt::MetaModifier)))
            typeCharacter(e->text());
    } catch (const EOrvoError& err) {
        ui::Dialogs::get().error(this, err.message());
    }
}

// Overwrites the nibble or character under the caret, or inserts in the insert state.
void THexEditor::typeCharacter(const QString& text)
{
    const QChar c = text.front();
    // Keys such as Delete and Escape carry control characters as their text: they type nothing.
    if (!c.isPrint())
        return;
    const qint64 pos = m_caretByte;
    int value = -1;
    if (m_charPane) {
        const int code = m_layout.codeOf(c);
        if (code < 32)
            return;
        value = code;
    } else {
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0 || c.unicode() > 0x7F)
            return;
        const int old = m_insertMode ? 0 : m_source.byteAt(pos);
        if (old < 0)
            return;
        value = m_layout.columnIsHighNibble(m_nibble) ? (digit << 4) | (old & 0x0F) : (old & 0xF0) | digit;
    }
    if (m_insertMode) {
        if (!m_source.insert(pos, QByteArray(1, char(value))))
            return;
        recomputeLayout();
    } else {
        if (pos >= m_source.size() || !m_source.overwrite(pos, quint8(value)))
            return;
    }
    // On as with Right.
    if (!m_charPane && m_nibble == 0)
        moveCaret(pos, false, 1);
    else if (pos < lastByte())
        moveCaret(pos + 1, m_charPane, 0);
    else
        stateChanged();
}

void THexEditor::removeSelection()
{
    if (NoSizeChange || m_source.size() == 0)
        return;
    const qint64 from = hasSelection() ? m_selStart : m_caretByte;
    const qint64 count = hasSelection() ? m_selEnd - m_selStart + 1 : 1;
    if (!m_source.remove(from, count))
        return;
    recomputeLayout();
    moveCaret(std::min(m_caretByte, lastByte()), m_charPane, m_nibble);
}

bool THexEditor::Undo()
{
    if (!m_source.undo())
        return false;
    recomputeLayout();
    moveCaret(std::min(m_caretByte, lastByte()), m_charPane, m_nibble);
    return true;
}

bool THexEditor::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab switch panes inside the grid.
    return false;
}

void THexEditor::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    viewport()->update();
}

void THexEditor::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    viewport()->update();
}

// --- Mouse ---

bool THexEditor::hitTest(const QPoint& p, int& column, qint64& row) const
{
    if (p.y() < 0 || p.x() < 0)
        return false;
    row = m_topRow + p.y() / m_rowH;
    if (row >= RowCount())
        return false;
    const int x = p.x() < fixedWidth() ? p.x() : p.x() + horizontalScrollBar()->value();
    const auto it = std::upper_bound(m_colX.begin(), m_colX.end(), x);
    column = int(it - m_colX.begin()) - 1;
    return column >= 0 && column < ColCount();
}

void THexEditor::placeFromMouse(const QPoint& p, bool extend)
{
    int column = 0;
    qint64 row = 0;
    QPoint at = p;
    // While dragging, a point above or below the rows scrolls and takes the nearest row.
    if (extend) {
        at.setY(std::clamp(at.y(), 0, std::max(0, visibleRows() * m_rowH - 1)));
        if (p.y() < 0 && m_topRow > 0)
            setTopRow(m_topRow - 1);
        else if (p.y() >= visibleRows() * m_rowH)
            setTopRow(m_topRow + 1);
        at.setY(std::min<qint64>(at.y(), (RowCount() - 1 - m_topRow) * m_rowH));
    }
    if (!hitTest(at, column, row))
        return;
    const int inRow = m_layout.byteOfColumn(column);
    if (inRow < 0)
        return;
    const bool charPane = m_layout.kind(column) == hexview::HexLayout::Column::Char;
    const qint64 pos = row * m_layout.bytesPerLine + inRow;
    if (extend) {
        if (m_anchor < 0)
            return;
        const qint64 to = std::min(pos, lastByte());
        m_selStart = std::min(m_anchor, to);
        m_selEnd = std::max(m_anchor, to);
        m_caretByte = pos;
    } else {
        m_caretByte = pos;
    }
    m_charPane = charPane;
    m_nibble = charPane ? 0 : m_layout.nibbleColumnOf(column);
    stateChanged();
}

void THexEditor::mousePressEvent(QMouseEvent* e)
{
    setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton)
        return;
    m_selStart = m_selEnd = m_anchor = -1;
    placeFromMouse(e->position().toPoint(), false);
    m_dragging = e->type() != QEvent::MouseButtonDblClick;
    if (m_dragging && m_source.size() > 0)
        m_anchor = std::min(m_caretByte, lastByte());
    stateChanged();
}

void THexEditor::mouseMoveEvent(QMouseEvent* e)
{
    if (m_dragging && (e->buttons() & Qt::LeftButton))
        placeFromMouse(e->position().toPoint(), true);
}

void THexEditor::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_dragging = false;
}

void THexEditor::wheelEvent(QWheelEvent* e)
{
    const int steps = e->angleDelta().y() / 120;
    if (steps != 0)
        setTopRow(m_topRow - 3 * steps);
    e->accept();
}
