#pragma once
#include "filelist/engine/FileRow.h"
#include "platform/Volumes.h"

// Cell texts of the list rows, formatted once when a row is added or shown.
namespace filelist {

inline const QString kDrivesWord = QStringLiteral("DRIVES");
inline const QString kParentTypeName = QStringLiteral("上一级文件夹\\");

// Size in KB (1 to 1023 bytes count as 1024), the value sorting by size uses.
qint64 sizeKB(qint64 bytes);
// "<KB> KB", or a single space for folders.
QString sizeText(qint64 bytes, bool isDir);
// The same text in ASCII, written to `out` (room for kSizeTextRoom bytes); returns its length.
inline constexpr int kSizeTextRoom = 24;
int writeSizeText(qint64 bytes, bool isDir, char* out);
// The caption: ".." for the parent entry, the name without its extension when asked, else the name.
QString captionOf(const FileRow& row);
QString captionFor(const QString& name, bool hideExt);
// The caption as a view into the row's name (or a literal), without copying.
QStringView captionView(const FileRow& row);
// The attribute letters of the attribute bits, from a table built once.
const QString& attributeText(quint8 attrs);
// Sub-item i (0..7) of a file row listed in folder `dir` (with trailing '/').
QString fileSubItem(const FileRow& row, const QString& dir, int i);

// Drive list texts.
QString driveCaption(const plat::Volume& v);
QString driveTypeName(plat::DriveType t);
// "###,###,### Mb" of bytes / 1024 / 1000; "0 Mb" below 1 KB.
QString driveSizeText(qint64 bytes);
QString driveSubItem(const DriveRow& row, int i);

} // namespace filelist
