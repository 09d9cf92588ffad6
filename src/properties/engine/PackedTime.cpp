#include "properties/engine/PackedTime.h"
#include "platform/Times.h"
#include <QLocale>

namespace properties {

std::optional<quint32> packLocal(const QDate& date, const QTime& time)
{
    if (!date.isValid() || !time.isValid() || date < firstPackedDate() || date > lastPackedDate())
        return std::nullopt;
    const quint32 d = quint32(date.year() - 1980) << 9 | quint32(date.month()) << 5 | quint32(date.day());
    const quint32 t = quint32(time.hour()) << 11 | quint32(time.minute()) << 5 | quint32(time.second() / 2);
    return d << 16 | t;
}

std::optional<quint32> packLocalText(QStringView text)
{
    const QString s = text.trimmed().toString();
    if (!plat::parseLocalTime(s))
        return std::nullopt;   // not of the form, or not a real date and time
    const QDate date(s.mid(0, 4).toInt(), s.mid(5, 2).toInt(), s.mid(8, 2).toInt());
    const QTime time(s.mid(11, 2).toInt(), s.mid(14, 2).toInt(), s.mid(17, 2).toInt());
    return packLocal(date, time);
}

QDate packedDate(quint32 packed)
{
    const quint32 d = packed >> 16;
    return QDate(int(d >> 9) + 1980, int(d >> 5 & 0xF), int(d & 0x1F));
}

QTime packedTime(quint32 packed)
{
    const quint32 t = packed & 0xFFFF;
    return QTime(int(t >> 11), int(t >> 5 & 0x3F), int(t & 0x1F) * 2);
}

QString packedText(quint32 packed)
{
    const QDate d = packedDate(packed);
    const QTime t = packedTime(packed);
    if (!d.isValid() || !t.isValid())
        return QString();
    return QLocale::c().toString(d, u"yyyy-MM-dd") + u' ' + QLocale::c().toString(t, u"HH:mm:ss");
}

std::optional<plat::posix::FileTime> packedToFileTime(quint32 packed)
{
    const QString text = packedText(packed);
    if (text.isEmpty())
        return std::nullopt;
    return plat::parseLocalTime(text);
}

QTime withMidnightRule(const QTime& time)
{
    const QTime whole(time.hour(), time.minute(), time.second());
    return whole == QTime(0, 0, 0) ? QTime(0, 0, 2) : whole;
}

} // namespace properties
