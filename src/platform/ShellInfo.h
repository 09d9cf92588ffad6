#pragma once
#include "platform/Volumes.h"
#include <QString>

namespace plat {

// Type names and icon keys of entries, from the name alone (content is never read).
class ShellInfo {
public:
    struct Entry {
        QString typeName;   // shared between all entries with the same suffix
        int icon = -1;      // plat::iconIndex of iconKey
    };
    // Folders: exactly "文件夹". Unknown types (octet-stream): upper-cased extension + " 文件", or "文件".
    // Otherwise the MIME comment found by extension. Cached per lower-cased suffix; thread-safe.
    static QString typeName(const QString& name, bool isDir);
    // Theme icon name of the entry's MIME type ("folder" for folders).
    static QString iconKey(const QString& name, bool isDir);
    // Both at once, with the icon as its index; what the lists store per row.
    static Entry describe(const QString& name, bool isDir);
    // Icon key of a mounted volume by its drive type.
    static QString driveIconKey(DriveType type);
};

} // namespace plat
