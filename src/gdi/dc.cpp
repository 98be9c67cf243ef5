#include "gdi/dc.h"

#include <algorithm>
#include <climits>
#include <cstdint>
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

void DC::Announce(const Rect& device) const {
    if (!m_bitmap)
        return;
    m_bitmap->AboutToChange(m_clip ? device.Intersect(*m_clip) : device);
}

Rect DC::WidenByPen(const Rect& device) const {
    if (device.IsEmpty())
        return {};
    // A wide pen's band and round caps stay within its width of the centre line.
    const std::int64_t reach =
        m_pen.IsNull() || m_pen.EffectiveWidth() <= 1 ? 0 : m_pen.EffectiveWidth();
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
    };
    return {clamp(device.left - reach), clamp(device.top - reach), clamp(device.right + reach),
            clamp(device.bottom + reach)};
}

Rect DC::StrokeBounds(Point from, const Point* logical, int count) const {
    std::int64_t x0 = from.x, y0 = from.y, x1 = from.x, y1 = from.y;
    for (int i = 0; i < count; ++i) {
        x0 = std::min<std::int64_t>(x0, logical[i].x);
        y0 = std::min<std::int64_t>(y0, logical[i].y);
        x1 = std::max<std::int64_t>(x1, logical[i].x);
        y1 = std::max<std::int64_t>(y1, logical[i].y);
    }
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
    };
    return WidenByPen({clamp(x0 + m_viewportOrg.x), clamp(y0 + m_viewportOrg.y),
                       clamp(x1 + 1 + m_viewportOrg.x), clamp(y1 + 1 + m_viewportOrg.y)});
}

void DC::FillRect(const Rect& r, const Brush& brush) {
    Announce(r.Offset(m_viewportOrg.x, m_viewportOrg.y));
    const detail::Canvas canvas(m_bitmap, m_clip);
    const detail::BrushPaint paint(brush, m_brushOrg, m_textColor, m_bkColor, canvas);
    paint.Fill(canvas, r.Offset(m_viewportOrg.x, m_viewportOrg.y));
}

void DC::PaintRgn(const Region& rgn) {
    Announce(rgn.GetBox().Offset(m_viewportOrg.x, m_viewportOrg.y));
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
    Announce({p.x, p.y, p.x + 1, p.y + 1});
    canvas.Plot(p.x, p.y, canvas.Reduce(c));
}

Color DC::GetPixel(int x, int y) const {
    if (!m_bitmap)
        return kBlack;
    const Point p = ToDevice(x, y);
    return m_bitmap->GetPixel(p.x, p.y);
}

}  // namespace gdi
