// orvo-cli ps: the process manager's lists from the command line, one row per line with TAB between the
// cells: the processes ("进程" through "dwFlags"), the modules of one process, or the top-level windows
// of the X11 display (all of them, untitled and owned ones included).
#include "cli/Commands.h"
#include "cli/RowWriter.h"
#include "platform/ProcessInfo.h"
#include "platform/X11Windows.h"
#include "tools/process/engine/ProcessRows.h"
#include <cstdio>

namespace cli {

namespace {

void writeRows(const QList<process::ListRow>& rows)
{
    RowWriter out(true);   // names may hold TABs and line breaks
    for (const process::ListRow& r : rows) {
        for (qsizetype i = 0; i < r.cells.size(); ++i) {
            if (i)
                out.ch('\t');
            out.text(r.cells[i]);
        }
        out.endRow();
    }
    out.flush();
}

int fail(const QString& text)
{
    std::fputs((QStringLiteral("orvo-cli ps: ") + text + u'\n').toLocal8Bit().constData(), stderr);
    return 1;
}

} // namespace

int runPs(const QStringList& args)
{
    enum { Processes, Modules, Windows } what = Processes;
    quint32 pid = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--modules") && i + 1 < args.size() && what == Processes) {
            what = Modules;
            pid = args[++i].toUInt(&ok);
        } else if (args[i] == QLatin1String("--windows") && what == Processes) {
            what = Windows;
        } else {
            ok = false;
        }
        if (!ok || (what == Modules && pid == 0))
            return usageError(QStringLiteral("ps"));
    }

    plat::LinuxProcessInfo info;
    QList<process::ListRow> rows;
    switch (what) {
    case Processes:
        for (const plat::ProcessEntry& p : info.processes())
            rows.append(process::processRow(p, -1));
        break;
    case Modules: {
        const QList<plat::ModuleEntry> modules = info.modules(pid);
        if (modules.isEmpty())
            return fail(QStringLiteral("no modules readable for process %1").arg(pid));
        for (const plat::ModuleEntry& m : modules)
            rows.append(process::moduleRow(m, -1));
        break;
    }
    case Windows: {
        const std::unique_ptr<plat::X11Windows> display = plat::X11Windows::openDisplay();
        if (!display)
            return fail(QStringLiteral("no X11 display: the window list needs one (set DISPLAY)"));
        info.setWindows(display.get());
        const process::WindowOptions all{process::Visibility::All, true, false};
        for (const plat::WindowEntry& w : process::collectWindows(info.windows(), all))
            rows.append(process::windowRow(w, w.pid ? info.executablePath(w.pid) : QString(), -1));
        break;
    }
    }
    writeRows(rows);
    return flushOut() ? 0 : 1;
}

static const Registration psRegistration{"ps", "ps [--modules PID | --windows]", runPs};

} // namespace cli
