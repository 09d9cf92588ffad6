#pragma once
#include <QtGlobal>
#include <compare>

namespace plat::posix {

// A file time: UTC seconds since the epoch and the nanoseconds within that second, kept apart so that
// every time a file system can hold (years before 1677 or after 2262 included) stays what it is.
struct FileTime {
    qint64 sec = 0;
    qint32 nsec = 0;   // 0 .. 999,999,999

    constexpr FileTime() = default;
    constexpr FileTime(qint64 seconds, qint32 nanoseconds) : sec(seconds), nsec(nanoseconds) {}
    // From nanoseconds since the epoch (the range a qint64 of nanoseconds covers).
    constexpr FileTime(qint64 ns)   // NOLINT(google-explicit-constructor): a time in ns is a file time
        : sec(ns / kNsPerSec - (ns % kNsPerSec < 0 ? 1 : 0)),
          nsec(qint32(ns % kNsPerSec < 0 ? ns % kNsPerSec + kNsPerSec : ns % kNsPerSec))
    {
    }

    friend constexpr auto operator<=>(const FileTime&, const FileTime&) = default;
    friend constexpr bool operator==(const FileTime&, const FileTime&) = default;

    static constexpr qint64 kNsPerSec = 1000000000;
};

} // namespace plat::posix
