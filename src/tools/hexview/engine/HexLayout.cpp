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

namespace {

int digitCount(quint64 v, int base)
{
    int n = 1;
    while (v >= quint64(base)) {
        v /= quint64(base);
        ++n;
    }
    return n;
}

} // namespace

int HexLayout::offsetDigits(qint64 size) const
{
    const qint64 last = (rowCount(size) - 1) * bytesPerLine;
    return digitCount(quint64(last), offsetDisplay == odHex ? 16 : offsetDisplay == odOctal ? 8 : 10);
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
    char buffer[kMaxOffsetBytes];
    return QString::fromUtf8(buffer, offsetUtf8(row, size, buffer));
}

int HexLayout::offsetUtf8(qint64 row, qint64 size, char* out) const
{
    if (offsetDisplay == odNone) {
        out[0] = ' ';
        return 1;
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const int base = offsetDisplay == odHex ? 16 : offsetDisplay == odOctal ? 8 : 10;
    quint64 offset = quint64(row) * quint64(bytesPerLine);
    const int digits = qMax(offsetDigits(size), digitCount(offset, base));
    char* p = out;
    if (offsetDisplay == odHex) {
        *p++ = '0';
        *p++ = 'x';
    } else if (offsetDisplay == odOctal) {
        *p++ = 'o';
        *p++ = ' ';
    }
    // Hex and octal pad with zeros, decimal is right-aligned with blanks.
    const char pad = offsetDisplay == odDec ? ' ' : '0';
    for (int i = digits - 1; i >= 0; --i) {
        p[i] = (offset || i == digits - 1) ? kDigits[offset % quint64(base)] : pad;
        offset /= quint64(base);
    }
    p += digits;
    const char16_t sep = offsetSeparator.unicode();
    if (sep < 0x80) {
        *p++ = char(sep);
    } else if (sep < 0x800) {
        *p++ = char(0xC0 | (sep >> 6));
        *p++ = char(0x80 | (sep & 0x3F));
    } else {
        *p++ = char(0xE0 | (sep >> 12));
        *p++ = char(0x80 | ((sep >> 6) & 0x3F));
        *p++ = char(0x80 | (sep & 0x3F));
    }
    return int(p - out);
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
    QByteArray out;
    appendRowUtf8(source, row, out);
    return QString::fromUtf8(out);
}

void HexLayout::appendRowUtf8(HexSource& source, qint64 row, QByteArray& out) const
{
    const qint64 size = source.size();
    if (offsetDisplay != odNone) {
        char offset[kMaxOffsetBytes];
        const int n = offsetUtf8(row, size, offset);
        out.append(offset, n);   // as wide as the column: the last row's offset has the most digits
    }
    // The cells go into a buffer sized for the worst case (a gap after every byte, two-byte characters).
    const qsizetype start = out.size();
    out.resize(start + 1 + 3 * bytesPerLine + 1 + 2 * bytesPerLine);
    char* p = out.data() + start;
    if (showMarkerColumn) {
        const int m = source.markerOnRow(row);
        *p++ = m >= 0 ? char('0' + m) : ' ';
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const qint64 first = row * bytesPerLine;
    const int groupColumns = 2 * bytesPerColumn;
    for (int i = 0; i < bytesPerLine; ++i) {
        const int b = source.byteAt(first + i);
        for (int nibble = 0; nibble < 2; ++nibble) {
            *p++ = b < 0 ? ' ' : kDigits[columnIsHighNibble(nibble) ? b >> 4 : b & 0x0F];
            if (hexColumn(i, nibble) % groupColumns == 1)   // a group ends: its gap
                *p++ = ' ';
        }
    }
    *p++ = ' ';
    for (int i = 0; i < bytesPerLine; ++i) {
        const int b = source.byteAt(first + i);
        const char16_t c = b < 0 ? u' ' : charOf(quint8(b)).unicode();
        if (c < 0x80) {
            *p++ = char(c);
        } else {   // two UTF-8 bytes: every character here is below U+0800
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        }
    }
    out.resize(p - out.data());
}

} // namespace hexview
