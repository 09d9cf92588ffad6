#include "ui/IconCache.h"
#include "platform/IconKeys.h"
#include <QFileIconProvider>
#include <QMimeDatabase>

namespace ui {

IconCache& IconCache::instance()
{
    static IconCache cache;
    return cache;
}

QIcon IconCache::icon(int index)
{
    auto it = m_icons.constFind(index);
    if (it != m_icons.constEnd())
        return it.value();
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    const QString key = plat::iconKeyAt(index);
    QIcon icon;
    if (key.startsWith(u':')) {
        icon = QIcon(key);   // a bundled resource
    } else if (!key.isEmpty()) {
        icon = QIcon::fromTheme(key);
        if (icon.isNull()) {
            const QMimeType mt = QMimeDatabase().mimeTypeForName(key);
            if (mt.isValid())
                icon = QIcon::fromTheme(mt.genericIconName());
        }
    }
    if (icon.isNull()) {
        const bool folder = key.startsWith(QLatin1String("folder")) || key.startsWith(QLatin1String("inode-directory"));
        icon = QFileIconProvider().icon(folder ? QFileIconProvider::Folder : QFileIconProvider::File);
    }
    m_icons.insert(index, icon);
    return icon;
}

} // namespace ui
