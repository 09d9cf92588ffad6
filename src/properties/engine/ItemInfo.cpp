#include "properties/engine/ItemInfo.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"
#include "platform/Path.h"
#include "platform/ShellInfo.h"
#include "platform/Times.h"
#include "platform/posix/FileOps.h"
#include <cerrno>

namespace properties {

bool ItemInfo::isDir() const
{
    return attributes & plat::kAttrDirectory;
}

std::optional<ItemInfo> readItem(const QString& path, int* error)
{
    // Absolute, so that the folder's ".hidden" list is the right one.
    QString clean = plat::path::withoutTrailingSep(path);
    if (!clean.startsWith(u'/'))
        clean = plat::path::withTrailingSep(plat::posix::currentFolder()) + clean;
    errno = 0;
    const std::optional<plat::FindData> fd = plat::LinuxFileSystem().find(clean);
    if (!fd) {
        if (error)
            *error = errno ? errno : ENOENT;
        return std::nullopt;
    }
    ItemInfo item;
    item.path = clean;
    item.name = plat::path::namePart(clean);
    if (item.name.isEmpty())
        item.name = clean;   // the root
    item.attributes = fd->attributes;
    item.size = fd->size;
    item.shortName = fd->shortName;
    item.creation = fd->creationNs;
    item.write = fd->writeNs;
    item.access = fd->accessNs;
    item.typeName = plat::ShellInfo::typeName(item.name, item.isDir());
    item.iconKey = plat::ShellInfo::iconKey(item.name, item.isDir());
    return item;
}

QString sizeText(qint64 bytes)
{
    const QString head = bytes <= 1048576 ? plat::formatPicture(double(bytes) / 1024.0, u"#,#0.00") + QStringLiteral("KB")
                                          : plat::formatPicture(double(bytes) / 1048576.0, u"#,#0.00") + QStringLiteral("MB");
    return head + QStringLiteral(" (") + plat::formatPicture(bytes, u"#,#") + QStringLiteral(" 字节)");
}

QString timeText(plat::posix::FileTime utc)
{
    return plat::localTimeText(utc);
}

} // namespace properties
