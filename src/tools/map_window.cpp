#include "tools/map_window.h"

#include <cmath>
#include <cstdint>

namespace zk {

int ToWindow(int v, float zoom) {
    return static_cast<int>(static_cast<double>(v) * static_cast<double>(zoom));
}

gdi::Point ToWindow(gdi::Point p, float zoom) {
    return {ToWindow(p.x, zoom), ToWindow(p.y, zoom)};
}

gdi::Rect ToWindow(const gdi::Rect& r, float zoom) {
    return {ToWindow(r.left, zoom), ToWindow(r.top, zoom), ToWindow(r.right, zoom),
            ToWindow(r.bottom, zoom)};
}

int ToMap(int w, float zoom) {
    return static_cast<int>(static_cast<double>(w) / static_cast<double>(zoom));
}

int FloorToMap(int w, float zoom) {
    return static_cast<int>(std::floor(static_cast<double>(w) / static_cast<double>(zoom)));
}

int CeilToMap(int w, float zoom) {
    return static_cast<int>(std::ceil(static_cast<double>(w) / static_cast<double>(zoom)));
}

MapSpan VisibleMapSpan(int scroll, int windowSize, float zoom) {
    const int first = FloorToMap(scroll, zoom);
    const int last = CeilToMap(scroll + windowSize, zoom);
    MapSpan span;
    span.map = first;
    span.mapSize = last - first;
    span.window = ToWindow(first, zoom);
    span.windowSize = ToWindow(last, zoom) - span.window;
    return span;
}

}  // namespace zk
