#include "tools/ellipse_tool.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

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

// The box [2, 13) x [2, 11) dragged from its top-right corner, over blue, grid step 4. The
// pictures show the widest outline and a pixel around it; nothing outside them changes.
TEST(EllipseTool, OutcomeByFillAndLineSize) {
    const Outcome cells[] = {
        {5,
         {0},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbooooobbbb",  //
          "bbbbooooooobbb",  //
          "bbbooooooooobb",  //
          "bbooooooooooob",  //
          "bbooooooooooob",  //
          "bbooooooooooob",  //
          "bbbooooooooobb",  //
          "bbbbooooooobbb",  //
          "bbbbbooooobbbb",  //
          "bbbbbbbbbbbbbb"}},
        {5,
         {1},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbb#####bbbb",  //
          "bbbb#ooooo#bbb",  //
          "bbb#ooooooo#bb",  //
          "bb#ooooooooo#b",  //
          "bb#ooooooooo#b",  //
          "bb#ooooooooo#b",  //
          "bbb#ooooooo#bb",  //
          "bbbb#ooooo#bbb",  //
          "bbbbb#####bbbb",  //
          "bbbbbbbbbbbbbb"}},
        {5,
         {2},
         {"bbbbbbbbbbbbbb",  //
          "bbbb######bbbb",  //
          "bbb########bbb",  //
          "bb####oo####bb",  //
          "b####oooo####b",  //
          "b###oooooo###b",  //
          "b##oooooooo##b",  //
          "b###oooooo###b",  //
          "b####oooo####b",  //
          "bb##########bb",  //
          "bbb########bbb",  //
          "bbbbbbbbbbbbbb"}},
        {0,
         {0},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb"}},
        {0,
         {1},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbb#####bbbb",  //
          "bbbb#bbbbb#bbb",  //
          "bbb#bbbbbbb#bb",  //
          "bb#bbbbbbbbb#b",  //
          "bb#bbbbbbbbb#b",  //
          "bb#bbbbbbbbb#b",  //
          "bbb#bbbbbbb#bb",  //
          "bbbb#bbbbb#bbb",  //
          "bbbbb#####bbbb",  //
          "bbbbbbbbbbbbbb"}},
        {0,
         {2},
         {"bbbbbbbbbbbbbb",  //
          "bbbb######bbbb",  //
          "bbb########bbb",  //
          "bb####bb####bb",  //
          "b####bbbb####b",  //
          "b###bbbbbb###b",  //
          "b##bbbbbbbb##b",  //
          "b###bbbbbb###b",  //
          "b####bbbb####b",  //
          "bb##########bb",  //
          "bbb########bbb",  //
          "bbbbbbbbbbbbbb"}},
        {8,
         {0},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbb...#.bbbb",  //
          "bbbb#...#..bbb",  //
          "bbb#########bb",  //
          "bb..#...#...#b",  //
          "bb..#...#...#b",  //
          "bb..#...#...#b",  //
          "bbb#########bb",  //
          "bbbb#...#..bbb",  //
          "bbbbb...#.bbbb",  //
          "bbbbbbbbbbbbbb"}},
        {8,
         {1},
         {"bbbbbbbbbbbbbb",  //
          "bbbbbbbbbbbbbb",  //
          "bbbbb#####bbbb",  //
          "bbbb#...#.#bbb",  //
          "bbb#########bb",  //
          "bb#.#...#...#b",  //
          "bb#.#...#...#b",  //
          "bb#.#...#...#b",  //
          "bbb#########bb",  //
          "bbbb#...#.#bbb",  //
          "bbbbb#####bbbb",  //
          "bbbbbbbbbbbbbb"}},
        {8,
         {2},
         {"bbbbbbbbbbbbbb",  //
          "bbbb######bbbb",  //
          "bbb########bbb",  //
          "bb####..####bb",  //
          "b############b",  //
          "b####...#.###b",  //
          "b##.#...#..##b",  //
          "b####...#.###b",  //
          "b############b",  //
          "bb##########bb",  //
          "bbb########bbb",  //
          "bbbbbbbbbbbbbb"}},
    };
    ExpectOutcomes<ShapeHarness>(
        cells, {0, 0, 15, 13}, {0, 0, 14, 12},
        [](ShapeHarness& h) {
            h.Drag(12, 2, 2, 10);
            h.Paint();
        },
        zk::kEllipseTool);
}

TEST(EllipseTool, GridFloorGetsItsLineAtZeroAndLeavesTheBoxCornersAlone) {
    ShapeHarness h(zk::kEllipseTool);
    h.FillMap(0, 0, 20, 20, kBlue);
    ToolSettings::fill = 8;
    h.Drag(0, 0, 12, 8);
    h.Paint();
    EXPECT_EQ(h.Map(0, 4), gdi::kBlack) << "no line at x = 0";
    EXPECT_EQ(h.Map(6, 0), gdi::kBlack) << "no line at y = 0";
    EXPECT_EQ(h.Map(2, 2), gdi::kWhite);
    EXPECT_EQ(h.Map(4, 2), gdi::kBlack);
    for (const auto& [x, y] : {std::pair{0, 0}, {12, 0}, {0, 8}, {12, 8}, {13, 4}})
        EXPECT_EQ(h.Map(x, y), kBlue) << x << "," << y;
}

TEST(EllipseTool, TheYellowEllipseLiesWhereTheOutlineLands) {
    ShapeHarness h(zk::kEllipseTool);
    ToolSettings::fill = 0;
    ToolSettings::line = 1;
    h.Move(40, 10);
    h.Press(40, 10);
    h.Move(10, 31, Qt::LeftButton);
    h.Paint();
    std::set<std::pair<int, int>> mark, outline;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            if (h.Window(x, y) == kYellow)
                mark.insert({x, y});
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 50, 50), 0);
    h.Release(10, 31);
    h.Paint();
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            if (h.Map(x, y) == gdi::kBlack)
                outline.insert({x, y});
    EXPECT_FALSE(outline.empty());
    EXPECT_EQ(mark, outline);
}

// A tool whose off-screen image for the grid floor cannot be made, until told otherwise.
struct NoMemoryEllipse : zk::EllipseTool {
    bool fail = true;
    gdi::Bitmap MakeFloorImage(int w, int h, int bpp) const override {
        return fail ? gdi::Bitmap() : zk::EllipseTool::MakeFloorImage(w, h, bpp);
    }
};

TEST(EllipseTool, WithoutTheFloorImageTheMapStaysAsItWasAndTheWorkWaits) {
    ShapeHarness h(zk::kEllipseTool);  // a view for the repaints
    NoMemoryEllipse tool;
    ToolSettings::fill = 8;
    ToolSettings::line = 1;
    gdi::Bitmap map(30, 30, 32, kGreen);
    const gdi::Bitmap before = map;
    gdi::DC dc(&map);
    tool.OnMouseMove(0, 5, 5);
    tool.OnLButtonDown(0, 5, 5);
    tool.OnMouseMove(0, 20, 18);
    tool.OnLButtonUp(0, 20, 18);
    tool.CommitToMap(dc);
    EXPECT_TRUE(zk_test::SamePixels(before, map));
    EXPECT_TRUE(tool.HasWorkToCommit());
    tool.fail = false;
    tool.CommitToMap(dc);
    EXPECT_FALSE(tool.HasWorkToCommit());
    EXPECT_EQ(map.GetPixel(13, 10), gdi::kWhite);
    EXPECT_EQ(map.GetPixel(13, 12), gdi::kBlack);  // a grid row
    EXPECT_EQ(map.GetPixel(5, 5), kGreen);
}

}  // namespace
