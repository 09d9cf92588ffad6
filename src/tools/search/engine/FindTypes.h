#pragma once
#include "platform/FileSystem.h"
#include <QString>

class QDateTime;

namespace search {

// Attribute filter members, bits 0 to 4 of a TFileAttributes value.
enum TFileAttribute : quint8 { ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory };

// A set of TFileAttribute in one byte.
class TFileAttributes {
public:
    constexpr TFileAttributes() = default;
    constexpr TFileAttributes(std::initializer_list<TFileAttribute> members)
    {
        for (TFileAttribute a : members)
            m_bits |= quint8(1u << a);
    }
    static constexpr TFileAttributes fromBits(quint8 bits)
    {
        TFileAttributes s;
        s.m_bits = bits & 0x1F;
        return s;
    }
    // The members that the platform attribute bits (plat::kAttr*) stand for; other bits are ignored.
    static TFileAttributes fromPlatform(quint32 attr);

    constexpr quint8 bits() const { return m_bits; }
    constexpr bool contains(TFileAttribute a) const { return m_bits & (1u << a); }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr bool intersects(TFileAttributes o) const { return m_bits & o.m_bits; }
    void include(TFileAttribute a) { m_bits |= quint8(1u << a); }
    void exclude(TFileAttribute a) { m_bits &= quint8(~(1u << a)); }
    void set(TFileAttribute a, bool on) { on ? include(a) : exclude(a); }
    constexpr bool operator==(const TFileAttributes&) const = default;

private:
    quint8 m_bits = 0;
};

// Day count since 30 December 1899 with the time of day as the fraction, in local time; 0 = no bound.
using TDateTime = double;

TDateTime encodeDate(int year, int month, int day);
TDateTime encodeTime(int hour, int minute, int second, int msec = 0);
// The local date and time of `t` (any time spec) as a TDateTime.
TDateTime toDateTime(const QDateTime& t);

// A local time split exactly into its day number (as TDateTime's whole part) and nanoseconds of the day.
struct LocalMoment {
    qint64 day = 0;
    qint64 nsOfDay = 0;
};
LocalMoment localMoment(plat::posix::FileTime utc);

// The date rule for one pair of bounds: a bound with no time of day compares whole days, a bound with no
// date compares the time of day, any other bound the moment. Before requires <=, After >=; 0 = no bound.
bool passesDateBounds(const LocalMoment& t, TDateTime before, TDateTime after);

// Packed local date-time of the file system (2-second grid, years 1980 to 2107); 0 outside that range.
qint32 packedLocalTime(plat::posix::FileTime utc);
// The local date-time a packed value stands for; invalid for 0 or a malformed value.
QDateTime unpackLocalTime(qint32 packed);

// The directory entry handed to OnFound.
struct TSearchRec {
    qint32 Time = 0;        // packed local last-write time; 0 when it cannot be packed
    qint64 Size = 0;
    quint32 Attr = 0;       // plat::kAttr* bits
    QString Name;
    plat::FindData FindData;
};

// Result texts shared by the search window and orvo-cli.
// "Folder" for a folder, else the size in whole KB rounded up followed by "KB".
QString foundSizeText(const TSearchRec& rec);
// The last-write time in the locale's short date and long time formats; the time is left out at midnight.
QString foundDateText(const TSearchRec& rec);

} // namespace search
