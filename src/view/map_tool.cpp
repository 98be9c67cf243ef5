#include "view/map_tool.h"

#include "view/tool_settings.h"

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
