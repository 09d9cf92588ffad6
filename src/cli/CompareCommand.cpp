// orvo-cli compare: compares two text files as the compare window does and prints the grid, row 0
// included, one row per line with its three cells separated by TAB (column 0 with its marker).
// Exit code 0 when no row differs, 1 when some do, 2 on an error.
#include "cli/Commands.h"
#include "cli/RowWriter.h"
#include "tools/compare/engine/FileCompare.h"
#include <QStringDecoder>
#include <QStringEncoder>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace cli {
namespace {

// The text of the cells of a column that does not decode as UTF-8: GB18030 as FileCompare::Cells decodes
// it, into a buffer kept from line to line instead of a new string per cell.
class LegacyCells {
public:
    void write(RowWriter& out, QByteArrayView bytes)
    {
        if (!m_gb.isValid()) {
            out.text(QString::fromLatin1(bytes));
            return;
        }
        m_buffer.resize(size_t(m_gb.requiredSpace(bytes.size())));
        const QChar* end = m_gb.appendToBuffer(m_buffer.data(), bytes);
        out.text(QStringView(m_buffer.data(), end));
    }

private:
    QStringDecoder m_gb{"GB18030", QStringDecoder::Flag::Stateless};
    std::vector<QChar> m_buffer;
};

void lineCell(RowWriter& out, const FileCompare& fc, int col, int row, LegacyCells& legacy)
{
    if (fc.IsUtf8(col))
        out.bytes(fc.LineBytes(col, row));   // already the UTF-8 text of the cell
    else
        legacy.write(out, fc.LineBytes(col, row));
}

void markerCell(RowWriter& out, const FileCompare& fc, int row)
{
    const QChar m = fc.Marker(row);
    if (m.isNull())
        return;
    out.ch(char(m.unicode()));
    if (const qint64 n = fc.LineNumber(row)) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
        out.bytes(QByteArrayView(digits, end - digits));
    }
}

int runCompare(const QStringList& args)
{
    if (args.size() != 2)
        return usageError(QStringLiteral("compare"));
    FileCompare fc;
    try {
        fc.Execute(args[0], args[1]);
    } catch (const std::exception& e) {
        const QString text = QString::fromUtf8(e.what()).replace(QLatin1Char('\n'), QStringLiteral(": "));
        std::fprintf(stderr, "orvo-cli compare: %s\n", text.toUtf8().constData());
        return 2;
    }
    RowWriter out;
    LegacyCells legacy;
    for (int c = 0; c < 3; ++c) {
        if (c)
            out.ch('\t');
        out.text(fc.Cells(c, 0));
    }
    out.endRow();
    for (int r = 1; r < fc.RowCount(); ++r) {
        markerCell(out, fc, r);
        out.ch('\t');
        lineCell(out, fc, 1, r, legacy);
        out.ch('\t');
        lineCell(out, fc, 2, r, legacy);
        out.endRow();
    }
    out.flush();
    return fc.HasDifferences() ? 1 : 0;
}

const Registration reg{"compare", "compare FILE1 FILE2", runCompare};

} // namespace
} // namespace cli
