#include "tools/select_tool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <string>

#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using zk_test::PictureRows;
using zk_test::Shows;
using zk_test::ViewHarness;

using zk_test::kYellow;

struct Selecting : ViewHarness {
    explicit Selecting(bool snapping = false) {
        Select(zk::kSelectTool);
        view->m_gridOn = snapping ? 1 : 0;
    }
    zk::SelectTool& tool() { return view->m_selectTool; }
    std::string State() {
        const zk::SelectTool& t = tool();
        return std::string("banding=") + std::to_string(t.m_banding) +
               " selection=" + std::to_string(t.m_hasSelection) +
               " floating=" + std::to_string(t.m_floating) +
               " moving=" + std::to_string(t.m_moving) + " pending=" + std::to_string(t.m_pending);
    }
};

std::string Flags(int banding, int selection, int floating, int moving, int pending) {
    return "banding=" + std::to_string(banding) + " selection=" + std::to_string(selection) +
           " floating=" + std::to_string(floating) + " moving=" + std::to_string(moving) +
           " pending=" + std::to_string(pending);
}

TEST(SelectTool, WalksThroughItsStatesAsTheGestureGoes) {
    Selecting h;
    struct Step {
        const char* what;
        std::function<void(Selecting&)> act;
        std::string flags;
    };
    const Step steps[] = {
        {"new", [](Selecting&) {}, Flags(0, 0, 0, 0, 0)},
        {"press", [](Selecting& s) { s.Move(10, 10), s.Press(10, 10); }, Flags(1, 0, 0, 0, 0)},
        {"release", [](Selecting& s) { s.Move(20, 30, Qt::LeftButton), s.Release(20, 30); },
         Flags(0, 1, 0, 0, 1)},
        {"paint lifts", [](Selecting& s) { s.Paint(); }, Flags(0, 1, 1, 0, 0)},
        {"press inside", [](Selecting& s) { s.Move(12, 12), s.Press(12, 12); },
         Flags(0, 1, 1, 1, 0)},
        {"release", [](Selecting& s) { s.Move(15, 16, Qt::LeftButton), s.Release(15, 16); },
         Flags(0, 1, 1, 0, 0)},
        {"press outside", [](Selecting& s) { s.Move(100, 100), s.Press(100, 100); },
         Flags(0, 0, 1, 0, 1)},
        {"paint drops", [](Selecting& s) { s.Paint(); }, Flags(0, 0, 0, 0, 0)},
        // That press started no band: the release finds nothing to end.
        {"release", [](Selecting& s) { s.Release(100, 100); }, Flags(0, 0, 0, 0, 0)},
        {"next press bands", [](Selecting& s) { s.Press(100, 100); }, Flags(1, 0, 0, 0, 0)},
    };
    for (const Step& step : steps) {
        step.act(h);
        EXPECT_EQ(h.State(), step.flags) << step.what;
    }
    // Moved by (3, 4) while held, then dropped.
    EXPECT_EQ(h.tool().m_selRect, (gdi::Rect{13, 14, 23, 34}));
}

TEST(SelectTool, ABandSelectsTheSameColumnsAndRowsWhicheverWayItIsDragged) {
    const std::pair<gdi::Point, gdi::Point> bands[] = {
        {{10, 10}, {20, 30}}, {{20, 30}, {10, 10}}, {{20, 10}, {10, 30}}};
    for (const auto& [from, to] : bands) {
        Selecting h;
        h.FillMap(0, 0, 40, 40, gdi::kBlack);
        h.Drag(from.x, from.y, to.x, to.y);
        EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 40, 40), 0) << "the map changed before the paint";
        h.Paint();
        EXPECT_EQ(h.tool().m_selRect, (gdi::Rect{10, 10, 20, 30}));
        // Lifted: white left behind exactly over columns 10..19 and rows 10..29.
        EXPECT_EQ(h.CountMap(gdi::kWhite, 10, 10, 20, 30), 200);
        EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 40, 40), 200);
        ASSERT_NE(h.tool().GetFloatingBitmap(), nullptr);
        EXPECT_EQ(h.tool().GetFloatingBitmap()->Width(), 10);
        EXPECT_EQ(h.tool().GetFloatingBitmap()->Height(), 20);
        // The screen still shows the map as it was: marking is no change of its own.
        EXPECT_FALSE(h.doc.IsModified());
    }
}

TEST(SelectTool, APressHitsTheSelectionAtThePointerPositionPlusOnePixel) {
    // Selection (10, 10, 20, 20): right and bottom are outside.
    const std::pair<gdi::Point, bool> presses[] = {
        {{9, 9}, true},  {{18, 18}, true},  {{19, 19}, false}, {{8, 9}, false},
        {{9, 8}, false}, {{18, 19}, false}, {{10, 10}, true},
    };
    for (const auto& [at, hit] : presses) {
        Selecting h;
        h.Drag(10, 10, 20, 20);
        h.Paint();
        h.Move(at.x, at.y);
        h.Press(at.x, at.y);
        EXPECT_EQ(h.tool().m_moving, hit ? 1 : 0) << at.x << "," << at.y;
        EXPECT_EQ(h.tool().m_hasSelection, hit ? 1 : 0) << at.x << "," << at.y;
    }
}

// The map under the selection has a black column stripe; where it is dropped, a black row
// stripe runs across. The mode comes from the press that started the move.
TEST(SelectTool, TheLeftButtonDropsByAndTheRightButtonCopies) {
    struct Case {
        Qt::MouseButton band, move;
        bool useAnd;
    };
    const Case cases[] = {{Qt::LeftButton, Qt::LeftButton, true},
                          {Qt::RightButton, Qt::LeftButton, true},
                          {Qt::LeftButton, Qt::RightButton, false}};
    for (const Case& c : cases) {
        Selecting h;
        h.FillMap(10, 10, 13, 16, gdi::kBlack);  // 6 x 6 from (10, 10): its left half is black
        h.FillMap(48, 12, 64, 14, gdi::kBlack);  // rows 12 and 13 across x 48..63
        const gdi::Bitmap before = h.doc.m_bitmap;
        h.Drag(10, 10, 16, 16, c.band);
        h.Paint();
        h.Drag(11, 11, 51, 11, c.move);  // by (40, 0): the selection now covers x 50..55
        h.Paint();
        EXPECT_EQ(h.tool().m_useAnd, c.useAnd ? 1 : 0);
        // The window shows the floating pixels as they will land.
        const gdi::Color shown = h.Window(54, 12);
        EXPECT_EQ(shown, c.useAnd ? gdi::kBlack : gdi::kWhite);
        EXPECT_EQ(h.Map(54, 12), gdi::kBlack) << "the map changed before the drop";

        h.Click(200, 150);
        h.Paint();
        EXPECT_EQ(h.tool().m_floating, 0);
        // Where it was lifted from and where it landed, with a pixel around each.
        const gdi::Rect lifted{9, 9, 17, 17}, landed{49, 9, 57, 17};
        EXPECT_TRUE(Shows(h.MapPart(lifted), PictureRows(8, "........")));
        const std::string_view across = c.useAnd ? "########" : "####...#";
        EXPECT_TRUE(Shows(h.MapPart(landed), {"........", ".###....", ".###....", across, across,
                                              ".###....", ".###....", "........"}));
        EXPECT_EQ(h.ChangedOutside(before, {lifted, landed}), 0);
    }
}

TEST(SelectTool, WithTheGridOnASelectionMovesInWholeGridSteps) {
    Selecting h(true);  // grid 16
    h.FillMap(16, 16, 32, 32, gdi::kBlack);
    h.Drag(20, 21, 50, 47);  // snapped down: (16, 16) to (48, 32)
    h.Paint();
    EXPECT_EQ(h.tool().m_selRect, (gdi::Rect{16, 16, 48, 32}));
    h.Move(17, 17);
    h.Press(17, 17);  // hit at (16 + 1, 16 + 1)
    ASSERT_EQ(h.tool().m_moving, 1);
    const std::pair<gdi::Point, gdi::Rect> moves[] = {
        {{30, 31}, {16, 16, 48, 32}},  // still in the same cell: no move
        {{33, 31}, {32, 16, 64, 32}},
        {{63, 50}, {48, 48, 80, 64}},
        {{40, 20}, {32, 16, 64, 32}},
    };
    for (const auto& [to, rect] : moves) {
        h.Move(to.x, to.y, Qt::LeftButton);
        EXPECT_EQ(h.tool().m_selRect, rect) << to.x << "," << to.y;
    }
    h.Release(40, 20);
    h.Click(200, 150);
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 120, 120), 256);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 32, 16, 48, 32), 256);
}

TEST(SelectTool, TheBandAndTheFloatingFrameAreDashedMarksOnTheWindowOnly) {
    Selecting h;
    h.Move(20, 20);
    h.Press(20, 20);
    h.Move(120, 80, Qt::LeftButton);
    h.Paint();
    // Each edge of the band is dashed: yellow with gaps.
    auto edge = [&h](int x0, int y0, int dx, int dy, int n, gdi::Color c) {
        int on = 0;
        for (int i = 0; i < n; ++i)
            on += h.Window(x0 + i * dx, y0 + i * dy) == c;
        return std::pair{on, n - on};
    };
    for (const auto& [on, off] :
         {edge(20, 20, 1, 0, 100, kYellow), edge(20, 80, 1, 0, 100, kYellow),
          edge(20, 20, 0, 1, 60, kYellow), edge(120, 20, 0, 1, 60, kYellow)}) {
        EXPECT_GT(on, 40);
        EXPECT_GT(off, 0);
    }
    EXPECT_EQ(h.CountMap(kYellow, 0, 0, 200, 200), 0);
    h.Release(120, 80);

    // Floating at zoom 2: each pixel shown 2 x 2, a dashed black frame on its right and bottom
    // edges' window columns, nothing of it in the map.
    h.doc.m_bitmap.SetPixel(20, 20, gdi::kBlack);
    h.Paint();
    h.Click(60, 60);  // inside: a move without moving, so nothing drops
    h.ZoomTo(2.0f);
    h.Paint();
    EXPECT_EQ(h.Window(40, 40), gdi::kBlack);
    EXPECT_EQ(h.Window(41, 41), gdi::kBlack);
    EXPECT_EQ(h.Window(43, 43), gdi::kWhite);
    const auto [frameOn, frameOff] = edge(240, 40, 0, 1, 120, gdi::kBlack);
    EXPECT_GT(frameOn, 60);
    EXPECT_GT(frameOff, 0);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 200, 200), 0) << "the lift left black or the frame";

    // Another tool made current lands it where it floats: the screen keeps its pixels and no
    // hole opens; back with the select tool nothing floats.
    h.Select(zk::kFreehandTool);
    h.Paint();
    EXPECT_EQ(h.Window(40, 40), gdi::kBlack);
    EXPECT_EQ(h.Map(20, 20), gdi::kBlack);
    h.Select(zk::kSelectTool);
    EXPECT_EQ(h.tool().GetFloatingBitmap(), nullptr);
}

TEST(SelectTool, AnOldBandIsErasedAtSmallZooms) {
    Selecting h;
    h.ZoomTo(0.25f);  // a window pixel spans four map pixels; the map is 168 x 236 on the window
    h.Move(20, 20);
    h.Press(20, 20);
    h.Move(150, 120, Qt::LeftButton);
    h.Paint();
    // From here on only what the tool asks to repaint is painted again.
    QApplication::processEvents();
    ASSERT_GT(h.CountWindow(kYellow, 150, 20, 151, 120), 0);
    h.Move(100, 80, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(h.CountWindow(kYellow, 150, 20, 151, 120), 0) << "the old band's right edge stayed";
    EXPECT_GT(h.CountWindow(kYellow, 100, 20, 101, 80), 0);
}

TEST(SelectTool, ASelectionOfNoSizeFloatsLiftsAndDropsNothing) {
    Selecting h;
    h.FillMap(0, 0, 60, 60, gdi::kBlack);
    h.Click(30, 30);
    h.Paint();
    ASSERT_NE(h.tool().GetFloatingBitmap(), nullptr);
    EXPECT_TRUE(h.tool().GetFloatingBitmap()->IsNull());
    EXPECT_TRUE(h.view->CanCutOrCopy());
    // No press can hit it: the next one drops it.
    h.Click(30, 30);
    h.Paint();
    EXPECT_EQ(h.tool().m_floating, 0);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 60, 60), 3600);
}

TEST(SelectTool, WhatLiesOutsideTheMapFloatsAsWhite) {
    Selecting h;
    ASSERT_TRUE(h.doc.NewMap(50, 40));
    h.FillMap(0, 0, 50, 40, gdi::kBlack);
    h.Drag(46, 37, 52, 42);
    h.Paint();
    ASSERT_NE(h.tool().GetFloatingBitmap(), nullptr);
    EXPECT_TRUE(
        Shows(*h.tool().GetFloatingBitmap(), {"####..", "####..", "####..", "......", "......"}));
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 50, 40), 12);
}

}  // namespace
