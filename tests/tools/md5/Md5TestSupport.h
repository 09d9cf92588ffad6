#pragma once
#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <cstdint>
#include <unistd.h>

namespace md5test {

// Reproducible non-repeating bytes.
inline QByteArray patternBytes(qint64 n, std::uint32_t seed = 12345)
{
    QByteArray bytes(n, Qt::Uninitialized);
    std::uint32_t x = seed;
    for (qint64 i = 0; i < n; ++i) {
        x = x * 1664525u + 1013904223u;
        bytes[i] = char(x >> 24);
    }
    return bytes;
}

// The digest by an independent implementation, in the engine's text form.
inline QString referenceDigest(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
}

// A sparse file of the given size (no data blocks on disk).
inline void makeSparse(const QString& path, qint64 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(::ftruncate(f.handle(), off_t(size)), 0);
}

inline void truncateTo(const QString& path, qint64 size)
{
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), off_t(size)), 0);
}

inline const QString kEmptyDigest = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");

} // namespace md5test
