#include "tools/tiles_tool.h"

#include <gtest/gtest.h>

#include "tile_test_support.h"
#include "tools/tool_settings.h"

// What only the tiles tool does: no frame, and a grid floor whose lines stay on the grid's own
// multiples. What it shares with the grid tiles tool is tested with that tool.

namespace {

using zk::ToolSettings;
using zk_test::SolidPattern;
using zk_test::TileHarness;

constexpr gdi::Color kOther = gdi::RGB(1, 2, 3);

struct Tiles : TileHarness {
    Tiles() : TileHarness(zk::kTilesTool) {}
};

TEST(TilesTool, PatternTileHasNoFrame) {
    Tiles h;
    h.SetBrush(6, SolidPattern(kOther));
    ToolSettings::fill = 6;
    h.Stamp(40, 40);
    EXPECT_EQ(h.CountMap(kOther, 32, 32, 48, 48), 16 * 16);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 0);
}

TEST(TilesTool, GridFloorLinesLieOnGridMultiplesAndNoneOnTheMapEdge) {
    Tiles h;
    h.SetBrush(8, SolidPattern(kOther));
    h.FillMap(0, 0, 32, 32, gdi::kBlack);
    ToolSettings::fill = 8;
    ToolSettings::tilesize = 1;
    h.Stamp(5, 5);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(h.Map(16, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 16), gdi::kBlack) << i;
        // The far edges' lines fall on the first column and row past the tile.
        EXPECT_EQ(h.Map(32, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 32), gdi::kBlack) << i;
        // An edge at 0 gets no line: the tile is white there.
        EXPECT_EQ(h.Map(0, i), i == 16 ? gdi::kBlack : gdi::kWhite) << i;
        EXPECT_EQ(h.Map(i, 0), i == 16 ? gdi::kBlack : gdi::kWhite) << i;
    }
    EXPECT_EQ(h.Map(32, 32), gdi::kWhite);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 60, 60), 4 * 32 - 1);
    EXPECT_EQ(h.CountMap(kOther, 0, 0, 60, 60), 0) << "the grid floor used its slot's bitmap";
}

TEST(TilesTool, GridFloorEdgeOnAnotherGridMultipleGetsItsLine) {
    Tiles h;
    ToolSettings::fill = 8;
    h.Stamp(20, 20);
    for (int i = 16; i < 32; ++i) {
        EXPECT_EQ(h.Map(16, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 16), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(32, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 32), gdi::kBlack) << i;
    }
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 60, 60), 4 * 16 - 1);
}

TEST(TilesTool, GridFloorOffTheGridHasOneLineEachWay) {
    Tiles h;
    h.view->m_gridOn = 0;
    ToolSettings::fill = 8;
    h.Stamp(5, 5);
    for (int i = 5; i < 21; ++i) {
        EXPECT_EQ(h.Map(16, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 16), gdi::kBlack) << i;
    }
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 40, 40), 16 + 16 - 1);
}

}  // namespace
