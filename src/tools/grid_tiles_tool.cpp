#include "tools/grid_tiles_tool.h"

#include <algorithm>
#include <cmath>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"

namespace zk {

int GridTilesTool::TileSide() {
    // The size bar only gives 0..3; anything else is taken as its nearest size.
    return (std::clamp(ToolSettings::tilesize, 0, 3) + 1) * ToolSettings::GridStep();
}

void GridTilesTool::Begin(int primary) {
    m_pending = 1;
    m_primaryButton = primary;
    // The press stamps where the pointer last was; the press's own point is not used.
    m_stamps.push_back({m_curPoint, primary});
    Invalidate();
}

void GridTilesTool::OnLButtonDown(unsigned, int, int) {
    Begin(1);
}
void GridTilesTool::OnRButtonDown(unsigned, int, int) {
    Begin(0);
}
void GridTilesTool::OnLButtonUp(unsigned, int, int) {
    m_pending = 0;
}
void GridTilesTool::OnRButtonUp(unsigned, int, int) {
    m_pending = 0;
}

void GridTilesTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint == m_prevPoint)
        return;
    if (m_pending)
        StampPath(m_prevPoint, m_curPoint);
    // The box of the two positions holds the whole path between them.
    Invalidate();
}

void GridTilesTool::StampPath(gdi::Point from, gdi::Point to) {
    const int g = ToolSettings::GridStep();
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    if (from.x % g == 0 && from.y % g == 0 && to.x % g == 0 && to.y % g == 0) {
        // Snapped points stand for their grid cells: every cell the line between the two cells'
        // centres passes through, one step across or down at a time, and a diagonal step only
        // where the line runs exactly through a corner.
        const long long nx = dx < 0 ? -dx / g : dx / g;
        const long long ny = dy < 0 ? -dy / g : dy / g;
        const int sx = dx < 0 ? -g : g;
        const int sy = dy < 0 ? -g : g;
        gdi::Point p = from;
        for (long long ix = 0, iy = 0; ix < nx || iy < ny;) {
            // Which cell edge the line meets first: (ix + 1/2) / nx against (iy + 1/2) / ny.
            const long long d = (1 + 2 * ix) * ny - (1 + 2 * iy) * nx;
            if (d <= 0) {
                p.x += sx;
                ++ix;
            }
            if (d >= 0) {
                p.y += sy;
                ++iy;
            }
            m_stamps.push_back({p, m_primaryButton});
        }
        return;
    }
    // Points off the grid (snapping is off): tiles at most a grid step apart along the line, so
    // neighbouring tiles, at least a grid step wide, overlap.
    const long long n = (std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy) + g - 1) / g;
    for (long long k = 1; k < n; ++k) {
        const double t = static_cast<double>(k) / static_cast<double>(n);
        m_stamps.push_back({{static_cast<int>(std::lround(from.x + static_cast<double>(dx) * t)),
                             static_cast<int>(std::lround(from.y + static_cast<double>(dy) * t))},
                            m_primaryButton});
    }
    m_stamps.push_back({to, m_primaryButton});
}

void GridTilesTool::Invalidate() {
    // The larger of the current size and the one last drawn, so that a larger old square is
    // erased; one pixel around it for the frame and the two-pixel mark.
    const int s =
        std::max(std::clamp(m_lastOverlaySize, 0, 3), std::clamp(ToolSettings::tilesize, 0, 3));
    const int side = (s + 1) * ToolSettings::GridStep();
    const gdi::Rect r =
        GrowForMarks(Grow(TileSquare(m_curPoint, side).Union(TileSquare(m_prevPoint, side)), 1),
                     ToolSettings::zoom);
    g_pMapView->InvalidateMapRect(r);
}

void GridTilesTool::StampTile(gdi::DC& dc, gdi::Point at, int fill) const {
    const gdi::Rect tile = TileSquare(at, TileSide());
    const int s = tile.Width();
    const int x = tile.left;
    const int y = tile.top;
    if (IsPatternFill(fill)) {
        // One pixel larger than the tile: the frame lies on the grid lines at both ends, shared
        // with the neighbouring tiles.
        const gdi::Pen oldPen = dc.SelectPen(gdi::Pen::Solid(1, gdi::kBlack));
        const gdi::Brush oldBrush = dc.SelectBrush(g_patternLibrary.BrushPattern(fill));
        dc.Rectangle(x, y, x + s + 1, y + s + 1);
        dc.SelectBrush(oldBrush);
        dc.SelectPen(oldPen);
    } else if (fill == kGridFloor) {
        // The grid floor: white with every cell line, and the frame even where an edge at 0
        // has no grid line of its own.
        dc.FillRect({x, y, x + s, y + s}, gdi::Brush::Solid(gdi::kWhite));
        DrawGridLines(dc, tile, EdgeAtZero::NoLine, Grow(tile, 1));
        const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, gdi::kBlack));
        const gdi::Point border[] = {{x + s, y}, {x + s, y + s}, {x, y + s}, {x, y}};
        dc.MoveTo(x, y);
        dc.PolylineTo(border, 4);
        dc.SelectPen(old);
    } else if (fill == kEmptyFill) {
        // The empty fill erases the tile and the frame lines on its edges.
        dc.FillRect({x, y, x + s + 1, y + s + 1}, gdi::Brush::Solid(gdi::kWhite));
    }
}

void GridTilesTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending && m_stamps.empty())
        return;
    // While a button is held, a paint with no new position stamps the current one again, so a
    // fill changed meanwhile shows at once.
    if (m_stamps.empty())
        m_stamps.push_back({m_curPoint, m_primaryButton});
    // Patterns repeat from the map's origin, so neighbouring tiles join without seams.
    const gdi::Point oldOrg = dc.SetBrushOrg({0, 0});
    for (const Stamp& st : m_stamps)
        StampTile(dc, st.at, st.primary ? ToolSettings::fill : ToolSettings::secfill);
    dc.SetBrushOrg(oldOrg);
    m_stamps.clear();
}

void GridTilesTool::DrawOverlay(gdi::DC& dc, float zoom) {
    const gdi::Rect tile = TileSquare(m_curPoint, TileSide());
    const gdi::Rect w = ToWindow(tile, zoom);
    DrawBoxMark(dc, gdi::Pen::Solid(2, kMarkColor), {w.left, w.top}, {w.right, w.bottom},
                FirstEdge::Row);
    m_lastOverlaySize = std::clamp(ToolSettings::tilesize, 0, 3);
}

}  // namespace zk
