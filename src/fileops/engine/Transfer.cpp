#include "fileops/engine/Transfer.h"
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

bool statFollow(const QString& p, struct stat& st)
{
    return !p.isEmpty() && ::stat(plat::posix::encodePath(p).constData(), &st) == 0;
}

bool sameFolder(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    struct stat sa, sb;
    return statFollow(a, sa) && statFollow(b, sb) && S_ISDIR(sa.st_mode) && plat::posix::sameIdentity(sa, sb);
}

} // namespace

void TTransferList::CutCopy(const QList<ListItem>& selected, int mode, FileOpPrompter& ui)
{
    ClipOperation = kCollecting;
    ClipList.clear();
    for (const ListItem& item : selected) {
        if (item.isDriveOrParent()) {
            ui.message(QStringLiteral("  磁盘或上一级文件夹不能复制或者剪贴。此项操作已跳过。"));
            continue;
        }
        ClipList << item.path;
    }
    ClipOperation = mode;
}

bool TTransferList::PasteFiles(const QString& destination, bool renameOnCollision, FileOpPrompter& ui)
{
    if (!path::isDirectory(destination)) {
        ui.error(QStringLiteral("粘贴到的路径不存在，粘贴取消。"));
        return false;
    }
    if (ClipList.isEmpty()) {
        ui.warning(QStringLiteral("无文件选择复制或是剪切。"));
        return false;
    }
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
            struct stat ds;
            const bool real = exists && S_ISDIR(ls.st_mode);
            if (s + u'/' == d || (real && statFollow(d, ds) && plat::posix::sameIdentity(ls, ds))) {
                ui.message(QStringLiteral("目标文件夹“") + s + QStringLiteral("”和源文件夹相同，此项操作取消。"));
                continue;
            }
            if (d.startsWith(s + u'/') || (real && plat::posix::folderIsOrIsUnder(d, ls))) {
                ui.message(QStringLiteral("目标文件夹是源文件夹“") + s + QStringLiteral("”的子文件夹，此项操作取消。"));
                continue;
            }
        }
        if (sameFolder(f, d) && (move || !renameOnCollision))
            break;
        const QString t = d + path::namePart(s);
        if (!exists) {
            ui.message(QStringLiteral("无法读取源文件（夹）“") + s +
                       QStringLiteral("”，源文件（夹）不存在，可能被删除或者被改名了。此项操作取消。"));
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

PasteOutcome pasteCommand(TTransferList& list, bool listTwo, const QString& pathText, const QString& hint,
                          bool renameOnCollision, FileOpPrompter& ui)
{
    PasteOutcome out;
    if (pathText.toUpper() == QLatin1String("DRIVES")) {
        ui.error(QStringLiteral("不能粘贴到DRIVES，粘贴已取消。"));
        return out;
    }
    if (pathText.isEmpty()) {
        ui.error(QStringLiteral("粘贴到的路径不能为空，粘贴已取消。"));
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
