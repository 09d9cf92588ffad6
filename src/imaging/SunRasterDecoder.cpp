// Sun raster (.ras): 1, 8, 24 and 32 bits a pixel, standard (BGR), RGB-ordered and run-length coded
// files, with or without an RGB colour map; rows are padded to 16 bits.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <vector>

namespace imaging::detail {
namespace {

// The byte-encoded coding: 0x80 0x00 is one 0x80, 0x80 n v is n+1 copies of v, any other byte itself.
class SunRuns {
public:
    SunRuns(ByteReader& in, bool coded) : m_in(in), m_coded(coded) {}
    void read(uint8_t* out, qint64 count)
    {
        if (!m_coded) {
            std::copy_n(m_in.take(count), count, out);
            return;
        }
        for (qint64 i = 0; i < count; ++i) {
            if (m_left == 0) {
                const uint8_t b = m_in.u8();
                m_left = 1;
                m_value = b;
                if (b == 0x80) {
                    const uint8_t n = m_in.u8();
                    if (n != 0) {
                        m_left = n + 1;
                        m_value = m_in.u8();
                    }
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

QImage decodeSunRaster(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u32be() == 0x59a66a95u, "not a Sun raster file");
    const uint32_t width = in.u32be(), height = in.u32be(), depth = in.u32be();
    in.skip(4);   // data length: 0 in old files, so not relied on
    const uint32_t type = in.u32be(), mapType = in.u32be(), mapLength = in.u32be();
    if (type > 3)
        unsupported("unsupported Sun raster type");
    if (depth != 1 && depth != 8 && depth != 24 && depth != 32)
        unsupported("unsupported Sun raster depth");
    if (mapType > 1 || (mapType == 0 && mapLength != 0))
        unsupported("unsupported Sun raster colour map");
    checkSize(width, height);

    std::vector<QRgb> palette;
    if (mapType == 1) {
        require(mapLength % 3 == 0 && mapLength <= 3 * 256 && mapLength > 0, "bad Sun raster colour map length");
        const uint8_t* map = in.take(mapLength);
        const uint32_t n = mapLength / 3;
        for (uint32_t i = 0; i < n; ++i)
            palette.push_back(qRgb(map[i], map[n + i], map[2 * n + i]));
    } else if (depth == 1) {
        palette = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    } else if (depth == 8) {
        for (int i = 0; i < 256; ++i)
            palette.push_back(grey(uint8_t(i)));
    }
    const qint64 lineBytes = ((qint64(width) * depth + 15) / 16) * 2;
    const bool coded = type == 2;
    if (coded)
        checkCompressedSize(in.left(), lineBytes * height, 86);
    else
        require(in.left() >= lineBytes * height, "Sun raster pixel data too short");

    QImage image = newImage(width, height, QImage::Format_RGB32);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    SunRuns runs(in, coded);
    const bool rgbOrder = type == 3;
    for (uint32_t y = 0; y < height; ++y) {
        runs.read(line.data(), lineBytes);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uint8_t* l = line.data();
        for (uint32_t x = 0; x < width; ++x) {
            if (depth <= 8) {
                const unsigned index = depth == 1 ? (l[x >> 3] >> (7 - (x & 7))) & 1 : l[x];
                require(index < palette.size(), "Sun raster colour index outside the map");
                out[x] = palette[index];
            } else {
                const uint8_t* p = l + size_t(x) * (depth / 8) + (depth == 32 ? 1 : 0);
                out[x] = rgbOrder ? qRgb(p[0], p[1], p[2]) : qRgb(p[2], p[1], p[0]);
            }
        }
    }
    runs.finish();
    return image;
}

} // namespace imaging::detail
