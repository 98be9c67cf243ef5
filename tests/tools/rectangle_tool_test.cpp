#include "tools/rectangle_tool.h"

#include <gtest/gtest.h>

#include "shape_test_support.h"

namespace {

using zk::ToolSettings;
using zk_test::ExpectOutcomes;
using zk_test::kBlue;
using zk_test::kGreen;
using zk_test::kRed;
using zk_test::kYellow;
using zk_test::Outcome;
using zk_test::ShapeHarness;
using zk_test::Shows;

// The box [3, 9) x [3, 8) dragged from its bottom-right corner, over blue, grid step 4: brush 5
// (green) or the two special fills, line sizes 0, 1 and 3. The pictures show the widest outline
// and a pixel around it; nothing outside them changes.
TEST(RectangleTool, OutcomeByFillAndLineSize) {
    const Outcome cells[] = {
        {5,
         {0},
         {"bbbbbbbbbb",  //
          "bbbbbbbbbb",  //
          "bboooooobb",  //
          "bboooooobb",  //
          "bboooooobb",  //
          "bboooooobb",  //
          "bboooooobb",  //
          "bbbbbbbbbb",  //
          "bbbbbbbbbb"}},
        {5,
         {1},
         {"bbbbbbbbbb",  //
          "bbbbbbbbbb",  //
          "bb######bb",  //
          "bb#oooo#bb",  //
          "bb#oooo#bb",  //
          "bb#oooo#bb",  //
          "bb######bb",  //
          "bbbbbbbbbb",  //
          "bbbbbbbbbb"}},
        {5,
         {3},
         {"bbbbbbbbbb",  //
          "bb######bb",  //
          "b########b",  //
          "b########b",  //
          "b###oo###b",  //
          "b########b",  //
          "b########b",  //
          "bb######bb",  //
          "bbbbbbbbbb"}},
        {0,
         {0, 1},
         {"bbbbbbbbbb",  //
          "bbbbbbbbbb",  //
          "bb######bb",  //
          "bb#bbbb#bb",  //
          "bb#bbbb#bb",  //
          "bb#bbbb#bb",  //
          "bb######bb",  //
          "bbbbbbbbbb",  //
          "bbbbbbbbbb"}},
        {0,
         {3},
         {"bbbbbbbbbb",  //
          "bb######bb",  //
          "b########b",  //
          "b########b",  //
          "b###bb###b",  //
          "b########b",  //
          "b########b",  //
          "bb######bb",  //
          "bbbbbbbbbb"}},
        {8,
         {0, 1},
         {"bbbbbbbbbb",  //
          "bbbbbbbbbb",  //
          "bb.#...#bb",  //
          "bb######bb",  //
          "bb.#...#bb",  //
          "bb.#...#bb",  //
          "bb.#...#bb",  //
          "bb######bb",  //
          "bbbbbbbbbb"}},
        {8,
         {3},
         {"bbbbbbbbbb",  //
          "bb######bb",  //
          "b#.#...##b",  //
          "b########b",  //
          "b#.#...##b",  //
          "b#.#...##b",  //
          "b#.#...##b",  //
          "bb######bb",  //
          "bbbbbbbbbb"}},
    };
    ExpectOutcomes<ShapeHarness>(
        cells, {0, 0, 12, 11}, {1, 1, 11, 10},
        [](ShapeHarness& h) {
            h.Drag(8, 7, 3, 3);
            EXPECT_EQ(h.CountMap(kBlue, 0, 0, 12, 11), 12 * 11)
                << "the map changed before the paint";
            h.Paint();
        },
        zk::kRectangleTool);
}

TEST(RectangleTool, GridFloorLinesLieOnTheMultiplesInsideAndNoneOnAnEdgeAtZero) {
    ShapeHarness h(zk::kRectangleTool);
    h.view->m_gridOn = 1;  // snapped corners: (0, 0) and (12, 8)
    ToolSettings::fill = 8;
    h.FillMap(0, 0, 16, 12, kBlue);
    const gdi::Bitmap before = h.doc.m_bitmap;
    h.Drag(1, 1, 13, 7);
    h.Paint();
    EXPECT_TRUE(Shows(h.MapPart({0, 0, 14, 10}), {"....#...#...#b",  //
                                                  "....#...#...#b",  //
                                                  "....#...#...#b",  //
                                                  "....#...#...#b",  //
                                                  "#############b",  //
                                                  "....#...#...#b",  //
                                                  "....#...#...#b",  //
                                                  "....#...#...#b",  //
                                                  "#############b",  //
                                                  "bbbbbbbbbbbbbb"}));
    EXPECT_EQ(h.ChangedOutside(before, {{0, 0, 14, 10}}), 0);
}

TEST(RectangleTool, RightButtonTakesTheSecondaryFillAndShowsAYellowBandUntilTheRelease) {
    ShapeHarness h(zk::kRectangleTool);
    ToolSettings::fill = 5;
    ToolSettings::secfill = 0;  // red in these tests
    ToolSettings::line = 0;
    h.Move(30, 20);
    h.Press(30, 20, Qt::RightButton);
    h.Move(10, 40, Qt::RightButton);
    h.Paint();
    EXPECT_EQ(h.Window(20, 20), kYellow);
    EXPECT_EQ(h.Window(10, 30), kYellow);
    EXPECT_EQ(h.Window(30, 40), kYellow);
    EXPECT_EQ(h.Window(20, 30), gdi::kWhite);
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 60, 60), 0);
    h.Release(10, 40, Qt::RightButton);
    h.Paint();
    // Line size 0 with the empty fill still outlines the box, and leaves its inside alone.
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 60, 60), 2 * 21 + 2 * 19);
    EXPECT_EQ(h.Window(20, 20), gdi::kBlack);
    EXPECT_EQ(h.Map(20, 30), gdi::kWhite);
    EXPECT_EQ(h.CountMap(kRed, 0, 0, 60, 60), 0);
}

TEST(RectangleTool, OneUndoTakesBackTheRectangleAndASecondReleaseDrawsNothing) {
    ShapeHarness h(zk::kRectangleTool);
    ToolSettings::fill = 5;
    const gdi::Bitmap before = h.doc.m_bitmap;
    h.Drag(10, 10, 20, 20);
    h.Paint();
    ASSERT_EQ(h.CountMap(kGreen, 0, 0, 40, 40), 11 * 11);
    // The second release of a double-click comes without a press of its own.
    h.Release(20, 20);
    h.Paint();
    h.doc.OnEditUndo();
    EXPECT_TRUE(zk_test::SameBitmap(before, h.doc.m_bitmap));
}

TEST(RectangleTool, AnIndexOutsideTheLibraryDrawsNothingAndIsDropped) {
    ShapeHarness h(zk::kRectangleTool);
    ToolSettings::fill = 16;
    h.Drag(10, 10, 20, 20);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 40, 40), 40 * 40);
    EXPECT_FALSE(h.view->m_rectangleTool.HasWorkToCommit());
}

}  // namespace
