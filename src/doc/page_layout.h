// A map printed at true scale across pages: one grid step of the map is one cell of `cellMm` on
// paper, and the map is cut into a grid of pages to be taped together. Which part of the map
// each page holds is decided here, once, for the printer, the preview and the PDF alike.
#pragma once

#include <string>
#include <vector>

#include "gdi/types.h"

namespace zk {

struct PageLayoutRequest {
    int mapWidth = 0, mapHeight = 0;  // map pixels
    int grid = 16;                    // map pixels in one cell
    double cellMm = 25.4;             // a cell on paper
    // The part of the paper the map may use: the printable area less what the page's own marks
    // and labels take.
    double areaWidthMm = 0, areaHeightMm = 0;
    // No cell is split between two pages: every page holds whole cells (but the map's last
    // partial ones).
    bool cutOnGrid = true;
    // Cells repeated on the next page across and down, so that neighbouring pages overlap.
    int overlapCells = 0;
};

// What the user chooses for a print at true scale.
struct ScaledPrintOptions {
    double cellMm = 25.4;
    bool cutOnGrid = true;
    int overlapCells = 0;
};

// One page of the map: where it stands in the layout and which map pixels it holds.
struct MapPage {
    int row = 0, column = 0;  // 0-based
    gdi::Rect map;            // map pixels [left, right) x [top, bottom)
};

struct PageLayout {
    int columns = 0, rows = 0;
    double pixelMm = 0;          // one map pixel on paper
    std::vector<MapPage> pages;  // row by row, left to right
    // Empty when the layout can be printed, else why not (a cell larger than the page, ...).
    std::string error;
};

// The layout of `r`. Pages across: with cutting on grid lines each holds the whole cells that
// fit in the area's width, else the whole map pixels that fit; each next page starts that many
// less the overlap further on. Rows alike.
PageLayout LayOutPages(const PageLayoutRequest& r);

// A page's name in the layout: its row as a letter (A, B, ... Z, AA, AB, ...) and its column as
// a number from 1, as "B3".
std::string PageName(int row, int column);

// The most pages a layout may have; a request for more is refused rather than printed.
constexpr int kMaxPages = 2000;

}  // namespace zk
