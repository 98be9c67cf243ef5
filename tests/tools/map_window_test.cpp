#include "tools/map_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

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
        // The largest map side at the largest zoom, and the smallest zoom's blocks.
        {32.0f, 65535, 2097120, 2047, 2047, 2048},
        {1.0f / 64, 65535, 1023, 4194240, 4194240, 4194240},
        {1.0f / 64, -65, -1, -4160, -4160, -4160},
        {32.0f, -1, -32, 0, -1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToWindow(c.v, c.zoom), c.window) << c.v << " at " << c.zoom;
        EXPECT_EQ(ToMap(c.v, c.zoom), c.map) << c.v << " at " << c.zoom;
        EXPECT_EQ(FloorToMap(c.v, c.zoom), c.low) << c.v << " at " << c.zoom;
        EXPECT_EQ(CeilToMap(c.v, c.zoom), c.high) << c.v << " at " << c.zoom;
    }
    // Products and quotients no int can hold stay at the int's limits instead of wrapping.
    EXPECT_EQ(ToWindow(std::int64_t{1} << 40, 32.0f), INT_MAX);
    EXPECT_EQ(ToWindow(-(std::int64_t{1} << 40), 32.0f), INT_MIN);
    EXPECT_EQ(ToWindow(gdi::Rect{-(1 << 30), 0, 1 << 30, 1}, 32.0f),
              (gdi::Rect{INT_MIN, 0, INT_MAX, 32}));
    EXPECT_EQ(ToMap(INT_MAX, 1.0f / 64), INT_MAX);
    EXPECT_EQ(FloorToMap(INT_MIN, 1.0f / 64), INT_MIN);
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
        {1.0f / 64, 3, 5, {192, 320, 3, 5}},
        {32.0f, 40, 100, {1, 4, 32, 128}},
        // The end of the largest scroll range: a 65535-pixel side at 32.
        {32.0f, 2096120, 1000, {65503, 32, 2096096, 1024}},
    };
    for (const Case& c : cases) {
        const zk::MapSpan s = zk::VisibleMapSpan(c.scroll, c.windowSize, c.zoom);
        EXPECT_EQ(s.map, c.span.map) << c.zoom << " " << c.scroll;
        EXPECT_EQ(s.mapSize, c.span.mapSize) << c.zoom << " " << c.scroll;
        EXPECT_EQ(s.window, c.span.window) << c.zoom << " " << c.scroll;
        EXPECT_EQ(s.windowSize, c.span.windowSize) << c.zoom << " " << c.scroll;
    }
}

// Zoom steps from 1/64 to 32 as "fit in window" takes them: the largest whose zoomed map,
// trunc(side * zoom) on each side, needs no scrolling.
TEST(MapWindow, TheFittingZoomIsTheLargestStepAtWhichTheMapNeedsNoScrolling) {
    struct Case {
        int mapW, mapH, windowW, windowH;
        float zoom;
    };
    const Case cases[] = {
        {16384, 16384, 1000, 700, 1.0f / 32},
        {672, 944, 300, 200, 0.125f},
        {640, 480, 640, 480, 1.0f},
        {641, 480, 640, 480, 0.5f},
        {640, 481, 640, 480, 0.5f},
        {10, 10, 300, 200, 16.0f},
        {1, 1, 300, 200, 32.0f},
        // A last block that is only partly there takes no window pixel.
        {33, 1, 16, 1, 0.5f},
        {1087, 1, 16, 1, 1.0f / 64},
        // Too large even at the smallest step, or no window at all: the smallest step.
        {65535, 4096, 800, 600, 1.0f / 64},
        {100, 100, 0, 0, 1.0f / 64},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zk::FitZoom(c.mapW, c.mapH, c.windowW, c.windowH, 1.0f / 64, 32.0f), c.zoom)
            << c.mapW << " x " << c.mapH << " in " << c.windowW << " x " << c.windowH;
}

}  // namespace
