#pragma once
// What the attribute window shows of one file or folder: name, type, size, short name, attribute word
// and the three times, read from its directory entry.
#include "platform/posix/FileTime.h"
#include <QString>
#include <optional>

namespace properties {

struct ItemInfo {
    QString path;                       // without a trailing '/'
    QString name;                       // the name part
    QString typeName;                   // the shell's type name ("文件夹" for a folder)
    QString iconKey;                    // the theme icon of its type
    quint32 attributes = 0;             // plat::kAttr* bits
    qint64 size = 0;                    // folders 0
    QString shortName;                  // the 8.3 name: always empty on Linux
    plat::posix::FileTime creation;     // birth time, else the modification time
    plat::posix::FileTime write;
    plat::posix::FileTime access;
    bool isDir() const;
};

// The entry of `path` (links followed). Nothing when it cannot be read; `error` then gets the errno.
std::optional<ItemInfo> readItem(const QString& path, int* error = nullptr);

// The size text: up to 1048576 bytes in KB, above in MB, two decimals and thousands separators, then
// the exact count in brackets: "1.50KB (1,536 字节)", "3.00MB (3,145,728 字节)", "0.00KB ( 字节)".
QString sizeText(qint64 bytes);

// A time as the window shows it: local time, "yyyy-MM-dd HH:mm:ss".
QString timeText(plat::posix::FileTime utc);

} // namespace properties
