// IFF pictures: ILBM with 1 to 8 bit planes and a CMAP (extra-half-brite included), 24-bit ILBM, and
// chunky PBM; uncompressed or ByteRun1. A mask plane is skipped. HAM pictures are not read.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <cstring>
#include <vector>

namespace imaging::detail {
namespace {

constexpr uint32_t id(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 | uint8_t(s[3]);
}

} // namespace

QImage decodeIff(QByteArrayView data)
{
    ByteReader in(data);
    require(in.u32be() == id("FORM"), "not an IFF file");
    const uint32_t formSize = in.u32be();
    require(formSize >= 4 && formSize <= uint32_t(data.size() - 8), "IFF form longer than the file");
    const uint32_t formType = in.u32be();
    if (formType != id("ILBM") && formType != id("PBM "))
        unsupported("unsupported IFF form type");
    const bool chunky = formType == id("PBM ");
    ByteReader chunks(data.first(qsizetype(formSize) + 8), 12);

    int width = 0, height = 0, planes = 0, masking = 0, compression = 0;
    bool haveHeader = false;
    uint32_t viewMode = 0;
    std::vector<QRgb> palette;
    QByteArrayView body;
    bool haveBody = false;
    while (chunks.left() >= 8 && !haveBody) {
        const uint32_t chunk = chunks.u32be();
        const uint32_t size = chunks.u32be();
        const uint8_t* p = chunks.take(size);
        if (size & 1 && !chunks.atEnd())
            chunks.skip(1);
        if (chunk == id("BMHD")) {
            require(size >= 20, "IFF header too short");
            width = p[0] << 8 | p[1];
            height = p[2] << 8 | p[3];
            planes = p[8];
            masking = p[9];
            compression = p[10];
            haveHeader = true;
        } else if (chunk == id("CMAP")) {
            palette.clear();
            for (uint32_t i = 0; i + 3 <= size && i < 3 * 256; i += 3)
                palette.push_back(qRgb(p[i], p[i + 1], p[i + 2]));
        } else if (chunk == id("CAMG")) {
            require(size >= 4, "IFF display mode too short");
            viewMode = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        } else if (chunk == id("BODY")) {
            require(haveHeader, "IFF picture data before its header");
            body = QByteArrayView(reinterpret_cast<const char*>(p), size);
            haveBody = true;
        }
    }
    require(haveHeader && haveBody, "IFF picture header or data missing");
    if (compression > 1)
        unsupported("unsupported IFF compression");
    if (viewMode & 0x800)
        unsupported("HAM pictures are not read");
    if (chunky ? planes != 8 : !((planes >= 1 && planes <= 8) || planes == 24))
        unsupported("unsupported IFF plane count");
    if (masking > 3)
        damaged("bad IFF masking");
    checkSize(width, height);

    const bool extraHalfBrite = (viewMode & 0x80) && planes == 6;
    if (planes <= 8) {
        const size_t colours = size_t(1) << planes;
        if (palette.empty()) {   // no CMAP: a grey ramp
            for (size_t i = 0; i < colours; ++i)
                palette.push_back(grey(uint8_t(i * 255 / (colours - 1 ? colours - 1 : 1))));
        }
        if (extraHalfBrite) {
            palette.resize(32);
            for (int i = 0; i < 32; ++i)
                palette.push_back(qRgb(qRed(palette[size_t(i)]) / 2, qGreen(palette[size_t(i)]) / 2,
                                       qBlue(palette[size_t(i)]) / 2));
        }
    }

    const qint64 planeBytes = chunky ? (qint64(width) + 1) / 2 * 2 : (qint64(width) + 15) / 16 * 2;
    const qint64 lineBytes = chunky ? planeBytes : planeBytes * (planes + (masking == 1 ? 1 : 0));
    ByteReader src(body);
    if (compression)
        checkCompressedSize(src.left(), lineBytes * height, 64);
    else
        require(src.left() >= lineBytes * height, "IFF picture data too short");

    QImage image = newImage(width, height, QImage::Format_RGB32);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    for (int y = 0; y < height; ++y) {
        if (compression)
            unpackBits(src, line.data(), lineBytes);
        else
            std::memcpy(line.data(), src.take(lineBytes), size_t(lineBytes));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* l = line.data();
        for (int x = 0; x < width; ++x) {
            if (chunky) {
                require(l[x] < palette.size(), "IFF colour index outside the palette");
                out[x] = palette[l[x]];
                continue;
            }
            uint32_t value = 0;
            const int byte = x >> 3, shift = 7 - (x & 7);
            for (int p = 0; p < planes; ++p)
                value |= uint32_t((l[p * planeBytes + byte] >> shift) & 1) << p;
            if (planes == 24) {
                out[x] = qRgb(value & 0xff, (value >> 8) & 0xff, value >> 16);
            } else {
                require(value < palette.size(), "IFF colour index outside the palette");
                out[x] = palette[value];
            }
        }
    }
    return image;
}

} // namespace imaging::detail
