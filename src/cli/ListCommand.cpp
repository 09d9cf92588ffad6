// orvo-cli list: lists a folder or the volumes exactly as a file list with the main window's settings
// and prints one row per line, caption and sub-items separated by TAB.
#include "cli/Commands.h"
#include "cli/RowWriter.h"
#include "filelist/engine/FileLister.h"
#include <QStringEncoder>
#include <cstdio>
#include <string>

namespace cli {

int runList(const QStringList& args)
{
    filelist::FileLister lister;
    lister.setReadOnly(true);   // no listing while the options are applied
    lister.setFileType(1 | 2 | 4 | 32 | 128);   // the main window's filter: all five members
    QString mask = QStringLiteral("*.*");
    QList<int> clicks;
    QString target;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--mask") && i + 1 < args.size()) {
            mask = args[++i];
        } else if (a == QLatin1String("--no-folders")) {
            lister.setShowFolders(false);
        } else if (a == QLatin1String("--no-parent")) {
            lister.setParentDirEnabled(false);
        } else if (a == QLatin1String("--hide-ext")) {
            lister.setHideFileExt(true);
        } else if (a == QLatin1String("--show-hidden")) {
            lister.setHhf(false);
        } else if (a == QLatin1String("--show-system")) {
            lister.setHsf(false);
        } else if (a == QLatin1String("--click") && i + 1 < args.size()) {
            bool ok = false;
            const int c = args[++i].toInt(&ok);
            if (!ok || c < 0) {
                usageError(QStringLiteral("list"));
                return 2;
            }
            clicks.append(c);
        } else if (a == QLatin1String("--")) {
            if (i + 2 != args.size()) {
                usageError(QStringLiteral("list"));
                return 2;
            }
            target = args[++i];
        } else if (a.startsWith(u'-') || !target.isEmpty()) {
            usageError(QStringLiteral("list"));
            return 2;
        } else {
            target = a;
        }
    }
    if (target.isEmpty()) {
        usageError(QStringLiteral("list"));
        return 2;
    }
    lister.setMask(mask);
    lister.setReadOnly(false);
    const int before = lister.listings();
    lister.setDirectory(target);
    if (lister.listings() == before)
        lister.UpdateFileList();   // the stored value already named the drive list
    for (int c : clicks)
        lister.ColumnClick(c);

    RowWriter out(true);   // names may hold TABs and line breaks
    const int subItems = lister.DriveColumnsShown() ? 6 : 8;
    for (int row = 0; row < lister.rowCount(); ++row) {
        out.text(lister.caption(row));
        for (int i = 0; i < subItems; ++i) {
            out.ch('\t');
            out.text(lister.subItem(row, i));
        }
        out.endRow();
    }
    out.flush();
    return flushOut() ? 0 : 1;
}

static const Registration listRegistration{
    "list",
    "list [--mask M] [--no-folders] [--no-parent] [--hide-ext] [--show-hidden] [--show-system]\n"
    "     [--click COL]... DIR|DRIVES",
    runList};

} // namespace cli
