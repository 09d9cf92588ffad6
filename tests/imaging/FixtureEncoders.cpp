#include "FixtureEncoders.h"
#include <QtEndian>
#include <QTransform>
#include <algorithm>
#include <functional>

namespace imagingtest {
namespace {

using imaging::Format;

constexpr int kW = 13, kH = 7;   // odd sizes exercise row padding

void le16(QByteArray& b, int v) { b += char(v & 255); b += char((v >> 8) & 255); }
void be16(QByteArray& b, int v) { b += char((v >> 8) & 255); b += char(v & 255); }
void be32(QByteArray& b, quint32 v) { be16(b, int(v >> 16)); be16(b, int(v & 0xffff)); }
void le32(QByteArray& b, quint32 v) { le16(b, int(v & 0xffff)); le16(b, int(v >> 16)); }

QImage argb(const QImage& i) { return i.convertToFormat(QImage::Format_ARGB32); }

// Index of each pixel of a picture made by samplePicture(w, h, colours).
int sampleIndex(int x, int y, int colours) { return (x * 3 + y * 5 + (x / 4) * (y / 2)) % colours; }

QRgb px(const QImage& i, int x, int y) { return i.pixel(x, y); }

uint8_t luma(QRgb c) { return uint8_t(qRed(c)); }   // grey pictures keep r == g == b

// 5-bit channel as the decoder widens it.
int widen5(int v) { return ((v >> 3) << 3) | ((v >> 3) >> 2); }
QRgb to555(QRgb c, int a = 255) { return qRgba(widen5(qRed(c)), widen5(qGreen(c)), widen5(qBlue(c)), a); }

QImage greyPicture(int w, int h)
{
    QImage i(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = (x * 37 + y * 11 + (x == 3 ? 120 : 0)) & 255;
            i.setPixel(x, y, qRgb(v, v, v));
        }
    return i;
}

// ---- Targa ----

QByteArray tgaPixel(QRgb c, int depth, int index)
{
    QByteArray b;
    switch (depth) {
    case 8: b += char(index); break;
    case 15: case 16: le16(b, (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3) | (qAlpha(c) >= 128 ? 0x8000 : 0)); break;
    case 24: b += char(qBlue(c)); b += char(qGreen(c)); b += char(qRed(c)); break;
    case 32: b += char(qBlue(c)); b += char(qGreen(c)); b += char(qRed(c)); b += char(qAlpha(c)); break;
    }
    return b;
}

// kind 1 mapped, 2 true colour, 3 grey.
Fixture tga(int kind, bool rle, int depth, bool topDown, bool rightToLeft, int mapBits = 24)
{
    const int colours = kind == 1 ? 40 : 0;
    const bool alpha = (kind == 2 && (depth == 32 || depth == 16)) || (kind == 1 && mapBits == 32);
    QImage picture = kind == 3 ? greyPicture(kW, kH) : samplePicture(kW, kH, colours, alpha && kind == 2);
    QImage expected = picture;
    if (kind == 2 && (depth == 15 || depth == 16))
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                expected.setPixel(x, y, to555(px(picture, x, y), depth == 16 && qAlpha(px(picture, x, y)) < 128 ? 0 : 255));
    if (depth == 16 && kind == 2)   // only alpha 0 or 255 survives, colour kept as 5 bits
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                QRgb e = expected.pixel(x, y);
                expected.setPixel(x, y, qAlpha(e) ? e : (e & 0x00ffffff));
            }
    if (kind == 1 && mapBits == 16)
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                expected.setPixel(x, y, to555(px(picture, x, y)));
    QByteArray b;
    const int mapFirst = kind == 1 ? 2 : 0;   // indexes start at 2: map entry = index - 2
    b += char(0);
    b += char(kind == 1 ? 1 : 0);
    b += char(kind + (rle ? 8 : 0));
    le16(b, kind == 1 ? mapFirst : 0);
    le16(b, kind == 1 ? colours : 0);
    b += char(kind == 1 ? mapBits : 0);
    le16(b, 0); le16(b, 0);
    le16(b, kW); le16(b, kH);
    b += char(depth);
    b += char((alpha ? (depth == 16 ? 1 : 8) : 0) | (topDown ? 0x20 : 0) | (rightToLeft ? 0x10 : 0));
    if (kind == 1)
        for (int i = 0; i < colours; ++i)
            b += tgaPixel(sampleColour(i), mapBits, 0);
    std::vector<QByteArray> stream;
    for (int row = 0; row < kH; ++row)
        for (int col = 0; col < kW; ++col) {
            const int y = topDown ? row : kH - 1 - row;
            const int x = rightToLeft ? kW - 1 - col : col;
            const QRgb c = px(picture, x, y);
            const int index = kind == 1 ? sampleIndex(x, y, colours) + mapFirst : luma(c);
            stream.push_back(tgaPixel(c, kind == 2 ? depth : 8, index));
        }
    if (!rle) {
        for (const QByteArray& p : stream)
            b += p;
    } else {
        for (size_t i = 0; i < stream.size();) {
            size_t run = 1;
            while (i + run < stream.size() && run < 128 && stream[i + run] == stream[i])
                ++run;
            if (run > 1) {
                b += char(0x80 | (run - 1));
                b += stream[i];
                i += run;
                continue;
            }
            size_t raw = 1;
            while (i + raw < stream.size() && raw < 128 &&
                   !(i + raw + 1 < stream.size() && stream[i + raw] == stream[i + raw + 1]))
                ++raw;
            b += char(raw - 1);
            for (size_t k = 0; k < raw; ++k)
                b += stream[i + k];
            i += raw;
        }
    }
    QString name = QStringLiteral("Tga%1%2Bits%3%4%5").arg(kind == 1 ? "Mapped" : kind == 2 ? "True" : "Grey",
        rle ? "Rle" : "Raw").arg(depth).arg(topDown ? "TopDown" : "BottomUp", rightToLeft ? "RightToLeft" : "");
    if (kind == 1)
        name += QStringLiteral("Map%1").arg(mapBits);
    return {name, Format::Tga, "tga", b, argb(expected)};
}

// ---- PCX ----

QByteArray pcxRle(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype i = 0; i < data.size();) {
        qsizetype run = 1;
        while (i + run < data.size() && run < 63 && data[i + run] == data[i])
            ++run;
        const uint8_t v = uint8_t(data[i]);
        if (run > 1 || (v & 0xc0) == 0xc0) {
            out += char(0xc0 | run);
            out += char(v);
        } else {
            out += char(v);
        }
        i += run;
    }
    return out;
}

// kinds: bits x planes.
Fixture pcx(int bits, int planes, bool rle)
{
    const bool indexed = bits * planes <= 8;
    const int colours = indexed ? 1 << (bits * planes) : 0;
    const bool alpha = planes == 4 && bits == 8;
    QImage picture = samplePicture(kW, kH, colours == 2 ? 0 : colours, alpha);
    if (colours == 2)   // black and white
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                picture.setPixel(x, y, sampleIndex(x, y, 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const int bytesPerLine = ((kW * bits + 7) / 8 + 1) & ~1;
    QByteArray b(128, 0);
    b[0] = 0x0a; b[1] = 5; b[2] = rle ? 1 : 0; b[3] = char(bits);
    QByteArray h;
    le16(h, 0); le16(h, 0); le16(h, kW - 1); le16(h, kH - 1);
    b.replace(4, 8, h);
    if (indexed && colours <= 16)
        for (int i = 0; i < colours; ++i) {
            b[16 + 3 * i] = char(qRed(sampleColour(i)));
            b[17 + 3 * i] = char(qGreen(sampleColour(i)));
            b[18 + 3 * i] = char(qBlue(sampleColour(i)));
        }
    b[65] = char(planes);
    b[66] = char(bytesPerLine & 255);
    b[67] = char(bytesPerLine >> 8);
    b[68] = 1;
    QByteArray pixels;
    for (int y = 0; y < kH; ++y) {
        QByteArray line(bytesPerLine * planes, 0);
        for (int x = 0; x < kW; ++x) {
            const int index = colours ? sampleIndex(x, y, colours) : 0;
            const QRgb c = px(picture, x, y);
            if (bits == 8 && planes == 1) {
                line[x] = char(index);
            } else if (bits == 8) {
                line[x] = char(qRed(c));
                line[bytesPerLine + x] = char(qGreen(c));
                line[2 * bytesPerLine + x] = char(qBlue(c));
                if (planes == 4)
                    line[3 * bytesPerLine + x] = char(qAlpha(c));
            } else if (bits == 1) {
                for (int p = 0; p < planes; ++p)
                    if (index >> p & 1)
                        line[p * bytesPerLine + x / 8] = char(line[p * bytesPerLine + x / 8] | (0x80 >> (x & 7)));
            } else {
                const int perByte = 8 / bits;
                line[x / perByte] = char(line[x / perByte] | index << (8 - bits * (x % perByte + 1)));
            }
        }
        pixels += line;
    }
    b += rle ? pcxRle(pixels) : pixels;
    if (bits == 8 && planes == 1) {
        b += char(0x0c);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < colours ? sampleColour(i) : qRgb(i, 0, 0);
            b += char(qRed(c)); b += char(qGreen(c)); b += char(qBlue(c));
        }
    }
    const QString name = QStringLiteral("Pcx%1Bits%2Planes%3").arg(bits).arg(planes).arg(rle ? "Rle" : "Raw");
    return {name, Format::Pcx, "pcx", b, argb(picture)};
}

Fixture dcx(const Fixture& page, const Fixture& second)
{
    QByteArray b;
    le32(b, 987654321u);
    const quint32 first = 4 + 3 * 4;
    le32(b, first);
    le32(b, first + quint32(page.bytes.size()));
    le32(b, 0);
    b += page.bytes;
    b += second.bytes;
    return {QStringLiteral("DcxFirstPageOf%1").arg(page.name), Format::Dcx, "dcx", b, page.expected};
}

// ---- SGI ----

QByteArray sgiRle(const QByteArray& row)
{
    QByteArray out;
    for (qsizetype i = 0; i < row.size();) {
        qsizetype run = 1;
        while (i + run < row.size() && run < 127 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out += char(run);
            out += row[i];
            i += run;
            continue;
        }
        qsizetype lit = 1;
        while (i + lit < row.size() && lit < 127 && !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out += char(0x80 | lit);
        out += row.mid(i, lit);
        i += lit;
    }
    out += char(0);
    return out;
}

Fixture sgi(int channels, bool rle)
{
    const bool alpha = channels == 2 || channels == 4;
    QImage picture = channels <= 2 ? greyPicture(kW, kH) : samplePicture(kW, kH, 0, alpha);
    if (channels == 2)
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                picture.setPixel(x, y, (px(picture, x, y) & 0x00ffffff) | uint((x * 20 + y * 9) & 255) << 24);
    QByteArray b(512, 0);
    QByteArray h;
    be16(h, 474); h += char(rle ? 1 : 0); h += char(1); be16(h, channels == 1 ? 2 : 3);
    be16(h, kW); be16(h, kH); be16(h, channels);
    be32(h, 0); be32(h, 255);
    b.replace(0, h.size(), h);
    std::vector<QByteArray> rows;   // channel-major, bottom row first
    for (int c = 0; c < channels; ++c)
        for (int r = 0; r < kH; ++r) {
            QByteArray row;
            for (int x = 0; x < kW; ++x) {
                const QRgb p = px(picture, x, kH - 1 - r);
                const int v = channels <= 2 ? (c == 0 ? qRed(p) : qAlpha(p))
                                            : (c == 0 ? qRed(p) : c == 1 ? qGreen(p) : c == 2 ? qBlue(p) : qAlpha(p));
                row += char(v);
            }
            rows.push_back(row);
        }
    if (!rle) {
        for (const QByteArray& r : rows)
            b += r;
    } else {
        const int tables = int(rows.size()) * 8;
        QByteArray data;
        QByteArray starts, lengths;
        for (const QByteArray& r : rows) {
            const QByteArray coded = sgiRle(r);
            be32(starts, quint32(512 + tables + data.size()));
            be32(lengths, quint32(coded.size()));
            data += coded;
        }
        b += starts + lengths + data;
    }
    return {QStringLiteral("Sgi%1Channels%2").arg(channels).arg(rle ? "Rle" : "Verbatim"), Format::Sgi, "sgi", b,
            argb(picture)};
}

// ---- Sun raster ----

QByteArray sunRle(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype i = 0; i < data.size();) {
        qsizetype run = 1;
        while (i + run < data.size() && run < 256 && data[i + run] == data[i])
            ++run;
        if (run >= 3 || uint8_t(data[i]) == 0x80) {
            if (uint8_t(data[i]) == 0x80 && run < 3) {
                out += char(0x80); out += char(0); ++i;
                continue;
            }
            out += char(0x80); out += char(run - 1); out += data[i];
        } else {
            out += data[i];
            run = 1;
        }
        i += run;
    }
    return out;
}

// type 1 standard, 2 run-length coded, 3 RGB order; withMap for 1 and 8 bits.
Fixture sun(int depth, int type, bool withMap)
{
    const int colours = depth == 1 ? 2 : depth == 8 ? (withMap ? 200 : 0) : 0;
    QImage picture = depth == 8 && !withMap ? greyPicture(kW, kH) : samplePicture(kW, kH, colours);
    if (depth == 1 && !withMap)
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                picture.setPixel(x, y, sampleIndex(x, y, 2) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    QByteArray map;
    if (withMap) {
        QByteArray r, g, bl;
        for (int i = 0; i < colours; ++i) {
            r += char(qRed(sampleColour(i))); g += char(qGreen(sampleColour(i))); bl += char(qBlue(sampleColour(i)));
        }
        map = r + g + bl;
    }
    const int lineBytes = ((kW * depth + 15) / 16) * 2;
    QByteArray pixels;
    for (int y = 0; y < kH; ++y) {
        QByteArray line(lineBytes, 0);
        for (int x = 0; x < kW; ++x) {
            const QRgb c = px(picture, x, y);
            if (depth == 1) {
                const int bit = withMap ? sampleIndex(x, y, 2) : (qRed(c) == 0);
                if (bit)
                    line[x / 8] = char(line[x / 8] | (0x80 >> (x & 7)));
            } else if (depth == 8) {
                line[x] = char(withMap ? sampleIndex(x, y, colours) : qRed(c));
            } else {
                const int at = x * depth / 8 + (depth == 32 ? 1 : 0);
                if (depth == 32)
                    line[at - 1] = char(0x55);   // padding byte
                const bool rgb = type == 3;
                line[at] = char(rgb ? qRed(c) : qBlue(c));
                line[at + 1] = char(qGreen(c));
                line[at + 2] = char(rgb ? qBlue(c) : qRed(c));
            }
        }
        pixels += line;
    }
    const QByteArray body = type == 2 ? sunRle(pixels) : pixels;
    QByteArray b;
    be32(b, 0x59a66a95u); be32(b, kW); be32(b, kH); be32(b, depth); be32(b, quint32(body.size()));
    be32(b, type); be32(b, withMap ? 1 : 0); be32(b, quint32(map.size()));
    b += map + body;
    const QString name = QStringLiteral("Sun%1Bits%2%3").arg(depth).arg(type == 1 ? "Standard" : type == 2 ? "Rle" : "RgbOrder",
                                                            withMap ? "Map" : "");
    return {name, Format::SunRaster, "ras", b, argb(picture)};
}

// ---- PSD ----

// mode 1 grey, 2 indexed, 3 RGB, 4 CMYK.
Fixture psd(int mode, bool rle, int extraChannels = 0)
{
    const int needed = mode == 3 ? 3 : mode == 4 ? 4 : 1;
    const int channels = needed + extraChannels;
    QImage picture = mode == 1 ? greyPicture(kW, kH) : samplePicture(kW, kH, mode == 2 ? 150 : 0);
    QImage expected = picture;
    std::vector<QByteArray> planes(size_t(channels), QByteArray(kW * kH, 0));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const QRgb c = px(picture, x, y);
            const int at = y * kW + x;
            switch (mode) {
            case 1: planes[0][at] = char(qRed(c)); break;
            case 2: planes[0][at] = char(sampleIndex(x, y, 150)); break;
            case 3: planes[0][at] = char(qRed(c)); planes[1][at] = char(qGreen(c)); planes[2][at] = char(qBlue(c)); break;
            case 4: {
                const int k = (x * 40 + y * 13) & 255;   // stored inverted: 255 is no ink
                planes[0][at] = char(qRed(c)); planes[1][at] = char(qGreen(c)); planes[2][at] = char(qBlue(c));
                planes[3][at] = char(k);
                expected.setPixel(x, y, qRgb(qRed(c) * k / 255, qGreen(c) * k / 255, qBlue(c) * k / 255));
                break;
            }
            }
            for (int e = needed; e < channels; ++e)
                planes[size_t(e)][at] = char(0x33);
        }
    QByteArray b("8BPS");
    be16(b, 1); b += QByteArray(6, 0); be16(b, channels); be32(b, kH); be32(b, kW); be16(b, 8); be16(b, mode);
    if (mode == 2) {
        QByteArray r(256, 0), g(256, 0), bl(256, 0);
        for (int i = 0; i < 150; ++i) {
            r[i] = char(qRed(sampleColour(i))); g[i] = char(qGreen(sampleColour(i))); bl[i] = char(qBlue(sampleColour(i)));
        }
        be32(b, 768); b += r + g + bl;
    } else {
        be32(b, 0);
    }
    be32(b, 12); b += "8BIM"; b += QByteArray(8, 1);   // an image resource block, skipped
    be32(b, 4); be32(b, 0);                            // an empty layer section
    be16(b, rle ? 1 : 0);
    if (!rle) {
        for (const QByteArray& p : planes)
            b += p;
    } else {
        QByteArray counts, data;
        for (const QByteArray& p : planes)
            for (int y = 0; y < kH; ++y) {
                const QByteArray coded = packBits(p.mid(y * kW, kW));
                be16(counts, int(coded.size()));
                data += coded;
            }
        b += counts + data;
    }
    const QString name = QStringLiteral("Psd%1%2%3").arg(mode == 1 ? "Grey" : mode == 2 ? "Indexed" : mode == 3 ? "Rgb" : "Cmyk",
                                                        rle ? "PackBits" : "Raw", extraChannels ? "ExtraChannel" : "");
    return {name, Format::Psd, "psd", b, argb(expected)};
}

// ---- IFF ----

void chunk(QByteArray& b, const char* id, const QByteArray& data)
{
    b += QByteArray(id, 4);
    be32(b, quint32(data.size()));
    b += data;
    if (data.size() & 1)
        b += char(0);
}

// planes 1..8 or 24 (ILBM); chunky: PBM with 8 bits.
Fixture iff(int planes, bool rle, bool mask, bool chunky, bool extraHalfBrite = false)
{
    const int colours = planes == 24 ? 0 : extraHalfBrite ? 32 : 1 << planes;
    QImage picture = samplePicture(kW, kH, planes == 24 ? 0 : (extraHalfBrite ? 64 : colours));
    std::vector<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(sampleColour(i));
    if (extraHalfBrite)   // indexes 32..63 show their colour at half brightness
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const int idx = sampleIndex(x, y, 64);
                const QRgb c = sampleColour(idx % 32);
                picture.setPixel(x, y, idx < 32 ? c : qRgb(qRed(c) / 2, qGreen(c) / 2, qBlue(c) / 2));
            }
    QByteArray header;
    be16(header, kW); be16(header, kH); be16(header, 0); be16(header, 0);
    header += char(planes); header += char(mask ? 1 : 0); header += char(rle ? 1 : 0); header += char(0);
    be16(header, 0); header += char(1); header += char(1); be16(header, kW); be16(header, kH);
    QByteArray cmap;
    for (QRgb c : palette) {
        cmap += char(qRed(c)); cmap += char(qGreen(c)); cmap += char(qBlue(c));
    }
    const int planeBytes = chunky ? (kW + 1) / 2 * 2 : (kW + 15) / 16 * 2;
    QByteArray body;
    for (int y = 0; y < kH; ++y) {
        QByteArray line;
        if (chunky) {
            line = QByteArray(planeBytes, 0);
            for (int x = 0; x < kW; ++x)
                line[x] = char(sampleIndex(x, y, colours));
        } else {
            line = QByteArray(planeBytes * (planes + (mask ? 1 : 0)), 0);
            for (int x = 0; x < kW; ++x) {
                const QRgb c = px(picture, x, y);
                const quint32 value = planes == 24 ? quint32(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16)
                                                   : quint32(sampleIndex(x, y, extraHalfBrite ? 64 : colours));
                for (int p = 0; p < planes; ++p)
                    if (value >> p & 1)
                        line[p * planeBytes + x / 8] = char(line[p * planeBytes + x / 8] | (0x80 >> (x & 7)));
                if (mask && (x + y) % 3)
                    line[planes * planeBytes + x / 8] = char(line[planes * planeBytes + x / 8] | (0x80 >> (x & 7)));
            }
        }
        body += rle ? packBits(line) : line;
    }
    QByteArray form("ILBM");
    if (chunky)
        form = "PBM ";
    chunk(form, "BMHD", header);
    if (!cmap.isEmpty())
        chunk(form, "CMAP", cmap);
    if (extraHalfBrite) {
        QByteArray camg;
        be32(camg, 0x80);
        chunk(form, "CAMG", camg);
    }
    chunk(form, "ANNO", QByteArray("test"));
    chunk(form, "BODY", body);
    QByteArray b("FORM");
    be32(b, quint32(form.size()));
    b += form;
    const QString name = QStringLiteral("Iff%1%2Planes%3%4%5").arg(chunky ? "Pbm" : "Ilbm").arg(planes)
                             .arg(rle ? "ByteRun1" : "Raw", mask ? "Mask" : "", extraHalfBrite ? "HalfBrite" : "");
    return {name, Format::Iff, "iff", b, argb(picture)};
}

// ---- Autodesk CEL/PIC ----

Fixture cel()
{
    QImage picture(kW, kH, QImage::Format_ARGB32);
    QByteArray b;
    le16(b, 0x9119); le16(b, kW); le16(b, kH); le16(b, 0); le16(b, 0);
    b += char(8); b += char(0); le32(b, kW * kH); b += QByteArray(16, 0);
    auto vga = [](int i, int c) { return (i * (c + 3) + c * 11) % 64; };
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            b += char(vga(i, c));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int i = sampleIndex(x, y, 256);
            b += char(i);
            picture.setPixel(x, y, qRgb(vga(i, 0) * 255 / 63, vga(i, 1) * 255 / 63, vga(i, 2) * 255 / 63));
        }
    return {"CelPalette8Bits", Format::Cel, "cel", b, picture};
}

// ---- Dr. Halo CUT ----

Fixture cut(bool withPalette)
{
    const int colours = 120;
    QImage picture(kW, kH, QImage::Format_ARGB32);
    QByteArray b;
    le16(b, kW); le16(b, kH); le16(b, 0);
    auto colour = [&](int i) {
        return withPalette ? qRgb(sampleColour(i) >> 16 & 255, (i * 7) % 64 * 255 / 63, 255 * (i % 3) / 2)
                           : qRgb(i, i, i);
    };
    for (int y = 0; y < kH; ++y) {
        QByteArray line;
        std::vector<int> idx;
        for (int x = 0; x < kW; ++x) {
            idx.push_back(x >= 6 && y % 2 ? 77 : sampleIndex(x, y, colours));
            picture.setPixel(x, y, colour(idx.back()));
        }
        for (size_t i = 0; i < idx.size();) {
            size_t run = 1;
            while (i + run < idx.size() && run < 127 && idx[i + run] == idx[i])
                ++run;
            if (run >= 3) {
                line += char(0x80 | run); line += char(idx[i]);
                i += run;
            } else {
                line += char(run);
                for (size_t k = 0; k < run; ++k)
                    line += char(idx[i + k]);
                i += run;
            }
        }
        line += char(0);
        le16(b, int(line.size()));
        b += line;
    }
    QByteArray pal;
    if (withPalette) {
        // 16-bit entries scaled by the maxima; entries never span a 512-byte block.
        pal = QByteArray("AH") + QByteArray(10, 0);
        le16(pal, colours - 1); le16(pal, 255); le16(pal, 63); le16(pal, 2);
        pal += QByteArray("Dr. Halo").leftJustified(20, '\0');
        for (int i = 0; i < colours; ++i) {
            if (pal.size() % 512 + 6 > 512)
                pal += QByteArray(512 - pal.size() % 512, 0);
            const QRgb c = colour(i);
            le16(pal, qRed(c)); le16(pal, (i * 7) % 64); le16(pal, i % 3);
        }
    }
    return {withPalette ? "CutWithPalette" : "CutGrey", Format::Cut, "cut", b, picture, pal};
}

// ---- Wavefront RLA ----

QByteArray rlaRuns(const QByteArray& row)
{
    QByteArray out;
    for (qsizetype i = 0; i < row.size();) {
        qsizetype run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out += char(run - 1); out += row[i];
            i += run;
            continue;
        }
        qsizetype lit = 1;
        while (i + lit < row.size() && lit < 128 && !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out += char(-lit);
        out += row.mid(i, lit);
        i += lit;
    }
    return out;
}

Fixture rla(int channels, bool matte)
{
    QImage picture = channels == 1 ? greyPicture(kW, kH) : samplePicture(kW, kH, 0, matte);
    if (channels == 1 && matte)
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                picture.setPixel(x, y, (px(picture, x, y) & 0x00ffffff) | uint((x * 30 + y) & 255) << 24);
    QByteArray h(740, 0);
    auto put16 = [&](int at, int v) { h[at] = char((v >> 8) & 255); h[at + 1] = char(v & 255); };
    put16(8, 10); put16(10, 10 + kW - 1); put16(12, 5); put16(14, 5 + kH - 1);   // active window
    put16(20, channels); put16(22, matte ? 1 : 0); put16(658, 8); put16(662, matte ? 8 : 0);
    QByteArray lines;
    std::vector<quint32> offsets;
    const int tableEnd = 740 + 4 * kH;
    for (int r = 0; r < kH; ++r) {   // bottom line first
        offsets.push_back(quint32(tableEnd + lines.size()));
        const int y = kH - 1 - r;
        for (int c = 0; c < channels + (matte ? 1 : 0); ++c) {
            QByteArray row;
            for (int x = 0; x < kW; ++x) {
                const QRgb p = px(picture, x, y);
                row += char(c == channels ? qAlpha(p) : c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p));
            }
            const QByteArray coded = rlaRuns(row);
            be16(lines, int(coded.size()));
            lines += coded;
        }
    }
    QByteArray b = h;
    for (quint32 o : offsets)
        be32(b, o);
    b += lines;
    return {QStringLiteral("Rla%1%2").arg(channels == 1 ? "Grey" : "Rgb", matte ? "Matte" : ""), Format::Rla, "rla", b,
            argb(picture)};
}

// ---- Kodak Photo CD ----

Fixture pcd(int rotation)
{
    constexpr int w = 768, h = 512;
    QByteArray b(0x30000, 0);
    b.replace(0x800, 7, "PCD_IPI");
    b[0xe02] = char(rotation);
    QImage picture(w, h, QImage::Format_ARGB32);
    auto clamp = [](double v) { return std::clamp(int(v + 0.5), 0, 255); };
    auto lumaAt = [](int x, int y) { return (x / 3 + y / 2 + (x / 64) * 20) % 190 + 10; };
    auto c1At = [](int x, int y) { return 100 + (x / 2 + y) % 120; };
    auto c2At = [](int x, int y) { return 90 + (x + y / 2) % 110; };
    for (int pair = 0; pair < h / 2; ++pair) {
        QByteArray rows[2], c1(w / 2, 0), c2(w / 2, 0);
        for (int x = 0; x < w / 2; ++x) {
            c1[x] = char(c1At(x, pair));
            c2[x] = char(c2At(x, pair));
        }
        for (int r = 0; r < 2; ++r) {
            rows[r] = QByteArray(w, 0);
            for (int x = 0; x < w; ++x) {
                const int y = 2 * pair + r;
                rows[r][x] = char(lumaAt(x, y));
                const double l = 1.3584 * lumaAt(x, y), a = 2.2179 * (c1At(x / 2, pair) - 156),
                             bb = 1.8215 * (c2At(x / 2, pair) - 137);
                picture.setPixel(x, y, qRgb(clamp(l + bb), clamp(l - 0.194 * a - 0.509 * bb), clamp(l + a)));
            }
        }
        b += rows[0] + rows[1] + c1 + c2;
    }
    if (rotation == 3)
        picture = picture.transformed(QTransform().rotate(90));
    return {QStringLiteral("PcdBaseRotation%1").arg(rotation), Format::Pcd, "pcd", b, argb(picture)};
}

} // namespace

QRgb sampleColour(int index)
{
    return qRgb((index * 73 + 19) & 255, (index * 151 + 7) & 255, (index * 29 + 200) & 255);
}

QImage samplePicture(int width, int height, int colours, bool alpha)
{
    QImage i(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            QRgb c = colours ? sampleColour(sampleIndex(x, y, colours))
                             : qRgb((x * 19 + y * 3) & 255, (y * 31 + 5) & 255, (x * y * 7 + 100) & 255);
            // a few repeated pixels so that run-length coders have runs
            if (!colours && y == 2 && x >= 4)
                c = qRgb(10, 200, 30);
            if (alpha)
                c = (c & 0x00ffffff) | uint((x * 40 + y * 17) & 255) << 24;
            i.setPixel(x, y, c);
        }
    return i;
}

QByteArray packBits(const QByteArray& row)
{
    QByteArray out;
    for (qsizetype i = 0; i < row.size();) {
        qsizetype run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out += char(1 - run);
            out += row[i];
            i += run;
            continue;
        }
        qsizetype lit = 1;
        while (i + lit < row.size() && lit < 128 && !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out += char(lit - 1);
        out += row.mid(i, lit);
        i += lit;
    }
    return out;
}

std::vector<Fixture> allFixtures()
{
    std::vector<Fixture> f;
    for (bool rle : {false, true}) {
        for (int depth : {15, 16, 24, 32})
            f.push_back(tga(2, rle, depth, false, false));
        f.push_back(tga(2, rle, 24, true, false));
        f.push_back(tga(2, rle, 32, true, true));
        f.push_back(tga(1, rle, 8, false, false, 24));
        f.push_back(tga(1, rle, 8, true, false, 32));
        f.push_back(tga(1, rle, 8, false, false, 16));
        f.push_back(tga(3, rle, 8, false, false));
        f.push_back(tga(3, rle, 8, true, true));

        for (auto [bits, planes] : {std::pair{1, 1}, {1, 4}, {2, 1}, {4, 1}, {8, 1}, {8, 3}, {8, 4}})
            f.push_back(pcx(bits, planes, rle));

        for (int channels = 1; channels <= 4; ++channels)
            f.push_back(sgi(channels, rle));

        for (int mode = 1; mode <= 4; ++mode)
            f.push_back(psd(mode, rle));
        f.push_back(psd(3, rle, 1));

        for (int planes : {1, 4, 8, 24})
            f.push_back(iff(planes, rle, false, false));
        f.push_back(iff(5, rle, true, false));
        f.push_back(iff(6, rle, false, false, true));
        f.push_back(iff(8, rle, false, true));
    }
    for (int type : {1, 2, 3}) {
        f.push_back(sun(1, type, false));
        f.push_back(sun(1, type, true));
        f.push_back(sun(8, type, false));
        f.push_back(sun(8, type, true));
        f.push_back(sun(24, type, false));
        f.push_back(sun(32, type, false));
    }
    f.push_back(cel());
    f.push_back(cut(true));
    f.push_back(cut(false));
    for (int channels : {1, 3})
        for (bool matte : {false, true})
            f.push_back(rla(channels, matte));
    f.push_back(pcd(0));
    f.push_back(pcd(3));
    f.push_back(dcx(pcx(8, 1, true), pcx(1, 1, true)));
    f.push_back(dcx(pcx(8, 3, false), pcx(4, 1, true)));
    for (Fixture& x : f)
        x.expected = argb(x.expected);
    return f;
}

} // namespace imagingtest
