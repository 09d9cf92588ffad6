#include "ui/IconTheme.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace ui {

bool iconThemeInstalled(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QString& dir : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(dir + u'/' + name + QStringLiteral("/index.theme")))
            return true;
    }
    return false;
}

void setUpIconTheme()
{
    // Platforms without a desktop theme search no icon folders at all: add the XDG data folders' ones.
    QStringList paths = QIcon::themeSearchPaths();
    QStringList xdg = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                QStandardPaths::LocateDirectory);
    xdg.prepend(QDir::homePath() + QStringLiteral("/.icons"));
    for (const QString& dir : xdg) {
        if (!paths.contains(dir) && QFileInfo(dir).isDir())
            paths.append(dir);
    }
    if (paths != QIcon::themeSearchPaths())
        QIcon::setThemeSearchPaths(paths);
    QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
    // A desktop platform theme names the user's theme; without one Qt reports the bare "hicolor", whose
    // few icons leave every file a blank page.
    const QString desktop = QIcon::themeName();
    if (desktop != QLatin1String("hicolor") && iconThemeInstalled(desktop))
        return;
    for (const QString& name : {QStringLiteral("Adwaita"), QStringLiteral("hicolor")}) {
        if (iconThemeInstalled(name)) {
            QIcon::setThemeName(name);
            return;
        }
    }
}

QIcon themeIcon(const QString& name)
{
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull())
        icon = QIcon::fromTheme(name + QStringLiteral("-symbolic"));
    return icon;
}

} // namespace ui
