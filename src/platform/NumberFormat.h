#pragma once
#include <QString>
#include <QStringView>

namespace plat {

// Formats a number with a picture such as "###,##0", "###,###.00", "#,#", "###,###,### Mb" or "#,##0.##":
// '0' always prints a digit, '#' prints nothing for a leading zero digit (and nothing for trailing zero
// decimals), a ',' before the decimal point turns on thousands grouping, text before the first and after
// the last digit placeholder is copied. Group and decimal separators come from QLocale().
QString formatPicture(double value, QStringView pattern);
QString formatPicture(qint64 value, QStringView pattern);

} // namespace plat
