#include "filelist/engine/RowFormats.h"
#include "platform/Attributes.h"
#include "platform/NumberFormat.h"
#include <array>
#include <charconv>

namespace filelist {

qint64 sizeKB(qint64 bytes)
{
    return (bytes >= 1 && bytes <= 1023 ? 1024 : bytes) / 1024;
}

int writeSizeText(qint64 bytes, bool isDir, char* out)
{
    if (isDir) {
        out[0] = ' ';
        return 1;
    }
    char* end = std::to_chars(out, out + kSizeTextRoom - 3, sizeKB(bytes)).ptr;
    end[0] = ' ';
    end[1] = 'K';
    end[2] = 'B';
    return int(end + 3 - out);
}

QString sizeText(qint64 bytes, bool isDir)
{
    char buf[kSizeTextRoom];
    return QString::fromLatin1(buf, writeSizeText(bytes, isDir, buf));
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

QStringView captionView(const FileRow& row)
{
    if (row.isParent())
        return u"..";
    const QStringView name = row.name;
    if (!(row.flags & FileRow::kHideExt))
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

const QString& attributeText(quint8 attrs)
{
    static const auto table = [] {
        std::array<QString, 256> t;
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = plat::attributeLetters(quint32(i));
        return t;
    }();
    return table[attrs];
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
        return attributeText(row.attrs);
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
