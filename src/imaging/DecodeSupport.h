#pragma once
#include "imaging/Picture.h"
#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <cstdint>
#include <stdexcept>

// Helpers shared by the decoders: a failure thrown with its kind, bounds-checked reading and checked
// picture allocation.
namespace imaging::detail {

class DecodeError : public std::runtime_error {
public:
    DecodeError(Failure failure, const char* reason) : std::runtime_error(reason), m_failure(failure) {}
    Failure failure() const { return m_failure; }
private:
    Failure m_failure;
};

[[noreturn]] inline void damaged(const char* reason) { throw DecodeError(Failure::Damaged, reason); }
[[noreturn]] inline void unsupported(const char* reason) { throw DecodeError(Failure::Unsupported, reason); }
inline void require(bool condition, const char* reason)
{
    if (!condition)
        damaged(reason);
}

// Reads integers and byte runs from a buffer; any read past its end throws "unexpected end of data".
class ByteReader {
public:
    explicit ByteReader(QByteArrayView data, qsizetype pos = 0) : m_data(data), m_pos(pos) {}
    qsizetype pos() const { return m_pos; }
    qsizetype size() const { return m_data.size(); }
    qsizetype left() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    void seek(qint64 pos);
    void skip(qint64 count);
    uint8_t u8();
    uint16_t u16le();
    uint16_t u16be();
    uint32_t u32le();
    uint32_t u32be();
    const uint8_t* take(qint64 count);   // the next `count` bytes, checked
    QByteArrayView data() const { return m_data; }

private:
    void need(qint64 count) const;
    QByteArrayView m_data;
    qsizetype m_pos;
};

// Throws Damaged for a zero or negative side and TooLarge past kMaxPixels.
void checkSize(qint64 width, qint64 height);
// A picture of that size and format; throws as checkSize does, and TooLarge when memory cannot be had.
QImage newImage(qint64 width, qint64 height, QImage::Format format);
// Throws Damaged unless `available` bytes can hold `pixels` pixels at most `ratio` pixels per byte
// (the best a run-length coding can do), so a tiny file cannot make a huge picture.
void checkCompressedSize(qint64 available, qint64 pixels, qint64 ratio);

// PackBits / ByteRun1: decodes exactly `count` bytes into `out`; throws on a run past `count` or the data's end.
void unpackBits(ByteReader& in, uint8_t* out, qint64 count);

inline QRgb grey(uint8_t v) { return qRgb(v, v, v); }
// 5-5-5 colour (bit 15 ignored) to 8 bits per channel.
inline QRgb rgb555(uint16_t v)
{
    auto s = [](unsigned c) { return (c << 3) | (c >> 2); };
    return qRgb(s((v >> 10) & 31), s((v >> 5) & 31), s(v & 31));
}

} // namespace imaging::detail
