// Pens: what outlines are drawn with.
#pragma once

#include "gdi/types.h"

namespace gdi {

enum class PenStyle { Solid, Dash, Null };

// A pen is a plain value. Solid pens have width 0 to 3 (0 draws as 1). A dashed pen is always
// one pixel wide: 18 pixels on, 6 off. A null pen draws nothing.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Color color = kBlack;

    static Pen Solid(int width, Color c) { return {PenStyle::Solid, width, c}; }
    static Pen Dash(Color c) { return {PenStyle::Dash, 1, c}; }
    static Pen Null() { return {PenStyle::Null, 0, kBlack}; }

    bool IsNull() const { return style == PenStyle::Null; }
    // The width outlines are drawn with: 1 for width 0, dashed and thin pens.
    int EffectiveWidth() const {
        if (style != PenStyle::Solid)
            return 1;
        return width < 1 ? 1 : width;
    }
    friend bool operator==(const Pen&, const Pen&) = default;
};

}  // namespace gdi
