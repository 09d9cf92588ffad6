// orvo-cli attr and redate: the attribute window's texts of items, changes of their attributes and times
// by the window's rules, and the date rewrite of files.
#include "cli/Commands.h"
#include "cli/RowWriter.h"
#include "platform/FileSystem.h"
#include "platform/Times.h"
#include "platform/posix/SysError.h"
#include "properties/engine/AttributeApply.h"
#include "properties/engine/DateRewrite.h"
#include "properties/engine/ItemInfo.h"
#include <cstdio>
#include <cstring>
#include <optional>

namespace cli {
namespace {

const char* const kAttrUsage =
    "attr [--set [--readonly 0|1] [--hidden 0|1] [--modified T] [--accessed T]] PATH...\n"
    "(T is \"yyyy-mm-dd hh:mm:ss\" in local time; orvo-cli attr --help explains)";
const char* const kRedateUsage = "redate T PATH...";

const char* const kAttrHelp =
    "usage: orvo-cli attr PATH...\n"
    "       orvo-cli attr --set [--readonly 0|1] [--hidden 0|1] [--modified T] [--accessed T] PATH...\n"
    "       orvo-cli redate T PATH...\n"
    "\n"
    "attr PATH... prints one line per item, the attribute window's texts separated by TAB:\n"
    "  name, type, size text, MS-DOS name (always empty), creation, modification and access time\n"
    "  (\"yyyy-mm-dd hh:mm:ss\", local time), then read-only, archive, system and hidden as 0 or 1.\n"
    "  A name holding a TAB, a line break or a leading backslash is escaped and the line starts with \"\\\".\n"
    "\n"
    "attr --set changes each PATH as the window's OK does and prints nothing:\n"
    "  --readonly 0|1  clears or sets the read-only attribute (the owner's write permission)\n"
    "  --hidden 0|1    lists or unlists the name in its folder's .hidden file (a dot-name stays hidden)\n"
    "  --modified T    the modification time\n"
    "  --accessed T    the access time\n"
    "  Only what differs is written; a time that differs is stored on the two-second grid (1980-2107),\n"
    "  every other time stays exactly as it was. The creation time cannot be set on Linux. A read-only\n"
    "  file's times are not changed (clear --readonly in the same call), nor a folder's.\n"
    "\n"
    "redate T PATH... sets the modification time of each file to T (midnight becomes 00:00:02, then the\n"
    "  two-second grid); folders are skipped; it stops at the first file it cannot open.\n"
    "\n"
    "T is \"yyyy-mm-dd hh:mm:ss\" in local time. Exit status: 0 done, 1 an item failed, 2 usage error.\n";

void printError(const char* command, const QString& text)
{
    const QByteArray line = QByteArray("orvo-cli ") + command + ": " + text.toUtf8() + '\n';
    std::fputs(line.constData(), stderr);
}

QString reason(int error)
{
    return plat::posix::errnoText(error);
}

int showItems(const QStringList& paths)
{
    RowWriter out(true);   // names may hold TABs and line breaks
    int code = 0;
    for (const QString& path : paths) {
        int error = 0;
        const std::optional<properties::ItemInfo> item = properties::readItem(path, &error);
        if (!item) {
            printError("attr", path + QStringLiteral(": ") + reason(error));
            code = 1;
            continue;
        }
        const auto bit = [&](quint32 b) { return (item->attributes & b) ? QStringLiteral("1") : QStringLiteral("0"); };
        const QString cells[] = {item->name,
                                 item->typeName,
                                 properties::sizeText(item->size),
                                 item->shortName,
                                 properties::timeText(item->creation),
                                 properties::timeText(item->write),
                                 properties::timeText(item->access),
                                 bit(plat::kAttrReadOnly),
                                 bit(plat::kAttrArchive),
                                 bit(plat::kAttrSystem),
                                 bit(plat::kAttrHidden)};
        bool first = true;
        for (const QString& c : cells) {
            if (!first)
                out.ch('\t');
            first = false;
            out.text(c);
        }
        out.endRow();
    }
    out.flush();
    return code;
}

struct SetOptions {
    std::optional<bool> readOnly, hidden;
    std::optional<QString> modified, accessed;
};

int setItems(const SetOptions& o, const QStringList& paths)
{
    int code = 0;
    for (const QString& path : paths) {
        int error = 0;
        const std::optional<properties::ItemInfo> item = properties::readItem(path, &error);
        if (!item) {
            printError("attr", path + QStringLiteral(": ") + reason(error));
            code = 1;
            continue;
        }
        properties::AttributeSettings s = properties::AttributeSettings::of(*item);
        if (o.readOnly)
            s.readOnly = *o.readOnly;
        if (o.hidden)
            s.hidden = *o.hidden;
        if (o.modified)
            s.writeText = *o.modified;
        if (o.accessed)
            s.accessText = *o.accessed;
        try {
            const properties::ApplyResult r = properties::applySettings(*item, s);
            if (r.attributeError) {
                printError("attr", path + QStringLiteral(": cannot set the attributes: ") + reason(r.attributeError));
                code = 1;
            }
            if (r.timeError) {
                printError("attr", path + QStringLiteral(": ") + properties::timeChangeFailedText().replace(u'\r', u' ')
                                       + QStringLiteral(" (") + reason(r.timeError) + u')');
                code = 1;
            } else if ((r.writeRequested || r.accessRequested) && !r.timesWritten) {
                printError("attr", path + QStringLiteral(": a folder's times are not changed"));
                code = 1;
            }
        } catch (const std::exception& e) {
            printError("attr", QString::fromUtf8(e.what()));
            return 2;
        }
    }
    return code;
}

std::optional<bool> flag(const QString& v)
{
    if (v == QLatin1String("0"))
        return false;
    if (v == QLatin1String("1"))
        return true;
    return std::nullopt;
}

bool isTimeText(const QString& t)
{
    return plat::parseLocalTime(t).has_value();
}

int runAttr(const QStringList& args)
{
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        writeOut(kAttrHelp, std::strlen(kAttrHelp));
        return 0;
    }
    bool set = false;
    SetOptions o;
    QStringList paths;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (optionsEnded || !a.startsWith(u'-')) {
            paths << a;
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (a == QLatin1String("--set")) {
            set = true;
        } else if ((a == QLatin1String("--readonly") || a == QLatin1String("--hidden")) && hasValue) {
            const std::optional<bool> v = flag(args[++i]);
            if (!v)
                return usageError(QStringLiteral("attr"));
            (a == QLatin1String("--readonly") ? o.readOnly : o.hidden) = v;
        } else if ((a == QLatin1String("--modified") || a == QLatin1String("--accessed")) && hasValue) {
            const QString t = args[++i];
            if (!isTimeText(t)) {
                printError("attr", QStringLiteral("“%1”不是有效的日期时间").arg(t));
                return usageError(QStringLiteral("attr"));
            }
            (a == QLatin1String("--modified") ? o.modified : o.accessed) = t;
        } else {
            return usageError(QStringLiteral("attr"));
        }
    }
    const bool changes = o.readOnly || o.hidden || o.modified || o.accessed;
    if (paths.isEmpty() || changes != set)
        return usageError(QStringLiteral("attr"));
    return set ? setItems(o, paths) : showItems(paths);
}

int runRedate(const QStringList& args)
{
    if (args.size() < 2)
        return usageError(QStringLiteral("redate"));
    const std::optional<plat::posix::FileTime> parsed = plat::parseLocalTime(args[0]);
    if (!parsed) {
        printError("redate", QStringLiteral("“%1”不是有效的日期时间").arg(args[0]));
        return usageError(QStringLiteral("redate"));
    }
    const QDate date(args[0].mid(0, 4).toInt(), args[0].mid(5, 2).toInt(), args[0].mid(8, 2).toInt());
    const QTime time(args[0].mid(11, 2).toInt(), args[0].mid(14, 2).toInt(), args[0].mid(17, 2).toInt());
    QStringList files;
    for (const QString& p : args.mid(1)) {
        int error = 0;
        const std::optional<properties::ItemInfo> item = properties::readItem(p, &error);
        if (item && item->isDir())
            continue;   // files only
        files << p;     // a missing file fails to open below, in its turn
    }
    try {
        const properties::RewriteOutcome o = properties::rewriteWriteTimes(files, date, time);
        if (o.failedIndex < 0)
            return 0;
        printError("redate", properties::cannotOpenText(files[o.failedIndex]) + QStringLiteral(": ") + reason(o.error));
        return 1;
    } catch (const std::exception& e) {
        printError("redate", QString::fromUtf8(e.what()));
        return 2;
    }
}

const Registration attrRegistration{"attr", kAttrUsage, runAttr};
const Registration redateRegistration{"redate", kRedateUsage, runRedate};

} // namespace
} // namespace cli
