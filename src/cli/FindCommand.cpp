// orvo-cli find: runs the search engine inline and prints one result row per line (name, folder, size
// text, date, separated by TAB), then the summary line of the search window.
#include "cli/Commands.h"
#include "cli/RowWriter.h"
#include "tools/search/engine/FindFile.h"
#include <QElapsedTimer>
#include <QDate>
#include <QTime>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace cli {
namespace {

using search::TDateTime;
using search::TFindFile;

// "yyyy-MM-dd" (a date), "yyyy-MM-dd HH:mm[:ss]" (a moment) or "HH:mm[:ss]" (a time of day).
std::optional<TDateTime> parseBound(const QString& text)
{
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2)
        return std::nullopt;
    TDateTime value = 0;
    qsizetype next = 0;
    if (parts[0].contains(u'-')) {
        const QDate d = QDate::fromString(parts[0], QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            return std::nullopt;
        value += search::encodeDate(d.year(), d.month(), d.day());
        next = 1;
    }
    if (next < parts.size()) {
        QTime t = QTime::fromString(parts[next], QStringLiteral("HH:mm:ss"));
        if (!t.isValid())
            t = QTime::fromString(parts[next], QStringLiteral("HH:mm"));
        if (!t.isValid() || next + 1 != parts.size())
            return std::nullopt;
        value += search::encodeTime(t.hour(), t.minute(), t.second());
    }
    return value;
}

std::optional<search::TFileAttributes> parseAttributes(const QString& letters)
{
    search::TFileAttributes set;
    for (const QChar c : letters) {
        switch (c.toUpper().unicode()) {
        case u'A': set.include(search::ffArchive); break;
        case u'R': set.include(search::ffReadonly); break;
        case u'H': set.include(search::ffHidden); break;
        case u'S': set.include(search::ffSystem); break;
        case u'D': set.include(search::ffDirectory); break;
        default: return std::nullopt;
        }
    }
    return set;
}

std::optional<qint64> parseKb(const QString& text)
{
    bool ok = false;
    const qint64 kb = text.toLongLong(&ok);
    if (!ok || kb < 0 || kb > (std::numeric_limits<qint64>::max() >> 10))
        return std::nullopt;
    return kb * 1024;
}

int runFind(const QStringList& args)
{
    const QString name = QStringLiteral("find");
    TFindFile finder;
    finder.setThreaded(false);
    std::optional<QString> location;
    int dateKind = 0;   // 0 creation, 1 modification, 2 access (the search window's default is creation)
    TDateTime before = 0, after = 0;
    try {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            const bool hasValue = i + 1 < args.size();
            if (a == QLatin1String("--location") && hasValue) {
                location = args[++i];
            } else if (a == QLatin1String("--name") && hasValue) {
                finder.setFilename(args[++i]);
            } else if (a == QLatin1String("--containing") && hasValue) {
                finder.setContaining(args[++i]);
            } else if (a == QLatin1String("--case-sensitive")) {
                finder.setIgnoreCase(false);
            } else if (a == QLatin1String("--no-subfolders")) {
                finder.setSubfolders(false);
            } else if (a == QLatin1String("--attributes") && hasValue) {
                const auto set = parseAttributes(args[++i]);
                if (!set)
                    return usageError(name);
                finder.setAttributes(*set);
            } else if (a == QLatin1String("--exact")) {
                finder.setExactAttribute(true);
            } else if ((a == QLatin1String("--min-kb") || a == QLatin1String("--max-kb")) && hasValue) {
                const auto bytes = parseKb(args[++i]);
                if (!bytes)
                    return usageError(name);
                a == QLatin1String("--min-kb") ? finder.setSizeMin(*bytes) : finder.setSizeMax(*bytes);
            } else if (a == QLatin1String("--created")) {
                dateKind = 0;
            } else if (a == QLatin1String("--modified")) {
                dateKind = 1;
            } else if (a == QLatin1String("--accessed")) {
                dateKind = 2;
            } else if ((a == QLatin1String("--after") || a == QLatin1String("--before")) && hasValue) {
                const auto value = parseBound(args[++i]);
                if (!value)
                    return usageError(name);
                (a == QLatin1String("--after") ? after : before) = *value;
            } else {
                return usageError(name);
            }
        }
        if (!location)
            return usageError(name);
        finder.setLocation(*location);
    } catch (const search::EFindFileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    switch (dateKind) {
    case 0: finder.setCreatedBefore(before); finder.setCreatedAfter(after); break;
    case 1: finder.setModifiedBefore(before); finder.setModifiedAfter(after); break;
    default: finder.setAccessedBefore(before); finder.setAccessedAfter(after); break;
    }

    RowWriter out(true);   // names may hold TABs and line breaks
    int rows = 0, folders = 0;
    finder.OnNewFolder = [&](TFindFile*, const QString&, bool&) { ++folders; };
    finder.OnFound = [&](TFindFile*, const QString& folder, const search::TSearchRec& rec) {
        ++rows;
        out.text(rec.Name);
        out.ch('\t');
        out.text(folder);
        out.ch('\t');
        out.text(search::foundSizeText(rec));
        out.ch('\t');
        out.text(search::foundDateText(rec));
        out.endRow();
    };
    QElapsedTimer clock;
    clock.start();
    finder.Execute();
    QString summary = QStringLiteral("%1 文件找到在 %2 文件夹 (%3 ms)").arg(rows).arg(folders).arg(clock.elapsed());
    if (finder.Aborted())
        summary.prepend(QStringLiteral("查找终止。 - "));
    out.text(summary);
    out.endRow();
    out.flush();
    if (!flushOut())
        return 1;
    return finder.Aborted() ? 1 : 0;
}

static const Registration findRegistration{
    "find",
    "find --location L [--name MASK] [--containing TEXT] [--case-sensitive] [--no-subfolders]\n"
    "     [--attributes LETTERS(ARHSD)] [--exact] [--min-kb N] [--max-kb N]\n"
    "     [--created|--modified|--accessed] [--after 'yyyy-MM-dd[ HH:mm:ss]'] [--before ...]",
    runFind};

} // namespace
} // namespace cli
