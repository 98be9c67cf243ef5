#include "tools/grid_tiles_tool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>

#include "support/picture.h"
#include "tile_test_support.h"
#include "tools/tool_settings.h"

namespace {

using zk::ToolSettings;
using zk_test::DistinctPattern;
using zk_test::SolidPattern;
using zk_test::TileHarness;

using zk_test::kYellow;
constexpr gdi::Color kOther = gdi::RGB(1, 2, 3);

// Behaviour the tiles tool and the grid tiles tool share, run on both. `framed` is the grid
// tiles tool: its tiles reach one pixel further, over their black frame on the grid lines.
struct BothTileTools : ::testing::TestWithParam<int> {
    bool framed() const { return GetParam() == zk::kGridTilesTool; }
    // The side of the painted square: the tile, plus the far frame line for framed tiles.
    int Painted(int side) const { return framed() ? side + 1 : side; }
};

INSTANTIATE_TEST_SUITE_P(Tools, BothTileTools,
                         ::testing::Values(int{zk::kTilesTool}, int{zk::kGridTilesTool}),
                         [](const auto& info) {
                             return info.param == zk::kTilesTool ? "Tiles" : "GridTiles";
                         });

TEST_P(BothTileTools, TileLandsAtThePaintInTheGridCellUnderThePointer) {
    TileHarness h(GetParam());
    h.SetBrush(5, SolidPattern(gdi::kBlack));
    ToolSettings::fill = 5;
    h.Move(40, 45);
    h.Press(40, 45);
    EXPECT_EQ(h.Map(40, 40), gdi::kWhite) << "the map changed before the paint";
    h.Paint();
    h.Release(40, 45);
    const int n = Painted(16);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 120, 120), n * n);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 32, 32, 32 + n, 32 + n), n * n);
    EXPECT_TRUE(h.doc.IsModified());
}

TEST_P(BothTileTools, QuickDragStampsEveryCellItCrosses) {
    TileHarness h(GetParam());
    h.SetBrush(5, SolidPattern(gdi::kBlack));
    ToolSettings::fill = 5;
    h.Move(20, 20);
    h.Press(20, 20);
    // Every move arrives before the paint: each one must still leave its tile.
    for (int x = 36; x <= 180; x += 16)
        h.Move(x, 20 + x % 5, Qt::LeftButton);
    h.Release(180, 20);
    h.Paint();
    for (int cell = 16; cell <= 176; cell += 16)
        EXPECT_EQ(h.Map(cell + 8, 24), gdi::kBlack) << "gap at cell " << cell;
    EXPECT_EQ(h.Map(200, 24), gdi::kWhite);
    EXPECT_EQ(h.Map(100, 40), gdi::kWhite);
    EXPECT_EQ(h.Map(8, 24), gdi::kWhite);
}

// One move from a cell to a far cell, faster than any paint: every grid cell that the line
// between the two cells' centres passes through gets its tile, and no other, whatever the
// direction.
TEST_P(BothTileTools, AFastDragStampsTheCellsOfItsStraightPath) {
    struct Case {
        int fromX, fromY, toX, toY;  // grid cells
    };
    const Case cases[] = {
        {1, 1, 9, 1}, {1, 1, 1, 9}, {1, 1, 7, 7},  {1, 1, 9, 4},
        {8, 2, 1, 9}, {9, 8, 2, 3}, {2, 1, 4, 10}, {10, 5, 0, 6},
    };
    for (const Case& c : cases) {
        TileHarness h(GetParam());
        h.SetBrush(5, SolidPattern(gdi::kBlack));
        ToolSettings::fill = 5;
        h.view->resize(400, 400);
        h.Move(16 * c.fromX + 8, 16 * c.fromY + 8);
        h.Press(16 * c.fromX + 8, 16 * c.fromY + 8);
        h.Move(16 * c.toX + 8, 16 * c.toY + 8, Qt::LeftButton);
        h.Paint();
        h.Release(16 * c.toX + 8, 16 * c.toY + 8);
        // The cells the line visits, found by walking it in small steps (which never land
        // exactly on a cell corner, where the line only touches the cells around it).
        bool onPath[12][12] = {};
        onPath[c.toY][c.toX] = true;
        constexpr int kSteps = 4096;
        for (int i = 0; i < kSteps; ++i) {
            const double t = (i + 0.5) / kSteps;
            const double x = c.fromX + 0.5 + (c.toX - c.fromX) * t;
            const double y = c.fromY + 0.5 + (c.toY - c.fromY) * t;
            onPath[static_cast<int>(std::floor(y))][static_cast<int>(std::floor(x))] = true;
        }
        for (int cy = 0; cy < 12; ++cy)
            for (int cx = 0; cx < 12; ++cx)
                EXPECT_EQ(h.Map(16 * cx + 8, 16 * cy + 8) == gdi::kBlack, onPath[cy][cx])
                    << "cell " << cx << "," << cy << " of the drag " << c.fromX << "," << c.fromY
                    << " to " << c.toX << "," << c.toY;
    }
}

// With snapping off the tiles of a fast drag follow the pointer's path without a gap.
TEST_P(BothTileTools, AFastUnsnappedDragLeavesNoGap) {
    TileHarness h(GetParam());
    h.SetBrush(5, SolidPattern(gdi::kBlack));
    ToolSettings::fill = 5;
    h.view->m_gridOn = 0;
    h.Move(10, 30);
    h.Press(10, 30);
    h.Move(250, 37, Qt::LeftButton);
    h.Move(130, 150, Qt::LeftButton);
    h.Paint();
    h.Release(130, 150);
    // The tile's top-left corner ran along the two lines: the tile's centre passed over every
    // pixel of the same lines moved by half a tile, and each of them is painted.
    for (int x = 10; x <= 250; ++x) {
        const int y = static_cast<int>(std::lround(30 + 7.0 * (x - 10) / 240));
        EXPECT_EQ(h.Map(x + 8, y + 8), gdi::kBlack) << x << "," << y;
    }
    for (int y = 37; y <= 150; ++y) {
        const int x = static_cast<int>(std::lround(250 - 120.0 * (y - 37) / 113));
        EXPECT_EQ(h.Map(x + 8, y + 8), gdi::kBlack) << x << "," << y;
    }
}

TEST_P(BothTileTools, MovesAfterTheReleaseStampNothing) {
    TileHarness h(GetParam());
    h.SetBrush(5, SolidPattern(gdi::kBlack));
    ToolSettings::fill = 5;
    h.Stamp(20, 20);
    h.Move(60, 20);
    h.Paint();
    h.Move(100, 20);
    h.Paint();
    EXPECT_EQ(h.Map(24, 24), gdi::kBlack);
    EXPECT_EQ(h.Map(56, 24), gdi::kWhite);
    EXPECT_EQ(h.Map(104, 24), gdi::kWhite);
}

TEST_P(BothTileTools, LeftButtonPaintsTheFillAndRightTheSecondaryFill) {
    TileHarness h(GetParam());
    h.SetBrush(5, SolidPattern(gdi::kBlack));
    h.SetBrush(6, SolidPattern(kOther));
    ToolSettings::fill = 5;
    ToolSettings::secfill = 6;
    h.Stamp(20, 20, Qt::LeftButton);
    h.Stamp(60, 20, Qt::RightButton);
    EXPECT_EQ(h.Map(24, 24), gdi::kBlack);
    EXPECT_EQ(h.Map(56, 24), kOther);

    // The other button pressed while painting switches the fill from there on.
    h.Move(20, 60);
    h.Press(20, 60, Qt::LeftButton);
    h.Move(40, 60, Qt::LeftButton);
    h.Press(40, 60, Qt::RightButton);
    h.Move(60, 60, Qt::LeftButton | Qt::RightButton);
    h.Release(60, 60, Qt::LeftButton);
    h.Release(60, 60, Qt::RightButton);
    h.Paint();
    EXPECT_EQ(h.Map(24, 56), gdi::kBlack);
    EXPECT_EQ(h.Map(40, 56), kOther);
    EXPECT_EQ(h.Map(56, 56), kOther);
}

TEST_P(BothTileTools, TileSideIsOneToFourGridCells) {
    for (int size = 0; size <= 3; ++size) {
        TileHarness h(GetParam());
        h.SetBrush(5, SolidPattern(gdi::kBlack));
        ToolSettings::fill = 5;
        ToolSettings::tilesize = size;
        h.Stamp(40, 40);
        const int side = (size + 1) * 16;
        const int n = Painted(side);
        EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 200, 200), n * n) << "size " << size;
        EXPECT_EQ(h.Map(32 + n - 1, 32 + n - 1), gdi::kBlack) << "size " << size;
        EXPECT_EQ(h.Map(32 + n, 40), gdi::kWhite) << "size " << size;
        EXPECT_EQ(h.Map(40, 32 + n), gdi::kWhite) << "size " << size;
    }
    // With another grid step the side follows it.
    TileHarness h(GetParam());
    h.SetBrush(5, SolidPattern(gdi::kBlack));
    ToolSettings::fill = 5;
    ToolSettings::grid = 5;
    ToolSettings::tilesize = 2;
    h.Stamp(12, 12);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 60, 60), Painted(15) * Painted(15));
    EXPECT_EQ(h.Map(10, 10), gdi::kBlack);
    EXPECT_EQ(h.Map(9, 10), gdi::kWhite);
}

TEST_P(BothTileTools, PatternsRepeatFromTheMapOriginSoTilesJoin) {
    // A grid step that is no multiple of the pattern: anchoring at a tile's corner would show.
    for (const gdi::Bitmap& pattern : {DistinctPattern(8, 8), DistinctPattern(5, 3)}) {
        TileHarness h(GetParam());
        h.SetBrush(3, pattern);
        ToolSettings::fill = 3;
        ToolSettings::grid = 12;
        h.Move(13, 13);
        h.Press(13, 13);
        h.Move(25, 13, Qt::LeftButton);
        h.Paint();
        h.Move(37, 13, Qt::LeftButton);
        h.Release(37, 13);
        h.Paint();
        int checked = 0;
        for (int y = 12; y < 24; ++y)
            for (int x = 12; x < 48; ++x) {
                // The grid tiles tool frames its tiles on the grid lines.
                if (framed() && (x % 12 == 0 || y % 12 == 0))
                    continue;
                ASSERT_EQ(h.Map(x, y), pattern.GetPixel(x % pattern.Width(), y % pattern.Height()))
                    << x << "," << y << " of a " << pattern.Width() << "x" << pattern.Height()
                    << " pattern";
                ++checked;
            }
        EXPECT_GT(checked, 300);
    }
}

TEST_P(BothTileTools, IndicesOutsideTheLibraryDrawNothing) {
    for (int index : {-1, 16, 1000}) {
        TileHarness h(GetParam());
        h.FillMap(10, 10, 40, 40, kOther);
        const gdi::Bitmap before = h.doc.m_bitmap;
        ToolSettings::fill = index;
        ToolSettings::secfill = index;
        h.Stamp(20, 20, Qt::LeftButton);
        h.Stamp(60, 20, Qt::RightButton);
        EXPECT_TRUE(zk_test::SameBitmap(before, h.doc.m_bitmap)) << "index " << index;
    }
}

TEST_P(BothTileTools, EmptyFillPaintsWhiteWhateverItsSlotHolds) {
    TileHarness h(GetParam());
    h.SetBrush(0, SolidPattern(kOther));
    h.FillMap(0, 0, 80, 80, gdi::kBlack);
    ToolSettings::fill = 0;
    h.Stamp(20, 20);
    const int n = Painted(16);
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 80, 80), n * n);
    EXPECT_EQ(h.CountMap(gdi::kWhite, 16, 16, 16 + n, 16 + n), n * n);
}

TEST_P(BothTileTools, YellowSquareFollowsThePointerOnTheWindowOnly) {
    TileHarness h(GetParam());
    h.view->m_gridOn = 0;
    h.Move(40, 40);
    h.Paint();
    // A two-pixel pen around the edges of the square (40, 40) .. (56, 56).
    EXPECT_EQ(h.Window(48, 39), kYellow);
    EXPECT_EQ(h.Window(48, 40), kYellow);
    EXPECT_NE(h.Window(48, 41), kYellow);
    EXPECT_EQ(h.Window(39, 48), kYellow);
    EXPECT_EQ(h.Window(56, 48), kYellow);
    EXPECT_EQ(h.Window(48, 56), kYellow);
    EXPECT_NE(h.Window(48, 48), kYellow);
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 120, 120), 0);

    // At zoom 2 the square is drawn at twice the map coordinates.
    h.ZoomTo(2);
    h.Move(81, 81);
    h.Paint();
    EXPECT_EQ(h.view->CurrentTool()->m_curPoint, (gdi::Point{40, 40}));
    EXPECT_EQ(h.Window(100, 80), kYellow);
    EXPECT_EQ(h.Window(112, 112), kYellow);
    EXPECT_EQ(h.Window(80, 112), kYellow);
    EXPECT_NE(h.Window(100, 100), kYellow);
}

TEST_P(BothTileTools, ShrinkingTheSizeErasesTheLargerSquareAtTheNextMove) {
    TileHarness h(GetParam());
    ToolSettings::tilesize = 3;
    h.Move(40, 40);
    h.Paint();
    // From here on only what the tool asks to repaint is painted again.
    QApplication::processEvents();
    ASSERT_EQ(h.Window(96, 64), kYellow);
    ToolSettings::tilesize = 0;
    h.Move(56, 40);
    QApplication::processEvents();
    EXPECT_NE(h.Window(96, 64), kYellow) << "the old, larger square stayed";
    EXPECT_NE(h.Window(64, 96), kYellow);
    EXPECT_EQ(h.Window(64, 31), kYellow) << "the new square is missing";
}

// What only the grid tiles tool does: the black frame, the framed grid floor.
struct GridTiles : TileHarness {
    GridTiles() : TileHarness(zk::kGridTilesTool) {}
};

TEST(GridTilesTool, PatternTileIsFramedOnTheGridLinesAroundItsCell) {
    GridTiles h;
    const gdi::Bitmap pattern = DistinctPattern(8, 8);
    h.SetBrush(3, pattern);
    ToolSettings::fill = 3;
    h.Stamp(40, 40);
    for (int i = 32; i <= 48; ++i) {
        EXPECT_EQ(h.Map(32, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(48, i), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 32), gdi::kBlack) << i;
        EXPECT_EQ(h.Map(i, 48), gdi::kBlack) << i;
    }
    for (int y = 33; y < 48; ++y)
        for (int x = 33; x < 48; ++x)
            ASSERT_EQ(h.Map(x, y), pattern.GetPixel(x % 8, y % 8)) << x << "," << y;
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 100, 100), 100 * 100 - 17 * 17);
}

TEST(GridTilesTool, NeighbouringTilesShareTheirFrameLines) {
    GridTiles h;
    h.SetBrush(6, SolidPattern(kOther));
    ToolSettings::fill = 6;
    h.Stamp(20, 20);
    h.Stamp(40, 20);
    for (int y = 16; y <= 32; ++y)
        EXPECT_EQ(h.Map(32, y), gdi::kBlack) << y;
    EXPECT_EQ(h.Map(31, 24), kOther);
    EXPECT_EQ(h.Map(33, 24), kOther);
    // The empty fill erases a tile with its frame, also the line it shares.
    ToolSettings::fill = 0;
    h.Stamp(40, 20);
    for (int y = 16; y <= 32; ++y)
        EXPECT_EQ(h.Map(32, y), gdi::kWhite) << y;
    EXPECT_EQ(h.Map(16, 24), gdi::kBlack);
    EXPECT_EQ(h.Map(31, 24), kOther);
}

TEST(GridTilesTool, GridFloorIsWhiteWithEveryCellLineAndItsFrame) {
    GridTiles h;
    h.SetBrush(8, SolidPattern(kOther));
    h.FillMap(0, 0, 60, 60, kOther);
    ToolSettings::fill = 8;
    ToolSettings::tilesize = 1;
    h.Stamp(5, 5);
    // Lines on x, y = 0, 16, 32 over 0..32: the edges at 0 come from the frame.
    for (int i = 0; i <= 32; ++i)
        for (int line : {0, 16, 32}) {
            EXPECT_EQ(h.Map(line, i), gdi::kBlack) << line << "," << i;
            EXPECT_EQ(h.Map(i, line), gdi::kBlack) << i << "," << line;
        }
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 60, 60), 4 * 15 * 15);
    EXPECT_EQ(h.Map(33, 10), kOther);
    EXPECT_EQ(h.Map(10, 33), kOther);
}

}  // namespace
