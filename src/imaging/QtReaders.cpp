// BMP/DIB, PNG, GIF (first frame), ICO (the largest image), TIFF and PPM/PGM/PBM through Qt's readers,
// each with its format forced: Qt never guesses among its plugins.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <QBuffer>
#include <QImageReader>
#include <cstdlib>

namespace imaging::detail {
namespace {

// Qt's BMP reader fills what a cut file lacks; so the pixel data must be all there before it reads:
// whole rows for an uncompressed bitmap, a run-length stream that reaches its end-of-bitmap code.
void checkBmpComplete(QByteArrayView data)
{
    ByteReader in(data);
    in.skip(10);
    const uint32_t offset = in.u32le();
    const uint32_t headerSize = in.u32le();
    qint64 width, height;
    int bits;
    uint32_t compression = 0;
    if (headerSize == 12) {
        width = in.u16le();
        height = in.u16le();
        in.skip(2);
        bits = in.u16le();
    } else {
        require(headerSize >= 40, "bad BMP header size");
        width = qint32(in.u32le());
        height = qint32(in.u32le());
        in.skip(2);
        bits = in.u16le();
        compression = in.u32le();
    }
    require(width > 0 && height != 0 && bits > 0 && bits <= 32, "bad BMP header");
    checkSize(width, std::abs(height));
    require(offset <= uint64_t(data.size()), "BMP pixel data outside the file");
    if (compression == 0 || compression == 3 || compression == 6) {
        const qint64 stride = (width * bits + 31) / 32 * 4;
        require(data.size() - qint64(offset) >= stride * std::abs(height), "BMP pixel data too short");
    } else if (compression == 1 || compression == 2) {
        ByteReader rle(data, qsizetype(offset));
        for (;;) {
            const uint8_t count = rle.u8(), code = rle.u8();
            if (count != 0)
                continue;
            if (code == 1)
                break;   // end of bitmap
            if (code == 2)
                rle.skip(2);
            else if (code > 2) {
                const qint64 bytes = compression == 1 ? code : (code + 1) / 2;
                rle.skip(bytes + (bytes & 1));
            }
        }
    }
}

void skipSubBlocks(ByteReader& in)
{
    while (const uint8_t size = in.u8())
        in.skip(size);
}

// Qt's GIF reader shows what a cut file holds; the first image's data must reach its terminator.
void checkGifComplete(QByteArrayView data)
{
    ByteReader in(data, 10);
    const uint8_t flags = in.u8();
    in.skip(2);
    if (flags & 0x80)
        in.skip(3 << ((flags & 7) + 1));
    for (;;) {
        const uint8_t block = in.u8();
        if (block == 0x21) {
            in.skip(1);
            skipSubBlocks(in);
        } else if (block == 0x2c) {
            in.skip(8);
            const uint8_t local = in.u8();
            if (local & 0x80)
                in.skip(3 << ((local & 7) + 1));
            in.skip(1);   // LZW code size
            skipSubBlocks(in);
            return;
        } else {
            damaged("GIF without an image");
        }
    }
}

} // namespace

QImage decodeWithQt(QByteArrayView data, const char* qtFormat)
{
    const QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // The pixel cap is ours; Qt's own limit (in MiB of 32-bit pixels) is set just above it.
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
    if (qstrcmp(qtFormat, "bmp") == 0)
        checkBmpComplete(data);
    if (qstrcmp(qtFormat, "gif") == 0)
        checkGifComplete(data);
    if (!reader.canRead())
        damaged("not a picture of this type");
    const QSize size = reader.size();
    if (size.isValid())
        checkSize(size.width(), size.height());
    QImage best;
    const int count = qstrcmp(qtFormat, "ico") == 0 ? std::max(reader.imageCount(), 1) : 1;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            damaged("icon entry missing");
        QImage image = reader.read();
        if (image.isNull()) {
            if (reader.error() == QImageReader::UnsupportedFormatError)
                unsupported("unsupported variant of this picture type");
            damaged("damaged picture data");
        }
        if (qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = std::move(image);
    }
    checkSize(best.width(), best.height());
    return best;
}

} // namespace imaging::detail
