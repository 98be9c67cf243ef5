#include "tools/lines_tool.h"

#include <algorithm>

#include "tools/tool_settings.h"

namespace zk {

void LinesTool::Begin(int primary) {
    // The start is where the pointer last was; the press's own point is not used.
    m_anchor = m_curPoint;
    m_primaryButton = primary;
    m_dragging = 1;
    m_cancelled = false;
    Invalidate();
}

void LinesTool::OnLButtonDown(unsigned, int, int) {
    Begin(1);
}
void LinesTool::OnRButtonDown(unsigned, int, int) {
    Begin(0);
}

void LinesTool::End(int x, int y) {
    if (m_cancelled)
        return;
    m_curPoint = {x, y};
    // A release with no press before it (the second release of a double-click) ends a line
    // from the last start too.
    m_lines.push_back(Current());
    m_pending = 1;
    // Still dragging: the repaint covers the rubber band, which the line replaces.
    Invalidate();
    m_dragging = 0;
}

void LinesTool::OnLButtonUp(unsigned, int x, int y) {
    End(x, y);
}
void LinesTool::OnRButtonUp(unsigned, int x, int y) {
    End(x, y);
}

void LinesTool::Cancel() {
    Invalidate();
    m_dragging = 0;
    m_cancelled = true;
}

void LinesTool::Forget() {
    Cancel();
    m_lines.clear();
    m_pending = 0;
}

void LinesTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint != m_prevPoint)
        Invalidate();
}

gdi::Rect LinesTool::LineBox(const Line& l) {
    const gdi::Rect r = gdi::Rect{l.from.x, l.from.y, l.to.x, l.to.y}.Normalized();
    return Grow({r.left, r.top, r.right + 1, r.bottom + 1}, kPenReach);
}

void LinesTool::Invalidate() {
    // The band from the start to the pointer, and the crosses at the old and the new point.
    const float zoom = ToolSettings::zoom;
    gdi::Rect r = PointerCrossBox(m_curPoint, zoom).Union(PointerCrossBox(m_prevPoint, zoom));
    if (m_dragging)
        r = r.Union(GrowForMarks(LineBox(Current()), zoom));
    g_pMapView->InvalidateMapRect(r);
}

void LinesTool::CommitToMap(gdi::DC& dc) {
    if (m_lines.empty()) {
        m_pending = 0;
        return;
    }
    for (const Line& l : m_lines) {
        // The end pixel is left out, as the pen's lines do; with a one-pixel pen a click
        // without a move draws nothing.
        const gdi::Pen old = dc.SelectPen(
            gdi::Pen::Solid(ToolSettings::line, l.primary ? gdi::kBlack : gdi::kWhite));
        dc.MoveTo(l.from.x, l.from.y);
        dc.LineTo(l.to.x, l.to.y);
        dc.SelectPen(old);
    }
    m_lines.clear();
    m_pending = 0;
}

void LinesTool::DrawOverlay(gdi::DC& dc, float zoom) {
    DrawPointerCross(dc, zoom, m_curPoint);
    if (m_dragging) {
        const Line l = Current();
        const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, kMarkColor));
        // The band joins the pixels' top-left corners, not their centres.
        dc.MoveTo(ToWindow(l.from.x, zoom), ToWindow(l.from.y, zoom));
        dc.LineTo(ToWindow(l.to.x, zoom), ToWindow(l.to.y, zoom));
        dc.SelectPen(old);
    }
}

}  // namespace zk
