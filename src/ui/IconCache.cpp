#include "ui/IconCache.h"
#include "ui/IconTheme.h"
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
    static const bool themeReady = (setUpIconTheme(), true);
    Q_UNUSED(themeReady);
    const QString key = plat::iconKeyAt(index);
    QIcon icon;
    if (key.startsWith(u':')) {
        icon = QIcon(key);   // a bundled resource
    } else if (!key.isEmpty()) {
        icon = themeIcon(key);
        if (icon.isNull()) {
            const QMimeType mt = QMimeDatabase().mimeTypeForName(key);
            if (mt.isValid())
                icon = themeIcon(mt.genericIconName());
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
