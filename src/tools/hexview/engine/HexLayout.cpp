#include "tools/hexview/engine/HexLayout.h"
#include "tools/hexview/engine/HexSource.h"

namespace hexview {

HexLayout::Column HexLayout::kind(int column) const
{
    if (column == 0)
        return Column::Offset;
    if (column == 1)
        return Column::Marker;
    if (column < separatorColumn())
        return Column::Hex;
    if (column == separatorColumn())
        return Column::Separator;
    return Column::Char;
}

int HexLayout::byteOfColumn(int column) const
{
    switch (kind(column)) {
    case Column::Hex: return (column - 2) / 2;
    case Column::Char: return column - separatorColumn() - 1;
    default: return -1;
    }
}

qint64 HexLayout::rowCount(qint64 size) const
{
    return size <= 0 ? 1 : (size + bytesPerLine - 1) / bytesPerLine;
}

int HexLayout::offsetDigits(qint64 size) const
{
    const qint64 last = (rowCount(size) - 1) * bytesPerLine;
    const int base = offsetDisplay == odHex ? 16 : offsetDisplay == odOctal ? 8 : 10;
    return int(QString::number(last, base).size());
}

int HexLayout::columnUnits(int column, qint64 size) const
{
    switch (kind(column)) {
    case Column::Offset:
        switch (offsetDisplay) {
        case odHex: return offsetDigits(size) + 3;     // "0x" and the separator
        case odDec: return offsetDigits(size) + 1;     // the separator
        case odOctal: return offsetDigits(size) + 3;   // "o " and the separator
        case odNone: return 0;
        }
        return 0;
    case Column::Marker: return showMarkerColumn ? 1 : 0;
    case Column::Hex: return column % (2 * bytesPerColumn) == 1 ? 2 : 1;
    default: return 1;
    }
}

QString HexLayout::offsetText(qint64 row, qint64 size) const
{
    const qint64 offset = row * bytesPerLine;
    const int digits = offsetDigits(size);
    switch (offsetDisplay) {
    case odHex:
        return QStringLiteral("0x") + QString::number(offset, 16).toUpper().rightJustified(digits, u'0') + offsetSeparator;
    case odDec: return QString::number(offset).rightJustified(digits, u' ') + offsetSeparator;
    case odOctal: return QStringLiteral("o ") + QString::number(offset, 8).rightJustified(digits, u'0') + offsetSeparator;
    case odNone: return QStringLiteral(" ");
    }
    return QString();
}

QChar HexLayout::hexDigit(quint8 byte, int nibbleColumn) const
{
    const int nibble = columnIsHighNibble(nibbleColumn) ? byte >> 4 : byte & 0x0F;
    return QLatin1Char("0123456789ABCDEF"[nibble]);
}

// The character pane decodes each byte alone as Latin-1 (the other tables are not used by the viewer).
QChar HexLayout::charOf(quint8 byte) const
{
    if (maskWhiteSpaces && byte < 32)
        return maskChar;
    return QChar(char16_t(byte));
}

int HexLayout::codeOf(QChar c) const
{
    return c.unicode() <= 0xFF ? int(c.unicode()) : -1;
}

QString HexLayout::rowText(HexSource& source, qint64 row) const
{
    const qint64 size = source.size();
    QString out;
    if (offsetDisplay != odNone)
        out += offsetText(row, size).leftJustified(columnUnits(0, size), u' ');
    if (showMarkerColumn) {
        const int m = source.markerOnRow(row);
        out += m >= 0 ? QChar(u'0' + m) : QChar(u' ');
    }
    const qint64 first = row * bytesPerLine;
    for (int col = 2; col < separatorColumn(); ++col) {
        const int b = source.byteAt(first + byteOfColumn(col));
        QString cell(b < 0 ? QChar(u' ') : hexDigit(quint8(b), nibbleColumnOf(col)));
        out += cell.leftJustified(columnUnits(col, size), u' ');
    }
    out += u' ';
    for (int i = 0; i < bytesPerLine; ++i) {
        const int b = source.byteAt(first + i);
        out += b < 0 ? QChar(u' ') : charOf(quint8(b));
    }
    return out;
}

} // namespace hexview
