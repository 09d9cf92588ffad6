#pragma once
#include <QString>

// Failures injected by tests where the real one cannot be produced (EACCES for root, ENOSPC on a
// roomy disk). The layer's calls consult the table; with nothing injected a check is one atomic load.
namespace plat::posix::faults {

// Attributes: carrying a file's extended attributes to its copy (keyed by the source).
enum class Op { Open, Write, Attributes };

// Every `op` on `path` (an absolute path, links not resolved) fails with `err` until cleared.
void inject(Op op, const QString& path, int err);
// Every `op` on an entry directly inside `folder` fails with `err` until cleared: for files whose name is
// not known beforehand (temporary files, unnamed ones included).
void injectInFolder(Op op, const QString& folder, int err);
void clear();

// 0, or the injected errno for `op` on `name` relative to `dirFd` (AT_FDCWD or an open folder).
int check(Op op, int dirFd, const char* name);
// 0, or the injected errno for `op` on the file open as `fd`.
int checkFd(Op op, int fd);

// Injects for the lifetime of the object.
class Scoped {
public:
    Scoped(Op op, const QString& path, int err) { inject(op, path, err); }
    ~Scoped() { clear(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
};

} // namespace plat::posix::faults
