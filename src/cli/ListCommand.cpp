// orvo-cli list: lists a folder or the volumes exactly as a file list with the main window's settings
// and prints one row per line, caption and sub-items separated by TAB.
#include "cli/Commands.h"
#include "cli/RowWriter.h"
#include "filelist/engine/FileLister.h"
#include "filelist/engine/RowFormats.h"
#include <QStringEncoder>
#include <cstdio>
#include <string>

namespace cli {
namespace {

// Writes the caption and the eight sub-items of a file row, the texts FileLister::caption and subItem
// give, straight into the output (no text is built per cell). `dir` is the listed folder in UTF-8.
void writeFileRow(RowWriter& out, const filelist::FileRow& r, const QByteArray& dir)
{
    constexpr qsizetype kTime = plat::kTimeTextLength;
    out.text(filelist::captionView(r));
    out.ch('\t');
    char size[filelist::kSizeTextRoom];
    out.bytes(QByteArrayView(size, filelist::writeSizeText(r.size, r.isDir(), size)));
    out.ch('\t');
    out.text(r.type);
    out.ch('\t');
    out.bytes(QByteArrayView(r.modified, kTime));
    out.ch('\t');
    out.bytes(QByteArrayView(r.created, kTime));
    out.ch('\t');
    out.bytes(dir);
    out.text(r.name);
    out.ch('\t');
    out.bytes(r.isDir() ? QByteArrayView("dir") : QByteArrayView("file"));
    out.ch('\t');
    out.bytes(QByteArrayView(r.accessed, kTime));
    out.ch('\t');
    out.text(filelist::attributeText(r.attrs));
    out.endRow();
}

} // namespace

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
    if (!lister.DriveColumnsShown()) {
        const QByteArray dir = lister.listedFolder().toUtf8();
        const int rows = lister.rowCount();
        constexpr int kAhead = 16;   // rows are visited in sorted order, scattered in memory: fetch ahead
        for (int row = 0; row < rows; ++row) {
            if (const filelist::FileRow* next = lister.fileRow(row + kAhead))
                __builtin_prefetch(next);
            if (const filelist::FileRow* near = lister.fileRow(row + kAhead / 2))
                __builtin_prefetch(near->name.constData());
            writeFileRow(out, *lister.fileRow(row), dir);
        }
        out.flush();
        return flushOut() ? 0 : 1;
    }
    const int subItems = 6;
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
