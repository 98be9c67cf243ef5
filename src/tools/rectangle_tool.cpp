#include "tools/rectangle_tool.h"

#include <algorithm>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"

namespace zk {

gdi::Rect RectangleTool::Box(gdi::Point a, gdi::Point b) {
    const gdi::Rect r = gdi::Rect{a.x, a.y, b.x, b.y}.Normalized();
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

void RectangleTool::Begin(int primary, int x, int y) {
    // A second press during a drag starts again from its own point and button.
    m_anchor = {x, y};
    m_dragging = 1;
    m_primaryButton = primary;
    Invalidate();
}

void RectangleTool::OnLButtonDown(unsigned, int x, int y) {
    Begin(1, x, y);
}
void RectangleTool::OnRButtonDown(unsigned, int x, int y) {
    Begin(0, x, y);
}

void RectangleTool::End() {
    // A release with no press before it (the second release of a double-click) would paint
    // the last shape again.
    if (!m_dragging)
        return;
    m_dragging = 0;
    m_pending = 1;
    Invalidate();
}

void RectangleTool::OnLButtonUp(unsigned, int, int) {
    End();
}
void RectangleTool::OnRButtonUp(unsigned, int, int) {
    End();
}

void RectangleTool::Cancel() {
    if (!m_dragging)
        return;
    Invalidate();
    m_dragging = 0;
}

void RectangleTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint != m_prevPoint)
        Invalidate();
}

void RectangleTool::Invalidate() const {
    if (!m_dragging && !m_pending)
        return;
    // The old and the new shape, with what the widest pen paints around them.
    const gdi::Rect r =
        GrowForMarks(Grow(Box(m_anchor, m_curPoint).Union(Box(m_anchor, m_prevPoint)), kPenReach),
                     ToolSettings::zoom);
    g_pMapView->InvalidateMapRect(r);
}

void RectangleTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending)
        return;
    const int fill = Fill();
    // An index from a hand-edited settings store must not reach the library.
    if (IsLibraryIndex(fill) && !Paint(dc, Box(), fill))
        return;
    m_pending = 0;
}

bool RectangleTool::Paint(gdi::DC& dc, const gdi::Rect& box, int fill) const {
    const int L = box.left, T = box.top, R = box.right, B = box.bottom;
    const gdi::Point oldOrg = dc.SetBrushOrg({0, 0});
    if (IsPatternFill(fill)) {
        const gdi::Brush brush = g_patternLibrary.BrushPattern(fill);
        if (ToolSettings::line != 0) {
            const gdi::Pen oldPen = dc.SelectPen(LinePen());
            const gdi::Brush oldBrush = dc.SelectBrush(brush);
            dc.Rectangle(L, T, R, B);
            dc.SelectBrush(oldBrush);
            dc.SelectPen(oldPen);
        } else {
            dc.FillRect(box, brush);
        }
        dc.SetBrushOrg(oldOrg);
        return true;
    }
    // The empty fill and the grid floor: the outline first, even with line size 0.
    const gdi::Pen oldPen = dc.SelectPen(LinePen());
    dc.MoveTo(L, T);
    dc.LineTo(R - 1, T);
    dc.LineTo(R - 1, B - 1);
    dc.LineTo(L, B - 1);
    dc.LineTo(L, T);
    if (fill == kGridFloor) {
        // The floor covers the inner part of a wide outline. Lines lie on the grid multiples
        // inside the box, none on an edge at 0, and one just past the box where R or B is a
        // multiple itself.
        dc.FillRect(box, gdi::Brush::Solid(gdi::kWhite));
        DrawGridLines(dc, box, EdgeAtZero::NoLine, {L, T, R + 1, B + 1});
    }
    dc.SelectPen(oldPen);
    dc.SetBrushOrg(oldOrg);
    return true;
}

void RectangleTool::DrawOverlay(gdi::DC& dc, float zoom) {
    if (m_dragging)
        DrawMark(dc, Box(), zoom);
}

void RectangleTool::DrawMark(gdi::DC& dc, const gdi::Rect& box, float zoom) const {
    // Through the corner pixels' top-left corners, as the committed border's thin outline.
    DrawBoxMark(dc, gdi::Pen::Solid(1, kMarkColor),
                ToWindow(gdi::Point{box.right - 1, box.bottom - 1}, zoom),
                ToWindow(gdi::Point{box.left, box.top}, zoom), FirstEdge::Column);
}

}  // namespace zk
