// Escape, paste placement and grid dots: where the view meets what the user looks at.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QScrollBar>
#include <functional>
#include <vector>

#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::CZKView;
using zk::ToolSettings;
using zk_test::ViewHarness;

struct Harness : ViewHarness {
    Harness() : ViewHarness(300, 200) { view->m_gridOn = 0; }
};

TEST(MapViewEscape, GivesUpUnfinishedWorkAndLeavesTheMapAlone) {
    struct Case {
        const char* what;
        int tool;
        // Starts the work Escape must end; the button may still be held.
        std::function<void(Harness&)> begin;
        // What comes after Escape: the release of a held button.
        std::function<void(Harness&)> after;
    };
    const auto drag = [](Harness& h) {
        h.Move(20, 20);
        h.Press(20, 20);
        h.Move(60, 50, Qt::LeftButton);
    };
    const auto release = [](Harness& h) { h.Release(60, 50); };
    const auto none = [](Harness&) {};
    const Case cases[] = {
        {"rectangle band", zk::kRectangleTool, drag, release},
        {"ellipse band", zk::kEllipseTool, drag, release},
        {"lines band", zk::kLinesTool, drag, release},
        {"select band", zk::kSelectTool, drag, release},
        {"unclosed polygon", zk::kPolygonTool,
         [](Harness& h) {
             h.Click(20, 20);
             h.Click(60, 20);
             h.Click(60, 50);
         },
         none},
        {"following text", zk::kTextTool,
         [](Harness& h) {
             h.view->m_textTool.m_text = "Sklep";
             h.view->m_textTool.m_floating = 1;
             h.Move(30, 30);
         },
         [](Harness& h) { h.Move(40, 40); }},
    };
    for (const Case& c : cases) {
        Harness h;
        ToolSettings::fill = 5;
        ToolSettings::line = 2;
        h.Select(c.tool);
        const gdi::Bitmap before = h.doc.m_bitmap;
        c.begin(h);
        h.Paint();
        h.view->CancelToolWork();
        c.after(h);
        h.Paint();
        EXPECT_TRUE(zk_test::SameBitmap(before, h.doc.m_bitmap)) << c.what << ": the map changed";
        EXPECT_FALSE(h.doc.IsModified()) << c.what;
        // The lines tool's pointer cross stays; nothing of the band or shape does.
        EXPECT_LE(h.CountWindow(zk_test::kYellow, 0, 0, 300, 200),
                  c.tool == zk::kLinesTool || c.tool == zk::kTextTool ? 40 : 0)
            << c.what;
        EXPECT_EQ(h.view->m_polygonTool.m_vertices.size(), 0u) << c.what;
        EXPECT_EQ(h.view->m_textTool.m_floating, 0) << c.what;
        EXPECT_EQ(h.view->m_selectTool.m_hasSelection, 0) << c.what;
        EXPECT_EQ(h.view->m_selectTool.m_banding, 0) << c.what;
    }
}

TEST(MapViewEscape, AFloatingSelectionLandsWhereItFloats) {
    Harness h;
    h.Select(zk::kSelectTool);
    h.FillMap(10, 10, 20, 20, gdi::kBlack);
    h.Drag(10, 10, 20, 20);
    h.Paint();
    // Moved right by 30 while the button is held, then Escape.
    h.Move(12, 12);
    h.Press(12, 12);
    h.Move(42, 12, Qt::LeftButton);
    h.view->CancelToolWork();
    h.Release(42, 12);
    h.Paint();
    EXPECT_EQ(h.view->m_selectTool.GetFloatingBitmap(), nullptr);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 40, 10, 50, 20), 100);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 300, 200), 100);
    EXPECT_TRUE(h.doc.IsModified());
}

TEST(MapViewPaste, LandsUnderThePointerOrAtTheWindowsTopLeft) {
    struct Case {
        const char* what;
        float zoom;
        QPoint scroll;
        bool gridOn;
        std::optional<QPoint> pointer;  // over the window, or gone
        gdi::Point at;                  // the picture's top-left map point
        QPoint scrolledTo;
    };
    const Case cases[] = {
        {"pointer", 1.0f, {300, 500}, false, QPoint(50, 60), {350, 560}, {300, 500}},
        {"pointer on the grid", 1.0f, {300, 500}, true, QPoint(50, 60), {336, 560}, {300, 500}},
        // The grid point lies left of the window: the view follows it.
        {"pointer near the edge", 1.0f, {305, 500}, true, QPoint(2, 2), {304, 496}, {304, 496}},
        {"no pointer", 1.0f, {300, 500}, false, std::nullopt, {300, 500}, {300, 500}},
        {"no pointer zoomed", 2.0f, {301, 0}, true, std::nullopt, {151, 0}, {301, 0}},
    };
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (const Case& c : cases) {
        Harness h;
        QGuiApplication::clipboard()->setImage(picture);
        h.view->m_gridOn = c.gridOn;
        // The select tool's own last point is elsewhere.
        h.Select(zk::kSelectTool);
        h.Move(5, 5);
        h.Select(zk::kFreehandTool);
        h.ZoomTo(c.zoom, c.scroll.x(), c.scroll.y());
        if (c.pointer)
            h.Move(c.pointer->x(), c.pointer->y());
        else
            h.Leave();
        ASSERT_TRUE(h.view->OnEditPaste()) << c.what;
        const gdi::Rect& r = h.view->m_selectTool.m_selRect;
        EXPECT_EQ((gdi::Point{r.left, r.top}), c.at) << c.what;
        EXPECT_EQ(h.view->horizontalScrollBar()->value(), c.scrolledTo.x()) << c.what;
        EXPECT_EQ(h.view->verticalScrollBar()->value(), c.scrolledTo.y()) << c.what;
    }
}

TEST(MapViewGrid, DotsStandWhereTheGridLinesAreShown) {
    struct Case {
        int grid;
        float zoom;
        std::vector<int> first;  // the first dots from window column 0; empty: none at all
    };
    const Case cases[] = {
        {16, 1.0f, {0, 16, 32, 48}},
        {9, 0.5f, {0, 4, 9, 13, 18}},
        {5, 0.5f, {}},
        {1, 1.0f, {}},
        {4, 1.0f, {0, 4, 8}},
        {3, 1.0f, {}},
        {3, 2.0f, {0, 6, 12}},
        {8, 0.5f, {0, 4, 8}},
        {7, 0.5f, {}},
        {16, 0.125f, {}},
        {64, 0.125f, {0, 8, 16}},
        {1, 8.0f, {0, 8, 16}},
    };
    for (const Case& c : cases) {
        ToolSettings::grid = c.grid;
        ToolSettings::zoom = c.zoom;
        std::vector<int> dots = CZKView::GridDotPositions(0, 1000, 10000);
        // The first dots only; a case of none at all must have none.
        if (!c.first.empty())
            dots.resize(std::min(dots.size(), c.first.size()));
        EXPECT_EQ(dots, c.first) << "grid " << c.grid << " at zoom " << c.zoom;
    }
    // Inside a window span, and never past the map's edge.
    ToolSettings::grid = 9;
    ToolSettings::zoom = 0.5f;
    EXPECT_EQ(CZKView::GridDotPositions(10, 30, 10000), (std::vector<int>{13, 18, 22, 27}));
    EXPECT_EQ(CZKView::GridDotPositions(0, 1000, 37), (std::vector<int>{0, 4, 9, 13}));

    // The paint pass sets exactly those dots.
    Harness h;
    h.view->m_gridOn = 1;
    ToolSettings::grid = 9;
    h.ZoomTo(0.5f);
    h.Paint();
    std::vector<int> row;
    for (int x = 0; x < 30; ++x)
        if (h.Window(x, 22) == CZKView::kGridDotColor)
            row.push_back(x);
    EXPECT_EQ(row, (std::vector<int>{0, 4, 9, 13, 18, 22, 27}));
}

}  // namespace
