#include "gdi/dc.h"

#include <utility>

#include "gdi/raster.h"

namespace gdi {

Bitmap* DC::SelectBitmap(Bitmap* bitmap) {
    return std::exchange(m_bitmap, bitmap);
}
Pen DC::SelectPen(const Pen& pen) {
    return std::exchange(m_pen, pen);
}
Brush DC::SelectBrush(const Brush& brush) {
    return std::exchange(m_brush, brush);
}
Point DC::SetBrushOrg(Point org) {
    return std::exchange(m_brushOrg, org);
}
Color DC::SetTextColor(Color c) {
    return std::exchange(m_textColor, c & 0xFFFFFF);
}
Color DC::SetBkColor(Color c) {
    return std::exchange(m_bkColor, c & 0xFFFFFF);
}
BkMode DC::SetBkMode(BkMode mode) {
    return std::exchange(m_bkMode, mode);
}
StretchMode DC::SetStretchBltMode(StretchMode mode) {
    return std::exchange(m_stretchMode, mode);
}
Point DC::SetViewportOrg(Point org) {
    return std::exchange(m_viewportOrg, org);
}
void DC::SetClipRect(std::optional<Rect> clip) {
    m_clip = clip;
}

void DC::FillRect(const Rect& r, const Brush& brush) {
    const detail::Canvas canvas(m_bitmap, m_clip);
    const detail::BrushPaint paint(brush, m_brushOrg, m_textColor, m_bkColor, canvas);
    paint.Fill(canvas, r.Offset(m_viewportOrg.x, m_viewportOrg.y));
}

void DC::PaintRgn(const Region& rgn) {
    const detail::Canvas canvas(m_bitmap, m_clip);
    const detail::BrushPaint paint(m_brush, m_brushOrg, m_textColor, m_bkColor, canvas);
    if (paint.IsNull() || canvas.IsEmpty())
        return;
    for (const Region::Span& s : rgn.Spans())
        paint.Fill(canvas, s.y + m_viewportOrg.y, s.x0 + m_viewportOrg.x, s.x1 + m_viewportOrg.x);
}

void DC::SetPixelV(int x, int y, Color c) {
    const detail::Canvas canvas(m_bitmap, m_clip);
    const Point p = ToDevice(x, y);
    canvas.Plot(p.x, p.y, canvas.Reduce(c));
}

Color DC::GetPixel(int x, int y) const {
    if (!m_bitmap)
        return kBlack;
    const Point p = ToDevice(x, y);
    return m_bitmap->GetPixel(p.x, p.y);
}

}  // namespace gdi
