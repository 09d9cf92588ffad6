#include "imaging/DecodeSupport.h"
#include <cstring>

namespace imaging::detail {

void ByteReader::need(qint64 count) const
{
    if (count < 0 || count > m_data.size() - m_pos)
        damaged("unexpected end of data");
}

void ByteReader::seek(qint64 pos)
{
    if (pos < 0 || pos > m_data.size())
        damaged("offset past the end of the data");
    m_pos = qsizetype(pos);
}

void ByteReader::skip(qint64 count)
{
    need(count);
    m_pos += qsizetype(count);
}

uint8_t ByteReader::u8()
{
    need(1);
    return uint8_t(m_data[m_pos++]);
}

uint16_t ByteReader::u16le()
{
    const uint8_t* p = take(2);
    return uint16_t(p[0] | p[1] << 8);
}

uint16_t ByteReader::u16be()
{
    const uint8_t* p = take(2);
    return uint16_t(p[0] << 8 | p[1]);
}

uint32_t ByteReader::u32le()
{
    const uint8_t* p = take(4);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t ByteReader::u32be()
{
    const uint8_t* p = take(4);
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

const uint8_t* ByteReader::take(qint64 count)
{
    need(count);
    const auto* p = reinterpret_cast<const uint8_t*>(m_data.data()) + m_pos;
    m_pos += qsizetype(count);
    return p;
}

void checkSize(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        damaged("picture has no width or height");
    if (width > kMaxPixels || height > kMaxPixels || width * height > kMaxPixels)
        throw DecodeError(Failure::TooLarge, "picture larger than 256 megapixels");
}

QImage newImage(qint64 width, qint64 height, QImage::Format format)
{
    checkSize(width, height);
    QImage image(int(width), int(height), format);
    if (image.isNull())
        throw DecodeError(Failure::TooLarge, "not enough memory for the picture");
    return image;
}

void checkCompressedSize(qint64 available, qint64 pixels, qint64 ratio)
{
    if (available < 0 || (pixels + ratio - 1) / ratio > available)
        damaged("data too short for the picture's size");
}

void unpackBits(ByteReader& in, uint8_t* out, qint64 count)
{
    qint64 done = 0;
    while (done < count) {
        const int n = int8_t(in.u8());
        if (n >= 0) {
            const qint64 len = n + 1;
            require(len <= count - done, "run past the end of the row");
            std::memcpy(out + done, in.take(len), size_t(len));
            done += len;
        } else if (n != -128) {
            const qint64 len = 1 - n;
            require(len <= count - done, "run past the end of the row");
            std::memset(out + done, in.u8(), size_t(len));
            done += len;
        }
    }
}

} // namespace imaging::detail
