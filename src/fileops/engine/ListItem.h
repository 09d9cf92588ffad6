#pragma once
#include <QString>

namespace fileops {

// One selected row of a file list as the file commands see it: the caption, the full path (sub-item 4)
// and the kind marker (sub-item 5: "drv", "dir" or "file").
struct ListItem {
    QString caption;
    QString path;
    QString kind;
    // Drive rows and the ".." row are never transferred or deleted.
    bool isDriveOrParent() const { return kind == QLatin1String("drv") || caption == QLatin1String(".."); }
};

} // namespace fileops
