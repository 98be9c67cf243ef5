// The cell editor of the brush and symbol dialogs: which cell a point edits in grids of either
// size, that every cell waiting for a write lands in the bitmap, and the enlarged picture.
#include "ui/cell_grid.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/picture.h"

namespace {

using zk::CellLayout;
using zk_test::PictureRows;
using zk_test::Shows;

constexpr CellLayout kBrush{8, 8, {42, 10}};
constexpr CellLayout kSymbol{16, 8, {42, 10}};
// Neither the cell size nor the origin of the dialogs, the origin left of the window.
constexpr CellLayout kOdd{3, 5, {-7, 20}};

std::string Text(std::optional<gdi::Point> p) {
    return p ? std::to_string(p->x) + "," + std::to_string(p->y) : "none";
}

TEST(CellGrid, PointsMapToCellsUpToEachEdgeOfEitherGrid) {
    struct Case {
        CellLayout layout;
        int px, py;
        std::optional<gdi::Point> cell;
    };
    const Case cases[] = {
        // The brush: 8 cells of 8 from (42, 10), its last pixel (105, 73).
        {kBrush, 42, 10, gdi::Point{0, 0}},
        {kBrush, 35, 3, gdi::Point{0, 0}},  // up to 7 pixels before the grid truncate to 0
        {kBrush, 34, 10, std::nullopt},
        {kBrush, 42, 2, std::nullopt},
        {kBrush, 50, 17, gdi::Point{1, 0}},
        {kBrush, 105, 73, gdi::Point{7, 7}},
        {kBrush, 106, 73, std::nullopt},
        {kBrush, 105, 74, std::nullopt},
        // The symbol: 16 cells of 8 from the same origin, its last pixel (169, 137).
        {kSymbol, 35, 3, gdi::Point{0, 0}},
        {kSymbol, 34, 3, std::nullopt},
        {kSymbol, 106, 74, gdi::Point{8, 8}},
        {kSymbol, 169, 137, gdi::Point{15, 15}},
        {kSymbol, 170, 20, std::nullopt},
        {kSymbol, 20, 138, std::nullopt},
        // 3 cells of 5 from (-7, 20), its last pixel (7, 34).
        {kOdd, -7, 20, gdi::Point{0, 0}},
        {kOdd, -11, 16, gdi::Point{0, 0}},
        {kOdd, -12, 20, std::nullopt},
        {kOdd, -7, 15, std::nullopt},
        {kOdd, 3, 24, gdi::Point{2, 0}},
        {kOdd, 7, 34, gdi::Point{2, 2}},
        {kOdd, 8, 34, std::nullopt},
        {kOdd, 7, 35, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.layout.CellAt(c.px, c.py)), Text(c.cell))
            << c.layout.cells << " cells of " << c.layout.cellSize << ", at " << c.px << ","
            << c.py;
}

TEST(CellGrid, EveryWaitingCellIsWrittenOnceAndOnlyThose) {
    using Grid = zk::CellGrid<CellLayout{4, 8, {0, 0}}>;
    struct Set {
        gdi::Point cell;
        int value;
    };
    struct Case {
        const char* what;
        PictureRows start;
        bool load;  // the cells are read from the bitmap first
        std::vector<Set> sets;
        bool all;
        PictureRows written;
    };
    const Case cases[] = {
        {"several cells wait for one write",
         {"oooo", "oooo", "oooo", "oooo"},
         false,
         {{{0, 0}, 1}, {{3, 1}, 0}, {{2, 3}, 1}, {{1, 2}, 1}},
         false,
         {"#ooo", "ooo.", "o#oo", "oo#o"}},
        {"a cell set twice keeps the later value",
         {"oooo", "oooo", "oooo", "oooo"},
         false,
         {{{1, 1}, 1}, {{2, 2}, 0}, {{1, 1}, 0}, {{2, 2}, 1}},
         false,
         {"oooo", "o.oo", "oo#o", "oooo"}},
        {"all cells, those not exactly black white",
         {"#or.", "b#y#", "....", "ooo#"},
         true,
         {{{0, 0}, 0}, {{2, 2}, 1}},
         true,
         {"....", ".#.#", "..#.", "...#"}},
        {"a smaller bitmap only where it has pixels",
         {"ooo", "ooo"},
         false,
         {{{3, 0}, 1}, {{0, 3}, 1}, {{1, 1}, 1}, {{2, 0}, 0}},
         false,
         {"oo.", "o#o"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gdi::Bitmap bitmap = zk_test::Picture(c.start);
        Grid grid;
        if (c.load)
            grid.Load(&bitmap);
        for (const Set& s : c.sets)
            grid.Set(s.cell, s.value);
        EXPECT_EQ(grid.m_lastCell, c.sets.back().cell);
        grid.Write(&bitmap, c.all);
        EXPECT_TRUE(Shows(bitmap, c.written));
        EXPECT_EQ(grid.m_lastCell, (gdi::Point{-1, -1}));
        // Written cells no longer wait.
        bitmap = zk_test::Picture(c.start);
        grid.Write(&bitmap);
        EXPECT_TRUE(Shows(bitmap, c.start));
    }
}

TEST(CellGrid, DrawsTheBitmapEnlargedUnderTheGridLines) {
    // 2 cells of 3 from (1, 1); the lines leave out their end pixels, so (7, 7) stays clear.
    constexpr CellLayout kSmall{2, 3, {1, 1}};
    gdi::Bitmap source = zk_test::Picture({"ro", "by"});
    struct Case {
        gdi::Bitmap* bitmap;
        PictureRows drawn;
    };
    const Case cases[] = {
        {&source,
         {
             ".........",
             ".#######.",
             ".#rr#oo#.",
             ".#rr#oo#.",
             ".#######.",
             ".#bb#yy#.",
             ".#bb#yy#.",
             ".######..",
             ".........",
         }},
        {nullptr,
         {
             ".........",
             ".#######.",
             ".#..#..#.",
             ".#..#..#.",
             ".#######.",
             ".#..#..#.",
             ".#..#..#.",
             ".######..",
             ".........",
         }},
    };
    for (const Case& c : cases) {
        gdi::Bitmap picture(9, 9, 32, gdi::kWhite);
        gdi::DC dc(&picture);
        zk::CellGrid<kSmall>::Draw(dc, c.bitmap);
        EXPECT_TRUE(Shows(picture, c.drawn)) << (c.bitmap ? "a bitmap" : "none");
    }
}

}  // namespace
