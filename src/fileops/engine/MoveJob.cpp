#include "fileops/engine/MoveJob.h"
#include "platform/posix/FileOps.h"
#include <cerrno>
#include <fcntl.h>

namespace fileops {

using namespace plat::posix;

namespace {

// An entry of a moved source that stayed: the errno value (ESTALE for "changed or new since it was
// copied", ENOTSUP for "the target could not hold its owner or attributes") and its path.
struct Kept {
    int code;
    QByteArray path;
};

// Removes a moved source `name` below `dirFd` (shown as `path`), leaving anything that was not copied or has
// changed since; every entry that stays is added to `kept`, and the folders holding it stay too.
void removeMovedAt(int dirFd, const QByteArray& name, const QByteArray& path, const CopiedSet& copied,
                   QList<Kept>& kept)
{
    struct stat st;
    if (const int e = lstatAt(dirFd, name.constData(), st))
        return kept.append({e, path});
    if (copied.partial(st))
        return kept.append({ENOTSUP, path});
    if (!copied.unchanged(st))
        return kept.append({ESTALE, path});
    if (!S_ISDIR(st.st_mode)) {
        if (const int e = removeAt(dirFd, name.constData()))
            kept.append({e, path});
        return;
    }
    Fd fd = openAt(dirFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (!fd.valid())
        return kept.append({errno, path});
    struct stat again;
    if (statFd(fd.get(), again) != 0 || FileId::of(again) != FileId::of(st))
        return kept.append({ESTALE, path});
    QList<QByteArray> names;
    if (const int e = listNames(fd.get(), names))
        return kept.append({e, path});
    const qsizetype before = kept.size();
    for (const QByteArray& n : names)
        removeMovedAt(fd.get(), n, path + '/' + n, copied, kept);
    if (kept.size() != before)
        return;   // the folder holds what stayed
    fd.reset();
    if (const int e = removeDirAt(dirFd, name.constData()))
        kept.append({e, path});
}

} // namespace

StepResult MoveJob::placeItem(const QString& src, const struct stat& ss, int dstDirFd, const QString& name,
                              Place mode)
{
    if (!FileOpHooks::forceCrossDevice) {
        const int e = placeEntry(AT_FDCWD, encodePath(src), dstDirFd, name, mode);
        if (e == 0)
            return StepResult::done();
        if (e != EXDEV)
            return StepResult::failed(ItemError::system(Verb::Move, e, src, QStringLiteral("rename")));
    }
    CopiedSet copied;
    const StepResult copy = TreeCopier(Verb::Move, m_progress, &copied).copyEntry(src, ss, dstDirFd, name, mode);
    if (copy.state != StepResult::Done)
        return copy;
    QList<Kept> kept;
    const QByteArray top = encodePath(src);
    removeMovedAt(AT_FDCWD, top, top, copied, kept);
    // Every entry that stayed is reported; the last one ends the step.
    const auto error = [](const Kept& k) {
        if (k.code == ESTALE)
            return ItemError::refusal(Verb::Delete, ItemError::ChangedDuringMove, decodePath(k.path), ESTALE);
        if (k.code == ENOTSUP)
            return ItemError::refusal(Verb::Delete, ItemError::NotKeptWhole, decodePath(k.path), ENOTSUP);
        return ItemError::system(Verb::Delete, k.code, decodePath(k.path), QStringLiteral("remove"));
    };
    if (kept.isEmpty())
        return StepResult::done();
    for (qsizetype i = 0; i + 1 < kept.size(); ++i)
        note(error(kept[i]));
    return StepResult::failed(error(kept.last()));
}

} // namespace fileops
