// SGI image files (.sgi, .rgb): 8 bits a channel, verbatim or run-length coded, 1 to 4 channels (grey,
// grey with alpha, RGB, RGBA); rows are stored from the bottom up.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <vector>

namespace imaging::detail {

QImage decodeSgi(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u16be() == 474, "not an SGI file");
    const int storage = in.u8();
    const int bytesPerChannel = in.u8();
    const int dimension = in.u16be();
    const int width = in.u16be();
    int height = in.u16be();
    int channels = in.u16be();
    in.seek(104);
    const uint32_t colourMap = in.u32be();
    require(data.size() >= 512, "SGI header too short");
    if (storage > 1 || dimension < 1 || dimension > 3)
        damaged("bad SGI header");
    if (bytesPerChannel != 1)
        unsupported("only 8-bit SGI files are read");
    if (colourMap != 0)
        unsupported("SGI colour-map files are not read");
    if (dimension == 1)
        height = 1;
    if (dimension < 3)
        channels = 1;
    if (channels < 1 || channels > 4)
        unsupported("unsupported SGI channel count");
    checkSize(width, height);

    const qint64 rows = qint64(height) * channels;
    std::vector<uint32_t> starts, lengths;
    if (storage == 1) {
        in.seek(512);
        require(in.left() >= rows * 8, "SGI row tables too short");
        starts.resize(size_t(rows));
        lengths.resize(size_t(rows));
        for (auto& s : starts)
            s = in.u32be();
        for (auto& l : lengths)
            l = in.u32be();
        for (qint64 i = 0; i < rows; ++i)
            require(starts[size_t(i)] >= 512 && qint64(starts[size_t(i)]) + lengths[size_t(i)] <= data.size(),
                    "SGI row outside the file");
    } else {
        require(data.size() - 512 >= rows * width, "SGI pixel data too short");
    }

    const bool alpha = channels == 2 || channels == 4;
    QImage image = newImage(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<uint8_t> row(size_t(width) * channels);
    for (int y = 0; y < height; ++y) {
        for (int c = 0; c < channels; ++c) {
            uint8_t* out = row.data() + size_t(c) * width;
            const qint64 index = qint64(c) * height + y;
            if (storage == 0) {
                ByteReader src(data, qsizetype(512 + index * width));
                std::copy_n(src.take(width), width, out);
                continue;
            }
            ByteReader src(data.first(qsizetype(starts[size_t(index)] + lengths[size_t(index)])),
                           qsizetype(starts[size_t(index)]));
            int x = 0;
            for (;;) {
                const uint8_t b = src.u8();
                const int count = b & 0x7f;
                if (count == 0)
                    break;
                require(count <= width - x, "SGI run past the end of the row");
                if (b & 0x80) {
                    std::copy_n(src.take(count), count, out + x);
                } else {
                    std::fill_n(out + x, count, src.u8());
                }
                x += count;
            }
            require(x == width, "SGI row shorter than the picture");
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(height - 1 - y));
        const uint8_t* r = row.data();
        for (int x = 0; x < width; ++x) {
            switch (channels) {
            case 1: line[x] = grey(r[x]); break;
            case 2: line[x] = qRgba(r[x], r[x], r[x], r[width + x]); break;
            case 3: line[x] = qRgb(r[x], r[width + x], r[2 * width + x]); break;
            default: line[x] = qRgba(r[x], r[width + x], r[2 * width + x], r[3 * width + x]); break;
            }
        }
    }
    return image;
}

} // namespace imaging::detail
