#include "tools/map_window.h"

#include <gtest/gtest.h>

namespace {

using zk::CeilToMap;
using zk::FloorToMap;
using zk::ToMap;
using zk::ToWindow;

TEST(MapWindow, MapAndWindowMeetByTruncationAndFloor) {
    struct Case {
        float zoom;
        int v;               // a map coordinate, and a window coordinate
        int window;          // trunc(v * zoom)
        int map, low, high;  // trunc, floor and ceil of v / zoom
    };
    const Case cases[] = {
        {1.0f, 37, 37, 37, 37, 37},
        {2.0f, 37, 74, 18, 18, 19},
        {8.0f, 5, 40, 0, 0, 1},
        {0.5f, 37, 18, 74, 74, 74},
        {0.125f, 37, 4, 296, 296, 296},
        {0.25f, 3, 0, 12, 12, 12},
        // Left of or above the map (a drag beyond the window): toward zero, or down.
        {2.0f, -3, -6, -1, -2, -1},
        {0.5f, -3, -1, -6, -6, -6},
        {4.0f, -1, -4, 0, -1, 0},
        {1.0f, 0, 0, 0, 0, 0},
        // The largest map side at the largest zoom still fits.
        {8.0f, 65535, 524280, 8191, 8191, 8192},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToWindow(c.v, c.zoom), c.window) << c.v << " at " << c.zoom;
        EXPECT_EQ(ToMap(c.v, c.zoom), c.map) << c.v << " at " << c.zoom;
        EXPECT_EQ(FloorToMap(c.v, c.zoom), c.low) << c.v << " at " << c.zoom;
        EXPECT_EQ(CeilToMap(c.v, c.zoom), c.high) << c.v << " at " << c.zoom;
    }
    // Points and rectangles map each coordinate on its own.
    EXPECT_EQ(ToWindow(gdi::Point{3, -5}, 0.5f), (gdi::Point{1, -2}));
    EXPECT_EQ(ToWindow(gdi::Rect{1, 2, 7, 9}, 0.5f), (gdi::Rect{0, 1, 3, 4}));
}

TEST(MapWindow, TheVisibleSpanCoversTheWindowWithWholeMapPixels) {
    struct Case {
        float zoom;
        int scroll, windowSize;
        zk::MapSpan span;
    };
    const Case cases[] = {
        {1.0f, 10, 100, {10, 100, 10, 100}},
        // Enlarged: the first pixel the scroll cuts into, and the last one the window reaches.
        {4.0f, 10, 100, {2, 26, 8, 104}},
        {8.0f, 0, 3, {0, 1, 0, 8}},
        // Shrunk: every map pixel a window pixel covers.
        {0.5f, 10, 101, {20, 202, 10, 101}},
        {0.125f, 3, 5, {24, 40, 3, 5}},
    };
    for (const Case& c : cases) {
        const zk::MapSpan s = zk::VisibleMapSpan(c.scroll, c.windowSize, c.zoom);
        EXPECT_EQ(s.map, c.span.map) << c.zoom << " " << c.scroll;
        EXPECT_EQ(s.mapSize, c.span.mapSize) << c.zoom << " " << c.scroll;
        EXPECT_EQ(s.window, c.span.window) << c.zoom << " " << c.scroll;
        EXPECT_EQ(s.windowSize, c.span.windowSize) << c.zoom << " " << c.scroll;
    }
}

}  // namespace
