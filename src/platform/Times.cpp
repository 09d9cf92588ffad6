#include "platform/Times.h"
#include "platform/Attributes.h"
#include <ctime>
#include <cerrno>
#include <sys/stat.h>

namespace plat {
namespace {

inline void put2(char* p, int v)
{
    p[0] = char('0' + v / 10 % 10);
    p[1] = char('0' + v % 10);
}

} // namespace

void formatLocalTime(FileTime utc, char* out)
{
    const time_t secs = time_t(utc.sec);
    struct tm tm {};
    if (!localtime_r(&secs, &tm)) {
        std::fill(out, out + kTimeTextLength, '0');
        return;
    }
    int year = tm.tm_year + 1900;
    if (year < 0)
        year = 0;
    out[0] = char('0' + year / 1000 % 10);
    out[1] = char('0' + year / 100 % 10);
    put2(out + 2, year % 100);
    out[4] = '-';
    put2(out + 5, tm.tm_mon + 1);
    out[7] = '-';
    put2(out + 8, tm.tm_mday);
    out[10] = ' ';
    put2(out + 11, tm.tm_hour);
    out[13] = ':';
    put2(out + 14, tm.tm_min);
    out[16] = ':';
    put2(out + 17, tm.tm_sec);
}

QString localTimeText(FileTime utc)
{
    char buf[kTimeTextLength];
    formatLocalTime(utc, buf);
    return QString::fromLatin1(buf, kTimeTextLength);
}

std::optional<FileTime> parseLocalTime(QStringView text)
{
    if (text.size() != kTimeTextLength)
        return std::nullopt;
    static const char kShape[] = "dddd-dd-dd dd:dd:dd";
    int v[6] = {};
    int field = 0;
    for (int i = 0; i < kTimeTextLength; ++i) {
        const char16_t c = text[i].unicode();
        if (kShape[i] == 'd') {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            v[field] = v[field] * 10 + (c - u'0');
        } else {
            if (c != char16_t(kShape[i]))
                return std::nullopt;
            ++field;
        }
    }
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > kDays[v[1] - 1] || v[3] > 23 || v[4] > 59 || v[5] > 59)
        return std::nullopt;
    const bool leap = (v[0] % 4 == 0 && v[0] % 100 != 0) || v[0] % 400 == 0;
    if (v[1] == 2 && v[2] == 29 && !leap)
        return std::nullopt;
    auto make = [&](int isdst) {
        struct tm tm {};
        tm.tm_year = v[0] - 1900;
        tm.tm_mon = v[1] - 1;
        tm.tm_mday = v[2];
        tm.tm_hour = v[3];
        tm.tm_min = v[4];
        tm.tm_sec = v[5];
        tm.tm_isdst = isdst;
        return mktime(&tm);
    };
    auto readsBack = [&](time_t t) {
        struct tm tm {};
        return localtime_r(&t, &tm) && tm.tm_year == v[0] - 1900 && tm.tm_mon == v[1] - 1 && tm.tm_mday == v[2]
            && tm.tm_hour == v[3] && tm.tm_min == v[4] && tm.tm_sec == v[5];
    };
    // Both readings of the wall-clock time; the earlier one that reads back wins.
    std::optional<time_t> best;
    for (int isdst : {1, 0}) {
        const time_t t = make(isdst);
        if (readsBack(t) && (!best || t < *best))
            best = t;
    }
    if (!best)
        best = make(0);    // a time skipped by a clock change: read as standard time, i.e. moved forward
    return FileTime(qint64(*best), 0);
}

int setFileTimes(const QString& path, std::optional<FileTime> access, std::optional<FileTime> write)
{
    int error = 0;
    posix::Fd fd = openForWrite(path, &error);
    if (!fd.valid())
        return error;
    const auto spec = [](const std::optional<FileTime>& t) {
        struct timespec ts {};
        if (t) {
            ts.tv_sec = time_t(t->sec);
            ts.tv_nsec = t->nsec;
        } else {
            ts.tv_nsec = UTIME_OMIT;
        }
        return ts;
    };
    const struct timespec times[2] = {spec(access), spec(write)};
    if (::futimens(fd.get(), times) != 0)
        return errno;
    return fd.close();
}

} // namespace plat
