// The one entry point: the extension picks the decoder, a clear signature overrides it, Qt's readers and
// libjpeg give the pixels they were given, and every failure is a failure with a reason.
#include "FixtureEncoders.h"
#include "ImagingTestUtil.h"
#include "imaging/Decoders.h"
#include "imaging/Picture.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using imaging::Failure;
using imaging::Format;
using imagingtest::samePixels;

namespace {

QByteArray encodeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

QImage opaqueSample(int w, int h) { return imagingtest::samplePicture(w, h, 0).convertToFormat(QImage::Format_RGB32); }

// ---- extensions ----

struct ExtensionCase {
    const char* name;
    const char* extension;
    Format format;
};

const ExtensionCase kExtensions[] = {
    {"BMP", ".BMP", Format::Bmp}, {"JPG", ".JPG", Format::Jpeg}, {"GIF", ".GIF", Format::Gif},
    {"ICO", ".ICO", Format::Ico}, {"DCX", ".DCX", Format::Dcx}, {"DIB", ".DIB", Format::Bmp},
    {"ICB", ".ICB", Format::Tga}, {"JPEG mixed case", ".Jpeg", Format::Jpeg}, {"PCX", ".PCX", Format::Pcx},
    {"PNG", "png", Format::Png}, {"TGA", ".tga", Format::Tga}, {"TIF", ".TIF", Format::Tiff},
    {"VDA", ".VDA", Format::Tga}, {"VST", ".VST", Format::Tga}, {"IFF", ".IFF", Format::Iff},
    {"RAS", ".RAS", Format::SunRaster}, {"SGI", ".SGI", Format::Sgi}, {"PSD", ".PSD", Format::Psd},
    {"RSB", ".RSB", Format::Rsb}, {"WMF", ".WMF", Format::Wmf}, {"EMF", ".EMF", Format::Emf},
    {"RGB", ".rgb", Format::Sgi}, {"PPM", ".ppm", Format::Pnm}, {"PGM", ".PGM", Format::Pnm},
    {"PBM", ".pbm", Format::Pnm}, {"PCD", ".PCD", Format::Pcd}, {"PSP", ".psp", Format::Psp},
    {"RLA", ".rla", Format::Rla}, {"CEL", ".CEL", Format::Cel}, {"PIC", ".pic", Format::Cel},
    {"CUT", ".cut", Format::Cut}, {"JPE is not a picture", ".jpe", Format::Unknown},
    {"TXT is not a picture", ".txt", Format::Unknown}, {"no extension", "", Format::Unknown},
};

class Extension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(Extension, PicksItsDecoder)
{
    EXPECT_EQ(imaging::formatForExtension(QString::fromLatin1(GetParam().extension)), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Table, Extension, ::testing::ValuesIn(kExtensions), test::NameField());

// ---- Qt's readers ----

struct QtCase {
    const char* name;
    const char* extension;
    std::function<QByteArray(const QImage&)> encode;
};

QByteArray ppm(const QImage& image)
{
    QByteArray b = "P6\n# comment\n" + QByteArray::number(image.width()) + " " + QByteArray::number(image.height()) + "\n255\n";
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            b += char(qRed(c)); b += char(qGreen(c)); b += char(qBlue(c));
        }
    return b;
}

const QtCase kQtCases[] = {
    {"BMP", "bmp", [](const QImage& i) { return encodeWithQt(i, "bmp"); }},
    {"DIB", "dib", [](const QImage& i) { return encodeWithQt(i, "bmp"); }},
    {"PNG", "png", [](const QImage& i) { return encodeWithQt(i, "png"); }},
    {"TIFF", "tif", [](const QImage& i) { return encodeWithQt(i, "tiff"); }},
    {"ICO", "ico", [](const QImage& i) { return encodeWithQt(i, "ico"); }},
    {"PPM", "ppm", ppm},
};

class QtReader : public ::testing::TestWithParam<QtCase> {};

TEST_P(QtReader, GivesThePixelsBack)
{
    const QImage picture = opaqueSample(29, 17);
    const QByteArray bytes = GetParam().encode(picture);
    const imaging::LoadResult r = imaging::decodePicture(bytes, QString::fromLatin1(GetParam().extension));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_TRUE(samePixels(r.image, picture));
}

TEST_P(QtReader, ACutFileFails)
{
    const QByteArray bytes = GetParam().encode(opaqueSample(29, 17));
    for (qsizetype cut : {qsizetype(8), bytes.size() / 2, bytes.size() - 8}) {
        const imaging::LoadResult r = imaging::decodePicture(bytes.first(cut), QString::fromLatin1(GetParam().extension));
        EXPECT_FALSE(r.ok()) << "cut at " << cut << " of " << bytes.size();
        EXPECT_TRUE(r.image.isNull());
        EXPECT_FALSE(r.reason.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, QtReader, ::testing::ValuesIn(kQtCases), test::NameField());

TEST(QtReaderIcon, TheLargestImageIsShown)
{
    // An icon file with a 16x16 and a 48x48 image, written by hand around two PNG images.
    const QImage small = opaqueSample(16, 16), large = opaqueSample(48, 48).mirrored();
    const QByteArray a = encodeWithQt(small, "png"), b = encodeWithQt(large, "png");
    QByteArray ico("\0\0\1\0\2\0", 6);
    auto entry = [&](int size, const QByteArray& data, int offset) {
        ico += char(size); ico += char(size); ico += QByteArray("\0\0\1\0\x20\0", 6);
        for (int v : {int(data.size()), offset})
            for (int k = 0; k < 4; ++k)
                ico += char((v >> (8 * k)) & 255);
    };
    entry(16, a, 6 + 32);
    entry(48, b, 6 + 32 + int(a.size()));
    ico += a + b;
    const imaging::LoadResult r = imaging::decodePicture(ico, QStringLiteral("ico"));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_TRUE(samePixels(r.image, large));
}

// ---- signatures ----

TEST(Signature, APngSavedAsJpgIsShown)
{
    test::TempTree t;
    const QImage picture = opaqueSample(20, 10);
    const imaging::LoadResult r = imaging::loadPicture(t.file(QStringLiteral("photo.jpg"), encodeWithQt(picture, "png")));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(r.format, Format::Png);
    EXPECT_TRUE(samePixels(r.image, picture));
}

TEST(Signature, APpmSavedAsBmpIsShown)
{
    test::TempTree t;
    const QImage picture = opaqueSample(7, 5);
    const imaging::LoadResult r = imaging::loadPicture(t.file(QStringLiteral("scan.bmp"), ppm(picture)));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(r.format, Format::Pnm);
    EXPECT_TRUE(samePixels(r.image, picture));
}

TEST(Signature, AnOwnFormatUnderAnotherNameIsShown)
{
    for (const imagingtest::Fixture& f : imagingtest::allFixtures()) {
        if (f.format != Format::Psd && f.format != Format::SunRaster && f.format != Format::Iff &&
            f.format != Format::Sgi && f.format != Format::Dcx)
            continue;   // Targa and PCX have no clear signature
        const imaging::LoadResult r = imaging::decodePicture(f.bytes, QStringLiteral("bmp"));
        ASSERT_TRUE(r.ok()) << f.name.toStdString() << ": " << r.reason.toStdString();
        EXPECT_EQ(r.format, f.format) << f.name.toStdString();
        EXPECT_TRUE(samePixels(r.image, f.expected)) << f.name.toStdString();
    }
}

TEST(Signature, PicturesWithoutOneKeepTheirExtensionsDecoder)
{
    const QByteArray noise(300, '\x07');
    EXPECT_EQ(imaging::formatFromSignature(noise), Format::Unknown);
    EXPECT_EQ(imaging::decodePicture(noise, QStringLiteral("tga")).format, Format::Tga);
}

// ---- failures ----

TEST(Failures, AreReportedWithTheirKind)
{
    test::TempTree t;
    const imaging::LoadResult missing = imaging::loadPicture(t.path(QStringLiteral("none.png")));
    EXPECT_EQ(missing.failure, Failure::Unreadable);
    EXPECT_FALSE(missing.reason.isEmpty());
    const imaging::LoadResult folder = imaging::loadPicture(t.dir(QStringLiteral("dir.png")));
    EXPECT_EQ(folder.failure, Failure::Unreadable);
    EXPECT_EQ(imaging::loadPicture(t.file(QStringLiteral("empty.png"), QByteArray())).failure, Failure::Damaged);
    EXPECT_EQ(imaging::loadPicture(t.file(QStringLiteral("text.png"), QByteArray("hello, world"))).failure, Failure::Damaged);
    EXPECT_EQ(imaging::loadPicture(t.file(QStringLiteral("a.wmf"), QByteArray(100, 'w'))).failure, Failure::Unsupported);
    EXPECT_EQ(imaging::loadPicture(t.file(QStringLiteral("a.txt"), QByteArray(100, 'w'))).failure, Failure::Unsupported);
    const imaging::LoadResult damaged = imaging::loadPicture(t.file(QStringLiteral("bad.png"), QByteArray("\x89PNG\r\n\x1a\nrubbish")));
    EXPECT_EQ(damaged.failure, Failure::Damaged);
    EXPECT_TRUE(damaged.image.isNull());
}

// ---- JPEG through libjpeg ----

TEST(Jpeg, DecodesAsQtsOwnReaderDoes)
{
    const QByteArray bytes = encodeWithQt(opaqueSample(64, 48), "jpeg", 95);
    const imaging::LoadResult r = imaging::decodePicture(bytes, QStringLiteral("jpeg"));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_TRUE(samePixels(r.image, QImage::fromData(bytes, "jpeg"), 2));
}

TEST(Jpeg, GreyStaysGrey)
{
    const QImage picture = opaqueSample(32, 16).convertToFormat(QImage::Format_Grayscale8);
    const imaging::LoadResult r = imaging::decodePicture(encodeWithQt(picture, "jpeg", 100), QStringLiteral("jpg"));
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(r.image.format(), QImage::Format_Grayscale8);
    EXPECT_TRUE(samePixels(r.image, picture, 8));
}

struct ScaleCase {
    const char* name;
    int maxSize;
    QSize decoded;   // what libjpeg gives at the chosen scale
    QSize shown;     // after fitting
};

const ScaleCase kScales[] = {
    {"an eighth", 100, {100, 75}, {100, 75}},
    {"an eighth then fitted", 90, {100, 75}, {90, 67}},
    {"a quarter", 150, {200, 150}, {150, 112}},
    {"a half", 400, {400, 300}, {400, 300}},
    {"full size", 700, {800, 600}, {700, 525}},
    {"never enlarged", 2000, {800, 600}, {800, 600}},
};

class JpegScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(JpegScale, DecodesAtTheSmallestScaleThatCoversTheBound)
{
    const QByteArray bytes = encodeWithQt(opaqueSample(800, 600), "jpeg", 90);
    EXPECT_EQ(imaging::detail::decodeJpeg(bytes, GetParam().maxSize).size(), GetParam().decoded);
    const imaging::LoadResult r = imaging::decodePicture(bytes, QStringLiteral("jpg"), {.maxSize = GetParam().maxSize});
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(r.image.size(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Bounds, JpegScale, ::testing::ValuesIn(kScales), test::NameField());

TEST(Jpeg, ACutFileFailsInsteadOfShowingGrey)
{
    const QByteArray bytes = encodeWithQt(opaqueSample(200, 150), "jpeg", 90);
    for (qsizetype cut : {qsizetype(20), bytes.size() / 3, bytes.size() / 2, bytes.size() - 2}) {
        for (int maxSize : {0, 30}) {
            const imaging::LoadResult r = imaging::decodePicture(bytes.first(cut), QStringLiteral("jpg"), {.maxSize = maxSize});
            EXPECT_EQ(r.failure, Failure::Damaged) << "cut at " << cut;
            EXPECT_TRUE(r.image.isNull());
        }
    }
}

TEST(Jpeg, ASmallFileClaimingAHugeSizeFailsBeforeDecoding)
{
    for (bool progressive : {false, true}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(progressive);
        ASSERT_TRUE(writer.write(opaqueSample(64, 48)));
        const qsizetype sof = bytes.indexOf(progressive ? "\xff\xc2" : "\xff\xc0");
        ASSERT_GT(sof, 0);
        bytes[sof + 5] = char(0x3e); bytes[sof + 6] = char(0x80);   // 16000 lines
        bytes[sof + 7] = char(0x3e); bytes[sof + 8] = char(0x80);   // of 16000 pixels
        const imaging::LoadResult r = imaging::decodePicture(bytes, QStringLiteral("jpg"));
        EXPECT_EQ(r.failure, Failure::Damaged) << r.reason.toStdString();
        EXPECT_EQ(r.reason, QStringLiteral("JPEG data too short for its size"));
        EXPECT_TRUE(r.image.isNull());
    }
}

// ---- pictures written by ImageMagick ----

struct MagickCase {
    const char* name;
    const char* file;          // the name ImageMagick writes (its extension picks the type)
    QStringList options;       // before the output name
    int tolerance;
    bool grey = false;
};

const MagickCase kMagick[] = {
    {"JPEG", "out.jpg", {"-quality", "100"}, 40},
    {"JPEG progressive", "out.jpeg", {"-quality", "100", "-interlace", "Plane"}, 40},
    {"JPEG CMYK", "out.jpg", {"-colorspace", "CMYK", "-quality", "100"}, 48},
    {"JPEG grey", "out.jpg", {"-colorspace", "Gray", "-quality", "100"}, 12, true},
    {"PNG", "out.png", {}, 0},
    {"BMP", "out.bmp", {}, 0},
    {"TIFF", "out.tif", {}, 0},
    {"GIF", "out.gif", {}, 0},
    {"ICO", "out.ico", {}, 0},
    {"PPM", "out.ppm", {}, 0},
    {"PGM", "out.pgm", {}, 0, true},
    // Without an orientation ImageMagick stores the top row first but marks the file as bottom-up.
    {"Targa", "out.tga", {"-orient", "TopLeft"}, 0},
    {"Targa RLE", "out.tga", {"-orient", "TopLeft", "-compress", "RLE"}, 0},
    {"PCX", "out.pcx", {}, 0},
    {"SGI", "out.sgi", {}, 0},
    {"Sun raster", "out.ras", {}, 0},
    {"Photoshop", "out.psd", {}, 0},
};

class Magick : public ::testing::TestWithParam<MagickCase> {};

TEST_P(Magick, WrittenPictureDecodes)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"), {QStringLiteral("/usr/bin")});
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick's convert (package imagemagick) is not installed";
    const MagickCase& c = GetParam();
    test::TempTree t;
    // Few colours, so that GIF and ICO keep every pixel.
    QImage picture = imagingtest::samplePicture(40, 24, 50).convertToFormat(QImage::Format_RGB32);
    if (c.grey)
        picture = picture.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(picture.save(t.path(QStringLiteral("in.png"))));
    const QString out = t.path(QString::fromLatin1(c.file));
    QProcess p;
    p.start(convert, QStringList{t.path(QStringLiteral("in.png"))} + c.options + QStringList{out});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const imaging::LoadResult r = imaging::loadPicture(out);
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_TRUE(samePixels(r.image, picture, c.tolerance));

    // The same file cut short is a failure, never a partial picture.
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const imaging::LoadResult cut = imaging::decodePicture(bytes.first(bytes.size() * 6 / 10), QFileInfo(out).suffix());
    EXPECT_FALSE(cut.ok());
    EXPECT_TRUE(cut.image.isNull());
}

INSTANTIATE_TEST_SUITE_P(Files, Magick, ::testing::ValuesIn(kMagick), test::NameField());

} // namespace
