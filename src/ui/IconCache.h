#pragma once
#include <QHash>
#include <QIcon>

namespace ui {

// One per process: resolves each icon key index (plat::iconIndex) to a QIcon once.
class IconCache {
public:
    static IconCache& instance();
    QIcon icon(int index);
private:
    QHash<int, QIcon> m_icons;
};

} // namespace ui
