#pragma once
#include "platform/posix/FileTime.h"
#include <QString>
#include <QStringView>
#include <optional>

namespace plat {

using posix::FileTime;

// Length of the "yyyy-MM-dd HH:mm:ss" local time text.
inline constexpr int kTimeTextLength = 19;

// Writes the local-time text of a UTC file time into out[0..18] (no terminator).
// Uses the zone's historical rules (localtime_r); formatted by hand, cheap enough for every cell.
void formatLocalTime(FileTime utc, char* out);
QString localTimeText(FileTime utc);

// Reads "yyyy-MM-dd HH:mm:ss" as local time and gives the UTC time (whole seconds).
// In a repeated hour the earlier (daylight) reading wins; a skipped time moves forward by the change.
std::optional<FileTime> parseLocalTime(QStringView text);

// Sets the access and modification times of a file through openForWrite (Attributes.h) and futimens;
// an absent value is left exactly as it is (UTIME_OMIT). The creation time cannot be set on Linux.
// Returns 0 or an errno value (EACCES for a read-only file, EISDIR for a folder, ...).
int setFileTimes(const QString& path, std::optional<FileTime> access, std::optional<FileTime> write);

} // namespace plat
