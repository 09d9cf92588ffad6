// Wavefront RLA pictures: 8 bits a channel, 1 (grey) or 3 (RGB) colour channels and an optional matte
// (alpha), each line's channels run-length coded, lines stored from the bottom up through an offset table.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <vector>

namespace imaging::detail {

QImage decodeRla(QByteArrayView data)
{
    ByteReader in(data);
    in.seek(8);   // the active window
    const int left = int16_t(in.u16be()), right = int16_t(in.u16be());
    const int bottom = int16_t(in.u16be()), top = int16_t(in.u16be());
    in.seek(20);
    const int channels = int16_t(in.u16be()), mattes = int16_t(in.u16be());
    in.seek(658);
    const int channelBits = int16_t(in.u16be());
    in.skip(2);
    const int matteBits = int16_t(in.u16be());
    in.seek(740);
    if ((channels != 1 && channels != 3) || mattes < 0 || mattes > 1)
        unsupported("unsupported RLA channel layout");
    if (channelBits != 8 || (mattes && matteBits != 8))
        unsupported("only 8-bit RLA files are read");
    const qint64 width = qint64(right) - left + 1, height = qint64(top) - bottom + 1;
    checkSize(width, height);
    require(in.left() >= height * 4, "RLA line table too short");
    std::vector<uint32_t> offsets(static_cast<size_t>(height));
    for (auto& o : offsets)
        o = in.u32be();
    const int planes = channels + mattes;
    checkCompressedSize(in.left(), width * height * planes, 64);

    QImage image = newImage(width, height, mattes ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<uint8_t> line(size_t(width) * planes);
    for (qint64 y = 0; y < height; ++y) {
        ByteReader src(data, 0);
        src.seek(offsets[size_t(y)]);
        for (int c = 0; c < planes; ++c) {
            const int length = src.u16be();
            ByteReader run(QByteArrayView(reinterpret_cast<const char*>(src.take(length)), length));
            uint8_t* out = line.data() + size_t(c) * size_t(width);
            qint64 x = 0;
            while (x < width) {
                const int n = int8_t(run.u8());
                if (n >= 0) {
                    require(n + 1 <= width - x, "RLA run past the end of the line");
                    std::fill_n(out + x, n + 1, run.u8());
                    x += n + 1;
                } else {
                    require(-n <= width - x, "RLA run past the end of the line");
                    std::copy_n(run.take(-n), -n, out + x);
                    x += -n;
                }
            }
        }
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(height - 1 - y)));
        const uint8_t* l = line.data();
        for (qint64 x = 0; x < width; ++x) {
            const uint8_t r = l[x], g = channels == 3 ? l[width + x] : r, b = channels == 3 ? l[2 * width + x] : r;
            out[x] = qRgba(r, g, b, mattes ? l[channels * width + x] : 255);
        }
    }
    return image;
}

} // namespace imaging::detail
