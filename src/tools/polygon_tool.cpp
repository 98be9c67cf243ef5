#include "tools/polygon_tool.h"

#include <cstdlib>
#include <new>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"

namespace zk {

void PolygonTool::ClearVertices() {
    std::vector<gdi::Point>().swap(m_vertices);
}

void PolygonTool::AddVertex(gdi::Point p) {
    if (!m_vertices.empty()) {
        const gdi::Point first = m_vertices.front();
        if (std::abs(p.x - first.x) <= kCloseTolerance &&
            std::abs(p.y - first.y) <= kCloseTolerance) {
            m_pending = 1;  // the closing click adds no vertex
            return;
        }
    }
    try {
        m_vertices.push_back(p);
    } catch (const std::bad_alloc&) {
        // A vertex that cannot be stored is dropped; the polygon stays as it was.
    }
}

void PolygonTool::RemoveLastVertex() {
    if (m_vertices.empty())
        return;
    if (m_vertices.size() == 1) {
        ClearVertices();
        g_pMapView->InvalidateAll();
        return;
    }
    m_vertices.pop_back();
}

void PolygonTool::OnRButtonDblClk(unsigned, int, int) {
    // Its first click has already taken back a vertex; the double-click abandons the rest.
    ClearVertices();
    g_pMapView->InvalidateAll();
}

void PolygonTool::Cancel() {
    if (m_pending || m_vertices.empty())
        return;
    ClearVertices();
    g_pMapView->InvalidateAll();
}

void PolygonTool::Forget() {
    m_pending = 0;
    Cancel();
}

void PolygonTool::OnLButtonDown(unsigned, int x, int y) {
    if (m_vertices.empty())
        m_primaryButton = 1;
    AddVertex({x, y});
    Invalidate();
}

void PolygonTool::OnRButtonDown(unsigned, int x, int y) {
    if (m_vertices.empty()) {
        m_primaryButton = 0;
        AddVertex({x, y});
    } else {
        // So that the repaint covers the vertex being taken back.
        m_prevPoint = m_vertices.back();
        RemoveLastVertex();
    }
    Invalidate();
}

void PolygonTool::OnLButtonUp(unsigned, int, int) {
    Invalidate();
}
void PolygonTool::OnRButtonUp(unsigned, int, int) {
    Invalidate();
}

void PolygonTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint != m_prevPoint)
        Invalidate();
}

void PolygonTool::Invalidate() const {
    if (m_vertices.empty())
        return;
    gdi::Rect r = gdi::Rect{m_curPoint.x, m_curPoint.y, m_prevPoint.x, m_prevPoint.y}.Normalized();
    for (const gdi::Point& v : m_vertices)
        r = {std::min(r.left, v.x), std::min(r.top, v.y), std::max(r.right, v.x),
             std::max(r.bottom, v.y)};
    // Right and bottom past the last pixel, and what the widest pen paints around the points.
    r = GrowForMarks(Grow({r.left, r.top, r.right + 1, r.bottom + 1}, kPenReach),
                     ToolSettings::zoom);
    g_pMapView->InvalidateMapRect(r);
}

void PolygonTool::StrokeOutline(gdi::DC& dc, const gdi::Pen& pen) const {
    const gdi::Pen old = dc.SelectPen(pen);
    const gdi::Point first = m_vertices.front();
    dc.MoveTo(first.x, first.y);
    dc.PolylineTo(m_vertices.data(), static_cast<int>(m_vertices.size()));
    dc.LineTo(first.x, first.y);
    dc.SelectPen(old);
}

bool PolygonTool::Paint(gdi::DC& dc, int fill) const {
    const int line = ToolSettings::line;
    // The winding rule: a self-intersecting polygon is filled where its loops overlap too.
    const gdi::Region area =
        gdi::Region::Polygon(m_vertices.data(), static_cast<int>(m_vertices.size()));
    const gdi::Point oldOrg = dc.SetBrushOrg({0, 0});
    const gdi::Brush oldBrush = dc.GetBrush();
    bool done = true;
    if (fill == kGridFloor) {
        done = PaintGridFloor(dc, area.GetBox(),
                              [&area](gdi::DC& d, const gdi::Brush& brush, const gdi::Pen&) {
                                  const gdi::Brush b = d.SelectBrush(brush);
                                  d.PaintRgn(area);
                                  d.SelectBrush(b);
                              });
        // The floor always gets an outline, one pixel wide at line size 0.
        if (done)
            StrokeOutline(dc, LinePen());
    } else if (line == 0) {
        // Even the empty fill is painted with its slot's bitmap here.
        dc.SelectBrush(g_patternLibrary.BrushPattern(fill));
        dc.PaintRgn(area);
    } else {
        if (fill != kEmptyFill) {
            dc.SelectBrush(g_patternLibrary.BrushPattern(fill));
            dc.PaintRgn(area);
        }
        StrokeOutline(dc, LinePen());
    }
    dc.SelectBrush(oldBrush);
    dc.SetBrushOrg(oldOrg);
    return done;
}

void PolygonTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending)
        return;
    const int fill = Fill();
    // An index from a hand-edited settings store must not reach the library.
    if (!m_vertices.empty() && IsLibraryIndex(fill) && !Paint(dc, fill))
        return;  // kept, with its vertices, for the next paint
    m_pending = 0;
    ClearVertices();
}

void PolygonTool::DrawOverlay(gdi::DC& dc, float zoom) {
    if (m_vertices.empty())
        return;
    // Open: the edge back to the first vertex belongs to the committed polygon only.
    const gdi::Pen old = dc.SelectPen(gdi::Pen::Solid(1, kMarkColor));
    dc.MoveTo(ToWindow(m_vertices.front().x, zoom), ToWindow(m_vertices.front().y, zoom));
    for (std::size_t i = 1; i < m_vertices.size(); ++i)
        dc.LineTo(ToWindow(m_vertices[i].x, zoom), ToWindow(m_vertices[i].y, zoom));
    dc.LineTo(ToWindow(m_curPoint.x, zoom), ToWindow(m_curPoint.y, zoom));
    dc.SelectPen(old);
}

}  // namespace zk
