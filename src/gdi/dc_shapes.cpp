#include <cmath>
#include <numbers>

#include "gdi/dc.h"
#include "gdi/raster.h"

namespace gdi {

namespace {

// An angle in [0, 2*pi).
double WrapAngle(double a) {
    constexpr double kTurn = 2 * std::numbers::pi;
    a = std::fmod(a, kTurn);
    return a < 0 ? a + kTurn : a;
}

}  // namespace

void DC::Rectangle(int left, int top, int right, int bottom) {
    const Rect box = Rect{left, top, right, bottom}.Normalized();
    Announce(WidenByPen(box.Offset(m_viewportOrg.x, m_viewportOrg.y)));
    DrawRectangle(box.Offset(m_viewportOrg.x, m_viewportOrg.y), m_brush);
}

void DC::DrawRectangle(const Rect& box, const Brush& brush) {
    if (box.IsEmpty())
        return;
    const detail::Canvas canvas(m_bitmap, m_clip);
    const detail::BrushPaint paint(brush, m_brushOrg, m_textColor, m_bkColor, canvas);
    detail::PenStroker stroker(canvas, m_pen, DashGapColor());
    const int L = box.left, T = box.top, R = box.right, B = box.bottom;
    if (stroker.IsNull()) {
        paint.Fill(canvas, Rect{L, T, R - 1, B - 1});
        return;
    }
    // A wide border reaches into [L, R-1) x [T, B-1) by itself; a thin one is the box's edge.
    if (stroker.IsWide())
        paint.Fill(canvas, Rect{L, T, R - 1, B - 1});
    else
        paint.Fill(canvas, Rect{L + 1, T + 1, R - 1, B - 1});
    if (!stroker.IsWide() && box.Width() == 1 && box.Height() == 1) {
        stroker.Pixel({L, T});  // a closed path through one point would set nothing
        return;
    }
    // Counter-clockwise (as seen on screen) from the top-right corner, in one run of the dash
    // pattern.
    const Point corners[] = {{R - 1, T}, {L, T}, {L, B - 1}, {R - 1, B - 1}, {R - 1, T}};
    for (int i = 0; i < 4; ++i)
        stroker.Segment(corners[i], corners[i + 1]);
}

void DC::Ellipse(int left, int top, int right, int bottom) {
    const Rect box =
        Rect{left, top, right, bottom}.Normalized().Offset(m_viewportOrg.x, m_viewportOrg.y);
    if (box.IsEmpty())
        return;
    Announce(WidenByPen(box));
    if (box.Width() <= 2 || box.Height() <= 2) {
        DrawRectangle(box, m_brush);
        return;
    }
    const detail::Canvas canvas(m_bitmap, m_clip);
    if (canvas.IsEmpty())
        return;
    const detail::BrushPaint paint(m_brush, m_brushOrg, m_textColor, m_bkColor, canvas);
    detail::PenStroker stroker(canvas, m_pen, DashGapColor());
    const detail::EllipseOutline outline = detail::TraceEllipse(box);
    const int mirror = box.left + box.right - 1;
    if (!paint.IsNull()) {
        for (int i = 0; i < box.Height(); ++i) {
            const auto row = static_cast<std::size_t>(i);
            if (stroker.IsNull())
                paint.Fill(canvas, box.top + i, outline.outer[row],
                           mirror - outline.outer[row] + 1);
            else
                paint.Fill(canvas, box.top + i, outline.inner[row] + 1,
                           mirror - outline.inner[row]);
        }
    }
    stroker.Trace(outline.path, true);
}

void DC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    const Rect box =
        Rect{left, top, right, bottom}.Normalized().Offset(m_viewportOrg.x, m_viewportOrg.y);
    if (box.IsEmpty())
        return;
    Announce(WidenByPen(box));
    if (box.Width() <= 2 || box.Height() <= 2) {
        DrawRectangle(box, Brush::Null());
        return;
    }
    const detail::Canvas canvas(m_bitmap, m_clip);
    if (canvas.IsEmpty())
        return;
    detail::PenStroker stroker(canvas, m_pen, DashGapColor());
    const detail::EllipseOutline outline = detail::TraceEllipse(box);

    // Angles counter-clockwise as seen on screen (y grows downward), about the box's centre.
    const double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
    const auto angle = [cx, cy](Point p) { return std::atan2(cy - p.y, p.x - cx); };
    const Point start = ToDevice(xStart, yStart), end = ToDevice(xEnd, yEnd);
    const double from = angle(start);
    const double sweep = WrapAngle(angle(end) - from);
    if (sweep == 0) {  // the same radial: the whole outline
        stroker.Trace(outline.path, true);
        return;
    }
    // Walk the outline from the pixel nearest the start radial, so a dash pattern starts there.
    const std::size_t n = outline.path.size();
    std::vector<double> offset(n);
    std::size_t first = 0;
    for (std::size_t i = 0; i < n; ++i) {
        offset[i] = WrapAngle(angle(outline.path[i]) - from);
        if (offset[i] < offset[first])
            first = i;
    }
    std::vector<Point> arc;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = (first + k) % n;
        if (offset[i] <= sweep)
            arc.push_back(outline.path[i]);
    }
    stroker.Trace(arc, false);
}

}  // namespace gdi
