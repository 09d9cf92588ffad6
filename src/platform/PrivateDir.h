#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace plat {

// The per-user private folder for list files: $XDG_CACHE_HOME/orvo/ (0700, a real directory owned by the
// user). Ends in '/'. Empty when it cannot be made safe.
QString privateDir();

// Opens a file inside the private folder without following links. Returns the fd or -1.
int openPrivateFile(const QString& name, int flags, int mode = 0600);

// All of a regular file inside the private folder (links not followed). A FIFO or device put in its place
// is refused without waiting on it; nullopt when the file is missing, not a regular file or unreadable.
std::optional<QByteArray> readPrivateFile(const QString& name);

} // namespace plat
