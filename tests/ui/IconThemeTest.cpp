// Files, folders, drives and the tree's special places show theme icons even without a desktop theme.
#include "platform/IconKeys.h"
#include "ui/IconCache.h"
#include "ui/IconTheme.h"
#include <QImage>
#include <gtest/gtest.h>

namespace {

// The share of pixels that are not fully transparent: a blank page has none.
double inked(const QIcon& icon)
{
    const QImage image = icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return image.isNull() ? 0.0 : double(count) / (image.width() * image.height());
}

TEST(IconTheme, WithoutADesktopThemeAnInstalledThemeIsTaken)
{
    QIcon::setThemeName(QStringLiteral("hicolor"));   // what Qt reports without a desktop platform theme
    ui::setUpIconTheme();
    ASSERT_TRUE(ui::iconThemeInstalled(QStringLiteral("Adwaita")));   // the install script installs it
    EXPECT_EQ(QIcon::themeName(), QStringLiteral("Adwaita"));
    EXPECT_EQ(QIcon::fallbackThemeName(), QStringLiteral("hicolor"));

    QIcon::setThemeName(QStringLiteral("Adwaita"));   // a theme the desktop names stays
    ui::setUpIconTheme();
    EXPECT_EQ(QIcon::themeName(), QStringLiteral("Adwaita"));
}

TEST(IconTheme, ListAndTreeKeysAndToolBarNamesGiveDrawnIcons)
{
    ui::setUpIconTheme();
    for (const char* key : {"folder", "text-x-generic", "inode-directory", "text/plain", "drive-harddisk", "computer",
                            "user-desktop", "user-trash", "user-home", "folder-open", "folder-remote", "drive-optical",
                            "drive-removable-media", "network", "network-workgroup", "application-octet-stream",
                            "application-x-desktop"}) {
        SCOPED_TRACE(key);
        EXPECT_GT(inked(ui::IconCache::instance().icon(plat::iconIndex(QString::fromLatin1(key)))), 0.05);
    }
    for (const char* name : {"edit-copy", "edit-paste", "edit-cut", "edit-delete", "view-refresh", "system-search",
                             "go-up", "folder-new", "document-properties"}) {
        SCOPED_TRACE(name);
        EXPECT_GT(inked(ui::themeIcon(QString::fromLatin1(name))), 0.02);
    }
}

} // namespace
