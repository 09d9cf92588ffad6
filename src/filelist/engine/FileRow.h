#pragma once
#include "platform/Times.h"
#include <QString>

namespace filelist {

// One listed directory entry. Compact: the name as found, the shared type name, the 64-bit size, the three
// time texts as fixed ASCII, the attribute bits and the icon index. The full path is the listed folder + name.
struct FileRow {
    enum Flag : quint8 { kParent = 1, kHideExt = 2 };
    QString name;
    QString type;
    qint64 size = 0;
    char modified[plat::kTimeTextLength];
    char created[plat::kTimeTextLength];
    char accessed[plat::kTimeTextLength];
    quint8 attrs = 0;    // plat::kAttr* bits (all fit in one byte)
    quint8 flags = 0;
    qint32 icon = -1;

    bool isDir() const { return attrs & 0x10; }
    bool isParent() const { return flags & kParent; }
};

// One row of the drive list: caption and six sub-items, of which three are fixed words.
struct DriveRow {
    QString caption;
    QString type;
    QString total;
    QString free;
    QString root;        // with a trailing '/'
    qint32 icon = -1;
};

} // namespace filelist
