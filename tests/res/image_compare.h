// Comparing images pixel by pixel, saying where they differ.
#pragma once

#include <QImage>
#include <sstream>
#include <string>

namespace zk_test {

// Empty when the two images have the same size and the same ARGB value in every pixel; otherwise
// the size difference or the first few differing pixels.
inline std::string ImageDifference(const QImage& expected, const QImage& actual) {
    std::ostringstream out;
    if (expected.size() != actual.size()) {
        out << "size " << actual.width() << "x" << actual.height() << ", expected "
            << expected.width() << "x" << expected.height();
        return out.str();
    }
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    int shown = 0;
    for (int y = 0; y < e.height(); ++y) {
        for (int x = 0; x < e.width(); ++x) {
            if (e.pixel(x, y) != a.pixel(x, y) && shown++ < 6)
                out << "(" << x << "," << y << "): expected " << std::hex << e.pixel(x, y)
                    << " got " << a.pixel(x, y) << std::dec << "\n";
        }
    }
    return out.str();
}

}  // namespace zk_test
