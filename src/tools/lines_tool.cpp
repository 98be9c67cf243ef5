#include "tools/lines_tool.h"

#include <algorithm>

#include "view/tool_settings.h"

namespace zk {

void LinesTool::Begin(int primary) {
    // The start is where the pointer last was; the press's own point is not used.
    m_anchor = m_curPoint;
    m_primaryButton = primary;
    m_dragging = 1;
    Invalidate();
}

void LinesTool::OnLButtonDown(unsigned, int, int) {
    Begin(1);
}
void LinesTool::OnRButtonDown(unsigned, int, int) {
    Begin(0);
}

void LinesTool::End(int x, int y) {
    m_curPoint = {x, y};
    // A release with no press before it (the second release of a double-click) ends a line
    // from the last start too.
    m_lines.push_back({m_anchor, m_curPoint, m_primaryButton});
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

void LinesTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint != m_prevPoint)
        Invalidate();
}

void LinesTool::Invalidate() {
    // The band from the start to the pointer, 2 pixels around for the widest pen, and the
    // crosses at the old and the new point.
    gdi::Rect r;
    if (m_dragging) {
        const gdi::Rect a =
            gdi::Rect{m_anchor.x, m_anchor.y, m_curPoint.x, m_curPoint.y}.Normalized();
        r = {a.left - 2, a.top - 2, a.right + 2, a.bottom + 2};
    }
    // The cross reaches 8 window pixels from its centre: at zooms below 1 that is more than 9
    // map pixels, and an old cross must not be left behind on the window.
    const int e = std::max(9, static_cast<int>(9.0 / static_cast<double>(ToolSettings::zoom)) + 1);
    const gdi::Point c = m_curPoint;
    const gdi::Point p = m_prevPoint;
    r = r.Union({c.x - e, c.y - e, c.x + e, c.y + e}).Union({p.x - e, p.y - e, p.x + e, p.y + e});
    g_pMapView->InvalidateMapRect(r.left, r.top, r.right, r.bottom);
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
        const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, kMarkColor));
        const double z = zoom;
        // The band joins the pixels' top-left corners, not their centres.
        dc.MoveTo(static_cast<int>(z * m_anchor.x), static_cast<int>(z * m_anchor.y));
        dc.LineTo(static_cast<int>(z * m_curPoint.x), static_cast<int>(z * m_curPoint.y));
        dc.SelectPen(old);
    }
}

}  // namespace zk
