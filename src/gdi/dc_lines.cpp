#include "gdi/dc.h"
#include "gdi/raster.h"

namespace gdi {

std::optional<Color> DC::DashGapColor() const {
    if (m_bkMode == BkMode::Opaque)
        return m_bkColor;
    return std::nullopt;
}

Point DC::MoveTo(int x, int y) {
    return std::exchange(m_pos, Point{x, y});
}

void DC::LineTo(int x, int y) {
    const Point to{x, y};
    Announce(StrokeBounds(m_pos, &to, 1));
    const detail::Canvas canvas(m_bitmap, m_clip);
    // A fresh stroker per call: the dash pattern starts afresh at every LineTo.
    detail::PenStroker stroker(canvas, m_pen, DashGapColor());
    stroker.Segment(ToDevice(m_pos.x, m_pos.y), ToDevice(x, y));
    m_pos = {x, y};
}

void DC::PolylineTo(const Point* points, int count) {
    if (!points || count <= 0)
        return;
    Announce(StrokeBounds(m_pos, points, count));
    const detail::Canvas canvas(m_bitmap, m_clip);
    detail::PenStroker stroker(canvas, m_pen, DashGapColor());
    for (int i = 0; i < count; ++i) {
        stroker.Segment(ToDevice(m_pos.x, m_pos.y), ToDevice(points[i].x, points[i].y));
        m_pos = points[i];
    }
}

}  // namespace gdi
