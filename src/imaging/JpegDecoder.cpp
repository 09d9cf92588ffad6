// JPEG through libjpeg directly: scaled decoding for callers that want a small picture, CMYK/YCCK turned
// into RGB, and any corrupt-data warning (a truncated file included) taken as failure.
#include "imaging/Decoders.h"
#include "imaging/DecodeSupport.h"
#include <csetjmp>
#include <cstdio>
#include <algorithm>
#include <vector>
#include <jpeglib.h>

namespace imaging::detail {
namespace {

struct ErrorManager {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Level -1 is a warning about damaged data (libjpeg would go on with grey); trace levels are ignored.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        onError(info);
}

void silent(j_common_ptr) {}

struct Decompress {
    jpeg_decompress_struct info{};
    ~Decompress() { jpeg_destroy_decompress(&info); }
};

} // namespace

QImage decodeJpeg(QByteArrayView data, int maxSize)
{
    if (data.size() < 4)
        damaged("JPEG data too short");
    // Everything with a destructor is made before setjmp, so a longjmp back skips none of them.
    ErrorManager err;
    Decompress d;
    QImage image;
    std::vector<uint8_t> row;
    d.info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = onError;
    err.mgr.emit_message = onMessage;
    err.mgr.output_message = silent;
    jpeg_create_decompress(&d.info);
    // Progressive pictures keep all coefficients in memory; past this a made-up size fails instead.
    d.info.mem->max_memory_to_use = 1024L * 1024 * 1024;
    if (setjmp(err.jump))
        throw DecodeError(Failure::Damaged, "damaged JPEG data");
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);
    const qint64 fullWidth = d.info.image_width, fullHeight = d.info.image_height;
    checkSize(fullWidth, fullHeight);
    // Huffman coding spends at least one bit on every 8 x 8 block it codes, so a short file that claims a
    // large size is damaged; it is refused before libjpeg allocates for that size. The bound allows for a
    // component sampled at a quarter of the picture's blocks.
    if (!d.info.arith_code && data.size() < ((fullWidth + 7) / 8) * ((fullHeight + 7) / 8) / 32)
        damaged("JPEG data too short for its size");
    if (maxSize > 0) {
        // The smallest 1/denom scale that still gives at least the fitted size.
        const double fit = std::min(1.0, std::min(double(maxSize) / fullWidth, double(maxSize) / fullHeight));
        int denom = 8;
        while (denom > 1 && 1.0 / denom < fit)
            denom /= 2;
        d.info.scale_num = 1;
        d.info.scale_denom = unsigned(denom);
    }
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    const bool grey = d.info.jpeg_color_space == JCS_GRAYSCALE;
    d.info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    jpeg_start_decompress(&d.info);
    const int w = int(d.info.output_width), h = int(d.info.output_height);
    image = QImage(w, h, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        throw DecodeError(Failure::TooLarge, "not enough memory for the picture");
    if (cmyk)
        row.resize(size_t(w) * 4);
    // Adobe's CMYK JPEGs store inverted values.
    const bool inverted = d.info.saw_Adobe_marker;
    while (d.info.output_scanline < d.info.output_height) {
        const int y = int(d.info.output_scanline);
        JSAMPROW target = cmyk ? row.data() : image.scanLine(y);
        jpeg_read_scanlines(&d.info, &target, 1);
        if (cmyk) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = row.data() + 4 * x;
                unsigned c = p[0], m = p[1], yy = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c; m = 255 - m; yy = 255 - yy; k = 255 - k;
                }
                line[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&d.info);
    return image;
}

} // namespace imaging::detail
