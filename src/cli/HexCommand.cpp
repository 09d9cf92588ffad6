// orvo-cli hex: prints rows of the hex grid as text, cell for cell as the grid draws them (offset text,
// marker column, nibble columns with the group gaps, separator, masked character pane).
#include "cli/Commands.h"
#include "platform/posix/SysError.h"
#include "tools/hexview/engine/HexLayout.h"
#include "tools/hexview/engine/HexSource.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>

namespace cli {
namespace {

const char* const kName = "hex";

bool parseCount(const QString& text, qint64 min, qint64 max, qint64& out)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return false;
    out = v;
    return true;
}

int runHex(const QStringList& args)
{
    hexview::HexLayout layout;
    qint64 offset = 0;
    qint64 rows = -1;
    QString file;
    const auto usage = [] { return usageError(QString::fromLatin1(kName)); };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        qint64 n = 0;
        if (a == QLatin1String("--offset") && hasValue) {
            if (!parseCount(args[++i], 0, std::numeric_limits<qint64>::max(), offset))
                return usage();
        } else if (a == QLatin1String("--rows") && hasValue) {
            if (!parseCount(args[++i], 0, std::numeric_limits<qint64>::max(), rows))
                return usage();
        } else if (a == QLatin1String("--bytes-per-line") && hasValue) {
            if (!parseCount(args[++i], 1, 256, n))
                return usage();
            layout.bytesPerLine = int(n);
        } else if (a == QLatin1String("--bytes-per-column") && hasValue) {
            if (!parseCount(args[++i], 1, 256, n))
                return usage();
            layout.bytesPerColumn = int(n);
        } else if (a == QLatin1String("--offset-style") && hasValue) {
            const QString s = args[++i];
            if (s == QLatin1String("hex"))
                layout.offsetDisplay = odHex;
            else if (s == QLatin1String("dec"))
                layout.offsetDisplay = odDec;
            else if (s == QLatin1String("octal"))
                layout.offsetDisplay = odOctal;
            else if (s == QLatin1String("none"))
                layout.offsetDisplay = odNone;
            else
                return usage();
        } else if (a.startsWith(u'-') || !file.isEmpty()) {
            return usage();
        } else {
            file = a;
        }
    }
    if (file.isEmpty())
        return usage();
    hexview::HexSource source(false);
    if (!source.loadFromFile(file)) {
        const QByteArray line = QByteArray("orvo-cli hex: ") + file.toUtf8() + ": "
                                + plat::posix::errnoText(errno).toUtf8() + '\n';
        std::fputs(line.constData(), stderr);
        return 1;
    }
    // Rows start at multiples of the line length, as in the grid.
    const qint64 first = offset / layout.bytesPerLine;
    const qint64 end = rows < 0 ? layout.rowCount(source.size()) : std::min(layout.rowCount(source.size()), first + rows);
    QByteArray lines;
    for (qint64 row = first; row < end; ++row) {
        layout.appendRowUtf8(source, row, lines);
        lines += '\n';
        if (lines.size() >= 65536 || row + 1 == end) {
            writeOut(lines.constData(), size_t(lines.size()));
            lines.clear();
        }
    }
    return flushOut() ? 0 : 1;
}

const Registration hexRegistration{
    kName,
    "hex [--offset N] [--rows N] [--bytes-per-line N] [--bytes-per-column N]\n"
    "    [--offset-style hex|dec|octal|none] FILE   (rows as the hex grid draws them)",
    runHex};

} // namespace
} // namespace cli
