#include "platform/ShellInfo.h"
#include "platform/IconKeys.h"
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>

namespace plat {
namespace {

struct Cache {
    QMutex mutex;
    QHash<QString, ShellInfo::Entry> bySuffix;   // key: lower-cased extension, dot included ("" for none)
    ShellInfo::Entry folder;
};

Cache& cache()
{
    static Cache c;
    return c;
}

QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

ShellInfo::Entry lookUp(const QString& suffix)
{
    static const QMimeDatabase db;
    const QMimeType mt = suffix.size() > 1 ? db.mimeTypeForFile(QStringLiteral("x") + suffix, QMimeDatabase::MatchExtension)
                                           : db.mimeTypeForName(QStringLiteral("application/octet-stream"));
    ShellInfo::Entry e;
    if (!mt.isValid() || mt.isDefault()) {
        const QString ext = suffix.mid(1).toUpper();
        e.typeName = ext.isEmpty() ? QStringLiteral("文件") : ext + QStringLiteral(" 文件");
        e.icon = iconIndex(QStringLiteral("application-octet-stream"));
    } else {
        e.typeName = mt.comment().left(79);
        e.icon = iconIndex(mt.iconName());
    }
    return e;
}

} // namespace

ShellInfo::Entry ShellInfo::describe(const QString& name, bool isDir)
{
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    if (isDir) {
        if (c.folder.icon < 0)
            c.folder = {QStringLiteral("文件夹"), iconIndex(QStringLiteral("folder"))};
        return c.folder;
    }
    const QString suffix = extensionOf(name).toLower();
    auto it = c.bySuffix.constFind(suffix);
    if (it != c.bySuffix.constEnd())
        return it.value();
    const Entry e = lookUp(suffix);
    c.bySuffix.insert(suffix, e);
    return e;
}

QString ShellInfo::typeName(const QString& name, bool isDir)
{
    return describe(name, isDir).typeName;
}

QString ShellInfo::iconKey(const QString& name, bool isDir)
{
    return iconKeyAt(describe(name, isDir).icon);
}

QString ShellInfo::driveIconKey(DriveType type)
{
    switch (type) {
    case DriveType::Removable:
        return QStringLiteral("drive-removable-media");
    case DriveType::CdRom:
        return QStringLiteral("drive-optical");
    case DriveType::Remote:
        return QStringLiteral("folder-remote");
    default:
        return QStringLiteral("drive-harddisk");
    }
}

} // namespace plat
