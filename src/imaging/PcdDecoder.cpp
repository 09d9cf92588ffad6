// Kodak Photo CD: the base resolution (768 x 512) picture, stored as PhotoYCC with two luma lines and one
// line of each chroma per pair of lines, turned into RGB and rotated as the image pack says.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <QTransform>
#include <algorithm>

namespace imaging::detail {

QImage decodePcd(QByteArrayView data)
{
    constexpr int kWidth = 768, kHeight = 512;
    constexpr qint64 kBaseOffset = 0x30000;
    ByteReader in(data);
    in.seek(0x800);
    require(QByteArrayView(reinterpret_cast<const char*>(in.take(7)), 7) == "PCD_IPI", "not a Photo CD image pack");
    in.seek(0xe02);
    const int rotation = in.u8() & 3;
    require(data.size() >= kBaseOffset + qint64(kHeight / 2) * (2 * kWidth + kWidth), "Photo CD base picture too short");
    in.seek(kBaseOffset);
    QImage image = newImage(kWidth, kHeight, QImage::Format_RGB32);
    auto clamp = [](double v) { return std::clamp(int(v + 0.5), 0, 255); };
    for (int pair = 0; pair < kHeight / 2; ++pair) {
        const uint8_t* y0 = in.take(kWidth);
        const uint8_t* y1 = in.take(kWidth);
        const uint8_t* c1 = in.take(kWidth / 2);
        const uint8_t* c2 = in.take(kWidth / 2);
        for (int row = 0; row < 2; ++row) {
            const uint8_t* luma = row ? y1 : y0;
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(2 * pair + row));
            for (int x = 0; x < kWidth; ++x) {
                const double l = 1.3584 * luma[x];
                const double a = 2.2179 * (c1[x / 2] - 156);
                const double b = 1.8215 * (c2[x / 2] - 137);
                out[x] = qRgb(clamp(l + b), clamp(l - 0.194 * a - 0.509 * b), clamp(l + a));
            }
        }
    }
    if (rotation == 0)
        return image;
    // 1: turned a quarter to the left on the film, 2: upside down, 3: a quarter to the right.
    return image.transformed(QTransform().rotate(rotation == 1 ? 270 : rotation == 2 ? 180 : 90));
}

} // namespace imaging::detail
