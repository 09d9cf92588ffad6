#pragma once
// The packed local date-time form: a 16-bit date (years since 1980 << 9 | month << 5 | day) over a
// 16-bit time (hour << 11 | minute << 5 | seconds / 2). Two-second grid, years 1980 to 2107, local time.
#include "platform/posix/FileTime.h"
#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>

namespace properties {

// The first and last moment the packed form holds (the date picker of the rewrite offers no other).
inline QDate firstPackedDate() { return QDate(1980, 1, 1); }
inline QDate lastPackedDate() { return QDate(2107, 12, 31); }
inline QTime lastPackedTimeOfDay() { return QTime(23, 59, 58); }

// The packed value of a local date and time of day; seconds are truncated to the two-second grid.
// Nothing outside 1980-01-01 .. 2107-12-31 or for an invalid date or time.
std::optional<quint32> packLocal(const QDate& date, const QTime& time);
// The same for a "yyyy-MM-dd HH:mm:ss" text; nothing when the text is not a valid time of that form.
std::optional<quint32> packLocalText(QStringView text);
// The local date and time a packed value stands for (invalid for a malformed value).
QDate packedDate(quint32 packed);
QTime packedTime(quint32 packed);
// "yyyy-MM-dd HH:mm:ss" of a packed value.
QString packedText(quint32 packed);
// The file time (UTC) of a packed local value, by the program's one local-to-UTC rule.
std::optional<plat::posix::FileTime> packedToFileTime(quint32 packed);

// The rewrite never stores midnight itself: a time of day of exactly 00:00:00 becomes 00:00:02.
QTime withMidnightRule(const QTime& time);

} // namespace properties
