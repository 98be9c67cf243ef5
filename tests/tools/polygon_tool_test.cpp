#include "tools/polygon_tool.h"

#include <gtest/gtest.h>

#include "shape_test_support.h"

namespace {

using zk::ToolSettings;
using zk_test::ExpectOutcomes;
using zk_test::kBlue;
using zk_test::kGreen;
using zk_test::kYellow;
using zk_test::Outcome;
using zk_test::ShapeHarness;
using zk_test::Shows;

struct Polygon : ShapeHarness {
    Polygon() : ShapeHarness(zk::kPolygonTool) {}
    const std::vector<gdi::Point>& Vertices() const { return view->m_polygonTool.m_vertices; }
};

// The quadrilateral (2,2) (12,3) (10,11) (3,9), closed by a click at (3,3), over blue, grid
// step 4. The pictures show the widest outline and a pixel around it; nothing outside them
// changes.
TEST(PolygonTool, OutcomeByFillAndLineSize) {
    const Outcome cells[] = {
        {5,
         {0},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbooooooooobb",  //
          "bbbooooooooobb",  //
          "bbbooooooooobb",  //
          "bbbooooooooobb",  //
          "bbboooooooobbb",  //
          "bbboooooooobbb",  //
          "bbboooooooobbb",  //
          "bbbbbbboooobbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb"}},
        {5,
         {1},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bb######bbbbbb",  //
          "bb#ooooo#####b",  //
          "bb#ooooooooo#b",  //
          "bb#oooooooo#bb",  //
          "bbb#ooooooo#bb",  //
          "bbb#ooooooo#bb",  //
          "bbb#ooooooo#bb",  //
          "bbb##ooooo#bbb",  //
          "bbbbb####o#bbb",  //
          "bbbbbbbbb##bbb",  //
          "bbbbbbbbbbbbbb"}},
        {5,
         {2},
         {"bbbbbbbbbbbbbb",  //
          "b##bbbbbbbbbbb",  //
          "b############b",  //
          "bb###########b",  //
          "bb##ooooooo##b",  //
          "bb##ooooooo##b",  //
          "bb##ooooooo##b",  //
          "bb##oooooo###b",  //
          "bb##oooooo##bb",  //
          "bb######oo##bb",  //
          "bbb#########bb",  //
          "bbbbbbb#####bb",  //
          "bbbbbbbbbbbbbb"}},
        {0,
         {0},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbrrrrrrrrrbb",  //
          "bbbrrrrrrrrrbb",  //
          "bbbrrrrrrrrrbb",  //
          "bbbrrrrrrrrrbb",  //
          "bbbrrrrrrrrbbb",  //
          "bbbrrrrrrrrbbb",  //
          "bbbrrrrrrrrbbb",  //
          "bbbbbbbrrrrbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb"}},
        {0,
         {1},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bb######bbbbbb",  //
          "bb#bbbbb#####b",  //
          "bb#bbbbbbbbb#b",  //
          "bb#bbbbbbbb#bb",  //
          "bbb#bbbbbbb#bb",  //
          "bbb#bbbbbbb#bb",  //
          "bbb#bbbbbbb#bb",  //
          "bbb##bbbbb#bbb",  //
          "bbbbb####b#bbb",  //
          "bbbbbbbbb##bbb",  //
          "bbbbbbbbbbbbbb"}},
        {0,
         {2},
         {"bbbbbbbbbbbbbb",  //
          "b##bbbbbbbbbbb",  //
          "b############b",  //
          "bb###########b",  //
          "bb##bbbbbbb##b",  //
          "bb##bbbbbbb##b",  //
          "bb##bbbbbbb##b",  //
          "bb##bbbbbb###b",  //
          "bb##bbbbbb##bb",  //
          "bb######bb##bb",  //
          "bbb#########bb",  //
          "bbbbbbb#####bb",  //
          "bbbbbbbbbbbbbb"}},
        {8,
         {0, 1},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bb######bbbbbb",  //
          "bb#.#...#####b",  //
          "bb###########b",  //
          "bb#.#...#..#bb",  //
          "bbb##...#..#bb",  //
          "bbb##...#..#bb",  //
          "bbb#########bb",  //
          "bbb##...#.#bbb",  //
          "bbbbb####.#bbb",  //
          "bbbbbbbbb##bbb",  //
          "bbbbbbbbbbbbbb"}},
        {8,
         {2},
         {"bbbbbbbbbbbbbb",  //
          "b##bbbbbbbbbbb",  //
          "b############b",  //
          "bb###########b",  //
          "bb###########b",  //
          "bb###...#..##b",  //
          "bb###...#..##b",  //
          "bb###...#.###b",  //
          "bb##########bb",  //
          "bb#######.##bb",  //
          "bbb#########bb",  //
          "bbbbbbb#####bb",  //
          "bbbbbbbbbbbbbb"}},
    };
    ExpectOutcomes<Polygon>(cells, {0, 0, 15, 14}, {0, 0, 14, 13}, [](Polygon& h) {
        for (const gdi::Point p : {gdi::Point{2, 2}, {12, 3}, {10, 11}, {3, 9}, {3, 3}})
            h.Click(p.x, p.y);
        EXPECT_TRUE(h.Vertices().size() == 4u && h.view->m_polygonTool.HasWorkToCommit());
        h.Paint();
        EXPECT_TRUE(h.Vertices().empty());
    });
}

TEST(PolygonTool, CrossingEdgesAreFilledByTheWindingRule) {
    Polygon h;
    ToolSettings::fill = 5;
    ToolSettings::line = 0;
    // A figure eight: both loops.
    for (const gdi::Point p : {gdi::Point{2, 2}, {30, 30}, {30, 2}, {2, 30}, {3, 3}})
        h.Click(p.x, p.y);
    // A five-pointed star drawn with crossing edges: its centre winds twice and is filled too.
    for (const gdi::Point p :
         {gdi::Point{60, 45}, {69, 72}, {46, 55}, {74, 55}, {51, 72}, {60, 46}})
        h.Click(p.x, p.y);
    h.Paint();
    EXPECT_EQ(h.Map(8, 16), kGreen);
    EXPECT_EQ(h.Map(24, 16), kGreen);
    EXPECT_EQ(h.Map(16, 8), gdi::kWhite);
    EXPECT_EQ(h.Map(16, 24), gdi::kWhite);
    EXPECT_EQ(h.Map(60, 60), kGreen) << "the star's centre";
    EXPECT_EQ(h.Map(60, 48), kGreen);
    EXPECT_EQ(h.Map(60, 75), gdi::kWhite);
}

TEST(PolygonTool, AClickWithinFourPixelsOfTheFirstVertexClosesAfterSnapping) {
    Polygon h;
    for (const gdi::Point p : {gdi::Point{10, 10}, {40, 10}, {40, 40}})
        h.Click(p.x, p.y);
    h.Click(15, 14);  // 5 away in x: a vertex of its own
    EXPECT_EQ(h.Vertices().size(), 4u);
    h.Click(14, 6);  // 4 away in both: closes, adds nothing
    EXPECT_EQ(h.Vertices().size(), 4u);
    EXPECT_TRUE(h.view->m_polygonTool.HasWorkToCommit());
    h.Paint();
    EXPECT_TRUE(h.Vertices().empty());

    // With snapping on it is the snapped click that must come near: 20 is 4 from 16 but snaps to
    // 24 on a grid of 8.
    h.view->m_gridOn = 1;
    ToolSettings::grid = 8;
    for (const gdi::Point p : {gdi::Point{16, 16}, {60, 16}, {60, 60}})
        h.Click(p.x, p.y);
    h.Click(20, 16);
    EXPECT_EQ(h.Vertices().size(), 4u);
    EXPECT_EQ(h.Vertices().back(), (gdi::Point{24, 16}));
    h.Click(19, 13);  // snaps onto (16, 16)
    EXPECT_TRUE(h.view->m_polygonTool.HasWorkToCommit());
}

TEST(PolygonTool, RightClicksTakeBackVerticesAndARightDoubleClickAbandonsThePolygon) {
    Polygon h;
    for (const gdi::Point p : {gdi::Point{10, 10}, {50, 10}, {50, 50}})
        h.Click(p.x, p.y);
    h.Click(80, 80, Qt::RightButton);
    EXPECT_EQ(h.Vertices().size(), 2u);
    h.Move(30, 70);
    h.Paint();
    EXPECT_EQ(h.Window(30, 10), kYellow) << "the open polyline";
    EXPECT_EQ(h.Window(50, 30), gdi::kWhite) << "the vertex taken back still shows";
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 100, 100), 0);

    // A double-click's first press takes back a vertex, the double-click the rest.
    h.Press(30, 70, Qt::RightButton);
    h.Release(30, 70, Qt::RightButton);
    h.DoubleClick(30, 70, Qt::RightButton);
    h.Release(30, 70, Qt::RightButton);
    EXPECT_TRUE(h.Vertices().empty());
    h.Paint();
    EXPECT_EQ(h.CountWindow(kYellow, 0, 0, 100, 100), 0);
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 100, 100), 100 * 100);

    // The right button starts a polygon with the secondary fill; a right click on its only
    // vertex empties it.
    h.Click(20, 20, Qt::RightButton);
    EXPECT_EQ(h.Vertices().size(), 1u);
    EXPECT_EQ(h.view->m_polygonTool.m_primaryButton, 0);
    h.Click(20, 20, Qt::RightButton);
    EXPECT_TRUE(h.Vertices().empty());
}

TEST(PolygonTool, ADoubleClickAddsOneVertexAndOneUndoTakesBackThePolygon) {
    Polygon h;
    ToolSettings::fill = 5;
    const gdi::Bitmap before = h.doc.m_bitmap;
    h.Click(10, 10);
    h.Click(50, 10);
    h.DoubleClick(50, 10, Qt::LeftButton);
    h.Release(50, 10);
    EXPECT_EQ(h.Vertices().size(), 2u);
    h.Click(50, 50);
    h.Paint();
    h.Click(10, 12);
    h.Paint();
    ASSERT_EQ(h.Map(40, 20), kGreen);
    h.doc.OnEditUndo();
    EXPECT_TRUE(zk_test::SameBitmap(before, h.doc.m_bitmap));
}

TEST(PolygonTool, GridFloorGetsItsLinesAtZeroToo) {
    Polygon h;
    ToolSettings::fill = 8;
    for (const gdi::Point p : {gdi::Point{0, 0}, {20, 0}, {0, 20}, {1, 1}})
        h.Click(p.x, p.y);
    h.Paint();
    EXPECT_EQ(h.Map(0, 10), gdi::kBlack);
    EXPECT_EQ(h.Map(10, 0), gdi::kBlack);
    EXPECT_EQ(h.Map(4, 6), gdi::kBlack);
    EXPECT_EQ(h.Map(6, 6), gdi::kWhite);
    EXPECT_EQ(h.Map(15, 15), gdi::kWhite) << "outside the triangle";
}

}  // namespace
