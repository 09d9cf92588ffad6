// Dr. Halo CUT pictures: 8-bit run-length coded lines, coloured by the PAL file beside them when there
// is one (its 16-bit entries scaled by the maxima in its header), else shown in grey.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <vector>

namespace imaging::detail {
namespace {

std::vector<QRgb> readHaloPalette(QByteArrayView pal)
{
    ByteReader in(pal);
    require(in.u8() == 'A' && in.u8() == 'H', "not a Dr. Halo palette");
    in.seek(12);
    const int maxIndex = in.u16le();
    const int maxR = in.u16le(), maxG = in.u16le(), maxB = in.u16le();
    require(maxIndex < 256 && maxR > 0 && maxG > 0 && maxB > 0, "bad Dr. Halo palette header");
    std::vector<QRgb> colours;
    qint64 pos = 40;
    for (int i = 0; i <= maxIndex; ++i) {
        if (pos % 512 + 6 > 512)   // an entry never spans two 512-byte blocks
            pos = (pos / 512 + 1) * 512;
        in.seek(pos);
        const int r = in.u16le(), g = in.u16le(), b = in.u16le();
        colours.push_back(qRgb(std::min(r, maxR) * 255 / maxR, std::min(g, maxG) * 255 / maxG, std::min(b, maxB) * 255 / maxB));
        pos += 6;
    }
    return colours;
}

} // namespace

QImage decodeCut(QByteArrayView data, QByteArrayView palette)
{
    ByteReader in(data);
    const int width = in.u16le(), height = in.u16le();
    in.skip(2);
    checkSize(width, height);
    // Every line costs at least its 2-byte length and its end code.
    require(in.left() >= qint64(height) * 3, "CUT data too short");
    checkCompressedSize(in.left(), qint64(width) * height, 64);
    std::vector<QRgb> colours;
    if (!palette.isEmpty()) {
        colours = readHaloPalette(palette);
    } else {
        for (int i = 0; i < 256; ++i)
            colours.push_back(grey(uint8_t(i)));
    }
    QImage image = newImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const int length = in.u16le();
        ByteReader line(QByteArrayView(reinterpret_cast<const char*>(in.take(length)), length));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        int x = 0;
        for (;;) {
            const uint8_t code = line.u8();
            const int count = code & 0x7f;
            if (count == 0)
                break;
            require(count <= width - x, "CUT run past the end of the line");
            if (code & 0x80) {
                const uint8_t v = line.u8();
                require(v < colours.size(), "CUT colour index outside the palette");
                for (int i = 0; i < count; ++i)
                    out[x++] = colours[v];
            } else {
                for (int i = 0; i < count; ++i) {
                    const uint8_t v = line.u8();
                    require(v < colours.size(), "CUT colour index outside the palette");
                    out[x++] = colours[v];
                }
            }
        }
        require(x == width, "CUT line shorter than the picture");
    }
    return image;
}

} // namespace imaging::detail
