#include "tools/freehand_tool.h"

#include <algorithm>

#include "tools/tool_settings.h"

namespace zk {

void FreehandTool::Begin(int primary, gdi::Point at) {
    m_pending = 1;
    m_primaryButton = primary;
    // A stroke starts at its press point, with a dot there: the pointer may reach it without a
    // move first (a pen set down, a touch, a jump), and a segment from wherever the last move
    // was would be a stray line.
    InvalidateSegment(m_prevPoint, m_curPoint);
    m_prevPoint = at;
    m_curPoint = at;
    m_segments.push_back({at, at, primary});
    InvalidateSegment(at, at);
}

void FreehandTool::OnLButtonDown(unsigned, int x, int y) {
    Begin(1, {x, y});
}
void FreehandTool::OnRButtonDown(unsigned, int x, int y) {
    Begin(0, {x, y});
}
void FreehandTool::OnLButtonUp(unsigned, int, int) {
    m_pending = 0;
}
void FreehandTool::OnRButtonUp(unsigned, int, int) {
    m_pending = 0;
}

void FreehandTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint == m_prevPoint)
        return;
    if (m_pending)
        m_segments.push_back({m_prevPoint, m_curPoint, m_primaryButton});
    InvalidateSegment(m_prevPoint, m_curPoint);
}

void FreehandTool::InvalidateSegment(gdi::Point from, gdi::Point to) {
    // The segment with what the widest pen paints around it, and the crosses at both ends.
    const float zoom = ToolSettings::zoom;
    const gdi::Rect s = gdi::Rect{from.x, from.y, to.x, to.y}.Normalized();
    const gdi::Rect r =
        GrowForMarks(Grow({s.left, s.top, s.right + 1, s.bottom + 1}, kPenReach), zoom)
            .Union(PointerCrossBox(from, zoom))
            .Union(PointerCrossBox(to, zoom));
    g_pMapView->InvalidateMapRect(r);
}

void FreehandTool::DrawSegment(gdi::DC& dc, const Segment& s) {
    const gdi::Pen old =
        dc.SelectPen(gdi::Pen::Solid(ToolSettings::line, s.primary ? gdi::kBlack : gdi::kWhite));
    dc.MoveTo(s.from.x, s.from.y);
    if (s.from != s.to)
        dc.LineTo(s.to.x, s.to.y);
    else
        dc.LineTo(s.from.x + 1, s.to.y);  // a segment one pixel long: a dot at the point
    dc.SelectPen(old);
}

void FreehandTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending && m_segments.empty())
        return;
    for (const Segment& s : m_segments)
        DrawSegment(dc, s);
    if (m_segments.empty()) {
        // Nothing new since the last paint: the latest segment again, which changes nothing.
        DrawSegment(dc, {m_prevPoint, m_curPoint, m_primaryButton});
    }
    m_segments.clear();
}

void FreehandTool::DrawOverlay(gdi::DC& dc, float zoom) {
    DrawPointerCross(dc, zoom, m_curPoint);
}

}  // namespace zk
