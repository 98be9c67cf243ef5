#include "tools/map_tool.h"

#include <algorithm>
#include <cmath>

#include "tools/tool_settings.h"

namespace zk {

namespace {

class NoView final : public MapViewInterface {
  public:
    void InvalidateMapRect(int, int, int, int) override {}
    void InvalidateAll() override {}
};

NoView g_noView;

}  // namespace

MapViewInterface* g_pMapView = &g_noView;

MapViewInterface* NoMapView() {
    return &g_noView;
}

gdi::Point SnapDown(int x, int y) {
    const int g = ToolSettings::GridStep();
    return {(x / g) * g, (y / g) * g};
}

gdi::Point SnapNearest(int x, int y) {
    const int g = ToolSettings::GridStep();
    const int h = g / 2;
    return {((x + h) / g) * g, ((y + h) / g) * g};
}

void DrawPointerCross(gdi::DC& dc, float zoom, gdi::Point p) {
    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, kMarkColor));
    const double z = zoom;
    const double cx = z * (p.x + 0.5);
    const double cy = z * (p.y + 0.5);
    auto arm = [&dc](double x0, double y0, double x1, double y1) {
        dc.MoveTo(static_cast<int>(x0), static_cast<int>(y0));
        dc.LineTo(static_cast<int>(x1), static_cast<int>(y1));
    };
    arm(cx - 8, cy, cx - 2, cy);
    arm(cx + 8, cy, cx + 2, cy);
    arm(cx, cy - 8, cx, cy - 2);
    arm(cx, cy + 8, cx, cy + 2);
    dc.SelectPen(old);
}

gdi::Rect PointerCrossBox(gdi::Point p, float zoom) {
    // The arms end 8 window pixels from the pixel's centre; one map pixel more for rounding.
    const int e = static_cast<int>(std::ceil(9.0 / static_cast<double>(zoom))) + 1;
    return {p.x - e, p.y - e, p.x + e + 1, p.y + e + 1};
}

gdi::Rect GrowForMarks(const gdi::Rect& r, float zoom) {
    return Grow(r, std::max(1, static_cast<int>(std::ceil(1.0 / static_cast<double>(zoom)))));
}

void DrawBoxMark(gdi::DC& dc, const gdi::Pen& pen, gdi::Point from, gdi::Point to,
                 FirstEdge first) {
    const gdi::Pen old = dc.SelectPen(pen);
    const gdi::Point turn1 =
        first == FirstEdge::Row ? gdi::Point{to.x, from.y} : gdi::Point{from.x, to.y};
    const gdi::Point turn2 =
        first == FirstEdge::Row ? gdi::Point{from.x, to.y} : gdi::Point{to.x, from.y};
    dc.MoveTo(from.x, from.y);
    dc.LineTo(turn1.x, turn1.y);
    dc.LineTo(to.x, to.y);
    dc.LineTo(turn2.x, turn2.y);
    dc.LineTo(from.x, from.y);
    dc.SelectPen(old);
}

void DrawGridLines(gdi::DC& dc, const gdi::Rect& box, EdgeAtZero edge, const gdi::Rect& visible) {
    const int g = ToolSettings::GridStep();
    const auto first = [g, edge](int v) {
        return edge == EdgeAtZero::Line ? g * (v / g) : g * ((v - 1) / g + 1);
    };
    // Lines far left of or above what can show are skipped, whole steps at a time.
    const auto start = [g](int x0, int from) {
        return x0 < from - g ? x0 + (from - x0) / g * g : x0;
    };
    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, gdi::kBlack));
    for (int x = start(first(box.left), visible.left);
         x <= g * (box.right / g) && x < visible.right; x += g) {
        dc.MoveTo(x, box.top);
        dc.LineTo(x, box.bottom);
    }
    for (int y = start(first(box.top), visible.top);
         y <= g * (box.bottom / g) && y < visible.bottom; y += g) {
        dc.MoveTo(box.left, y);
        dc.LineTo(box.right, y);
    }
    dc.SelectPen(old);
}

void MapTool::OnRButtonDblClk(unsigned, int, int) {}
gdi::Point MapTool::SnapPoint(int x, int y) {
    return SnapDown(x, y);
}
void MapTool::OnLButtonUp(unsigned, int, int) {}
void MapTool::OnLButtonDown(unsigned, int, int) {}
void MapTool::OnRButtonUp(unsigned, int, int) {}
void MapTool::OnRButtonDown(unsigned, int, int) {}

void MapTool::OnMouseMove(unsigned, int x, int y) {
    m_prevPoint = m_curPoint;
    m_curPoint = {x, y};
}

void MapTool::CommitToMap(gdi::DC&) {}
void MapTool::DrawOverlay(gdi::DC&, float) {}

}  // namespace zk
