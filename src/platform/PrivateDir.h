#pragma once
#include <QString>

namespace plat {

// The per-user private folder for list files: $XDG_CACHE_HOME/orvo/ (0700, a real directory owned by the
// user). Ends in '/'. Empty when it cannot be made safe.
QString privateDir();

// Opens a file inside the private folder without following links. Returns the fd or -1.
int openPrivateFile(const QString& name, int flags, int mode = 0600);

} // namespace plat
