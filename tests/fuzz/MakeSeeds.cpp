// Writes the seed corpus of every fuzz target: the test fixtures of each decoder, and for the JPEG and
// BMP targets small pictures written by Qt. Usage: make_seeds FOLDER (one subfolder per target).
#include "FixtureEncoders.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <cstdio>

namespace {

QString folderFor(imaging::Format f)
{
    switch (f) {
    case imaging::Format::Tga: return "tga";
    case imaging::Format::Pcx: return "pcx";
    case imaging::Format::Dcx: return "dcx";
    case imaging::Format::Sgi: return "sgi";
    case imaging::Format::SunRaster: return "sunraster";
    case imaging::Format::Psd: return "psd";
    case imaging::Format::Iff: return "iff";
    case imaging::Format::Pcd: return "pcd";
    case imaging::Format::Rla: return "rla";
    case imaging::Format::Cel: return "cel";
    case imaging::Format::Cut: return "cut";
    case imaging::Format::Jpeg: return "jpeg";
    case imaging::Format::Bmp: return "bmp";
    default: return "other";
    }
}

bool save(const QString& root, imaging::Format f, const QString& name, const QByteArray& bytes)
{
    const QString dir = root + '/' + folderFor(f);
    QDir().mkpath(dir);
    QFile file(dir + '/' + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray encode(const QImage& image, const char* format, int quality = -1, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: make_seeds FOLDER\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (const imagingtest::Fixture& f : imagingtest::allFixtures())
        ok &= save(root, f.format, f.name, f.bytes);
    const QImage colour = imagingtest::samplePicture(24, 16, 0).convertToFormat(QImage::Format_RGB32);
    ok &= save(root, imaging::Format::Jpeg, "baseline", encode(colour, "jpeg", 80));
    ok &= save(root, imaging::Format::Jpeg, "progressive", encode(colour, "jpeg", 80, true));
    ok &= save(root, imaging::Format::Jpeg, "grey", encode(colour.convertToFormat(QImage::Format_Grayscale8), "jpeg", 80));
    ok &= save(root, imaging::Format::Bmp, "rgb32", encode(colour, "bmp"));
    ok &= save(root, imaging::Format::Bmp, "indexed8", encode(imagingtest::samplePicture(13, 7, 40).convertToFormat(QImage::Format_Indexed8), "bmp"));
    ok &= save(root, imaging::Format::Bmp, "mono", encode(colour.convertToFormat(QImage::Format_Mono), "bmp"));
    return ok ? 0 : 1;
}
