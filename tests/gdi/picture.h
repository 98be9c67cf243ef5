// Small expected pictures for the drawing tests, written as rows of characters.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

#include "gdi/bitmap.h"
#include "support/bitmap_text.h"

namespace zk_test {

// The colours a picture can name: '.' white, '#' black, 'o' green, 'r' red, 'b' blue.
constexpr gdi::Color kGreen = gdi::RGB(0, 128, 0);
constexpr gdi::Color kRed = gdi::RGB(255, 0, 0);
constexpr gdi::Color kBlue = gdi::RGB(0, 0, 255);

inline gdi::Color PictureColor(char c) {
    switch (c) {
        case '#':
            return gdi::kBlack;
        case 'o':
            return kGreen;
        case 'r':
            return kRed;
        case 'b':
            return kBlue;
        default:
            return gdi::kWhite;
    }
}

// A 32-bit bitmap from equally long rows.
inline gdi::Bitmap Picture(std::initializer_list<std::string_view> rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows.begin()->size()) : 0;
    gdi::Bitmap bmp(w, h, 32, gdi::kWhite);
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < w && x < static_cast<int>(row.size()); ++x)
            bmp.SetPixel(x, y, PictureColor(row[static_cast<std::size_t>(x)]));
        ++y;
    }
    return bmp;
}

// Passes when `actual` holds exactly the picture; otherwise shows where they differ.
inline ::testing::AssertionResult Shows(const gdi::Bitmap& actual,
                                        std::initializer_list<std::string_view> rows) {
    const std::string diff = DescribeDifference(Picture(rows), actual);
    if (diff.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n" << diff;
}

inline ::testing::AssertionResult SameBitmap(const gdi::Bitmap& expected,
                                             const gdi::Bitmap& actual) {
    const std::string diff = DescribeDifference(expected, actual);
    if (diff.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n" << diff;
}

}  // namespace zk_test
