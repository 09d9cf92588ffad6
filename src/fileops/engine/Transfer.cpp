#include "fileops/engine/Transfer.h"
#include "fileops/engine/ErrorTexts.h"
#include "fileops/engine/FileOpTypes.h"
#include "fileops/engine/FileOperation.h"
#include "platform/posix/FileOps.h"
#include "platform/Path.h"
#include <algorithm>

namespace fileops {

namespace path = plat::path;

QString dirboxHintStart()
{
    return QStringLiteral("要剪切或复制的文件列表");
}

QString dirboxHintCut()
{
    return QStringLiteral("要剪切的文件");
}

QString dirboxHintCopy()
{
    return QStringLiteral("要复制的文件");
}

namespace {

bool sameFolder(const QString& a, const QString& b)
{
    return a == b || (path::isDirectory(a) && plat::posix::sameFile(a, b));
}

} // namespace

void TransferList::CutCopy(const QList<ListItem>& selected, int mode, FileOpPrompter& ui)
{
    ClipOperation = kCollecting;
    ClipList.clear();
    for (const ListItem& item : selected) {
        if (item.isDriveOrParent()) {
            ui.message(texts::driveOrParentNotTransferred());
            continue;
        }
        ClipList << item.path;
    }
    ClipOperation = mode;
}

bool TransferList::PasteFiles(const QString& destination, bool renameOnCollision, FileOpPrompter& ui)
{
    if (!path::isDirectory(destination)) {
        ui.error(texts::pasteTargetMissing());
        return false;
    }
    if (ClipList.isEmpty()) {
        ui.warning(texts::nothingToPaste());
        return false;
    }
    BusyScope busy(ui);
    const bool move = ClipOperation == kMove;
    const QString d = path::withTrailingSep(destination);
    QString f;
    bool any = false;
    QList<qsizetype> moved;
    for (qsizetype i = 0; i < ClipList.size(); ++i) {
        const QString s = ClipList[i];
        if (f.isEmpty())
            f = path::folderPart(s);
        struct stat ls;
        const bool exists = plat::posix::lstatPath(s, ls);
        if (path::isDirectory(s)) {
            // By text as the user sees it, and by identity so that links and bind mounts cannot hide it.
            const bool real = exists && S_ISDIR(ls.st_mode);
            if (s + u'/' == d || (real && plat::posix::fileId(d) == plat::posix::FileId::of(ls))) {
                ui.message(texts::sameFolderAsSource(s));
                continue;
            }
            if (d.startsWith(s + u'/') || (real && plat::posix::folderIsOrIsUnder(d, ls))) {
                ui.message(texts::targetInsideSource(s));
                continue;
            }
        }
        if (sameFolder(f, d) && (move || !renameOnCollision))
            break;
        const QString t = d + path::namePart(s);
        if (!exists) {
            ui.message(texts::missingSource(s));
            continue;
        }
        if (ShellFileOperation(ui, platformOp(ClipOperation), renameOnCollision, {s}, {t})) {
            any = true;
            if (move)
                moved << i;
        }
    }
    if (any) {
        if (OnRelist)
            OnRelist();
        std::for_each(moved.rbegin(), moved.rend(), [&](qsizetype i) { ClipList.removeAt(i); });
    }
    return any;
}

QString pasteQuestion(const QString& hint, const QString& path, bool listTwo)
{
    if (listTwo)
        return QStringLiteral("确定") + hint + QStringLiteral("到“") + path + QStringLiteral("”吗？");
    return QStringLiteral("确定") + hint + QStringLiteral("到\"") + path + QStringLiteral("\"吗？");
}

PasteOutcome pasteCommand(TransferList& list, bool listTwo, const QString& pathText, const QString& hint,
                          bool renameOnCollision, FileOpPrompter& ui)
{
    PasteOutcome out;
    if (pathText.toUpper() == QLatin1String("DRIVES")) {
        ui.error(texts::pasteIntoDrives());
        return out;
    }
    if (pathText.isEmpty()) {
        ui.error(texts::pasteTargetEmpty());
        return out;
    }
    if (ui.question(pasteQuestion(hint, pathText, listTwo), QStringLiteral("粘贴")) != FileOpPrompter::Yes) {
        out.step = PasteOutcome::Declined;
        return out;
    }
    out.step = PasteOutcome::Pasted;
    out.transferred = list.PasteFiles(pathText, renameOnCollision, ui);
    out.pendingEmpty = list.ClipList.isEmpty();
    return out;
}

} // namespace fileops
