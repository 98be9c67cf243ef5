// Zooming and scrolling with the wheel and the zoom commands: the map pixel under the pointer (or
// the window's centre) stays where it is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <cmath>
#include <vector>

#include "doc/pattern_library.h"
#include "support/picture.h"
#include "view_harness.h"

namespace {

using zk::CZKView;
using zk::ToolSettings;
using zk_test::ViewHarness;

struct AnchorCase {
    float zoom;
    int scrollX, scrollY;
    QPoint pointer;
    int notches;  // + zooms in, - out
    float zoomAfter;
    bool held;  // whether the scroll range lets the map pixel stay under the pointer
};

// Below zoom 1 a window pixel covers 1/zoom map pixels: after a change of zoom, the window pixel
// that showed map pixel `before` shows the first of those that is not before it.
::testing::AssertionResult StaysUnder(gdi::Point before, gdi::Point after, float zoom) {
    const int spread = zoom < 1 ? static_cast<int>(1 / zoom) : 1;
    if (after.x >= before.x && after.x < before.x + spread && after.y >= before.y &&
        after.y < before.y + spread)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << before.x << "," << before.y << " became " << after.x
                                         << "," << after.y << " (spread " << spread << ")";
}

TEST(MapViewZoom, CtrlWheelKeepsTheMapPixelUnderThePointer) {
    // A 672 x 944 map in a 300 x 200 window.
    const AnchorCase cases[] = {
        {1, 0, 0, {150, 100}, 1, 2, true},
        {1, 100, 50, {10, 190}, 1, 2, true},
        {2, 333, 201, {299, 0}, 1, 4, true},
        {4, 1000, 2000, {37, 141}, 1, 8, true},
        {1, 0, 0, {0, 0}, 3, 8, true},
        {2, 401, 333, {77, 99}, -1, 1, true},
        {1, 60, 300, {31, 101}, -1, 0.5f, true},
        {8, 4000, 6000, {250, 20}, -2, 2, true},
        {8, 4000, 6000, {250, 20}, 2, 32, true},
        {1.0f / 32, 0, 0, {10, 15}, -1, 1.0f / 64, false},
        {32, 0, 0, {5, 5}, 1, 32, true},  // at the limits nothing moves
        {1.0f / 64, 0, 0, {5, 5}, -1, 1.0f / 64, true},
        // Zooming out near the map's left and top edges: the map cannot start right of the
        // window's edge, so the view stops at the map's corner.
        {1, 0, 0, {299, 199}, -1, 0.5f, false},
    };
    for (const AnchorCase& c : cases) {
        ViewHarness h;
        h.view->m_gridOn = 0;
        h.ZoomTo(c.zoom, c.scrollX, c.scrollY);
        ASSERT_EQ(h.view->horizontalScrollBar()->value(), c.scrollX) << "set-up";
        const gdi::Point before = h.view->WindowToMap(c.pointer.x(), c.pointer.y());
        for (int i = 0; i < std::abs(c.notches); ++i)
            h.Wheel(c.pointer.x(), c.pointer.y(), {0, c.notches > 0 ? 120 : -120},
                    Qt::ControlModifier);
        const gdi::Point after = h.view->WindowToMap(c.pointer.x(), c.pointer.y());
        const std::string what = "zoom " + std::to_string(c.zoom) + " pointer " +
                                 std::to_string(c.pointer.x()) + "," +
                                 std::to_string(c.pointer.y());
        EXPECT_EQ(ToolSettings::zoom, c.zoomAfter) << what;
        if (!c.held) {
            EXPECT_EQ(h.view->horizontalScrollBar()->value(), 0) << what;
            EXPECT_EQ(h.view->verticalScrollBar()->value(), 0) << what;
            continue;
        }
        EXPECT_TRUE(StaysUnder(before, after, c.zoomAfter)) << what;
    }
}

TEST(MapViewZoom, TheWheelScrollsDownSidewaysWithShiftAndZoomsWithCtrl) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        QPoint delta;
        bool across, down, zoomed;
    };
    const Case cases[] = {
        {Qt::NoModifier, {0, -120}, false, true, false},
        {Qt::ShiftModifier, {0, -120}, true, false, false},
        {Qt::ControlModifier, {0, 120}, false, false, true},
        // A touchpad's small turns add up to one zoom step.
        {Qt::ControlModifier, {0, 40}, false, false, false},
    };
    for (const Case& c : cases) {
        ViewHarness h;
        h.ZoomTo(1);
        h.Wheel(0, 0, c.delta, c.modifiers);
        EXPECT_EQ(h.view->horizontalScrollBar()->value() > 0, c.across) << c.modifiers;
        EXPECT_EQ(h.view->verticalScrollBar()->value() > 0, c.down) << c.modifiers;
        EXPECT_EQ(ToolSettings::zoom != 1.0f, c.zoomed) << c.modifiers;
    }
    ViewHarness h;
    for (int i = 0; i < 3; ++i)
        h.Wheel(10, 10, {0, 40}, Qt::ControlModifier);
    EXPECT_EQ(ToolSettings::zoom, 2.0f);
}

TEST(MapViewZoom, ADragGoingOnWhileTheWheelZoomsStampsOnlyUnderThePointer) {
    ViewHarness h;
    h.Select(zk::kTilesTool);
    ToolSettings::fill = 10;
    const gdi::Bitmap saved = zk::g_patternLibrary.m_brushes[10];
    zk::g_patternLibrary.m_brushes[10] = gdi::Bitmap(8, 8, 32, gdi::kBlack);
    h.Move(100, 100);
    h.Press(100, 100);
    h.Wheel(100, 100, {0, 120}, Qt::ControlModifier);
    h.Paint();
    h.Release(100, 100);
    // The press's tile at (96, 96) is the only one: the zoom kept the pointer over that cell.
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 400, 400), 16 * 16);
    EXPECT_EQ(h.Map(100, 100), gdi::kBlack);
    zk::g_patternLibrary.m_brushes[10] = saved;
}

// "Celá mapa": the largest step at which the whole map shows without scroll bars, or the
// smallest step when none does. "Skutečná velikost": zoom 1 around the window's centre.
TEST(MapViewZoom, FitShowsTheWholeMapAndActualSizeKeepsTheCentre) {
    struct FitCase {
        int mapW, mapH, windowW, windowH;
        float zoomBefore;
        float fit;
    };
    const FitCase fits[] = {
        {672, 944, 300, 200, 1, 0.125f},
        {672, 944, 300, 200, 32, 0.125f},
        {4000, 300, 300, 200, 1, 1.0f / 16},
        {20, 10, 300, 200, 1, 8},
        {5, 5, 300, 200, 1.0f / 64, 32},
        {300, 200, 300, 200, 0.5f, 1},
        {301, 200, 300, 200, 1, 0.5f},
        {3000, 2100, 1000, 700, 4, 0.25f},
        // Too wide even at 1/64: the smallest step, still scrolling.
        {40000, 100, 300, 200, 1, 1.0f / 64},
    };
    for (const FitCase& c : fits) {
        ViewHarness h(c.windowW, c.windowH);
        h.view->m_gridOn = 0;
        h.doc.NewMap(c.mapW, c.mapH);
        h.ZoomTo(c.zoomBefore, 10000, 10000);
        h.view->OnZoomFit();
        const std::string what = std::to_string(c.mapW) + " x " + std::to_string(c.mapH) + " in " +
                                 std::to_string(c.windowW) + " x " + std::to_string(c.windowH);
        EXPECT_EQ(ToolSettings::zoom, c.fit) << what;
        const bool fitsAtAll = c.fit > ToolSettings::kMinZoom || c.mapW / 64 <= c.windowW;
        if (fitsAtAll) {
            EXPECT_EQ(h.view->horizontalScrollBar()->maximum(), 0) << what;
            EXPECT_EQ(h.view->verticalScrollBar()->maximum(), 0) << what;
            EXPECT_EQ(h.view->viewport()->size(), QSize(c.windowW, c.windowH)) << what;
        }
    }

    // The zoom commands keep the window's centre: a 2000 x 1500 map in a 300 x 200 window, to
    // actual size from far out, close up and the largest step, and in and out a step.
    struct CentreCase {
        float zoom;
        int scrollX, scrollY;
        void (CZKView::*command)();
        float zoomAfter;
    };
    const CentreCase centres[] = {
        {0.25f, 10, 30, &CZKView::OnZoomActual, 1}, {0.5f, 100, 200, &CZKView::OnZoomActual, 1},
        {4, 1000, 2000, &CZKView::OnZoomActual, 1}, {32, 10000, 20000, &CZKView::OnZoomActual, 1},
        {1, 50, 60, &CZKView::OnZoomActual, 1},     {2, 300, 500, &CZKView::OnZoomIn, 4},
        {2, 300, 500, &CZKView::OnZoomOut, 1},
    };
    for (const CentreCase& c : centres) {
        ViewHarness h;
        h.view->m_gridOn = 0;
        h.doc.NewMap(2000, 1500);
        h.ZoomTo(c.zoom, c.scrollX, c.scrollY);
        const QPoint centre = h.view->viewport()->rect().center();
        const gdi::Point before = h.view->WindowToMap(centre.x(), centre.y());
        (h.view.get()->*c.command)();
        EXPECT_EQ(ToolSettings::zoom, c.zoomAfter) << c.zoom;
        // Far out the centre's window pixel covers several map pixels: it now shows the first.
        EXPECT_TRUE(StaysUnder(before, h.view->WindowToMap(centre.x(), centre.y()), c.zoom))
            << c.zoom;
    }
}

// Whatever a tool does at any zoom, the parts of the window it asks to repaint are enough: after
// every step of a gesture the window, repainted only there, looks as a repaint of the whole
// window would. Far out a map pixel is a sixty-fourth of a window pixel, and a mark's or a
// stroke's box can round to nothing.
TEST(MapViewZoom, AtEveryZoomWhatAToolRepaintsIsWhatAWholeRepaintShows) {
    struct Points {
        float zoom;
        std::vector<QPoint> path;  // the press, two moves with the button held, a move after
    };
    // At 1/64 a 2000 x 1300 map covers only 31 x 20 window pixels.
    const Points zooms[] = {
        {1.0f / 64, {{5, 5}, {25, 15}, {28, 6}, {10, 18}}},
        {1.0f / 8, {{20, 20}, {150, 120}, {250, 40}, {60, 170}}},
        {1.0f, {{20, 20}, {150, 120}, {250, 40}, {60, 170}}},
        {32.0f, {{20, 20}, {150, 120}, {250, 40}, {60, 170}}},
    };
    // A symbol that shows.
    const gdi::Bitmap saved = zk::g_patternLibrary.m_symbols[0];
    zk::g_patternLibrary.m_symbols[0] = gdi::Bitmap(16, 16, 32, gdi::kBlack);
    for (int kind = zk::kTilesTool; kind <= zk::kLinesTool; ++kind)
        for (const Points& z : zooms) {
            ViewHarness h;
            h.SkipHistoryCheck();  // a whole copy at every press: not what is tested here
            h.doc.NewMap(2000, 1300);
            h.view->m_textTool.m_askText = [](std::string& text, gdi::LogFont&) {
                text = "Ab";
                return true;
            };
            h.Select(kind);
            h.ZoomTo(z.zoom, z.zoom > 1 ? 50000 : 0, z.zoom > 1 ? 30000 : 0);
            const std::vector<QPoint>& p = z.path;
            int step = 0;
            const auto expectRepainted = [&] {
                QApplication::processEvents();
                const gdi::Bitmap repainted = h.view->WindowPicture();
                h.Paint();
                QApplication::processEvents();
                EXPECT_TRUE(zk_test::SamePixels(h.view->WindowPicture(), repainted))
                    << "tool " << kind << " at zoom " << z.zoom << ", step " << step;
                ++step;
            };
            h.Move(p[0].x(), p[0].y());
            h.Paint();
            expectRepainted();
            h.Press(p[0].x(), p[0].y());
            expectRepainted();
            h.Move(p[1].x(), p[1].y(), Qt::LeftButton);
            expectRepainted();
            h.Move(p[2].x(), p[2].y(), Qt::LeftButton);
            expectRepainted();
            h.Release(p[2].x(), p[2].y());
            expectRepainted();
            h.Move(p[3].x(), p[3].y());
            expectRepainted();
        }
    zk::g_patternLibrary.m_symbols[0] = saved;
}

}  // namespace
