#pragma once
#include "imaging/Picture.h"
#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// Small pictures written in every variant that the project's own decoders read, each with the picture
// its bytes must decode to. Used by the tests and to seed the fuzz targets.
namespace imagingtest {

struct Fixture {
    QString name;             // readable case name: "TgaRle24BottomUp"
    imaging::Format format;
    QString extension;        // "tga"
    QByteArray bytes;
    QImage expected;          // ARGB32
    QByteArray companion = {};   // a CUT picture's PAL file, written beside it
};

// All variants of all own decoders.
std::vector<Fixture> allFixtures();
// A test picture: `colours` > 0 picks pixels from that many distinct colours (palette order), else a
// gradient; with `alpha`, varying transparency.
QImage samplePicture(int width, int height, int colours, bool alpha = false);
// The colours samplePicture uses for an indexed picture.
QRgb sampleColour(int index);

// PackBits coding, as the PSD and IFF encoders use it.
QByteArray packBits(const QByteArray& row);

} // namespace imagingtest
