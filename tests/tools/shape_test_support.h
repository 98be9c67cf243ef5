// Shared set-up for the tests of the rectangle, ellipse and polygon tools: the real view without
// snapping, grid step 4, brush 5 solid green and brush 0 solid red.
#pragma once

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

}  // namespace zk_test
