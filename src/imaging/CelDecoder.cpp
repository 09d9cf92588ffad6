// Autodesk Animator CEL/PIC pictures: the 32-byte header (0x9119), a 256-entry palette of 6-bit VGA values
// and uncompressed 8-bit pixels.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"

namespace imaging::detail {

QImage decodeCel(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u16le() == 0x9119, "not an Animator CEL/PIC file");
    const int width = in.u16le(), height = in.u16le();
    in.skip(4);   // position on the screen
    const int bits = in.u8(), compression = in.u8();
    in.seek(32);
    if (bits != 8 || compression != 0)
        unsupported("only uncompressed 8-bit CEL/PIC files are read");
    checkSize(width, height);
    const uint8_t* map = in.take(768);
    QRgb palette[256];
    for (int i = 0; i < 256; ++i) {
        auto v = [&](int c) { return std::min(63, int(map[3 * i + c])) * 255 / 63; };
        palette[i] = qRgb(v(0), v(1), v(2));
    }
    require(in.left() >= qint64(width) * height, "CEL/PIC pixel data too short");
    QImage image = newImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = in.take(width);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = palette[src[x]];
    }
    return image;
}

} // namespace imaging::detail
