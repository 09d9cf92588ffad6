#pragma once
#include <QByteArrayView>
#include <QImage>
#include <QString>

// Picture decoding shared by the quick view, the thumbnail page and orvo-cli: one entry point that turns a
// file (or its bytes) into a QImage, or says why it cannot.
namespace imaging {

// Every picture type the program knows; the extension picks one, a clear signature may override it.
enum class Format {
    Unknown,
    Bmp, Png, Gif, Ico, Tiff, Pnm,          // Qt's readers
    Jpeg,                                   // libjpeg, called directly
    Tga, Pcx, Dcx, Sgi, SunRaster, Psd, Iff, // our own decoders
    Pcd, Psp, Rla, Cel, Cut,                // our own small decoders for the rarer types
    Wmf, Emf, Rsb,                          // known, but no decoder: loading fails
};

enum class Failure {
    None,
    Unsupported,   // no decoder for the type, or a variant of it that is not read
    Damaged,       // the data contradicts itself or ends early
    TooLarge,      // more than kMaxPixels, or memory could not be had
    Unreadable,    // the file could not be opened or read
};

// The largest picture decoded: 256 Mi pixels.
inline constexpr qint64 kMaxPixels = qint64(256) * 1024 * 1024;

struct LoadOptions {
    // When above 0, the picture is scaled down (never up) so that neither side exceeds it; JPEGs are
    // decoded at a reduced scale where that still gives at least this size.
    int maxSize = 0;
};

struct LoadResult {
    QImage image;                  // null unless ok()
    Format format = Format::Unknown;   // the decoder that was used (or tried)
    Failure failure = Failure::None;
    QString reason;                // short English text for logs and the command line
    bool ok() const { return failure == Failure::None; }
};

// The decoder for a file extension ("jpg", ".JPG", "Tga"); Unknown for any other.
Format formatForExtension(QString extension);
// The decoder that the first bytes clearly name, or Unknown when they name none clearly.
Format formatFromSignature(QByteArrayView head);
// Short name of a format ("JPEG", "Targa", ...).
QString formatName(Format format);

// Decodes `path` by its extension (or the decoder its signature names). A ".CUT" picture takes its colours
// from the PAL file of the same name beside it, when there is one.
LoadResult loadPicture(const QString& path, const LoadOptions& options = {});
// Decodes bytes that came from a file with the given extension.
LoadResult decodePicture(QByteArrayView data, const QString& extension, const LoadOptions& options = {});
// Decodes bytes with exactly this decoder: no signature check, no fallback. Used by the fuzz targets.
LoadResult decodeAs(Format format, QByteArrayView data, const LoadOptions& options = {});
// The same for a Dr. Halo CUT picture, coloured by the bytes of its PAL file (empty: grey).
LoadResult decodeAs(Format format, QByteArrayView data, const LoadOptions& options, QByteArrayView cutPalette);
LoadResult decodePicture(QByteArrayView data, const QString& extension, const LoadOptions& options,
                         QByteArrayView cutPalette);

} // namespace imaging
