// Small expected pictures for the pixel tests, written as rows of characters.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gdi/bitmap.h"
#include "support/bitmap_text.h"

namespace zk_test {

// The colours a picture can name: '.' white, '#' black, 'o' green, 'r' red, 'b' blue,
// 'y' yellow (the tools' marks). Any other letter is a fault in the test.
constexpr gdi::Color kGreen = gdi::RGB(0, 128, 0);
constexpr gdi::Color kRed = gdi::RGB(255, 0, 0);
constexpr gdi::Color kBlue = gdi::RGB(0, 0, 255);
constexpr gdi::Color kYellow = gdi::RGB(255, 255, 0);

inline std::optional<gdi::Color> PictureColor(char c) {
    switch (c) {
        case '.':
            return gdi::kWhite;
        case '#':
            return gdi::kBlack;
        case 'o':
            return kGreen;
        case 'r':
            return kRed;
        case 'b':
            return kBlue;
        case 'y':
            return kYellow;
        default:
            return std::nullopt;
    }
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

// Passes when `actual` holds exactly the picture; otherwise shows where they differ.
inline ::testing::AssertionResult Shows(const gdi::Bitmap& actual, const PictureRows& rows) {
    if (const std::string fault = PictureFault(rows); !fault.empty())
        return ::testing::AssertionFailure() << "bad picture: " << fault;
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
