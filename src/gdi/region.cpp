#include "gdi/region.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "gdi/raster.h"

namespace gdi {

Region Region::Polygon(const Point* points, int count) {
    Region rgn;
    if (!points || count < 3)
        return rgn;
    std::vector<detail::IntEdge> edges;
    for (int i = 0; i < count; ++i) {
        if (auto e = detail::IntEdge::Make(points[i], points[(i + 1) % count]))
            edges.push_back(*e);
    }
    // Degenerate polygons need no special case: their edges cancel out, leaving no winding.
    detail::ScanWinding(edges, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                        [&rgn](int y, int x0, int x1) {
                            rgn.m_spans.push_back({y, x0, x1});
                        });
    return rgn;
}

Region Region::FromRect(const Rect& r) {
    Region rgn;
    const Rect n = r.Normalized();
    if (n.IsEmpty())
        return rgn;
    rgn.m_spans.reserve(static_cast<std::size_t>(n.Height()));
    for (int y = n.top; y < n.bottom; ++y)
        rgn.m_spans.push_back({y, n.left, n.right});
    return rgn;
}

void Region::Offset(int dx, int dy) {
    for (Span& s : m_spans) {
        s.y += dy;
        s.x0 += dx;
        s.x1 += dx;
    }
}

Rect Region::GetBox() const {
    if (m_spans.empty())
        return {};
    Rect box{m_spans.front().x0, m_spans.front().y, m_spans.front().x1, m_spans.back().y + 1};
    for (const Span& s : m_spans) {
        box.left = std::min(box.left, s.x0);
        box.right = std::max(box.right, s.x1);
    }
    return box;
}

bool Region::Contains(int x, int y) const {
    // The first span that ends right of x on row y, or lies on a later row.
    const auto it = std::partition_point(m_spans.begin(), m_spans.end(), [x, y](const Span& s) {
        return s.y < y || (s.y == y && s.x1 <= x);
    });
    return it != m_spans.end() && it->y == y && it->x0 <= x;
}

}  // namespace gdi
