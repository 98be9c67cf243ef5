// Brushes: what interiors are filled with.
#pragma once

#include <memory>

#include "gdi/bitmap.h"
#include "gdi/types.h"

namespace gdi {

enum class BrushStyle { Solid, Pattern, Null };

// A brush is a plain value. A pattern brush keeps its own copy of the bitmap it was made from
// (changing the bitmap later does not change the brush) and tiles it across the device, anchored
// at the DC's brush origin: device pixel (x, y) takes pattern pixel ((x - ox) mod W,
// (y - oy) mod H). A monochrome pattern paints its black pixels in the DC's text colour and its
// white pixels in the DC's background colour.
struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = kWhite;
    std::shared_ptr<const Bitmap> pattern;

    static Brush Solid(Color c) { return {BrushStyle::Solid, c, nullptr}; }
    static Brush Null() { return {BrushStyle::Null, kWhite, nullptr}; }
    // A pattern brush from a copy of `bmp`. An empty bitmap gives a null brush.
    static Brush Pattern(const Bitmap& bmp) {
        if (bmp.IsNull())
            return Null();
        return {BrushStyle::Pattern, kWhite, std::make_shared<const Bitmap>(bmp)};
    }

    bool IsNull() const { return style == BrushStyle::Null; }
};

}  // namespace gdi
