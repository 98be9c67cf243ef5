// Undo and Redo through the real view: every kind of gesture, Resize, and a selection's mark,
// move, drop, cut and paste, walked back to the start and forward to the end.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <functional>
#include <vector>

#include "doc/pattern_library.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using zk_test::ViewHarness;

struct History : ViewHarness {
    History() {
        view->m_gridOn = 0;
        // The grid floor: every filling tool draws its lines whatever the library holds.
        ToolSettings::fill = zk::kGridFloor;
        ToolSettings::line = 1;
    }
    // The map after each gesture, the first before any.
    std::vector<gdi::Bitmap> states{doc.m_bitmap};
    void Gesture(const std::function<void(History&)>& act) {
        act(*this);
        Paint();
        view->CommitToolWork();
        states.push_back(doc.m_bitmap);
    }
    // Undoes to the start and redoes to the end, holding each map against the states.
    void WalkBackAndForth() {
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(view->CanUndo()) << "at state " << i;
            view->OnEditUndo();
            ASSERT_TRUE(zk_test::SameBitmap(states[i - 1], doc.m_bitmap)) << "undo to " << i - 1;
        }
        EXPECT_FALSE(view->CanUndo());
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(view->CanRedo()) << "at state " << i - 1;
            view->OnEditRedo();
            ASSERT_TRUE(zk_test::SameBitmap(states[i], doc.m_bitmap)) << "redo to " << i;
        }
        EXPECT_FALSE(view->CanRedo());
    }
};

TEST(ViewHistory, EveryKindOfGestureIsOneStepBothWays) {
    struct Tool {
        int kind;
        std::function<void(History&)> gesture;
    };
    const auto drag = [](int x0, int y0, int x1, int y1) {
        return [=](History& h) { h.Drag(x0, y0, x1, y1); };
    };
    const Tool tools[] = {
        {zk::kFreehandTool, drag(10, 10, 60, 40)},
        {zk::kTilesTool, [](History& h) { h.Stamp(70, 20); }},
        {zk::kGridTilesTool, [](History& h) { h.Stamp(100, 50); }},
        {zk::kLinesTool, drag(20, 90, 120, 60)},
        {zk::kRectangleTool, drag(30, 30, 90, 80)},
        {zk::kEllipseTool, drag(50, 10, 140, 70)},
        {zk::kPolygonTool,
         [](History& h) {
             h.Click(150, 10);
             h.Click(200, 40);
             h.Click(160, 80);
             h.Click(151, 11);
         }},
    };
    History h;
    for (const Tool& t : tools) {
        h.Select(t.kind);
        h.Gesture(t.gesture);
    }
    // A resize is a step too, and the gesture after it works on the new size.
    h.Gesture([](History& s) { ASSERT_TRUE(s.view->ApplySettings(16, 1, 250, 150)); });
    h.Select(zk::kFreehandTool);
    h.Gesture([](History& s) { s.Drag(5, 140, 240, 5); });
    for (std::size_t i = 1; i < h.states.size(); ++i)
        ASSERT_FALSE(h.states[i] == h.states[i - 1]) << "gesture " << i << " drew nothing";
    h.WalkBackAndForth();
}

TEST(ViewHistory, ASelectionIsOneStepAndUndoNeverLeavesACopyFloating) {
    History h;
    h.Gesture([](History& s) {
        s.FillMap(20, 20, 60, 60, gdi::kBlack);
        s.FillMap(30, 30, 40, 40, zk_test::kRed);
    });
    h.Select(zk::kSelectTool);
    const gdi::Bitmap original = h.doc.m_bitmap;

    // Marked and lifted: Undo puts the pixels back and ends the selection; the map as it was.
    h.Drag(25, 25, 45, 45);
    h.Paint();
    ASSERT_NE(h.view->m_selectTool.GetFloatingBitmap(), nullptr);
    EXPECT_TRUE(h.view->CanUndo());
    h.view->OnEditUndo();
    EXPECT_EQ(h.view->m_selectTool.GetFloatingBitmap(), nullptr);
    EXPECT_TRUE(zk_test::SameBitmap(original, h.doc.m_bitmap));

    // Marked, moved and dropped: one Undo returns to before the lift, with nothing floating;
    // Redo gives the drop back, and nothing is duplicated either way.
    h.Gesture([](History& s) {
        s.Drag(25, 25, 45, 45);
        s.Paint();
        s.Drag(30, 30, 130, 90);
        s.Click(250, 180);
    });
    EXPECT_EQ(h.CountMap(zk_test::kRed, 0, 0, 300, 200), 100);
    h.view->OnEditUndo();
    EXPECT_TRUE(zk_test::SameBitmap(original, h.doc.m_bitmap));
    EXPECT_EQ(h.view->m_selectTool.GetFloatingBitmap(), nullptr);
    h.view->OnEditRedo();
    EXPECT_TRUE(zk_test::SameBitmap(h.states.back(), h.doc.m_bitmap));

    // Cut, then a paste dropped elsewhere; an undo while the paste floats lands it first, so
    // the paste is taken back whole.
    h.Gesture([](History& s) {
        s.Drag(100, 70, 140, 110);
        s.Paint();
        ASSERT_TRUE(s.view->OnEditCut());
    });
    h.Gesture([](History& s) {
        s.Move(200, 20);
        ASSERT_TRUE(s.view->OnEditPaste());
        s.Click(5, 190);
    });
    h.Move(200, 150);
    ASSERT_TRUE(h.view->OnEditPaste());
    h.Paint();
    h.view->OnEditUndo();
    EXPECT_EQ(h.view->m_selectTool.GetFloatingBitmap(), nullptr);
    EXPECT_TRUE(zk_test::SameBitmap(h.states.back(), h.doc.m_bitmap)) << "the floating paste";
    // Redo drops it where it floated.
    h.Gesture([](History& s) { s.view->OnEditRedo(); });
    EXPECT_FALSE(h.states.back() == h.states[h.states.size() - 2]);
    h.WalkBackAndForth();
}

TEST(ViewHistory, ANewGestureAfterUndoLeavesNothingToRedo) {
    History h;
    h.Select(zk::kFreehandTool);
    for (int i = 0; i < 5; ++i)
        h.Gesture([i](History& s) { s.Drag(10 + 20 * i, 10, 20 + 20 * i, 60); });
    for (int i = 0; i < 3; ++i)
        h.view->OnEditUndo();
    h.view->OnEditRedo();
    h.view->OnEditRedo();
    EXPECT_TRUE(zk_test::SameBitmap(h.states[4], h.doc.m_bitmap)) << "four strokes";
    h.view->OnEditUndo();
    EXPECT_TRUE(h.view->CanRedo());
    h.Drag(200, 100, 250, 150);
    h.Paint();
    EXPECT_FALSE(h.view->CanRedo());
}

}  // namespace
