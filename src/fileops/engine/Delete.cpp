#include "fileops/engine/Delete.h"
#include "fileops/engine/ErrorTexts.h"
#include "fileops/engine/FileOpTypes.h"
#include "fileops/engine/FileOperation.h"
#include "platform/posix/FileOps.h"
#include "fileops/engine/Trash.h"
#include "platform/Instances.h"
#include "platform/Services.h"
#include <cerrno>

namespace fileops {

namespace {

void postToInstances(int message)
{
    if (plat::IInstances* instances = plat::services().instances)
        instances->post(message);
}

} // namespace

bool DeleteItems(const QList<ListItem>& selected, bool permanent, FileOpPrompter& ui)
{
    BusyScope busy(ui);
    QStringList sources;
    bool changed = false;
    for (const ListItem& item : selected) {
        if (item.isDriveOrParent())
            continue;
        struct stat st;
        if (!plat::posix::lstatPath(item.path, st)) {
            ui.message(texts::missingSource(item.path));
            changed = true;
            continue;
        }
        sources << item.path;
    }
    if (sources.isEmpty())
        return changed;
    if (ShellFileOperation(ui, FO_DELETE, permanent, sources))
        return true;
    // A partly done delete is no success, but what went away must still leave the list.
    for (const QString& s : sources) {
        struct stat st;
        if (!plat::posix::lstatPath(s, st))
            changed = true;
    }
    return changed;
}

DeleteOutcome deleteSelection(const QList<ListItem>& selected, FileOpPrompter& ui)
{
    DeleteOutcome out;
    bool suspended = false;
    for (const ListItem& item : selected) {
        if (item.kind == QLatin1String("dir")) {
            postToInstances(plat::WM_TREE_SUSPEND);
            suspended = true;
            break;
        }
    }
    const auto a = ui.question(QStringLiteral("按“是”直接删除！按“否”放入回收站。"), QStringLiteral("删除"),
                               FileOpPrompter::EscCancels);
    if (a == FileOpPrompter::Cancel)
        out.cancelled = true;
    else
        out.changed = DeleteItems(selected, a == FileOpPrompter::Yes, ui);
    if (suspended)
        postToInstances(plat::WM_TREE_RESUME);
    return out;
}

bool askEmptyRecycleBin(FileOpPrompter& ui)
{
    if (ui.question(QStringLiteral("清空回收站？"), QStringLiteral("回收站")) != FileOpPrompter::Yes)
        return false;
    TrashCan::emptyAll();
    return true;
}

void openRecycleBin()
{
    TrashCan::openInFileManager();
}

bool deletePictures(const QStringList& files, FileOpPrompter& ui)
{
    const auto a = ui.question(QStringLiteral("按“是”直接删除图片\r\n按“否”放入回收站。"), QStringLiteral("删除"),
                               FileOpPrompter::EscCancels);
    if (a == FileOpPrompter::Cancel)
        return false;
    bool changed = false;
    for (const QString& f : files) {
        if (a == FileOpPrompter::No) {
            FileOpRequest r;
            r.op = FO_DELETE;
            r.flags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT;
            r.sources = {f};
            runFileOperation(r, ui);
        } else if (const int e = plat::posix::removeFile(f).code) {
            ui.error(texts::failure(ItemError::system(Verb::Delete, e, f, QStringLiteral("unlink"))));
        }
        struct stat st;
        if (!plat::posix::lstatPath(f, st))
            changed = true;
    }
    return changed;
}

} // namespace fileops
