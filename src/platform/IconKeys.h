#pragma once
#include <QString>

namespace plat {

// Process-wide table of icon keys (theme icon names); rows store the int index, the UI resolves it once.
int iconIndex(const QString& key);
QString iconKeyAt(int index);

} // namespace plat
