// Pictures of bitmaps as text, so that a failing pixel test shows what it got.
#pragma once

#include <sstream>
#include <string>

#include "gdi/bitmap.h"

namespace zk_test {

// One character per pixel, one line per row, in the letters of the pictures: '.' white,
// '#' black, 'o' green, 'r' red, 'b' blue, 'y' yellow, '?' any other colour.
inline std::string BitmapText(const gdi::Bitmap& bmp) {
    std::string s;
    for (int y = 0; y < bmp.Height(); ++y) {
        for (int x = 0; x < bmp.Width(); ++x) {
            const gdi::Color c = bmp.GetPixel(x, y);
            switch (c) {
                case gdi::kWhite:
                    s += '.';
                    break;
                case gdi::kBlack:
                    s += '#';
                    break;
                case gdi::RGB(0, 128, 0):
                    s += 'o';
                    break;
                case gdi::RGB(255, 0, 0):
                    s += 'r';
                    break;
                case gdi::RGB(0, 0, 255):
                    s += 'b';
                    break;
                case gdi::RGB(255, 255, 0):
                    s += 'y';
                    break;
                default:
                    s += '?';
            }
        }
        s += '\n';
    }
    return s;
}

// Compares two bitmaps; on a difference says where (the first few pixels) and shows both.
inline std::string DescribeDifference(const gdi::Bitmap& expected, const gdi::Bitmap& actual) {
    std::ostringstream out;
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
        out << "size " << actual.Width() << "x" << actual.Height() << ", expected "
            << expected.Width() << "x" << expected.Height() << "\n";
        return out.str();
    }
    int shown = 0;
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            if (expected.GetPixel(x, y) != actual.GetPixel(x, y) && shown++ < 8)
                out << "(" << x << "," << y << "): expected " << std::hex << expected.GetPixel(x, y)
                    << " got " << actual.GetPixel(x, y) << std::dec << "\n";
    if (shown == 0)
        return {};
    out << "expected:\n" << BitmapText(expected) << "actual:\n" << BitmapText(actual);
    return out.str();
}

}  // namespace zk_test
