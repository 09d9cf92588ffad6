#include "tools/search/engine/FindTypes.h"
#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <ctime>

namespace search {
namespace {

constexpr qint64 kNsPerSec = 1000000000;
constexpr qint64 kMsPerDay = 86400000;
constexpr qint64 kNsPerMs = 1000000;

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr qint64 daysFromCivil(qint64 y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr qint64 kEpochOffset = -daysFromCivil(1899, 12, 30);   // TDateTime day of 1970-01-01

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

bool localTm(plat::posix::FileTime utc, struct tm& tm, qint64& nsInSecond)
{
    nsInSecond = utc.nsec;
    const time_t tt = time_t(utc.sec);
    return localtime_r(&tt, &tm) != nullptr;
}

// A bound split into whole days and milliseconds of the day (rounded, so float noise cannot make a date
// look like a moment).
struct BoundParts {
    qint64 day;
    qint64 ms;
};

BoundParts split(TDateTime b)
{
    qint64 day = qint64(std::trunc(b));
    qint64 ms = std::llround((b - double(day)) * double(kMsPerDay));
    if (ms >= kMsPerDay) {
        ++day;
        ms -= kMsPerDay;
    } else if (ms <= -kMsPerDay) {
        --day;
        ms += kMsPerDay;
    }
    return {day, std::llabs(ms)};
}

// <0, 0, >0 as t is before, at or after the bound, by the date rule.
int compareToBound(const LocalMoment& t, TDateTime bound)
{
    const BoundParts b = split(bound);
    auto cmp = [](qint64 x, qint64 y) { return x < y ? -1 : (x > y ? 1 : 0); };
    if (b.ms == 0)
        return cmp(t.day, b.day);
    if (b.day == 0)
        return cmp(t.nsOfDay, b.ms * kNsPerMs);
    const int d = cmp(t.day, b.day);
    return d != 0 ? d : cmp(t.nsOfDay, b.ms * kNsPerMs);
}

// The locale's long time format without its time-zone field.
QString timeFormat()
{
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    f.remove(u't');
    return f.trimmed();
}

// Date and time texts of result rows; found entries share dates, so the last date text is kept.
QString dateText(const QDate& d)
{
    thread_local QDate lastDate;
    thread_local QString lastText;
    if (d != lastDate) {
        lastText = QLocale().toString(d, QLocale::ShortFormat);
        lastDate = d;
    }
    return lastText;
}

QString timeText(const QTime& t)
{
    static const QString format = timeFormat();
    if (format != QLatin1String("HH:mm:ss"))
        return QLocale().toString(t, format);
    const int parts[3] = {t.hour(), t.minute(), t.second()};
    QChar out[8];
    for (int i = 0; i < 3; ++i) {
        out[i * 3] = QChar(u'0' + parts[i] / 10);
        out[i * 3 + 1] = QChar(u'0' + parts[i] % 10);
        if (i < 2)
            out[i * 3 + 2] = u':';
    }
    return QString(out, 8);
}

} // namespace

TFileAttributes TFileAttributes::fromPlatform(quint32 attr)
{
    TFileAttributes s;
    if (attr & plat::kAttrArchive)
        s.include(ffArchive);
    if (attr & plat::kAttrReadOnly)
        s.include(ffReadonly);
    if (attr & plat::kAttrHidden)
        s.include(ffHidden);
    if (attr & plat::kAttrSystem)
        s.include(ffSystem);
    if (attr & plat::kAttrDirectory)
        s.include(ffDirectory);
    return s;
}

TDateTime encodeDate(int year, int month, int day)
{
    return double(daysFromCivil(year, month, day) + kEpochOffset);
}

TDateTime encodeTime(int hour, int minute, int second, int msec)
{
    return double(((hour * 60 + minute) * 60 + second) * 1000 + msec) / double(kMsPerDay);
}

TDateTime toDateTime(const QDateTime& t)
{
    const QDateTime local = t.toLocalTime();
    const QDate d = local.date();
    const QTime tm = local.time();
    return encodeDate(d.year(), d.month(), d.day()) + encodeTime(tm.hour(), tm.minute(), tm.second(), tm.msec());
}

LocalMoment localMoment(plat::posix::FileTime utc)
{
    struct tm tm {};
    qint64 subSecond = 0;
    if (!localTm(utc, tm, subSecond))
        return {};
    LocalMoment m;
    m.day = daysFromCivil(qint64(tm.tm_year) + 1900, tm.tm_mon + 1, tm.tm_mday) + kEpochOffset;
    m.nsOfDay = (qint64(tm.tm_hour) * 3600 + tm.tm_min * 60 + tm.tm_sec) * kNsPerSec + subSecond;
    return m;
}

bool passesDateBounds(const LocalMoment& t, TDateTime before, TDateTime after)
{
    if (before != 0 && compareToBound(t, before) > 0)
        return false;
    if (after != 0 && compareToBound(t, after) < 0)
        return false;
    return true;
}

qint32 packedLocalTime(plat::posix::FileTime utc)
{
    struct tm tm {};
    qint64 subSecond = 0;
    if (!localTm(utc, tm, subSecond))
        return 0;
    const int year = tm.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return 0;
    const quint32 date = quint32(year - 1980) << 9 | quint32(tm.tm_mon + 1) << 5 | quint32(tm.tm_mday);
    const int sec = tm.tm_sec > 59 ? 59 : tm.tm_sec;   // a leap second stays in its minute
    const quint32 time = quint32(tm.tm_hour) << 11 | quint32(tm.tm_min) << 5 | quint32(sec / 2);
    return qint32(date << 16 | time);
}

QDateTime unpackLocalTime(qint32 packed)
{
    const quint32 v = quint32(packed);
    const quint32 date = v >> 16, time = v & 0xFFFF;
    const QDate d(int(date >> 9) + 1980, int(date >> 5 & 0xF), int(date & 0x1F));
    const QTime t(int(time >> 11), int(time >> 5 & 0x3F), int(time & 0x1F) * 2);
    if (packed == 0 || !d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

QString foundSizeText(const TSearchRec& rec)
{
    if (rec.Attr & plat::kAttrDirectory)
        return QStringLiteral("Folder");
    const qint64 kb = rec.Size / 1024 + (rec.Size % 1024 != 0);
    return QString::number(kb) + QStringLiteral("KB");
}

QString foundDateText(const TSearchRec& rec)
{
    QDateTime t = unpackLocalTime(rec.Time);
    if (!t.isValid()) {
        // Outside the packed range: the exact time, truncated to whole seconds.
        t = QDateTime::fromSecsSinceEpoch(rec.FindData.writeNs.sec);
    }
    if (t.time() == QTime(0, 0))
        return dateText(t.date());
    return dateText(t.date()) + u' ' + timeText(t.time());
}

} // namespace search
