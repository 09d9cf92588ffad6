#include "platform/NumberFormat.h"
#include <QLocale>
#include <cmath>

namespace plat {
namespace {

struct Picture {
    QString prefix, suffix;
    bool grouping = false;
    int minInt = 0;     // integer digits always shown
    int minFrac = 0;    // decimals always shown
    int maxFrac = 0;    // decimals at most
};

Picture parse(QStringView pattern)
{
    Picture p;
    auto isDigit = [](QChar c) { return c == u'0' || c == u'#'; };
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (isDigit(pattern[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        p.prefix = pattern.toString();
        return p;
    }
    // A decimal point right after the last placeholder belongs to the number (".##" with nothing after).
    qsizetype start = first;
    if (start > 0 && pattern[start - 1] == u'.')
        --start;
    p.prefix = pattern.left(start).toString();
    p.suffix = pattern.mid(last + 1).toString();
    bool inFraction = false;
    bool seenZero = false;
    int fracIndex = 0;
    for (qsizetype i = start; i <= last; ++i) {
        const QChar c = pattern[i];
        if (c == u'.' && !inFraction) {
            inFraction = true;
        } else if (c == u',' && !inFraction) {
            p.grouping = true;
        } else if (isDigit(c)) {
            if (!inFraction) {
                seenZero = seenZero || c == u'0';
                if (seenZero)
                    ++p.minInt;
            } else {
                ++fracIndex;
                ++p.maxFrac;
                if (c == u'0')
                    p.minFrac = fracIndex;
            }
        }
    }
    return p;
}

QString compose(const Picture& p, bool negative, QString intDigits, QString fracDigits)
{
    const QLocale loc;
    while (intDigits.startsWith(u'0'))
        intDigits.remove(0, 1);
    while (intDigits.size() < p.minInt)
        intDigits.prepend(u'0');
    while (fracDigits.size() > p.minFrac && fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    QString number;
    if (p.grouping) {
        const QString sep = loc.groupSeparator();
        for (qsizetype i = 0; i < intDigits.size(); ++i) {
            if (i > 0 && (intDigits.size() - i) % 3 == 0)
                number += sep;
            number += intDigits[i];
        }
    } else {
        number = intDigits;
    }
    if (!fracDigits.isEmpty())
        number += loc.decimalPoint() + fracDigits;
    const bool nonZero = std::any_of(intDigits.begin(), intDigits.end(), [](QChar c) { return c != u'0'; })
        || std::any_of(fracDigits.begin(), fracDigits.end(), [](QChar c) { return c != u'0'; });
    return (negative && nonZero ? QStringLiteral("-") : QString()) + p.prefix + number + p.suffix;
}

} // namespace

QString formatPicture(double value, QStringView pattern)
{
    const Picture p = parse(pattern);
    if (!std::isfinite(value))
        return QString::number(value);
    const QString fixed = QString::number(std::fabs(value), 'f', p.maxFrac);
    const qsizetype dot = fixed.indexOf(u'.');
    return compose(p, value < 0, dot < 0 ? fixed : fixed.left(dot), dot < 0 ? QString() : fixed.mid(dot + 1));
}

QString formatPicture(qint64 value, QStringView pattern)
{
    const Picture p = parse(pattern);
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return compose(p, value < 0, QString::number(magnitude), QString(p.maxFrac, u'0'));
}

} // namespace plat
