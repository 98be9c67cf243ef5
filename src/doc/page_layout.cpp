#include "doc/page_layout.h"

#include <algorithm>
#include <cmath>

namespace zk {

namespace {

// The starts along one axis of the pages over `size` map pixels, each `span` long and `step`
// after the one before, until the map's end is on a page.
std::vector<int> Starts(int size, int span, int step) {
    std::vector<int> starts{0};
    while (starts.back() + span < size && static_cast<int>(starts.size()) <= kMaxPages)
        starts.push_back(starts.back() + step);
    return starts;
}

}  // namespace

PageLayout LayOutPages(const PageLayoutRequest& r) {
    PageLayout layout;
    if (r.mapWidth < 1 || r.mapHeight < 1 || r.grid < 1) {
        layout.error = "the map has no pixels or no grid";
        return layout;
    }
    if (!(r.cellMm > 0) || !std::isfinite(r.cellMm)) {
        layout.error = "the cell size must be more than 0 mm";
        return layout;
    }
    if (r.overlapCells < 0 || r.overlapCells > 3) {
        layout.error = "the overlap is 0 to 3 cells";
        return layout;
    }
    layout.pixelMm = r.cellMm / r.grid;
    // A tiny tolerance, so that a page exactly as wide as its cells holds them all.
    const auto fit = [](double areaMm, double unitMm) {
        return static_cast<int>(std::floor(areaMm / unitMm + 1e-9));
    };
    const int unit = r.cutOnGrid ? r.grid : 1;
    const int unitsAcross = fit(r.areaWidthMm, unit * layout.pixelMm);
    const int unitsDown = fit(r.areaHeightMm, unit * layout.pixelMm);
    const int overlap = r.overlapCells * r.grid;
    const int spanX = unitsAcross * unit, spanY = unitsDown * unit;
    if (spanX < 1 || spanY < 1) {
        layout.error =
            r.cutOnGrid ? "a cell is larger than the page" : "a map pixel is larger than the page";
        return layout;
    }
    if (spanX <= overlap || spanY <= overlap) {
        layout.error = "the overlap takes the whole page";
        return layout;
    }
    const std::vector<int> xs = Starts(r.mapWidth, spanX, spanX - overlap);
    const std::vector<int> ys = Starts(r.mapHeight, spanY, spanY - overlap);
    if (static_cast<long long>(xs.size()) * static_cast<long long>(ys.size()) > kMaxPages) {
        layout.error = "the map would take more than " + std::to_string(kMaxPages) + " pages";
        return layout;
    }
    layout.columns = static_cast<int>(xs.size());
    layout.rows = static_cast<int>(ys.size());
    for (int row = 0; row < layout.rows; ++row)
        for (int column = 0; column < layout.columns; ++column) {
            const int x = xs[column], y = ys[row];
            layout.pages.push_back(
                {row,
                 column,
                 {x, y, std::min(x + spanX, r.mapWidth), std::min(y + spanY, r.mapHeight)}});
        }
    return layout;
}

std::string PageName(int row, int column) {
    std::string letters;
    for (int n = row + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters + std::to_string(column + 1);
}

}  // namespace zk
