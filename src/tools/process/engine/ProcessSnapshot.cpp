#include "tools/process/engine/ProcessSnapshot.h"
#include "platform/ShellInfo.h"
#include "tools/process/engine/ExecutableIcons.h"
#include <QHash>

namespace process {

QVector<ListRow> processRows(plat::IProcessInfo& info)
{
    const QList<plat::ProcessEntry> entries = info.processes();
    QVector<ListRow> rows;
    rows.reserve(entries.size());
    ExecutableIcons& icons = ExecutableIcons::instance();
    QHash<QString, int> iconOf;   // many processes share one executable
    for (const plat::ProcessEntry& p : entries) {
        const QString& exe = p.exePath.isEmpty() ? p.name : p.exePath;
        auto it = iconOf.constFind(exe);
        if (it == iconOf.constEnd())
            it = iconOf.insert(exe, icons.iconIndex(exe));
        rows.append(processRow(p, *it));
    }
    return rows;
}

QVector<ListRow> moduleRows(plat::IProcessInfo& info, quint32 pid)
{
    QVector<ListRow> rows;
    for (const plat::ModuleEntry& m : info.modules(pid))
        rows.append(moduleRow(m, plat::ShellInfo::describe(m.name, false).icon));
    return rows;
}

QVector<ListRow> windowRows(plat::IProcessInfo& info, const WindowOptions& options)
{
    QVector<ListRow> rows;
    QHash<quint32, QString> exeOf;
    ExecutableIcons& icons = ExecutableIcons::instance();
    for (const plat::WindowEntry& w : collectWindows(info.windows(), options)) {
        QString path;
        if (w.pid) {
            auto it = exeOf.constFind(w.pid);
            if (it == exeOf.constEnd())
                it = exeOf.insert(w.pid, info.executablePath(w.pid));
            path = *it;
        }
        rows.append(windowRow(w, path, icons.windowIconIndex(w.className, path)));
    }
    return rows;
}

} // namespace process
