// orvo-cli split and merge: the split/merge window's engine without the window. Existing pieces and
// outputs are replaced without asking; a piece or output that is a file being read is refused.
#include "cli/Commands.h"
#include "tools/splitmerge/engine/FileSplitter.h"
#include "tools/splitmerge/engine/SplitFields.h"
#include "tools/splitmerge/engine/SplitMergeError.h"
#include <cstdio>

namespace cli {
namespace {

int fail(const QString& text)
{
    std::fputs((QStringLiteral("orvo-cli: ") + text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return 1;
}

bool positive(const QString& text, qint64* value)
{
    return splitmerge::parseField(text, value) && *value > 0;
}

int runSplit(const QStringList& args)
{
    qint64 count = 0;
    qint64 size = 0;
    qint64 start = 0;
    QStringList paths;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--count") && hasValue && count == 0 && size == 0) {
            if (!positive(args[++i], &count))
                return usageError(QStringLiteral("split"));
        } else if (a == QLatin1String("--size") && hasValue && count == 0 && size == 0) {
            if (!positive(args[++i], &size))
                return usageError(QStringLiteral("split"));
        } else if (a == QLatin1String("--start") && hasValue) {
            if (!splitmerge::parseField(args[++i], &start))
                return usageError(QStringLiteral("split"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return usageError(QStringLiteral("split"));
        } else {
            paths.append(a);
        }
    }
    if (paths.size() != 2 || (count == 0 && size == 0))
        return usageError(QStringLiteral("split"));

    try {
        splitmerge::FileSplitter file;
        file.Open(paths[0], false);
        if (file.Size() == 0)
            return fail(QStringLiteral("文件为空,不能分割。"));
        if (start >= file.Size())
            return fail(QStringLiteral("分割开始位置超出文件大小: ") + QString::number(start));
        file.SetPosition(start);
        // The count settles with the size exactly as the window's fields do.
        const splitmerge::SplitFields f = count > 0
                                              ? splitmerge::settleFromCount(file.Available(), count, {})
                                              : splitmerge::settleFromSize(file.Available(), size, {});
        file.OnReplace = [](splitmerge::FileSplitter*, const QString&) { return true; };
        file.Split(paths[1], f.size);
    } catch (const EOrvoError& e) {
        return fail(e.message());
    }
    return 0;
}

int runMerge(const QStringList& args)
{
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) || args[1].startsWith(QLatin1String("--")))
        return usageError(QStringLiteral("merge"));
    try {
        splitmerge::PieceMerger merger(splitmerge::mergeBase(args[0]), args[1]);
        merger.Execute();
    } catch (const EOrvoError& e) {
        return fail(e.message());
    }
    return 0;
}

const Registration splitRegistration{"split", "split (--count N|--size BYTES) [--start POS] FILE BASE", runSplit};
const Registration mergeRegistration{"merge", "merge PIECE OUT", runMerge};

} // namespace
} // namespace cli
