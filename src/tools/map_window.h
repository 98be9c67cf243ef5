// How map pixels and window pixels meet at a zoom: the one mapping the view, its scroll ranges,
// its repaints and every tool's marks use. Map coordinate v shows at logical window coordinate
// trunc(v * zoom); logical window coordinate w shows map pixel floor(w / zoom). Zooms are powers
// of two, so every product and quotient here is exact.
#pragma once

#include "gdi/types.h"

namespace zk {

// trunc(v * zoom): where a map coordinate shows on the window (logical, before the scroll).
int ToWindow(int v, float zoom);
gdi::Point ToWindow(gdi::Point p, float zoom);
// Each edge mapped on its own, so a box's marks and its repaint area agree to the pixel.
gdi::Rect ToWindow(const gdi::Rect& r, float zoom);

// trunc(w / zoom): the map point a pointer at logical window coordinate w names (toward zero, so
// a pointer left of or above the map during a drag stays near its edge).
int ToMap(int w, float zoom);
// floor(w / zoom) and ceil(w / zoom): the map pixel a window pixel shows, and the first map pixel
// whose edge lies at or after w.
int FloorToMap(int w, float zoom);
int CeilToMap(int w, float zoom);

// The map pixels [map, map + mapSize) along one axis that a window of `windowSize` pixels
// scrolled to `scroll` shows, and the logical window span [window, window + windowSize) they
// cover at the zoom (it may start before the scroll position and end after the window).
struct MapSpan {
    int map = 0, mapSize = 0;
    int window = 0, windowSize = 0;
};
MapSpan VisibleMapSpan(int scroll, int windowSize, float zoom);

}  // namespace zk
