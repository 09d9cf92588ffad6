// Photoshop documents: the flattened composite picture stored after the layers, 8 bits a channel, raw or
// PackBits; greyscale (and duotone, shown as grey), indexed, RGB and CMYK (turned into RGB).
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <vector>

namespace imaging::detail {

QImage decodePsd(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u32be() == 0x38425053u, "not a Photoshop file");   // "8BPS"
    const int version = in.u16be();
    if (version == 2)
        unsupported("large-document Photoshop files are not read");
    require(version == 1, "bad Photoshop version");
    in.skip(6);
    const int channels = in.u16be();
    const uint32_t height = in.u32be(), width = in.u32be();
    const int depth = in.u16be();
    const int mode = in.u16be();
    require(channels >= 1 && channels <= 56, "bad Photoshop channel count");
    if (depth != 8)
        unsupported("only 8-bit Photoshop files are read");
    enum { Grey = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Duotone = 8 };
    int needed;
    switch (mode) {
    case Grey: case Duotone: case Indexed: needed = 1; break;
    case Rgb: needed = 3; break;
    case Cmyk: needed = 4; break;
    default: unsupported("unsupported Photoshop colour mode");
    }
    require(channels >= needed, "Photoshop file lacks colour channels");
    checkSize(width, height);

    const uint32_t modeLength = in.u32be();
    const uint8_t* modeData = in.take(modeLength);
    QRgb palette[256];
    if (mode == Indexed) {
        require(modeLength >= 768, "Photoshop palette missing");
        for (int i = 0; i < 256; ++i)
            palette[i] = qRgb(modeData[i], modeData[256 + i], modeData[512 + i]);
    }
    in.skip(in.u32be());   // image resources
    in.skip(in.u32be());   // layers and masks
    const int compression = in.u16be();
    if (compression > 1)
        unsupported("unsupported Photoshop compression");

    const qint64 rows = qint64(height) * channels;
    // The data must be there before the row table is made: a tiny file cannot make it huge.
    if (compression == 0)
        require(in.left() >= qint64(width) * rows, "Photoshop pixel data too short");
    else
        require(in.left() >= rows * 2, "Photoshop row lengths missing");
    std::vector<qint64> rowStart(static_cast<size_t>(needed) * height);
    if (compression == 0) {
        for (int c = 0; c < needed; ++c)
            for (uint32_t y = 0; y < height; ++y)
                rowStart[size_t(c) * height + y] = in.pos() + (qint64(c) * height + y) * width;
    } else {
        ByteReader counts(data, in.pos());
        qint64 offset = in.pos() + rows * 2;
        for (qint64 i = 0; i < rows; ++i) {
            if (i < qint64(rowStart.size()))
                rowStart[size_t(i)] = offset;
            offset += counts.u16be();
        }
        require(offset <= data.size(), "Photoshop pixel data too short");
        checkCompressedSize(data.size() - in.pos(), qint64(width) * height * needed, 64);
    }

    QImage image = newImage(width, height, QImage::Format_RGB32);
    std::vector<uint8_t> line(size_t(width) * needed);
    for (uint32_t y = 0; y < height; ++y) {
        for (int c = 0; c < needed; ++c) {
            uint8_t* out = line.data() + size_t(c) * width;
            ByteReader src(data, qsizetype(rowStart[size_t(c) * height + y]));
            if (compression == 0)
                std::copy_n(src.take(width), width, out);
            else
                unpackBits(src, out, width);
        }
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uint8_t* l = line.data();
        for (uint32_t x = 0; x < width; ++x) {
            switch (mode) {
            case Indexed: out[x] = palette[l[x]]; break;
            case Rgb: out[x] = qRgb(l[x], l[width + x], l[2 * width + x]); break;
            case Cmyk: {
                // Stored inverted: 255 is no ink.
                const unsigned k = l[3 * width + x];
                out[x] = qRgb(l[x] * k / 255, l[width + x] * k / 255, l[2 * width + x] * k / 255);
                break;
            }
            default: out[x] = grey(l[x]); break;
            }
        }
    }
    return image;
}

} // namespace imaging::detail
