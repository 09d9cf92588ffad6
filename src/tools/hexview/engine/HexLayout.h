#pragma once
#include <QByteArray>
#include <QChar>
#include <QString>

// Offset column formats and byte-to-character translations of the hex grid.
enum TOffsetDisplayStyle { odHex, odDec, odOctal, odNone };
enum TTranslationType { ttAnsi, ttDos8, ttASCII, ttMac, ttEBCDIC };

namespace hexview {

class HexSource;

// The hex grid's columns and cell texts, apart from any painting: column kinds and widths in character units,
// offset texts, nibble and character cells. The grid draws with it and `orvo-cli hex` prints with it.
// Columns: 0 offsets, 1 markers, 2 .. 2 × BytesPerLine + 1 the hex pane (two per byte), then an empty
// separator, then BytesPerLine character columns.
struct HexLayout {
    enum class Column { Offset, Marker, Hex, Separator, Char };

    int bytesPerLine = 16;
    int bytesPerColumn = 4;
    TOffsetDisplayStyle offsetDisplay = odHex;
    QChar offsetSeparator = u':';
    TTranslationType translation = ttAnsi;
    bool maskWhiteSpaces = true;
    QChar maskChar = u'.';
    bool swapNibbles = false;
    bool showMarkerColumn = true;

    int columnCount() const { return 3 * bytesPerLine + 3; }
    int separatorColumn() const { return 2 * bytesPerLine + 2; }
    int hexColumn(int byteInRow, int nibbleColumn) const { return 2 + 2 * byteInRow + nibbleColumn; }
    int charColumn(int byteInRow) const { return separatorColumn() + 1 + byteInRow; }
    Column kind(int column) const;
    // The byte of the row a hex or character column shows, else -1.
    int byteOfColumn(int column) const;
    // 0 for the first, 1 for the second column of a byte in the hex pane.
    int nibbleColumnOf(int column) const { return (column - 2) % 2; }
    // Byte groups alternate colours: group 0, 2, 4 … odd-column colour, 1, 3, 5 … even-column colour.
    int groupOf(int byteInRow) const { return byteInRow / bytesPerColumn; }

    // Ceiling of size / bytes per line, at least 1.
    qint64 rowCount(qint64 size) const;
    // Width of a column in character units: the offset column is wide enough for the last row's offset text
    // (0 for odNone); the marker column 1 when shown; hex columns that end a byte group 2, others 1.
    int columnUnits(int column, qint64 size) const;
    QString offsetText(qint64 row, qint64 size) const;

    // The hex digit shown in hex-pane column `nibbleColumn` (0 or 1) of `byte`; the high nibble first unless
    // swapped. The nibble a column edits: true for the high one.
    QChar hexDigit(quint8 byte, int nibbleColumn) const;
    bool columnIsHighNibble(int nibbleColumn) const { return (nibbleColumn == 0) != swapNibbles; }
    // The character a byte shows in the character pane.
    QChar charOf(quint8 byte) const;
    // The byte a typed character stands for, or -1 when it has none.
    int codeOf(QChar c) const;

    // One row as plain text, cell for cell as the grid draws it (gaps as blanks, empty cells past the end).
    QString rowText(HexSource& source, qint64 row) const;
    // The same in UTF-8, appended to `out` (for printing many rows).
    void appendRowUtf8(HexSource& source, qint64 row, QByteArray& out) const;

private:
    // Longest offset text in UTF-8: prefix, 22 octal digits, a separator of up to 3 bytes.
    static constexpr int kMaxOffsetBytes = 32;
    int offsetDigits(qint64 size) const;
    int offsetUtf8(qint64 row, qint64 size, char* out) const;
};

} // namespace hexview
