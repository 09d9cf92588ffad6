#pragma once
#include <QByteArrayView>
#include <QImage>

// The decoders behind loadPicture. Each reads a whole file's bytes and returns the picture, or throws
// detail::DecodeError; none reads outside `data`.
namespace imaging::detail {

QImage decodeWithQt(QByteArrayView data, const char* qtFormat);
// `maxSize` above 0: the smallest libjpeg scale whose result still covers maxSize on the fitting side.
QImage decodeJpeg(QByteArrayView data, int maxSize);
QImage decodeTga(QByteArrayView data);
QImage decodePcx(QByteArrayView data);
QImage decodeDcx(QByteArrayView data);
QImage decodeSgi(QByteArrayView data);
QImage decodeSunRaster(QByteArrayView data);
QImage decodePsd(QByteArrayView data);
QImage decodeIff(QByteArrayView data);
QImage decodePcd(QByteArrayView data);
QImage decodeRla(QByteArrayView data);
QImage decodeCel(QByteArrayView data);
// `palette`: the PAL file beside the picture, or empty for grey.
QImage decodeCut(QByteArrayView data, QByteArrayView palette);

} // namespace imaging::detail
