// Shared set-up for the tests of the rectangle, ellipse and polygon tools: the real view without
// snapping, grid step 4, brush 5 solid green and brush 0 solid red.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/picture.h"
#include "tile_test_support.h"
#include "tools/tool_settings.h"

namespace zk_test {

struct ShapeHarness : TileHarness {
    explicit ShapeHarness(int kind) : TileHarness(kind) {
        view->m_gridOn = 0;
        SetBrush(5, SolidPattern(kGreen));
        SetBrush(0, SolidPattern(kRed));
        zk::ToolSettings::grid = 4;
    }
};

// One cell of a tool's outcome table: the fill and the line sizes that leave the same part of the
// map, and that part.
struct Outcome {
    int fill;
    std::vector<int> lines;
    PictureRows map;
};

// Each cell of a tool's outcome table, for each of its line sizes, on a fresh `Harness` (made
// from `args`) whose map is blue over `blue`: `draw` makes the gesture and paints, then `part`
// must show the cell's picture and nothing outside it may have changed.
template <class Harness, std::size_t N, class Draw, class... Args>
void ExpectOutcomes(const Outcome (&cells)[N], const gdi::Rect& blue, const gdi::Rect& part,
                    Draw draw, const Args&... args) {
    for (const Outcome& cell : cells)
        for (const int line : cell.lines) {
            SCOPED_TRACE("fill " + std::to_string(cell.fill) + " line " + std::to_string(line));
            Harness h(args...);
            h.FillMap(blue.left, blue.top, blue.right, blue.bottom, kBlue);
            const gdi::Bitmap before = h.doc.m_bitmap;
            zk::ToolSettings::fill = cell.fill;
            zk::ToolSettings::line = line;
            draw(h);
            EXPECT_TRUE(Shows(h.MapPart(part), cell.map));
            EXPECT_EQ(h.ChangedOutside(before, {part}), 0);
        }
}

}  // namespace zk_test
