// Targa: colour-mapped, true-colour and grey pictures, uncompressed or run-length coded (types 1, 2, 3,
// 9, 10, 11), 8, 15, 16, 24 and 32 bits a pixel, either origin.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <vector>

namespace imaging::detail {
namespace {

struct TgaHeader {
    int idLength, mapType, type, mapFirst, mapLength, mapBits, width, height, depth, descriptor;
};

QRgb readColour(ByteReader& in, int bits, bool alpha)
{
    switch (bits) {
    case 15:
    case 16: {
        const uint16_t v = in.u16le();
        const QRgb c = rgb555(v);
        return alpha && bits == 16 && !(v & 0x8000) ? (c & 0x00ffffff) : c;
    }
    case 24: {
        const uint8_t* p = in.take(3);
        return qRgb(p[2], p[1], p[0]);
    }
    case 32: {
        const uint8_t* p = in.take(4);
        return qRgba(p[2], p[1], p[0], alpha ? p[3] : 255);
    }
    }
    unsupported("unsupported Targa colour depth");
}

} // namespace

QImage decodeTga(QByteArrayView data)
{
    ByteReader in(data);
    TgaHeader h;
    h.idLength = in.u8();
    h.mapType = in.u8();
    h.type = in.u8();
    h.mapFirst = in.u16le();
    h.mapLength = in.u16le();
    h.mapBits = in.u8();
    in.skip(4);   // x and y origin: positions on a screen, not used
    h.width = in.u16le();
    h.height = in.u16le();
    h.depth = in.u8();
    h.descriptor = in.u8();

    const int kind = h.type & 7;   // 1 mapped, 2 true colour, 3 grey; +8 run-length coded
    const bool rle = h.type & 8;
    if ((h.type & ~11) != 0 || kind == 0)
        unsupported("unsupported Targa image type");
    if (h.mapType > 1)
        damaged("bad Targa colour map type");
    const int alphaBits = h.descriptor & 15;
    checkSize(h.width, h.height);
    in.skip(h.idLength);

    std::vector<QRgb> palette;
    if (h.mapType == 1) {
        if (h.mapBits != 15 && h.mapBits != 16 && h.mapBits != 24 && h.mapBits != 32)
            damaged("bad Targa colour map entry size");
        palette.reserve(h.mapLength);
        for (int i = 0; i < h.mapLength; ++i)
            palette.push_back(readColour(in, h.mapBits, alphaBits > 0));
    }
    if (kind == 1) {
        if (h.mapType != 1 || (h.depth != 8 && h.depth != 16))
            damaged("colour-mapped Targa without a usable map");
    } else if (kind == 2) {
        if (h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32)
            unsupported("unsupported Targa true-colour depth");
    } else if (h.depth != 8) {
        unsupported("unsupported Targa grey depth");
    }
    const int bytesPerPixel = (h.depth + 7) / 8;
    const qint64 pixels = qint64(h.width) * h.height;
    if (rle)
        checkCompressedSize(in.left(), pixels, 128 / (1 + bytesPerPixel) + 1);
    else
        require(in.left() >= pixels * bytesPerPixel, "Targa pixel data too short");

    const bool alpha = (kind == 2 && (h.depth == 32 || h.depth == 16) && alphaBits > 0) ||
                       (kind == 1 && alphaBits > 0 && (h.mapBits == 32 || h.mapBits == 16));
    QImage image = newImage(h.width, h.height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);

    auto readPixel = [&]() -> QRgb {
        if (kind == 1) {
            const int index = (h.depth == 8 ? in.u8() : in.u16le()) - h.mapFirst;
            if (index < 0 || index >= int(palette.size()))
                damaged("Targa colour index outside the map");
            return palette[size_t(index)];
        }
        if (kind == 3)
            return grey(in.u8());
        return readColour(in, h.depth, alpha);
    };

    const bool topDown = h.descriptor & 0x20;
    const bool rightToLeft = h.descriptor & 0x10;
    qint64 done = 0;
    auto put = [&](QRgb c, qint64 count) {
        require(count <= pixels - done, "Targa run past the end of the picture");
        for (; count > 0; --count, ++done) {
            const int y = int(done / h.width), x = int(done % h.width);
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(topDown ? y : h.height - 1 - y));
            line[rightToLeft ? h.width - 1 - x : x] = c;
        }
    };
    while (done < pixels) {
        if (!rle) {
            put(readPixel(), 1);
            continue;
        }
        const uint8_t packet = in.u8();
        const int count = (packet & 0x7f) + 1;
        if (packet & 0x80) {
            put(readPixel(), count);
        } else {
            require(count <= pixels - done, "Targa run past the end of the picture");
            for (int i = 0; i < count; ++i)
                put(readPixel(), 1);
        }
    }
    return image;
}

} // namespace imaging::detail
