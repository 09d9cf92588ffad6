#include "fileops/engine/MoveJob.h"
#include "platform/posix/FileOps.h"
#include <cerrno>
#include <fcntl.h>

namespace fileops {

using namespace plat::posix;

namespace {

// Removes a moved source below `dirFd`, leaving anything that was not copied or has changed since.
// Returns 0, or an errno value with `failed` set to the entry that stayed; ESTALE stands for "changed or new".
int removeMovedAt(int dirFd, const QByteArray& name, const CopiedSet& copied, QByteArray& failed)
{
    const auto keep = [&](int e) {
        failed = name;
        return e;
    };
    struct stat st;
    if (const int e = lstatAt(dirFd, name.constData(), st))
        return keep(e);
    if (!copied.unchanged(st))
        return keep(ESTALE);
    if (!S_ISDIR(st.st_mode)) {
        if (const int e = removeAt(dirFd, name.constData()))
            return keep(e);
        return 0;
    }
    Fd fd = openAt(dirFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (!fd.valid())
        return keep(errno);
    struct stat again;
    if (statFd(fd.get(), again) != 0 || FileId::of(again) != FileId::of(st))
        return keep(ESTALE);
    QList<QByteArray> names;
    if (const int e = listNames(fd.get(), names))
        return keep(e);
    int first = 0;
    QByteArray firstFailed;
    for (const QByteArray& n : names) {
        QByteArray inner;
        if (const int e = removeMovedAt(fd.get(), n, copied, inner); e && !first) {
            first = e;
            firstFailed = name + '/' + inner;
        }
    }
    if (first) {
        failed = firstFailed;
        return first;
    }
    fd.reset();
    if (const int e = removeDirAt(dirFd, name.constData()))
        return keep(e);
    return 0;
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
    QByteArray failed;
    const int e = removeMovedAt(AT_FDCWD, encodePath(src), copied, failed);
    if (e == ESTALE)
        return StepResult::failed(
            ItemError::refusal(Verb::Delete, ItemError::ChangedDuringMove, decodePath(failed), ESTALE));
    if (e)
        return StepResult::failed(ItemError::system(Verb::Delete, e, decodePath(failed), QStringLiteral("remove")));
    return StepResult::done();
}

} // namespace fileops
