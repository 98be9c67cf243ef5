#include "doc/page_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using zk::LayOutPages;
using zk::PageLayoutRequest;

// Every map pixel on some page; with cutting on grid lines no cell split between pages (each
// page's edges lie on grid lines, but the map's own ends).
std::string Covers(const PageLayoutRequest& r, const zk::PageLayout& l) {
    for (int y = 0; y < r.mapHeight; y += 7)
        for (int x = 0; x < r.mapWidth; x += 7) {
            bool on = false;
            for (const zk::MapPage& p : l.pages)
                on = on || p.map.Contains(x, y);
            if (!on)
                return "pixel " + std::to_string(x) + ", " + std::to_string(y) + " on no page";
        }
    if (r.cutOnGrid)
        for (const zk::MapPage& p : l.pages) {
            const auto onGrid = [&r](int v, int end) { return v % r.grid == 0 || v == end; };
            if (!onGrid(p.map.left, r.mapWidth) || !onGrid(p.map.right, r.mapWidth) ||
                !onGrid(p.map.top, r.mapHeight) || !onGrid(p.map.bottom, r.mapHeight))
                return "page " + zk::PageName(p.row, p.column) + " splits a cell";
        }
    return {};
}

TEST(PageLayout, PagesHoldWholeCellsThatFitAndOverlapAsAsked) {
    struct Case {
        const char* what;
        PageLayoutRequest r;
        int columns, rows;
        int firstCells;  // cells across the first page
    };
    // A4 less the marks: 194 x 267 mm portrait, 281 x 180 mm landscape; Letter 199.9 x 249.4.
    const Case cases[] = {
        {"40 x 30 cells of an inch, A4", {640, 480, 16, 25.4, 194, 267, true, 0}, 6, 3, 7},
        {"landscape", {640, 480, 16, 25.4, 281, 180, true, 0}, 4, 5, 11},
        {"25 mm cells", {640, 480, 16, 25, 194, 267, true, 0}, 6, 3, 7},
        {"an overlap of one cell", {640, 480, 16, 25.4, 194, 267, true, 1}, 7, 4, 7},
        {"an overlap of three", {640, 480, 16, 25.4, 194, 267, true, 3}, 10, 4, 7},
        {"half-inch cells, Letter", {640, 480, 16, 12.7, 199.9, 249.4, true, 0}, 3, 2, 15},
        {"a map that is not whole cells", {650, 490, 16, 25.4, 194, 267, true, 0}, 6, 4, 7},
        {"a map on one page", {64, 64, 16, 25.4, 194, 267, true, 0}, 1, 1, 4},
        {"cells cut across pages", {640, 480, 16, 25.4, 194, 267, false, 0}, 6, 3, -1},
        {"grid of 5", {200, 100, 5, 10, 194, 267, true, 0}, 3, 1, 19},
    };
    for (const Case& c : cases) {
        const zk::PageLayout l = LayOutPages(c.r);
        ASSERT_EQ(l.error, "") << c.what;
        EXPECT_EQ(l.columns, c.columns) << c.what;
        EXPECT_EQ(l.rows, c.rows) << c.what;
        EXPECT_EQ(l.pages.size(), static_cast<std::size_t>(c.columns * c.rows)) << c.what;
        if (c.firstCells > 0) {
            EXPECT_EQ(l.pages.front().map.Width(), c.firstCells * c.r.grid) << c.what;
        }
        EXPECT_EQ(Covers(c.r, l), "") << c.what;
        // The next page across starts the overlap before the first one ends.
        if (l.columns > 1) {
            EXPECT_EQ(l.pages[1].map.left, l.pages[0].map.right - c.r.overlapCells * c.r.grid)
                << c.what;
        }
        // What fits on the paper never exceeds it.
        for (const zk::MapPage& p : l.pages) {
            EXPECT_LE(p.map.Width() * l.pixelMm, c.r.areaWidthMm + 1e-6) << c.what;
            EXPECT_LE(p.map.Height() * l.pixelMm, c.r.areaHeightMm + 1e-6) << c.what;
        }
    }
}

TEST(PageLayout, RequestsThatCannotBePrintedAreRefusedWithAReason) {
    const PageLayoutRequest refused[] = {
        {640, 480, 16, 300, 194, 267, true, 0},   // a cell larger than the page
        {640, 480, 16, 25.4, 194, 267, true, 4},  // overlap beyond 3
        {640, 480, 16, 50, 60, 267, true, 1},     // the overlap takes the page
        {0, 480, 16, 25.4, 194, 267, true, 0},      {640, 480, 16, 0, 194, 267, true, 0},
        {65535, 65535, 1, 25.4, 194, 267, true, 0},  // millions of pages
    };
    for (const PageLayoutRequest& r : refused) {
        const zk::PageLayout l = LayOutPages(r);
        EXPECT_NE(l.error, "") << r.mapWidth << " " << r.cellMm << " " << r.overlapCells;
        EXPECT_TRUE(l.pages.empty());
    }
}

TEST(PageLayout, PagesAreNamedByRowLetterAndColumnNumber) {
    const std::pair<std::pair<int, int>, const char*> names[] = {
        {{0, 0}, "A1"}, {{1, 2}, "B3"}, {{25, 9}, "Z10"}, {{26, 0}, "AA1"}, {{27, 4}, "AB5"}};
    for (const auto& [at, name] : names)
        EXPECT_EQ(zk::PageName(at.first, at.second), name);
}

}  // namespace
