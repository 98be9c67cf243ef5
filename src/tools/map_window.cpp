#include "tools/map_window.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zk {

namespace {

// A whole number held in a double (exact up to 2^53) as an int, held at the int's limits.
int Saturate(double v) {
    return static_cast<int>(
        std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

int ToWindow(std::int64_t v, float zoom) {
    return Saturate(std::trunc(static_cast<double>(v) * static_cast<double>(zoom)));
}

gdi::Point ToWindow(gdi::Point p, float zoom) {
    return {ToWindow(p.x, zoom), ToWindow(p.y, zoom)};
}

gdi::Rect ToWindow(const gdi::Rect& r, float zoom) {
    return {ToWindow(r.left, zoom), ToWindow(r.top, zoom), ToWindow(r.right, zoom),
            ToWindow(r.bottom, zoom)};
}

int ToMap(std::int64_t w, float zoom) {
    return Saturate(std::trunc(static_cast<double>(w) / static_cast<double>(zoom)));
}

int FloorToMap(std::int64_t w, float zoom) {
    return Saturate(std::floor(static_cast<double>(w) / static_cast<double>(zoom)));
}

int CeilToMap(std::int64_t w, float zoom) {
    return Saturate(std::ceil(static_cast<double>(w) / static_cast<double>(zoom)));
}

MapSpan VisibleMapSpan(int scroll, int windowSize, float zoom) {
    const int first = FloorToMap(scroll, zoom);
    const int last = CeilToMap(std::int64_t{scroll} + windowSize, zoom);
    MapSpan span;
    span.map = first;
    span.mapSize = last - first;
    span.window = ToWindow(first, zoom);
    span.windowSize = ToWindow(last, zoom) - span.window;
    return span;
}

float FitZoom(int mapWidth, int mapHeight, int windowWidth, int windowHeight, float minZoom,
              float maxZoom) {
    for (float zoom = maxZoom; zoom > minZoom; zoom *= 0.5f)
        if (ToWindow(mapWidth, zoom) <= windowWidth && ToWindow(mapHeight, zoom) <= windowHeight)
            return zoom;
    return minZoom;
}

}  // namespace zk
