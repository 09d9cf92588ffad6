// PCX: 1 bit (black and white), 2 and 4 bits (header palette, packed or in planes), 8 bits with the
// 256-colour palette at the end, and 24/32 bits as three or four 8-bit planes; uncompressed or run-length
// coded. DCX: the first page of such a container.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <cstring>
#include <vector>

namespace imaging::detail {
namespace {

// PCX run-length coding; a run may go on into the next line.
class PcxRuns {
public:
    PcxRuns(ByteReader& in, bool coded) : m_in(in), m_coded(coded) {}
    void read(uint8_t* out, qint64 count)
    {
        if (!m_coded) {
            std::memcpy(out, m_in.take(count), size_t(count));
            return;
        }
        for (qint64 i = 0; i < count; ++i) {
            if (m_left == 0) {
                const uint8_t c = m_in.u8();
                if ((c & 0xc0) == 0xc0) {
                    m_left = c & 0x3f;
                    m_value = m_in.u8();
                } else {
                    m_left = 1;
                    m_value = c;
                }
                if (m_left == 0) {   // a run of none: skip it
                    --i;
                    continue;
                }
            }
            out[i] = m_value;
            --m_left;
        }
    }

    // A run that goes on past the picture's last line means damaged data.
    void finish() const { require(m_left == 0, "run past the end of the picture"); }

private:
    ByteReader& m_in;
    bool m_coded;
    int m_left = 0;
    uint8_t m_value = 0;
};

} // namespace

QImage decodePcx(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u8() == 0x0a, "not a PCX file");
    const int version = in.u8();
    const int encoding = in.u8();
    const int bits = in.u8();
    const int xmin = in.u16le(), ymin = in.u16le(), xmax = in.u16le(), ymax = in.u16le();
    in.skip(4);
    const uint8_t* headerPalette = in.take(48);
    in.skip(1);
    const int planes = in.u8();
    const int bytesPerLine = in.u16le();
    in.seek(128);
    if (version > 5 || encoding > 1)
        damaged("bad PCX header");
    require(xmax >= xmin && ymax >= ymin, "bad PCX picture bounds");
    const int width = xmax - xmin + 1, height = ymax - ymin + 1;
    checkSize(width, height);

    enum { Mono, HeaderPalette, Packed8, Planes8 } kind;
    if (bits == 1 && planes == 1)
        kind = Mono;
    else if ((bits == 1 && (planes == 2 || planes == 3 || planes == 4)) || ((bits == 2 || bits == 4) && planes == 1))
        kind = HeaderPalette;
    else if (bits == 8 && planes == 1)
        kind = Packed8;
    else if (bits == 8 && (planes == 3 || planes == 4))
        kind = Planes8;
    else
        unsupported("unsupported PCX bit depth");
    require(qint64(bytesPerLine) * 8 >= qint64(width) * bits, "PCX line shorter than the picture");

    QRgb palette[256];
    if (kind == Mono) {
        palette[0] = qRgb(0, 0, 0);
        palette[1] = qRgb(255, 255, 255);
    } else if (kind == HeaderPalette) {
        for (int i = 0; i < 16; ++i)
            palette[i] = qRgb(headerPalette[3 * i], headerPalette[3 * i + 1], headerPalette[3 * i + 2]);
    }
    qsizetype dataEnd = data.size();
    if (kind == Packed8) {
        require(data.size() >= 128 + 769 && data[data.size() - 769] == 0x0c, "PCX 256-colour palette missing");
        dataEnd = data.size() - 769;
        const auto* p = reinterpret_cast<const uint8_t*>(data.data()) + dataEnd + 1;
        for (int i = 0; i < 256; ++i)
            palette[i] = qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    }
    ByteReader pixels(data.first(dataEnd), 128);
    const qint64 lineBytes = qint64(bytesPerLine) * planes;
    const qint64 total = lineBytes * height;
    if (encoding)
        checkCompressedSize(pixels.left(), total, 32);
    else
        require(pixels.left() >= total, "PCX pixel data too short");

    const bool alpha = kind == Planes8 && planes == 4;
    QImage image = newImage(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    PcxRuns runs(pixels, encoding == 1);
    for (int y = 0; y < height; ++y) {
        runs.read(line.data(), lineBytes);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* l = line.data();
        for (int x = 0; x < width; ++x) {
            switch (kind) {
            case Mono:
                out[x] = palette[(l[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case HeaderPalette: {
                int index = 0;
                if (bits == 1) {
                    for (int p = 0; p < planes; ++p)
                        index |= ((l[p * bytesPerLine + (x >> 3)] >> (7 - (x & 7))) & 1) << p;
                } else {
                    const int perByte = 8 / bits;
                    const int shift = 8 - bits * (x % perByte + 1);
                    index = (l[x / perByte] >> shift) & ((1 << bits) - 1);
                }
                out[x] = palette[index];
                break;
            }
            case Packed8:
                out[x] = palette[l[x]];
                break;
            case Planes8:
                out[x] = qRgba(l[x], l[bytesPerLine + x], l[2 * bytesPerLine + x],
                               alpha ? l[3 * bytesPerLine + x] : 255);
                break;
            }
        }
    }
    runs.finish();
    return image;
}

QImage decodeDcx(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u32le() == 987654321u, "not a DCX file");
    const uint32_t first = in.u32le();
    require(first != 0, "DCX file without pages");
    const uint32_t second = in.u32le();
    require(first >= 8 && first < uint32_t(data.size()), "DCX page offset outside the file");
    qsizetype end = data.size();
    if (second > first && second <= uint32_t(data.size()))
        end = qsizetype(second);
    return decodePcx(data.sliced(qsizetype(first), end - qsizetype(first)));
}

} // namespace imaging::detail
