#pragma once
#include "platform/posix/FileTime.h"
#include <QString>
#include <QtGlobal>
#include <sys/types.h>

// What a listing needs to know about one entry, read with one statx call. Times are file times (UTC
// seconds and nanoseconds since the epoch).
namespace plat::posix {

struct StatRecord {
    enum class Kind { File, Folder, Link, Other };

    mode_t mode = 0;            // links followed; a dangling link's own
    qint64 size = 0;
    FileTime writeNs;
    FileTime accessNs;
    FileTime creationNs;        // the birth time when the file system has it, else the write time
    bool isLink = false;        // the entry itself is a symbolic link
    quint64 dev = 0;
    quint64 ino = 0;

    // File, Folder or Other for what the entry leads to; Link for a dangling link.
    Kind kind() const;
};

// The record of `name` in the folder open as `dirFd` (AT_FDCWD with a full path works too). Links are
// followed; a dangling link gives its own data. `dtype` is the directory record's DT_* type (DT_UNKNOWN
// when there is none): a record that already tells whether the entry is a link saves a second call.
// False, with errno set, when the entry cannot be read.
bool statAt(int dirFd, const char* name, unsigned char dtype, StatRecord& out);
bool statPath(const QString& path, StatRecord& out);
// The record of an open file or folder.
bool statFd(int fd, StatRecord& out);

// Whether the entry is a folder after following links (the record type when it says so, else one stat).
bool isFolderAt(int dirFd, const char* name, unsigned char dtype);
// Whether the entry itself, not followed, is a folder (the record type, else one lstat).
bool isRealFolderAt(int dirFd, const char* name, unsigned char dtype);

} // namespace plat::posix
