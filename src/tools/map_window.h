// How map pixels and window pixels meet at a zoom: the one mapping the view, its scroll ranges,
// its repaints and every tool's marks use. Map coordinate v shows at logical window coordinate
// trunc(v * zoom); logical window coordinate w shows map pixel floor(w / zoom). Zooms are powers
// of two, so every product and quotient here is exact. The products are taken in 64 bits and
// results that no int can hold are held at the int's limits: the largest map side at the largest
// zoom is some two million window pixels, and a box grown far past the map must not wrap around.
#pragma once

#include <cstdint>

#include "gdi/types.h"

namespace zk {

// trunc(v * zoom): where a map coordinate shows on the window (logical, before the scroll).
int ToWindow(std::int64_t v, float zoom);
gdi::Point ToWindow(gdi::Point p, float zoom);
// Each edge mapped on its own, so a box's marks and its repaint area agree to the pixel.
gdi::Rect ToWindow(const gdi::Rect& r, float zoom);

// trunc(w / zoom): the map point a pointer at logical window coordinate w names (toward zero, so
// a pointer left of or above the map during a drag stays near its edge).
int ToMap(std::int64_t w, float zoom);
// floor(w / zoom) and ceil(w / zoom): the map pixel a window pixel shows, and the first map pixel
// whose edge lies at or after w.
int FloorToMap(std::int64_t w, float zoom);
int CeilToMap(std::int64_t w, float zoom);

// The map pixels [map, map + mapSize) along one axis that a window of `windowSize` pixels
// scrolled to `scroll` shows, and the logical window span [window, window + windowSize) they
// cover at the zoom (it may start before the scroll position and end after the window).
struct MapSpan {
    int map = 0, mapSize = 0;
    int window = 0, windowSize = 0;
};
MapSpan VisibleMapSpan(int scroll, int windowSize, float zoom);

// The largest zoom step from `minZoom` to `maxZoom` (powers of two) at which a map of
// mapWidth x mapHeight needs no scrolling in a window of windowWidth x windowHeight: its zoomed
// size, trunc(side * zoom), fits. `minZoom` when even that one does not fit.
float FitZoom(int mapWidth, int mapHeight, int windowWidth, int windowHeight, float minZoom,
              float maxZoom);

}  // namespace zk
