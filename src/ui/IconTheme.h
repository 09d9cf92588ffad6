#pragma once
// The icon theme the program draws with, and theme icons by their freedesktop names.
#include <QIcon>
#include <QString>

namespace ui {

// Keeps the icon theme the desktop names; without one (or with only the bare "hicolor"), takes the first
// installed of Adwaita and hicolor. hicolor is the fallback either way. Safe to call more than once.
void setUpIconTheme();

// True when a theme of that name has an index.theme on the icon search path.
bool iconThemeInstalled(const QString& name);

// The theme icon of a freedesktop name, or its "-symbolic" variant when the theme has only that.
QIcon themeIcon(const QString& name);

} // namespace ui
