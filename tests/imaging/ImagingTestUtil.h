#pragma once
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace imagingtest {

// Fails the test at the first pixel that differs by more than `tolerance` in any channel (alpha included).
inline ::testing::AssertionResult samePixels(const QImage& actual, const QImage& expected, int tolerance = 0)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << ", expected "
                                             << expected.width() << "x" << expected.height();
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = e.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (d > tolerance)
                return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex << p
                                                     << ", expected " << q;
        }
    return ::testing::AssertionSuccess();
}

} // namespace imagingtest
