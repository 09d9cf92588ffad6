#include "fileops/engine/FlyingOp.h"
#include "fileops/engine/ErrorTexts.h"
#include "fileops/engine/FileOpTypes.h"
#include "fileops/engine/FileOperation.h"
#include "platform/posix/FileOps.h"
#include "platform/Path.h"

namespace fileops {

namespace path = plat::path;

bool TFlyingOp::CopyFiles(bool renameOnCollision)
{
    return run(FO_COPY, renameOnCollision);
}

bool TFlyingOp::MoveFiles(bool renameOnCollision)
{
    return run(FO_MOVE, renameOnCollision);
}

bool TFlyingOp::run(int op, bool renameOnCollision)
{
    SilentPrompter silent;
    FileOpPrompter& ui = Prompter ? *Prompter : silent;
    if (FileList.isEmpty())
        return false;
    if (DestinationDirectory.isEmpty()) {
        ui.message(texts::dropTargetEmpty());
        return false;
    }
    QStringList sources, targets;
    const std::optional<plat::posix::FileId> dst = plat::posix::fileId(DestinationDirectory);
    for (const QString& e : FileList) {
        if (SourceDirectory.isEmpty())
            SourceDirectory = path::folderPart(e);
        const QString n = path::namePart(e);
        struct stat ls;
        const bool exists = plat::posix::lstatPath(e, ls);
        if (path::isDirectory(e)) {
            const bool real = exists && S_ISDIR(ls.st_mode);
            if (e + u'/' == DestinationDirectory || (real && dst == plat::posix::FileId::of(ls))) {
                ui.message(texts::sameFolderAsSource(e));
                continue;
            }
            if (DestinationDirectory.startsWith(e + u'/') || (real && plat::posix::folderIsOrIsUnder(DestinationDirectory, ls))) {
                ui.message(texts::targetInsideSource(e));
                continue;
            }
        }
        if (exists) {
            sources << e;
            targets << DestinationDirectory + n;
        } else {
            ui.message(texts::missingSource(e));
        }
    }
    if (sources.isEmpty())
        return false;
    if (SourceDirectory == DestinationDirectory) {
        const auto a = ui.question(QStringLiteral("拖放操作在同一文件夹里,是否继续？"), QStringLiteral("提示"));
        if (!(a == FileOpPrompter::Yes && op == FO_COPY && renameOnCollision))
            return false;
    }
    FileOpRequest r;
    r.op = op;
    r.flags = FOF_ALLOWUNDO | FOF_MULTIDESTFILES;
    if (renameOnCollision)
        r.flags |= FOF_RENAMEONCOLLISION;
    if (CreateDirectory)
        r.flags |= FOF_NOCONFIRMMKDIR;
    r.sources = sources;
    r.targets = targets;
    const FileOpResult res = runFileOperation(r, ui);
    if (!res.success()) {
        // A partly done operation is reported, never taken for a success.
        ui.message(res.ok && res.anyAborted ? texts::dropCancelled() : texts::dropFailed());
        Aborted = true;
        return false;
    }
    Aborted = false;
    return true;
}

} // namespace fileops
