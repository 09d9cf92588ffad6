#include "fileops/engine/RenameJob.h"
#include "platform/Path.h"
#include "platform/posix/FileOps.h"
#include <cerrno>

namespace fileops {

using namespace plat::posix;
namespace path = plat::path;

void RenameJob::work()
{
    for (qsizetype i = 0; i < m_req.sources.size() && !halted(); ++i) {
        const QString src = itemPath(m_req.sources[i]);
        const QString dst = i < m_req.targets.size() ? itemPath(m_req.targets[i]) : QString();
        const QString name = path::namePart(dst);
        // A rename names an entry in the same folder: no other folder, no NUL.
        const bool sameFolder =
            path::folderPart(path::withoutTrailingSep(dst)) == path::folderPart(path::withoutTrailingSep(src));
        if (dst.isEmpty() || name.isEmpty() || name == u"." || name == u".." || name.contains(QChar(0)) || !sameFolder) {
            fail(Verb::Rename, src, EINVAL);
            break;
        }
        struct stat ss, ds;
        if (!lstatPath(src, ss)) {
            fail(Verb::Rename, src, errno);
            break;
        }
        if (lstatPath(dst, ds) && FileId::of(ss) == FileId::of(ds) && ss.st_nlink == 1) {
            // The same entry under a name the file system does not tell apart (case): a plain rename.
            if (src != dst) {
                if (const int e = renamePath(src, dst))
                    fail(Verb::Rename, src, e);
            }
            continue;
        }
        if (const int e = renameNoReplace(src, dst))
            fail(Verb::Rename, src, e);
    }
}

} // namespace fileops
