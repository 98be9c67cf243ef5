#include "tools/freehand_tool.h"

#include <gtest/gtest.h>

#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using zk_test::kYellow;
using zk_test::ViewHarness;

struct Freehand : ViewHarness {
    Freehand() {
        Select(zk::kFreehandTool);
        view->m_gridOn = 0;
    }
};

TEST(FreehandTool, StrokeLandsInTheMapAtThePaintAndLeavesOutItsEndPixel) {
    Freehand h;
    h.Move(10, 10);
    h.Press(10, 10);
    h.Move(20, 10, Qt::LeftButton);
    EXPECT_EQ(h.Map(15, 10), gdi::kWhite) << "the map changed before the paint";
    h.Paint();
    h.Release(20, 10);
    h.Paint();
    for (int x = 10; x < 20; ++x)
        EXPECT_EQ(h.Map(x, 10), gdi::kBlack) << x;
    EXPECT_EQ(h.Map(20, 10), gdi::kWhite);
    EXPECT_EQ(h.Map(15, 9), gdi::kWhite);
    EXPECT_EQ(h.Map(15, 11), gdi::kWhite);
    EXPECT_TRUE(h.doc.IsModified());
}

TEST(FreehandTool, QuickStrokeBetweenPaintsHasNoGaps) {
    Freehand h;
    h.Move(5, 50);
    h.Press(5, 50);
    // Many moves arrive before the next paint; every segment must reach the map.
    for (int x = 10; x <= 100; x += 5)
        h.Move(x, 50 + (x % 2), Qt::LeftButton);
    h.Release(100, 51);
    h.Paint();
    for (int x = 5; x < 100; ++x)
        EXPECT_TRUE(h.Map(x, 50) == gdi::kBlack || h.Map(x, 51) == gdi::kBlack) << "gap at " << x;
}

TEST(FreehandTool, RightButtonPaintsWhiteAndUndoTakesTheWholeStrokeBack) {
    Freehand h;
    h.FillMap(0, 0, 40, 40, gdi::kBlack);
    const gdi::Bitmap before = h.doc.m_bitmap;
    h.Move(5, 20);
    h.Press(5, 20, Qt::RightButton);
    h.Move(30, 20, Qt::RightButton);
    h.Paint();
    h.Move(30, 30, Qt::RightButton);
    h.Paint();
    h.Release(30, 30, Qt::RightButton);
    EXPECT_EQ(h.Map(10, 20), gdi::kWhite);
    EXPECT_EQ(h.Map(30, 25), gdi::kWhite);
    h.doc.OnEditUndo();
    EXPECT_TRUE(zk_test::SameBitmap(before, h.doc.m_bitmap));
}

TEST(FreehandTool, LineSizeSetsTheStrokeWidth) {
    for (int line : {0, 1, 3}) {
        Freehand h;
        ToolSettings::line = line;
        h.Drag(10, 20, 40, 20);
        h.Paint();
        int rows = 0;
        for (int y = 15; y < 26; ++y)
            rows += h.Map(25, y) == gdi::kBlack;
        EXPECT_EQ(rows, line == 3 ? 3 : 1) << "line " << line;
    }
    ToolSettings::line = 0;
}

TEST(FreehandTool, AStrokeStartsAtItsPressPoint) {
    // A click is a dot at the click, not the segment of the last move.
    Freehand h;
    h.Move(10, 10);
    h.Click(14, 10);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 1);
    EXPECT_EQ(h.Map(14, 10), gdi::kBlack);

    // A press that arrives without a move to it (a pen set down, a touch, a jump) draws no line
    // from where the last stroke ended, nor from the map's corner.
    for (bool strokeBefore : {false, true}) {
        Freehand j;
        if (strokeBefore) {
            j.Drag(5, 5, 9, 5);
            j.Paint();
        }
        const int before = j.CountMap(gdi::kBlack, 0, 0, 300, 200);
        j.Press(60, 60);
        j.Move(70, 66, Qt::LeftButton);
        j.Release(70, 66);
        j.Paint();
        EXPECT_EQ(j.CountMap(gdi::kBlack, 0, 0, 300, 200) - before,
                  j.CountMap(gdi::kBlack, 60, 60, 71, 67))
            << "a line left the stroke's box" << (strokeBefore ? " after a stroke" : "");
        EXPECT_EQ(j.Map(60, 60), gdi::kBlack);
        EXPECT_EQ(j.CountMap(gdi::kBlack, 0, 0, 59, 59), before);
    }
}

TEST(FreehandTool, GridSnapsTheStrokeToIntersections) {
    Freehand h;
    h.view->m_gridOn = 1;
    h.Drag(3, 3, 20, 5);
    h.Paint();
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(h.Map(x, 0), gdi::kBlack) << x;
    EXPECT_EQ(h.Map(16, 0), gdi::kWhite);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 100, 100), 16);
}

TEST(FreehandTool, CrossFollowsThePointerWithItsCentreClear) {
    Freehand h;
    h.ZoomTo(8);
    h.Move(84, 84);  // map pixel (10, 10), centred on window (84, 84)
    h.Paint();
    for (int x = 76; x <= 81; ++x)
        EXPECT_EQ(h.Window(x, 84), kYellow) << x;
    EXPECT_NE(h.Window(75, 84), kYellow);
    EXPECT_NE(h.Window(82, 84), kYellow);
    EXPECT_NE(h.Window(84, 84), kYellow);
    for (int y = 87; y <= 92; ++y)
        EXPECT_EQ(h.Window(84, y), kYellow) << y;
    EXPECT_TRUE(h.doc.m_bitmap.GetPixel(10, 10) == gdi::kWhite) << "the cross went into the map";
}

TEST(FreehandTool, UndoTakesBackOneStrokeEvenWhenTheFirstWasNotYetPainted) {
    Freehand h;
    h.Drag(10, 10, 30, 10);
    // No paint between the two strokes: the first is still queued at the second press.
    h.Drag(10, 40, 30, 40);
    h.Paint();
    h.doc.OnEditUndo();
    EXPECT_EQ(h.Map(20, 10), gdi::kBlack) << "Undo took back the first stroke too";
    EXPECT_EQ(h.Map(20, 40), gdi::kWhite);
}

TEST(FreehandTool, QueuedWorkLandsBeforeAnotherToolIsChosen) {
    Freehand h;
    h.Drag(10, 10, 30, 10);
    h.view->SelectTool(zk::kLinesTool);
    EXPECT_EQ(h.Map(20, 10), gdi::kBlack);
}

TEST(FreehandTool, ReleaseOutsideTheWindowEndsTheStroke) {
    Freehand h;
    h.Move(10, 10);
    h.Press(10, 10);
    h.Move(20, 10, Qt::LeftButton);
    h.Release(5000, 5000);
    h.Paint();
    const int drawn = h.CountMap(gdi::kBlack, 0, 0, 300, 200);
    h.Move(50, 50);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 300, 200), drawn) << "still drawing after release";
}

}  // namespace
