// Pieces the drawing operations share: clipped writes, brush spans, pen strokes, line stepping,
// polygon scan conversion and the ellipse outline. Everything here is in device coordinates and
// internal to the drawing layer; callers outside it use DC.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/brush.h"
#include "gdi/pen.h"
#include "gdi/types.h"

namespace gdi::detail {

// Integer division rounding down / up; q > 0.
constexpr std::int64_t FloorDiv(std::int64_t p, std::int64_t q) {
    return p >= 0 ? p / q : -((-p + q - 1) / q);
}
constexpr std::int64_t CeilDiv(std::int64_t p, std::int64_t q) {
    return p >= 0 ? (p + q - 1) / q : -((-p) / q);
}
// The non-negative remainder, as pattern tiling needs it; m > 0.
constexpr int Mod(std::int64_t a, int m) {
    const std::int64_t r = a % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// The pixels an operation may write: the bitmap's pixels inside the clip rectangle. With no
// bitmap the box is empty and every write is dropped.
class Canvas {
  public:
    Canvas(Bitmap* bitmap, const std::optional<Rect>& clip);

    bool IsEmpty() const { return m_box.IsEmpty(); }
    const Rect& Box() const { return m_box; }
    Bitmap* Target() const { return m_bitmap; }
    // The value the bitmap stores for c (black or white on a monochrome bitmap).
    Color Reduce(Color c) const { return m_bitmap ? m_bitmap->Reduce(c) : (c & 0xFFFFFF); }

    // c must already be reduced; points outside the box are ignored.
    void Plot(int x, int y, Color c) const {
        if (m_box.Contains(x, y))
            m_bitmap->Row(y)[x] = c;
    }
    // Sets [x0, x1) on row y to c (already reduced), clipped to the box.
    void Fill(int y, int x0, int x1, Color c) const;

  private:
    Bitmap* m_bitmap;
    Rect m_box;
};

// A brush resolved against a DC's state: its colour or mapped pattern, its origin.
class BrushPaint {
  public:
    BrushPaint(const Brush& brush, Point origin, Color text, Color bk, const Canvas& canvas);

    bool IsNull() const { return m_null; }
    // Paints [x0, x1) on row y, clipped to the canvas box.
    void Fill(const Canvas& canvas, int y, int x0, int x1) const;
    void Fill(const Canvas& canvas, const Rect& r) const;

  private:
    bool m_null = false;
    Color m_color = 0;
    int m_tileW = 0;
    int m_tileH = 0;
    Point m_origin;
    std::vector<Color> m_tile;  // the pattern with the DC's colours applied, reduced
};

// Calls fn(x, y, t) for every pixel of the thin line from a to b, from a up to but not including
// b; t counts steps along the major axis from a. The minor coordinate is the exact value rounded
// to nearest with a half going to the smaller coordinate, so both directions of a line give the
// same pixels apart from their ends. Steps whose major coordinate lies outside `box` are skipped,
// which keeps the work proportional to the visible part of long lines.
template <class Fn>
void StepLine(Point a, Point b, const Rect& box, Fn&& fn) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0)
        return;
    const std::int64_t dMinor = xMajor ? dy : dx;
    const int step = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t major0 = xMajor ? a.x : a.y;
    const std::int64_t minor0 = xMajor ? a.y : a.x;
    const std::int64_t lo = xMajor ? box.left : box.top;
    const std::int64_t hi = xMajor ? box.right : box.bottom;
    std::int64_t t0 = 0, t1 = n;
    if (step > 0) {
        t0 = std::max<std::int64_t>(t0, lo - major0);
        t1 = std::min<std::int64_t>(t1, hi - major0);
    } else {
        t0 = std::max<std::int64_t>(t0, major0 - (hi - 1));
        t1 = std::min<std::int64_t>(t1, major0 - lo + 1);
    }
    for (std::int64_t t = t0; t < t1; ++t) {
        const auto major = static_cast<int>(major0 + step * t);
        const auto minor = static_cast<int>(minor0 + CeilDiv(2 * t * dMinor - n, 2 * n));
        if (xMajor)
            fn(major, minor, t);
        else
            fn(minor, major, t);
    }
}

// A polygon edge with integer end points, for exact regions.
struct IntEdge {
    int top = 0, bottom = 0;                      // counts for rows top <= y < bottom
    int dir = 0;                                  // +1 downward, -1 upward
    std::int64_t x0 = 0, y0 = 0, dx = 0, dy = 0;  // from the top end, dy > 0

    static std::optional<IntEdge> Make(Point a, Point b);
    int CeilX(int y) const { return static_cast<int>(CeilDiv(x0 * dy + (y - y0) * dx, dy)); }
};

// Emits emit(y, x0, x1) for the spans of a polygon by the nonzero winding rule: row y is covered
// over [ceil(x_left), ceil(x_right)) between crossings taken at exactly y, each edge counting for
// its rows top <= y < bottom. Rows outside [yMin, yMax) are not scanned. Spans come sorted by row
// and then by x, and spans of one row neither overlap nor touch.
template <class Edge, class Emit>
void ScanWinding(const std::vector<Edge>& edges, int yMin, int yMax, Emit&& emit) {
    if (edges.empty())
        return;
    int top = edges.front().top, bottom = edges.front().bottom;
    for (const Edge& e : edges) {
        top = std::min(top, e.top);
        bottom = std::max(bottom, e.bottom);
    }
    top = std::max(top, yMin);
    bottom = std::min(bottom, yMax);
    std::vector<std::pair<int, int>> crossings;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (const Edge& e : edges)
            if (e.top <= y && y < e.bottom)
                crossings.emplace_back(e.CeilX(y), e.dir);
        std::sort(crossings.begin(), crossings.end());
        int winding = 0, start = 0;
        for (std::size_t i = 0; i < crossings.size();) {
            const int x = crossings[i].first;
            const int before = winding;
            while (i < crossings.size() && crossings[i].first == x)
                winding += crossings[i++].second;
            if (before == 0 && winding != 0)
                start = x;
            else if (before != 0 && winding == 0)
                emit(y, start, x);
        }
    }
}

// The outline of the ellipse inscribed in a box at least 3 x 3: one quadrant by the
// error-stepping midpoint algorithm on the axes W-1, H-1, mirrored about the box's centre. The
// quadrant's walk ends where it leaves the box's right half, so a narrow ellipse's tips may stop
// short of the box's top and bottom rows.
struct EllipseOutline {
    // Every outline pixel once, counter-clockwise (as seen on screen) from the right end of the
    // upper middle row: the order a dash pattern runs in.
    std::vector<Point> path;
    // Per row from the box's top: the leftmost outline pixel, and the last outline pixel of the
    // left-hand run. The inside of row i is [inner[i] + 1, L + R - 1 - inner[i]); a row without
    // outline pixels has outer R and an empty inside.
    std::vector<int> outer;
    std::vector<int> inner;
};
EllipseOutline TraceEllipse(const Rect& box);

// Draws outlines with a pen: thin pixels, the dash pattern with its gaps, or a wide pen's bands
// and round caps. One stroker is one run of the dash pattern.
class PenStroker {
  public:
    // gapColor is painted in the dash gaps; nullopt leaves them alone (transparent mode).
    PenStroker(const Canvas& canvas, const Pen& pen, std::optional<Color> gapColor);

    bool IsNull() const { return m_null; }
    bool IsWide() const { return m_width > 1; }
    // A thin segment leaves out b and moves the dash pattern on by its length; a wide segment
    // covers its band and a cap at each end (so joins come out round); a zero-length wide
    // segment is one cap.
    void Segment(Point a, Point b);
    // One pixel of an outline traced pixel by pixel: one step of the dash pattern, or a wide
    // pen's cap shape stamped there.
    void Pixel(Point p);
    // An outline traced pixel by pixel, neighbours adjacent: a thin pen sets each pixel once (one
    // dash step each); a wide pen strokes it as a path through the pixels, closed back to the
    // first when `closed`, so its diagonal steps are bands of their own.
    void Trace(const std::vector<Point>& path, bool closed);

  private:
    void Cap(Point p) const;
    // The body of a wide segment between its caps.
    void Band(Point a, Point b) const;
    void Dot(int x, int y, std::int64_t t) const;

    const Canvas& m_canvas;
    bool m_null = false;
    bool m_dashed = false;
    int m_width = 1;
    Color m_color = 0;
    std::optional<Color> m_gap;
    int m_phase = 0;  // dash steps taken so far
};

}  // namespace gdi::detail
