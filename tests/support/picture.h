// Small pictures for the pixel tests, written as rows of letters, and the one report of how two
// pictures differ, for our bitmaps and for Qt's images alike.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "gdi/bitmap.h"

namespace zk_test {

// The colours a picture can name: '.' white, '#' black, 'o' green, 'r' red, 'b' blue,
// 'y' yellow (the tools' marks). Any other letter is a fault in the test; any other colour is
// shown as '?'.
constexpr gdi::Color kGreen = gdi::RGB(0, 128, 0);
constexpr gdi::Color kRed = gdi::RGB(255, 0, 0);
constexpr gdi::Color kBlue = gdi::RGB(0, 0, 255);
constexpr gdi::Color kYellow = gdi::RGB(255, 255, 0);

struct PictureLetter {
    char letter;
    gdi::Color color;
};
constexpr PictureLetter kPictureLetters[] = {
    {'.', gdi::kWhite}, {'#', gdi::kBlack}, {'o', kGreen},
    {'r', kRed},        {'b', kBlue},       {'y', kYellow},
};

inline std::optional<gdi::Color> PictureColor(char c) {
    for (const PictureLetter& l : kPictureLetters)
        if (l.letter == c)
            return l.color;
    return std::nullopt;
}

inline char LetterOf(gdi::Color c) {
    for (const PictureLetter& l : kPictureLetters)
        if (l.color == c)
            return l.letter;
    return '?';
}

// One letter per pixel, one line per row, so that a failing pixel test shows what it got.
template <class PixelAt, class Letter>
std::string Letters(int w, int h, PixelAt pixelAt, Letter letter) {
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            s += letter(pixelAt(x, y));
        s += '\n';
    }
    return s;
}

inline std::string BitmapText(const gdi::Bitmap& bmp) {
    return Letters(
        bmp.Width(), bmp.Height(), [&bmp](int x, int y) { return bmp.GetPixel(x, y); }, LetterOf);
}

// How two pictures of the same size differ: the size when it is not the same, else the first few
// differing pixels in hex and, when the pictures are small enough to read, both in letters.
// Empty when they are the same.
template <class PixelAt, class Letter>
std::string Difference(int ew, int eh, int aw, int ah, PixelAt expected, PixelAt actual,
                       Letter letter) {
    std::ostringstream out;
    if (ew != aw || eh != ah) {
        out << "size " << aw << "x" << ah << ", expected " << ew << "x" << eh << "\n";
        return out.str();
    }
    int differing = 0;
    for (int y = 0; y < eh; ++y)
        for (int x = 0; x < ew; ++x)
            if (expected(x, y) != actual(x, y) && differing++ < 8)
                out << "(" << x << "," << y << "): expected " << std::hex << expected(x, y)
                    << " got " << actual(x, y) << std::dec << "\n";
    if (differing == 0)
        return {};
    out << differing << " pixels differ\n";
    if (ew <= 64 && eh <= 64)
        out << "expected:\n"
            << Letters(ew, eh, expected, letter) << "actual:\n"
            << Letters(ew, eh, actual, letter);
    return out.str();
}

inline std::string Difference(const gdi::Bitmap& expected, const gdi::Bitmap& actual) {
    const auto pixels = [](const gdi::Bitmap& b) {
        return [&b](int x, int y) { return b.GetPixel(x, y); };
    };
    return Difference(expected.Width(), expected.Height(), actual.Width(), actual.Height(),
                      pixels(expected), pixels(actual), LetterOf);
}

// Qt images (QImage; a template, so that the test programs without Qt can include this) differ
// in the ARGB value of a pixel; opaque pixels of the picture colours show as their letters.
template <class Image>
requires requires(const Image& i) {
    i.convertToFormat(Image::Format_ARGB32).pixel(0, 0);
}
std::string Difference(const Image& expected, const Image& actual) {
    const Image e = expected.convertToFormat(Image::Format_ARGB32);
    const Image a = actual.convertToFormat(Image::Format_ARGB32);
    const auto pixels = [](const Image& i) {
        return [&i](int x, int y) { return std::uint32_t{i.pixel(x, y)}; };
    };
    const auto letter = [](std::uint32_t p) {
        return p >> 24 == 0xFF ? LetterOf(p & 0xFFFFFF) : '?';
    };
    return Difference(e.width(), e.height(), a.width(), a.height(), pixels(e), pixels(a), letter);
}

inline ::testing::AssertionResult Reported(const std::string& difference) {
    if (difference.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n" << difference;
}

// Passes when the two have the same size and the same colour in every pixel, whatever their
// depth (pictures read from files come in the display's format).
inline ::testing::AssertionResult SamePixels(const gdi::Bitmap& expected,
                                             const gdi::Bitmap& actual) {
    return Reported(Difference(expected, actual));
}

// Passes when the two are equal as bitmaps: the same size, depth and pixels.
inline ::testing::AssertionResult SameBitmap(const gdi::Bitmap& expected,
                                             const gdi::Bitmap& actual) {
    if (expected.BitsPerPixel() != actual.BitsPerPixel())
        return ::testing::AssertionFailure()
               << "\n"
               << actual.BitsPerPixel() << " bits per pixel, expected " << expected.BitsPerPixel();
    return Reported(Difference(expected, actual));
}

template <class Image>
::testing::AssertionResult SameImage(const Image& expected, const Image& actual) {
    return Reported(Difference(expected, actual));
}

// What is wrong with the rows as a picture (unequal rows, unknown letters); empty when nothing.
using PictureRows = std::vector<std::string_view>;

inline std::string PictureFault(const PictureRows& rows) {
    const std::size_t w = rows.size() ? rows.begin()->size() : 0;
    int y = 0;
    for (std::string_view row : rows) {
        if (row.size() != w)
            return "row " + std::to_string(y) + " is " + std::to_string(row.size()) +
                   " wide, the first " + std::to_string(w);
        for (char c : row)
            if (!PictureColor(c))
                return "row " + std::to_string(y) + " names no colour with '" + c + "'";
        ++y;
    }
    return {};
}

// A 32-bit bitmap from equally long rows; letters that name no colour are left white (the
// assertions below refuse such pictures).
inline gdi::Bitmap Picture(const PictureRows& rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows.begin()->size()) : 0;
    gdi::Bitmap bmp(w, h, 32, gdi::kWhite);
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < w && x < static_cast<int>(row.size()); ++x)
            bmp.SetPixel(x, y,
                         PictureColor(row[static_cast<std::size_t>(x)]).value_or(gdi::kWhite));
        ++y;
    }
    return bmp;
}

// Passes when `actual` holds exactly the picture, whatever its depth; otherwise shows where they
// differ.
inline ::testing::AssertionResult Shows(const gdi::Bitmap& actual, const PictureRows& rows) {
    if (const std::string fault = PictureFault(rows); !fault.empty())
        return ::testing::AssertionFailure() << "bad picture: " << fault;
    return SamePixels(Picture(rows), actual);
}

// The colours of a Qt image (QImage) without their alpha, as a bitmap to hold against a picture.
template <class Image>
gdi::Bitmap BitmapOfImage(const Image& image) {
    gdi::Bitmap bmp(image.width(), image.height(), 32, gdi::kWhite);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            bmp.SetPixel(x, y, image.pixel(x, y) & 0xFFFFFF);
    return bmp;
}

}  // namespace zk_test
