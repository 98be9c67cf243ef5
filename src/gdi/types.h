// Basic value types of the drawing layer: colours, points, rectangles.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gdi {

// A colour as 0x00RRGGBB. The top byte is always zero.
using Color = std::uint32_t;

constexpr Color RGB(int r, int g, int b) {
    return (static_cast<Color>(r & 0xFF) << 16) | (static_cast<Color>(g & 0xFF) << 8) |
           static_cast<Color>(b & 0xFF);
}
constexpr int GetRValue(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr int GetGValue(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(Color c) {
    return static_cast<int>(c & 0xFF);
}

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;

// One channel of a pixel of opacity `alpha` (0 transparent .. 255 opaque) laid on white, rounded
// to nearest: how a picture with transparency becomes map pixels, wherever it comes from.
constexpr int OnWhite(int channel, int alpha) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}
constexpr Color OnWhite(int r, int g, int b, int alpha) {
    return RGB(OnWhite(r, alpha), OnWhite(g, alpha), OnWhite(b, alpha));
}

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

// A rectangle [left, right) x [top, bottom). Right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    // Same rectangle with left <= right and top <= bottom.
    constexpr Rect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    constexpr Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        if (r.IsEmpty())
            return {};
        return r;
    }
    // The smallest rectangle holding both; an empty rectangle adds nothing.
    constexpr Rect Union(const Rect& o) const {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    constexpr Rect Offset(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace gdi
