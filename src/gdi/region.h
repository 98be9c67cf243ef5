// Regions: sets of pixels made from polygons.
#pragma once

#include <vector>

#include "gdi/types.h"

namespace gdi {

// A set of device pixels, kept as horizontal spans per row. Made from a polygon by the winding
// rule: pixel (x, y) is inside when the lattice point (x, y) is inside the polygon with a nonzero
// winding number; points on left and top boundaries are in, on right and bottom boundaries out.
class Region {
  public:
    struct Span {
        int y;
        int x0;  // inclusive
        int x1;  // exclusive
    };

    Region() = default;

    // CreatePolygonRgn with the winding fill mode. Each row y is filled over
    // [ceil(x_left), ceil(x_right)) between the edges' crossings taken at exactly y, an edge
    // counting for rows y_top <= y < y_bottom and a horizontal edge for none; so an axis-aligned
    // rectangle given as a polygon is [min, max) x [min, max). Fewer than three distinct points or
    // no area gives an empty region.
    static Region Polygon(const Point* points, int count);
    // The normalised rectangle; an empty one gives an empty region.
    static Region FromRect(const Rect& r);

    bool IsEmpty() const { return m_spans.empty(); }
    // Moves every part of the region by (dx, dy).
    void Offset(int dx, int dy);
    // The bounding box, right and bottom exclusive; (0, 0, 0, 0) for an empty region.
    Rect GetBox() const;
    bool Contains(int x, int y) const;
    // Spans sorted by row, then by x; spans in one row never overlap or touch.
    const std::vector<Span>& Spans() const { return m_spans; }

  private:
    std::vector<Span> m_spans;
};

}  // namespace gdi
