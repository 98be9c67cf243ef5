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

int GridStep() {
    return ToolSettings::grid < 1 ? 1 : ToolSettings::grid;
}

}  // namespace

MapViewInterface* g_pMapView = &g_noView;

gdi::Point SnapDown(int x, int y) {
    const int g = GridStep();
    return {(x / g) * g, (y / g) * g};
}

gdi::Point SnapNearest(int x, int y) {
    const int g = GridStep();
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

int ToWindow(int v, float zoom) {
    return static_cast<int>(static_cast<double>(v) * static_cast<double>(zoom));
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
