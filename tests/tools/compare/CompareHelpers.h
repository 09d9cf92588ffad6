#pragma once
#include "tools/compare/engine/FileCompare.h"
#include <QByteArray>
#include <QStringList>

namespace cmptest {

// "a\nb\n" from {"a", "b"}.
inline QByteArray lines(const QStringList& l)
{
    QByteArray out;
    for (const QString& s : l)
        out += s.toUtf8() + '\n';
    return out;
}

// Rows 1 and on as "col0|col1|col2".
inline QStringList rows(const FileCompare& fc)
{
    QStringList out;
    for (int r = 1; r < fc.RowCount(); ++r)
        out << fc.Cells(0, r) + u'|' + fc.Cells(1, r) + u'|' + fc.Cells(2, r);
    return out;
}

// Lines "<prefix>1" ... "<prefix>n".
inline QStringList numbered(const QString& prefix, int n, int from = 1)
{
    QStringList out;
    for (int i = from; i < from + n; ++i)
        out << prefix + QString::number(i);
    return out;
}

} // namespace cmptest
