#include "imaging/Picture.h"
#include "imaging/DecodeSupport.h"
#include "imaging/Decoders.h"
#include <QHash>
#include <new>

namespace imaging {
namespace {

using namespace detail;

struct FormatInfo {
    Format format;
    const char* name;
    const char* qtFormat;   // Qt's reader, or nullptr for our own decoder
};

constexpr FormatInfo kFormats[] = {
    {Format::Unknown, "unknown", nullptr},
    {Format::Bmp, "BMP", "bmp"}, {Format::Png, "PNG", "png"}, {Format::Gif, "GIF", "gif"},
    {Format::Ico, "ICO", "ico"}, {Format::Tiff, "TIFF", "tiff"}, {Format::Pnm, "PPM/PGM/PBM", "ppm"},
    {Format::Jpeg, "JPEG", nullptr}, {Format::Tga, "Targa", nullptr}, {Format::Pcx, "PCX", nullptr},
    {Format::Dcx, "DCX", nullptr}, {Format::Sgi, "SGI", nullptr}, {Format::SunRaster, "Sun raster", nullptr},
    {Format::Psd, "Photoshop", nullptr}, {Format::Iff, "IFF", nullptr}, {Format::Pcd, "Kodak PCD", nullptr},
    {Format::Psp, "Paint Shop Pro", nullptr}, {Format::Rla, "RLA", nullptr}, {Format::Cel, "Autodesk CEL/PIC", nullptr},
    {Format::Cut, "Dr. Halo CUT", nullptr}, {Format::Wmf, "WMF", nullptr}, {Format::Emf, "EMF", nullptr},
    {Format::Rsb, "RSB", nullptr},
};

const FormatInfo& info(Format f)
{
    for (const FormatInfo& i : kFormats)
        if (i.format == f)
            return i;
    return kFormats[0];
}

QImage decodeWith(Format format, QByteArrayView data, int maxSize, QByteArrayView cutPalette = {})
{
    switch (format) {
    case Format::Jpeg: return decodeJpeg(data, maxSize);
    case Format::Tga: return decodeTga(data);
    case Format::Pcx: return decodePcx(data);
    case Format::Dcx: return decodeDcx(data);
    case Format::Sgi: return decodeSgi(data);
    case Format::SunRaster: return decodeSunRaster(data);
    case Format::Psd: return decodePsd(data);
    case Format::Iff: return decodeIff(data);
    case Format::Unknown: unsupported("unknown picture type");
    case Format::Wmf: case Format::Emf: case Format::Rsb: unsupported("no decoder for this picture type");
    case Format::Pcd: return decodePcd(data);
    case Format::Rla: return decodeRla(data);
    case Format::Cel: return decodeCel(data);
    case Format::Cut: return decodeCut(data, cutPalette);
    case Format::Psp: unsupported("Paint Shop Pro pictures are not read");
    default: return decodeWithQt(data, info(format).qtFormat);
    }
}

// Neither side above maxSize, the aspect kept; never enlarged.
QImage fitted(const QImage& image, int maxSize)
{
    if (maxSize <= 0 || (image.width() <= maxSize && image.height() <= maxSize))
        return image;
    return image.scaled(maxSize, maxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

bool startsWith(QByteArrayView head, QByteArrayView magic)
{
    return head.size() >= magic.size() && head.first(magic.size()) == magic;
}

} // namespace

Format formatForExtension(QString extension)
{
    static const QHash<QString, Format> table = {
        {"BMP", Format::Bmp}, {"DIB", Format::Bmp}, {"PNG", Format::Png}, {"GIF", Format::Gif},
        {"ICO", Format::Ico}, {"TIF", Format::Tiff}, {"TIFF", Format::Tiff}, {"JPG", Format::Jpeg},
        {"JPEG", Format::Jpeg}, {"TGA", Format::Tga}, {"ICB", Format::Tga}, {"VDA", Format::Tga},
        {"VST", Format::Tga}, {"PCX", Format::Pcx}, {"DCX", Format::Dcx}, {"SGI", Format::Sgi},
        {"RGB", Format::Sgi}, {"RGBA", Format::Sgi}, {"BW", Format::Sgi}, {"RAS", Format::SunRaster},
        {"PSD", Format::Psd}, {"IFF", Format::Iff}, {"LBM", Format::Iff}, {"PPM", Format::Pnm},
        {"PGM", Format::Pnm}, {"PBM", Format::Pnm}, {"PNM", Format::Pnm}, {"PCD", Format::Pcd},
        {"PSP", Format::Psp}, {"PSPIMAGE", Format::Psp}, {"RLA", Format::Rla}, {"CEL", Format::Cel},
        {"PIC", Format::Cel}, {"CUT", Format::Cut}, {"WMF", Format::Wmf}, {"EMF", Format::Emf},
        {"RSB", Format::Rsb},
    };
    if (extension.startsWith(u'.'))
        extension.remove(0, 1);
    return table.value(extension.toUpper(), Format::Unknown);
}

Format formatFromSignature(QByteArrayView h)
{
    if (startsWith(h, "\x89PNG\r\n\x1a\n"))
        return Format::Png;
    if (startsWith(h, "\xff\xd8\xff"))
        return Format::Jpeg;
    if (startsWith(h, "GIF87a") || startsWith(h, "GIF89a"))
        return Format::Gif;
    if (startsWith(h, "II*\0") || startsWith(h, QByteArrayView("MM\0*", 4)))
        return Format::Tiff;
    if (startsWith(h, "8BPS"))
        return Format::Psd;
    if (startsWith(h, "\x59\xa6\x6a\x95"))
        return Format::SunRaster;
    if (startsWith(h, "\xb1\x68\xde\x3a"))
        return Format::Dcx;
    if (startsWith(h, "FORM") && h.size() >= 12 && (h.sliced(8, 4) == "ILBM" || h.sliced(8, 4) == "PBM "))
        return Format::Iff;
    if (h.size() >= 8 && uint8_t(h[0]) == 0x01 && uint8_t(h[1]) == 0xda && uint8_t(h[2]) <= 1 &&
        (h[3] == 1 || h[3] == 2) && h[4] == 0 && h[5] >= 1 && h[5] <= 3)
        return Format::Sgi;
    if (startsWith(h, "BM") && h.size() >= 18) {
        // The DIB header's size is one of the known ones.
        const uint32_t dib = uint8_t(h[14]) | uint8_t(h[15]) << 8 | uint8_t(h[16]) << 16 | uint32_t(uint8_t(h[17])) << 24;
        if (dib == 12 || dib == 40 || dib == 52 || dib == 56 || dib == 64 || dib == 108 || dib == 124)
            return Format::Bmp;
    }
    if (h.size() >= 3 && h[0] == 'P' && h[1] >= '1' && h[1] <= '6' && QByteArrayView(" \t\r\n#").contains(h[2]))
        return Format::Pnm;
    if (startsWith(h, "\x19\x91") && h.size() >= 12 && h[10] == 8)
        return Format::Cel;
    if (startsWith(h, "Paint Shop Pro Image File\n\x1a"))
        return Format::Psp;
    return Format::Unknown;
}

QString formatName(Format format)
{
    return QString::fromLatin1(info(format).name);
}

LoadResult decodeAs(Format format, QByteArrayView data, const LoadOptions& options)
{
    return decodeAs(format, data, options, {});
}

LoadResult decodeAs(Format format, QByteArrayView data, const LoadOptions& options, QByteArrayView cutPalette)
{
    LoadResult result;
    result.format = format;
    try {
        result.image = fitted(decodeWith(format, data, options.maxSize, cutPalette), options.maxSize);
        if (result.image.isNull())
            throw DecodeError(Failure::TooLarge, "not enough memory for the picture");
    } catch (const DecodeError& e) {
        result.image = QImage();
        result.failure = e.failure();
        result.reason = QString::fromUtf8(e.what());
    } catch (const std::bad_alloc&) {
        result.image = QImage();
        result.failure = Failure::TooLarge;
        result.reason = QStringLiteral("not enough memory for the picture");
    }
    return result;
}

LoadResult decodePicture(QByteArrayView data, const QString& extension, const LoadOptions& options)
{
    return decodePicture(data, extension, options, {});
}

LoadResult decodePicture(QByteArrayView data, const QString& extension, const LoadOptions& options,
                         QByteArrayView cutPalette)
{
    Format format = formatForExtension(extension);
    const Format named = formatFromSignature(data.first(std::min<qsizetype>(data.size(), 64)));
    if (named != Format::Unknown)
        format = named;
    return decodeAs(format, data, options, cutPalette);
}

} // namespace imaging
