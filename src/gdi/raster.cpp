#include "gdi/raster.h"

namespace gdi::detail {

namespace {

constexpr int kDashOn = 18;
constexpr int kDashPeriod = 24;

}  // namespace

Canvas::Canvas(Bitmap* bitmap, const std::optional<Rect>& clip) : m_bitmap(bitmap) {
    if (!bitmap || bitmap->IsNull()) {
        m_bitmap = nullptr;
        return;
    }
    m_box = bitmap->Bounds();
    if (clip)
        m_box = m_box.Intersect(*clip);
}

void Canvas::Fill(int y, int x0, int x1, Color c) const {
    if (y < m_box.top || y >= m_box.bottom)
        return;
    x0 = std::max(x0, m_box.left);
    x1 = std::min(x1, m_box.right);
    if (x0 >= x1)
        return;
    std::fill(m_bitmap->Row(y) + x0, m_bitmap->Row(y) + x1, c);
}

BrushPaint::BrushPaint(const Brush& brush, Point origin, Color text, Color bk, const Canvas& canvas)
    : m_origin(origin) {
    if (brush.style == BrushStyle::Null ||
        (brush.style == BrushStyle::Pattern && (!brush.pattern || brush.pattern->IsNull()))) {
        m_null = true;
        return;
    }
    if (brush.style == BrushStyle::Solid) {
        m_color = canvas.Reduce(brush.color);
        return;
    }
    const Bitmap& pattern = *brush.pattern;
    m_tileW = pattern.Width();
    m_tileH = pattern.Height();
    m_tile.resize(pattern.PixelCount());
    // A monochrome pattern takes its colours from the DC, so the same brush draws differently
    // with other text and background colours.
    const Color onBlack = canvas.Reduce(text), onWhite = canvas.Reduce(bk);
    for (std::size_t i = 0; i < m_tile.size(); ++i) {
        const Color p = pattern.Data()[i];
        if (pattern.IsMonochrome())
            m_tile[i] = p == kBlack ? onBlack : onWhite;
        else
            m_tile[i] = canvas.Reduce(p);
    }
}

void BrushPaint::Fill(const Canvas& canvas, int y, int x0, int x1) const {
    const Rect& box = canvas.Box();
    if (m_null || y < box.top || y >= box.bottom)
        return;
    x0 = std::max(x0, box.left);
    x1 = std::min(x1, box.right);
    if (x0 >= x1)
        return;
    Color* row = canvas.Target()->Row(y);
    if (m_tile.empty()) {
        std::fill(row + x0, row + x1, m_color);
        return;
    }
    // Anchored at the brush origin, so neighbouring fills join without a seam.
    const Color* tile =
        m_tile.data() + static_cast<std::size_t>(Mod(std::int64_t{y} - m_origin.y, m_tileH)) *
                            static_cast<std::size_t>(m_tileW);
    int px = Mod(std::int64_t{x0} - m_origin.x, m_tileW);
    for (int x = x0; x < x1; ++x) {
        row[x] = tile[px];
        if (++px == m_tileW)
            px = 0;
    }
}

void BrushPaint::Fill(const Canvas& canvas, const Rect& r) const {
    if (m_null)
        return;
    const Rect clipped = r.Intersect(canvas.Box());
    for (int y = clipped.top; y < clipped.bottom; ++y)
        Fill(canvas, y, clipped.left, clipped.right);
}

std::optional<IntEdge> IntEdge::Make(Point a, Point b) {
    if (a.y == b.y)
        return std::nullopt;  // horizontal edges cross no row
    IntEdge e;
    e.dir = b.y > a.y ? 1 : -1;
    if (e.dir < 0)
        std::swap(a, b);
    e.top = a.y;
    e.bottom = b.y;
    e.x0 = a.x;
    e.y0 = a.y;
    e.dx = std::int64_t{b.x} - a.x;
    e.dy = std::int64_t{b.y} - a.y;
    return e;
}

EllipseOutline TraceEllipse(const Rect& box) {
    const int L = box.left, T = box.top, R = box.right, B = box.bottom;
    const std::int64_t a = R - L - 1, b = B - T - 1, b1 = b & 1;

    // The lower right quadrant, from the right end of the lower middle row towards the bottom.
    // Both steps are decided on the error before either is taken, and the walk ends when it
    // leaves the right half of the box: a narrow ellipse stops short of its box's top and bottom
    // rows, as the platform's does.
    std::vector<Point> quadrant;
    std::int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
    std::int64_t err = dx + dy + b1 * a * a;
    const int xMid = L + (R - L) / 2;
    int x = R - 1, y = T + (B - T) / 2;
    while (x >= xMid) {
        quadrant.push_back({x, y});
        const std::int64_t e2 = 2 * err;
        if (e2 >= dx) {
            --x;
            dx += 8 * b * b;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += 8 * a * a;
            err += dy;
        }
    }

    const auto mirrorX = [&](Point p) { return Point{L + R - 1 - p.x, p.y}; };
    const auto mirrorY = [&](Point p) { return Point{p.x, T + B - 1 - p.y}; };
    EllipseOutline out;
    auto& path = out.path;
    const auto add = [&path](Point p) {
        if (path.empty() || !(path.back() == p))
            path.push_back(p);
    };
    for (Point p : quadrant)
        add(mirrorY(p));  // right to top
    for (auto it = quadrant.rbegin(); it != quadrant.rend(); ++it)
        add(mirrorX(mirrorY(*it)));  // top to left
    for (Point p : quadrant)
        add(mirrorX(p));  // left to bottom
    for (auto it = quadrant.rbegin(); it != quadrant.rend(); ++it)
        add(*it);  // bottom to right
    if (path.size() > 1 && path.back() == path.front())
        path.pop_back();

    out.outer.assign(static_cast<std::size_t>(B - T), R);
    out.inner.assign(static_cast<std::size_t>(B - T), L - 1);
    for (Point p : path) {
        const auto row = static_cast<std::size_t>(p.y - T);
        out.outer[row] = std::min(out.outer[row], p.x);
        if (2 * p.x <= L + R - 1)
            out.inner[row] = std::max(out.inner[row], p.x);
    }
    // A row the outline does not reach (beyond a narrow ellipse's tips) has no inside either.
    for (std::size_t row = 0; row < out.outer.size(); ++row)
        if (out.outer[row] == R)
            out.inner[row] = R - 1;
    return out;
}

PenStroker::PenStroker(const Canvas& canvas, const Pen& pen, std::optional<Color> gapColor)
    : m_canvas(canvas) {
    m_null = pen.IsNull();
    m_dashed = pen.style == PenStyle::Dash;
    // Pens come in widths up to 3; anything wider is drawn as 3 rather than with a cap that
    // does not match its band.
    m_width = std::min(pen.EffectiveWidth(), 3);
    m_color = canvas.Reduce(pen.color);
    if (m_dashed && gapColor)
        m_gap = canvas.Reduce(*gapColor);
}

void PenStroker::Dot(int x, int y, std::int64_t t) const {
    if (!m_dashed) {
        m_canvas.Plot(x, y, m_color);
    } else if (Mod(std::int64_t{m_phase} + t, kDashPeriod) < kDashOn) {
        m_canvas.Plot(x, y, m_color);
    } else if (m_gap) {
        m_canvas.Plot(x, y, *m_gap);
    }
}

void PenStroker::Cap(Point p) const {
    if (m_width == 2) {
        m_canvas.Fill(p.y - 1, p.x - 1, p.x + 1, m_color);
        m_canvas.Fill(p.y, p.x - 1, p.x + 1, m_color);
    } else {
        m_canvas.Plot(p.x, p.y - 1, m_color);
        m_canvas.Fill(p.y, p.x - 1, p.x + 2, m_color);
        m_canvas.Plot(p.x, p.y + 1, m_color);
    }
}

void PenStroker::Segment(Point a, Point b) {
    if (m_null)
        return;
    if (!IsWide()) {
        StepLine(a, b, m_canvas.Box(), [this](int x, int y, std::int64_t t) { Dot(x, y, t); });
        m_phase = Mod(std::int64_t{m_phase} + std::max(std::llabs(std::int64_t{b.x} - a.x),
                                                       std::llabs(std::int64_t{b.y} - a.y)),
                      kDashPeriod);
        return;
    }
    Cap(a);
    if (!(a == b)) {
        Band(a, b);
        Cap(b);
    }
}

void PenStroker::Band(Point a, Point b) const {
    const Rect& box = m_canvas.Box();
    const int w = m_width;
    if (a.y == b.y) {
        const int top = a.y - w / 2;
        for (int y = top; y < top + w; ++y)
            m_canvas.Fill(y, std::min(a.x, b.x), std::max(a.x, b.x), m_color);
        return;
    }
    if (a.x == b.x) {
        const int left = a.x - w / 2;
        for (int y = std::max(std::min(a.y, b.y), box.top);
             y < std::min(std::max(a.y, b.y), box.bottom); ++y)
            m_canvas.Fill(y, left, left + w, m_color);
        return;
    }
    // The band's extent across the segment, in x and in y, split between its two sides in whole
    // pixels: the side towards larger x takes the rounded half of (extent + 1), the other side
    // the rounded half of the extent, so an odd split favours the right.
    const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
    const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double ex = static_cast<double>(w * std::llabs(dy)) / len;
    const double ey = static_cast<double>(w * std::llabs(dx)) / len;
    const auto half = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    const int rightX = half((ex + 1) / 2), leftX = half(ex / 2);
    const int rightY = half((ey + 1) / 2), leftY = half(ey / 2);
    // Going down-right or up-left the right side lies above the centre line; otherwise below.
    const int sy = (dx > 0) == (dy > 0) ? -1 : 1;
    const Point right{rightX, sy * rightY}, left{-leftX, -sy * leftY};
    const Point quad[4] = {{a.x + right.x, a.y + right.y},
                           {b.x + right.x, b.y + right.y},
                           {b.x + left.x, b.y + left.y},
                           {a.x + left.x, a.y + left.y}};
    std::vector<IntEdge> edges;
    for (int i = 0; i < 4; ++i)
        if (auto e = IntEdge::Make(quad[i], quad[(i + 1) % 4]))
            edges.push_back(*e);
    ScanWinding(edges, box.top, box.bottom,
                [this](int y, int x0, int x1) { m_canvas.Fill(y, x0, x1, m_color); });
}

void PenStroker::Pixel(Point p) {
    if (m_null)
        return;
    if (IsWide()) {
        Cap(p);
        return;
    }
    Dot(p.x, p.y, 0);
    m_phase = (m_phase + 1) % kDashPeriod;
}

void PenStroker::Trace(const std::vector<Point>& path, bool closed) {
    if (m_null || path.empty())
        return;
    if (!IsWide()) {
        for (Point p : path)
            Pixel(p);
        return;
    }
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        Segment(path[i], path[i + 1]);
    if (closed || path.size() == 1)
        Segment(path.back(), path.front());
}

}  // namespace gdi::detail
