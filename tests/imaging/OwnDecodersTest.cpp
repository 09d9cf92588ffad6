// The project's own decoders on pictures the tests write in every supported variant: the pixels come back
// exactly, through the bytes entry point and through a file; a cut file, a hostile header or a run past the
// end fails with its reason and no picture.
#include "FixtureEncoders.h"
#include "ImagingTestUtil.h"
#include "imaging/Picture.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QtEndian>
#include <gtest/gtest.h>

using imaging::Failure;
using imaging::Format;
using imagingtest::Fixture;
using imagingtest::samePixels;

namespace {

std::vector<Fixture> fixtures()
{
    static const std::vector<Fixture> all = imagingtest::allFixtures();
    return all;
}

}  // namespace
namespace imagingtest {
void PrintTo(const Fixture& f, std::ostream* os) { *os << f.name.toStdString(); }
}  // namespace imagingtest
namespace {

struct FixtureName {
    std::string operator()(const ::testing::TestParamInfo<Fixture>& info) const { return test::caseName(info.param.name); }
};

class OwnDecoder : public ::testing::TestWithParam<Fixture> {};

TEST_P(OwnDecoder, DecodesEveryPixel)
{
    const Fixture& f = GetParam();
    const imaging::LoadResult r = imaging::decodeAs(f.format, f.bytes, {}, f.companion);
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_TRUE(samePixels(r.image, f.expected));
}

TEST_P(OwnDecoder, LoadsFromAFileByItsUpperCaseExtension)
{
    const Fixture& f = GetParam();
    test::TempTree t;
    const QString path = t.file(QStringLiteral("picture.") + f.extension.toUpper(), f.bytes);
    if (!f.companion.isEmpty())
        t.file(QStringLiteral("picture.PAL"), f.companion);
    const imaging::LoadResult r = imaging::loadPicture(path);
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(r.format, f.format);
    EXPECT_TRUE(samePixels(r.image, f.expected));
}

TEST_P(OwnDecoder, ACutFileFailsAsDamaged)
{
    const Fixture& f = GetParam();
    // A DCX keeps its first page whole only up to the second; cut inside the first page.
    const qsizetype n = f.bytes.size();
    const std::vector<qsizetype> cuts = f.format == Format::Dcx ? std::vector<qsizetype>{10, 80, 216}
                                                                : std::vector<qsizetype>{10, n / 2, n * 3 / 4, n - 1};
    for (qsizetype cut : cuts) {
        const imaging::LoadResult r = imaging::decodeAs(f.format, QByteArrayView(f.bytes).first(cut));
        EXPECT_FALSE(r.ok()) << "cut at " << cut << " of " << n;
        EXPECT_EQ(r.failure, Failure::Damaged) << "cut at " << cut << ": " << r.reason.toStdString();
        EXPECT_TRUE(r.image.isNull());
        EXPECT_FALSE(r.reason.isEmpty());
    }
}

TEST_P(OwnDecoder, FitsWithinAMaximumSize)
{
    const Fixture& f = GetParam();
    const imaging::LoadResult r = imaging::decodeAs(f.format, f.bytes, {.maxSize = 5}, f.companion);
    ASSERT_TRUE(r.ok()) << r.reason.toStdString();
    EXPECT_EQ(r.image.size(), f.expected.size().scaled(5, 5, Qt::KeepAspectRatio));
}

INSTANTIATE_TEST_SUITE_P(Variants, OwnDecoder, ::testing::ValuesIn(fixtures()), FixtureName());

// ---- hostile input ----

struct HostileCase {
    friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Format format;
    std::function<QByteArray()> bytes;
    Failure failure;
};

QByteArray be32(quint32 v) { QByteArray b(4, 0); qToBigEndian(v, b.data()); return b; }
QByteArray be16(quint16 v) { QByteArray b(2, 0); qToBigEndian(v, b.data()); return b; }
QByteArray le16(quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; }

QByteArray sunHeader(quint32 w, quint32 h, quint32 depth, quint32 type, quint32 mapType, quint32 mapLength)
{
    return be32(0x59a66a95u) + be32(w) + be32(h) + be32(depth) + be32(0) + be32(type) + be32(mapType) + be32(mapLength);
}

QByteArray tgaHeader(int type, int w, int h, int depth, int mapLength = 0, int mapBits = 0)
{
    QByteArray b;
    b += char(0); b += char(mapLength ? 1 : 0); b += char(type);
    b += le16(0) + le16(quint16(mapLength)); b += char(mapBits);
    b += le16(0) + le16(0) + le16(quint16(w)) + le16(quint16(h));
    b += char(depth); b += char(0);
    return b;
}

QByteArray psdHeader(quint32 w, quint32 h, int channels, int mode)
{
    return QByteArray("8BPS") + be16(1) + QByteArray(6, 0) + be16(quint16(channels)) + be32(h) + be32(w) + be16(8) +
           be16(quint16(mode));
}

const HostileCase kHostile[] = {
    {"Sun raster of a hundred thousand squared pixels", Format::SunRaster,
     []() -> QByteArray { return sunHeader(100000, 100000, 24, 1, 0, 0) + QByteArray(64, 0); }, Failure::TooLarge},
    {"Sun raster whose width times height overflows 32 bits", Format::SunRaster,
     []() -> QByteArray { return sunHeader(0x80000000u, 2, 8, 1, 0, 0) + QByteArray(64, 0); }, Failure::TooLarge},
    {"Sun raster with a run past the picture's end", Format::SunRaster,
     []() -> QByteArray { return sunHeader(2, 1, 8, 2, 0, 0) + QByteArray("\x80\xff\x01", 3); }, Failure::Damaged},
    {"Sun raster colour index outside its map", Format::SunRaster,
     []() -> QByteArray { return sunHeader(2, 1, 8, 1, 1, 3) + QByteArray("\x01\x02\x03", 3) + QByteArray("\x00\x05", 2); }, Failure::Damaged},
    {"Sun raster with a colour map longer than 256 entries", Format::SunRaster,
     []() -> QByteArray { return sunHeader(2, 1, 8, 1, 1, 3000) + QByteArray(3002, 0); }, Failure::Damaged},
    {"Targa of 65535 squared pixels in a few bytes of runs", Format::Tga,
     []() -> QByteArray { return tgaHeader(10, 65535, 65535, 24) + QByteArray(100, char(0xff)); }, Failure::TooLarge},
    {"Targa of 16000 squared pixels in a few bytes of runs", Format::Tga,
     []() -> QByteArray { return tgaHeader(10, 16000, 16000, 24) + QByteArray(100, char(0xff)); }, Failure::Damaged},
    {"Targa colour index outside its map", Format::Tga,
     []() -> QByteArray { return tgaHeader(1, 1, 1, 8, 2, 24) + QByteArray(6, 0) + QByteArray(1, 7); }, Failure::Damaged},
    {"Targa run past the picture's end", Format::Tga,
     []() -> QByteArray { return tgaHeader(11, 2, 1, 8) + QByteArray("\x82\x10", 2); }, Failure::Damaged},
    {"Targa of no width", Format::Tga, []() -> QByteArray { return tgaHeader(2, 0, 5, 24) + QByteArray(30, 0); }, Failure::Damaged},
    {"Targa of an unknown type", Format::Tga, []() -> QByteArray { return tgaHeader(32, 2, 2, 24) + QByteArray(30, 0); }, Failure::Unsupported},
    {"Photoshop row lengths pointing past the file", Format::Psd,
     []() -> QByteArray { return psdHeader(2, 1, 1, 1) + be32(0) + be32(0) + be32(0) + be16(1) + be16(60000) + QByteArray(4, 0); }, Failure::Damaged},
    {"Photoshop PackBits run past the row", Format::Psd,
     []() -> QByteArray { return psdHeader(2, 1, 1, 1) + be32(0) + be32(0) + be32(0) + be16(1) + be16(2) + QByteArray("\xf0\x01", 2); }, Failure::Damaged},
    {"Photoshop resource section longer than the file", Format::Psd,
     []() -> QByteArray { return psdHeader(2, 1, 1, 1) + be32(0) + be32(0xfffffff0u) + QByteArray(8, 0); }, Failure::Damaged},
    {"Photoshop 16-bit document", Format::Psd,
     []() -> QByteArray { QByteArray b = psdHeader(2, 1, 1, 1); b[23] = 16; return b + QByteArray(16, 0); }, Failure::Unsupported},
    {"Photoshop in Lab colour", Format::Psd, []() -> QByteArray { return psdHeader(2, 1, 3, 9) + QByteArray(16, 0); }, Failure::Unsupported},
    {"SGI row start outside the file", Format::Sgi,
     []() -> QByteArray {
         QByteArray b = be16(474) + QByteArray("\x01\x01", 2) + be16(2) + be16(2) + be16(1) + be16(1);
         b.append(QByteArray(512 - b.size(), 0));   // a zero-filled header
         return b + be32(0x7ffffff0) + be32(2) + QByteArray(4, 0);
     }, Failure::Damaged},
    {"SGI run past the row", Format::Sgi,
     []() -> QByteArray {
         QByteArray b = be16(474) + QByteArray("\x01\x01", 2) + be16(2) + be16(2) + be16(1) + be16(1);
         b.append(QByteArray(512 - b.size(), 0));   // a zero-filled header
         return b + be32(520) + be32(3) + QByteArray("\x05\x01\x00", 3);
     }, Failure::Damaged},
    {"PCX of 65536 squared pixels", Format::Pcx,
     []() -> QByteArray {
         QByteArray b(128, 0);
         b[0] = 0x0a; b[1] = 5; b[2] = 1; b[3] = 8; b[8] = b[9] = b[10] = b[11] = char(0xff); b[65] = 3; b[66] = b[67] = char(0xff);
         return b + QByteArray(64, char(0xc1));
     }, Failure::TooLarge},
    {"PCX 256-colour file without its palette", Format::Pcx,
     []() -> QByteArray {
         QByteArray b(128, 0);
         b[0] = 0x0a; b[1] = 5; b[2] = 0; b[3] = 8; b[8] = 1; b[65] = 1; b[66] = 2;
         return b + QByteArray(2000, 1);
     }, Failure::Damaged},
    {"PCX line shorter than the picture's width", Format::Pcx,
     []() -> QByteArray {
         QByteArray b(128, 0);
         b[0] = 0x0a; b[1] = 5; b[3] = 8; b[8] = 100; b[65] = 3; b[66] = 2;
         return b + QByteArray(2000, 1);
     }, Failure::Damaged},
    {"DCX page offset past the file", Format::Dcx,
     []() -> QByteArray { QByteArray b(4, 0); qToLittleEndian(987654321u, b.data()); return b + be32(0x7fffffff) + QByteArray(8, 0); }, Failure::Damaged},
    {"IFF form longer than the file", Format::Iff,
     []() -> QByteArray { return QByteArray("FORM") + be32(1000) + QByteArray("ILBM"); }, Failure::Damaged},
    {"IFF picture data without a header", Format::Iff,
     []() -> QByteArray { return QByteArray("FORM") + be32(16) + QByteArray("ILBMBODY") + be32(4) + QByteArray(4, 0); }, Failure::Damaged},
    {"IFF HAM picture", Format::Iff,
     []() -> QByteArray {
         QByteArray bmhd = be16(2) + be16(1) + be32(0) + QByteArray("\x06\x00\x00\x00", 4) + be16(0) + QByteArray("\x01\x01", 2) + be32(0);
         QByteArray form = QByteArray("ILBMBMHD") + be32(20) + bmhd + "CAMG" + be32(4) + be32(0x800) + "BODY" + be32(24) + QByteArray(24, 0);
         return QByteArray("FORM") + be32(quint32(form.size())) + form;
     }, Failure::Unsupported},
    {"RLA line offset past the file", Format::Rla,
     []() -> QByteArray {
         QByteArray h(740, 0);
         h[11] = 1; h[15] = 0; h[21] = 3; h[659] = 8;
         return h + be32(0x7ffffff0u) + QByteArray(40, 0);
     }, Failure::Damaged},
    {"RLA run past the line", Format::Rla,
     []() -> QByteArray {
         QByteArray h(740, 0);
         h[11] = 1; h[21] = 1; h[659] = 8;
         return h + be32(744) + be16(2) + QByteArray("\x7f\x01", 2) + QByteArray(20, 0);
     }, Failure::Damaged},
    {"CUT run past the line", Format::Cut,
     []() -> QByteArray { return le16(2) + le16(1) + le16(0) + le16(3) + QByteArray("\x85\x01\x00", 3) + QByteArray(10, 0); },
     Failure::Damaged},
    {"CUT line shorter than the picture", Format::Cut,
     []() -> QByteArray { return le16(4) + le16(1) + le16(0) + le16(3) + QByteArray("\x82\x01\x00", 3) + QByteArray(10, 0); },
     Failure::Damaged},
    {"CEL pixels missing", Format::Cel,
     []() -> QByteArray { return le16(0x9119) + le16(100) + le16(100) + QByteArray(4, 0) + QByteArray("\x08\x00", 2) + QByteArray(20 + 768 + 50, 0); },
     Failure::Damaged},
    {"Photo CD without its base picture", Format::Pcd,
     []() -> QByteArray { QByteArray b(0x31000, 0); b.replace(0x800, 7, "PCD_IPI"); return b; }, Failure::Damaged},
    {"Paint Shop Pro file", Format::Psp,
     []() -> QByteArray { return QByteArray("Paint Shop Pro Image File\n\x1a", 27) + QByteArray(64, 0); }, Failure::Unsupported},
    {"JPEG header alone", Format::Jpeg, []() -> QByteArray { return QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10); }, Failure::Damaged},
    {"WMF file", Format::Wmf, []() -> QByteArray { return QByteArray("\xd7\xcd\xc6\x9a\x00\x00", 6) + QByteArray(40, 0); }, Failure::Unsupported},
    {"EMF file", Format::Emf, []() -> QByteArray { return QByteArray(88, 1); }, Failure::Unsupported},
    {"RSB file", Format::Rsb, []() -> QByteArray { return QByteArray(40, 2); }, Failure::Unsupported},
};

class Hostile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(Hostile, FailsWithItsReasonAndNoPicture)
{
    const HostileCase& c = GetParam();
    const imaging::LoadResult r = imaging::decodeAs(c.format, c.bytes());
    EXPECT_EQ(r.failure, c.failure) << r.reason.toStdString();
    EXPECT_TRUE(r.image.isNull());
    EXPECT_FALSE(r.reason.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Inputs, Hostile, ::testing::ValuesIn(kHostile), test::NameField());

} // namespace
