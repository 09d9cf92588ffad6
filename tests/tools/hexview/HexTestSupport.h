#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

namespace hextest {

// Bytes 0, 1, 2 … wrapping at 251 (a prime, so rows and cache blocks do not line up with the pattern).
inline QByteArray pattern(qint64 size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        b[i] = char(i % 251);
    return b;
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A sparse file of `size` bytes (ftruncate: no data blocks are written).
inline bool makeSparse(const QString& path, qint64 size)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(size);
}

// `count` bytes of the file at `offset`.
inline QByteArray readAt(const QString& path, qint64 offset, qint64 count)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(offset))
        return QByteArray();
    return f.read(count);
}

} // namespace hextest
