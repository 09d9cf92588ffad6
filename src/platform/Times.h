#pragma once
#include <QString>
#include <QStringView>
#include <optional>

namespace plat {

// Length of the "yyyy-MM-dd HH:mm:ss" local time text.
inline constexpr int kTimeTextLength = 19;

// Writes the local-time text of a UTC time (ns since the epoch) into out[0..18] (no terminator).
// Uses the zone's historical rules (localtime_r); formatted by hand, cheap enough for every cell.
void formatLocalTime(qint64 utcNs, char* out);
QString localTimeText(qint64 utcNs);

// Reads "yyyy-MM-dd HH:mm:ss" as local time and gives the UTC time in ns (whole seconds).
// In a repeated hour the earlier (daylight) reading wins; a skipped time moves forward by the change.
std::optional<qint64> parseLocalTime(QStringView text);

} // namespace plat
