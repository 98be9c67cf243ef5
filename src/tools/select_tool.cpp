#include "tools/select_tool.h"

#include <utility>

#include "tools/tool_settings.h"

namespace zk {

namespace {

gdi::Rect Spanned(gdi::Point a, gdi::Point b) {
    return gdi::Rect{a.x, a.y, b.x, b.y}.Normalized();
}

}  // namespace

SelectTool::SelectTool() {
    m_pending = 0;
}

void SelectTool::Invalidate() {
    if (m_banding || m_pending) {
        // The band's edges lie on its corners' pixels and one pixel past them; below zoom 1 a
        // window pixel spans several map pixels, and the area must still reach the band's pixel
        // column or an old band is left on the window.
        auto grown = [](gdi::Rect r) {
            return GrowForMarks({r.left, r.top, r.right + 1, r.bottom + 1}, ToolSettings::zoom);
        };
        const gdi::Rect r =
            grown(Spanned(m_curPoint, m_anchor)).Union(grown(Spanned(m_prevPoint, m_anchor)));
        g_pMapView->InvalidateMapRect(r);
    }
    if (m_floating || m_hasSelection)
        g_pMapView->InvalidateAll();
}

void SelectTool::ButtonDown(gdi::Point at, int mode) {
    if (!m_floating && !m_hasSelection) {
        m_anchor = at;
        m_banding = 1;
        m_useAnd = mode;
        Invalidate();
        return;
    }
    // Not the press point: the last pointer position and one pixel on.
    if (m_selRect.Contains(m_curPoint.x + 1, m_curPoint.y + 1)) {
        m_moving = 1;
        m_useAnd = mode;
    } else {
        // Dropped at the next paint, in the mode it was shown in; the next press starts a band.
        m_pending = 1;
        m_hasSelection = 0;
        m_banding = 0;
        m_moving = 0;
    }
    Invalidate();
}

void SelectTool::OnLButtonDown(unsigned, int x, int y) {
    ButtonDown({x, y}, 1);
}
void SelectTool::OnRButtonDown(unsigned, int x, int y) {
    ButtonDown({x, y}, 0);
}

void SelectTool::ButtonUp() {
    if (!m_floating && m_banding) {
        m_banding = 0;
        // The corners' larger coordinates are outside: |dx| columns and |dy| rows.
        m_selRect = Spanned(m_anchor, m_curPoint);
        m_hasSelection = 1;
        m_pending = 1;
    } else {
        m_moving = 0;
    }
    Invalidate();
}

// The release point is not used: the band ends where the last move left the pointer.
void SelectTool::OnLButtonUp(unsigned, int, int) {
    ButtonUp();
}
void SelectTool::OnRButtonUp(unsigned, int, int) {
    ButtonUp();
}

void SelectTool::OnMouseMove(unsigned flags, int x, int y) {
    MapTool::OnMouseMove(flags, x, y);
    if (m_curPoint == m_prevPoint)
        return;
    if (m_moving) {
        // Points arrive snapped, so with the grid on the selection moves in whole grid steps.
        m_selRect = m_selRect.Offset(m_curPoint.x - m_prevPoint.x, m_curPoint.y - m_prevPoint.y);
        Invalidate();
    }
    if (m_banding)
        Invalidate();
}

bool SelectTool::LiftPending() const {
    return m_pending && m_hasSelection && !m_floating;
}

bool SelectTool::DropPending() const {
    return m_pending && !m_hasSelection && m_floating;
}

bool SelectTool::HasWorkToCommit() const {
    return LiftPending() || DropPending();
}

bool SelectTool::WillChangeMap() const {
    return m_floating && m_liftedFrom != m_selRect;
}

void SelectTool::Land() {
    if (!m_banding && !m_moving && !m_floating && !m_hasSelection)
        return;
    m_banding = 0;
    m_moving = 0;
    if (m_floating) {
        if (m_hasSelection) {
            m_hasSelection = 0;
            m_pending = 1;
        }
    } else if (m_hasSelection) {
        // Marked but not lifted yet: there is nothing to put back.
        m_hasSelection = 0;
        m_pending = 0;
    }
    g_pMapView->InvalidateAll();
}

void SelectTool::Cancel() {
    if (m_banding && !m_floating) {
        Invalidate();
        m_banding = 0;
        return;
    }
    Land();
}

void SelectTool::Forget() {
    ClearSelection();
    m_pending = 0;
    m_selBitmap.Reset();
    g_pMapView->InvalidateAll();
}

void SelectTool::CommitToMap(gdi::DC& dc) {
    if (!m_pending)
        return;
    const gdi::Bitmap* map = dc.GetBitmap();
    const int w = m_selRect.Width();
    const int h = m_selRect.Height();
    if (LiftPending()) {
        // Whatever of the rectangle lies outside the map floats as white.
        m_selBitmap = gdi::Bitmap(w, h, map ? map->BitsPerPixel() : 32, gdi::kWhite);
        gdi::DC sel(&m_selBitmap);
        sel.BitBlt(0, 0, w, h, dc, m_selRect.left, m_selRect.top, gdi::Rop::SrcCopy);
        m_floating = 1;
        m_liftedFrom = m_selRect;
        dc.FillRect(m_selRect, gdi::Brush::Solid(gdi::kWhite));
    } else if (DropPending()) {
        gdi::DC sel(&m_selBitmap);
        dc.BitBlt(m_selRect.left, m_selRect.top, w, h, sel, 0, 0,
                  m_useAnd ? gdi::Rop::SrcAnd : gdi::Rop::SrcCopy);
        m_floating = 0;
        m_liftedFrom.reset();
    }
    m_pending = 0;
}

void SelectTool::DrawOverlay(gdi::DC& dc, float zoom) {
    if (m_banding)
        DrawBoxMark(dc, gdi::Pen::Dash(kMarkColor), ToWindow(m_curPoint, zoom),
                    ToWindow(m_anchor, zoom), FirstEdge::Column);
    if (m_hasSelection && m_floating) {
        const gdi::Rect& r = m_selRect;
        const gdi::Rect w = ToWindow(r, zoom);
        gdi::DC sel(&m_selBitmap);
        // The stretched size is the selection's own size at the zoom, not the difference of its
        // mapped edges.
        dc.StretchBlt(w.left, w.top, ToWindow(r.Width(), zoom), ToWindow(r.Height(), zoom), sel, 0,
                      0, r.Width(), r.Height(), m_useAnd ? gdi::Rop::SrcAnd : gdi::Rop::SrcCopy);
        DrawBoxMark(dc, gdi::Pen::Dash(gdi::kBlack), {w.left, w.top}, {w.right, w.bottom},
                    FirstEdge::Row);
    }
}

const gdi::Bitmap* SelectTool::GetFloatingBitmap() const {
    return m_floating ? &m_selBitmap : nullptr;
}

void SelectTool::ClearSelection() {
    m_pending = 1;
    m_floating = 0;
    m_hasSelection = 0;
    m_banding = 0;
    m_moving = 0;
    m_liftedFrom.reset();
    Invalidate();
}

void SelectTool::PasteBitmap(gdi::Bitmap bitmap) {
    PasteBitmap(std::move(bitmap), m_curPoint);
}

void SelectTool::PasteBitmap(gdi::Bitmap bitmap, gdi::Point at) {
    m_selBitmap = std::move(bitmap);
    m_floating = 1;
    m_hasSelection = 1;
    m_banding = 0;
    m_moving = 0;
    m_liftedFrom.reset();
    m_selRect = {at.x, at.y, at.x + m_selBitmap.Width(), at.y + m_selBitmap.Height()};
    Invalidate();
}

}  // namespace zk
