#include "filelist/engine/RowFormats.h"
#include "platform/Attributes.h"
#include "platform/NumberFormat.h"

namespace filelist {

qint64 sizeKB(qint64 bytes)
{
    return (bytes >= 1 && bytes <= 1023 ? 1024 : bytes) / 1024;
}

QString sizeText(qint64 bytes, bool isDir)
{
    if (isDir)
        return QStringLiteral(" ");
    return QString::number(sizeKB(bytes)) + QStringLiteral(" KB");
}

QString captionFor(const QString& name, bool hideExt)
{
    if (!hideExt)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString captionOf(const FileRow& row)
{
    if (row.isParent())
        return QStringLiteral("..");
    return captionFor(row.name, row.flags & FileRow::kHideExt);
}

QString fileSubItem(const FileRow& row, const QString& dir, int i)
{
    switch (i) {
    case 0:
        return sizeText(row.size, row.isDir());
    case 1:
        return row.type;
    case 2:
        return QString::fromLatin1(row.modified, plat::kTimeTextLength);
    case 3:
        return QString::fromLatin1(row.created, plat::kTimeTextLength);
    case 4:
        return dir + row.name;
    case 5:
        return row.isDir() ? QStringLiteral("dir") : QStringLiteral("file");
    case 6:
        return QString::fromLatin1(row.accessed, plat::kTimeTextLength);
    case 7:
        return plat::attributeLetters(row.attrs);
    default:
        return QString();
    }
}

QString driveCaption(const plat::Volume& v)
{
    return QStringLiteral(" (") + v.root + QStringLiteral(")  ") + v.label + (v.label.isEmpty() ? QString() : QStringLiteral(" "));
}

QString driveTypeName(plat::DriveType t)
{
    switch (t) {
    case plat::DriveType::Unknown:
        return QStringLiteral("未知");
    case plat::DriveType::NoRootDir:
        return QStringLiteral("不存在");
    case plat::DriveType::Removable:
        return QStringLiteral("Removable Disk");
    case plat::DriveType::Fixed:
        return QStringLiteral("Fixed Disk");
    case plat::DriveType::Remote:
        return QStringLiteral("Network Disk");
    case plat::DriveType::CdRom:
        return QStringLiteral("CD-ROM Disk");
    case plat::DriveType::RamDisk:
        return QStringLiteral("RAM Disk");
    }
    return QStringLiteral("未知");
}

QString driveSizeText(qint64 bytes)
{
    const qint64 kb = bytes / 1024;
    if (kb < 1)
        return QStringLiteral("0 Mb");
    return plat::formatPicture(kb / 1000, u"###,###,### Mb");
}

QString driveSubItem(const DriveRow& row, int i)
{
    switch (i) {
    case 0:
        return row.type;
    case 1:
        return row.total;
    case 2:
        return row.free;
    case 3:
        return QStringLiteral("Disk");
    case 4:
        return row.root;
    case 5:
        return QStringLiteral("drv");
    default:
        return QString();
    }
}

} // namespace filelist
