// Undo as a history of changed tiles: what a gesture keeps, Undo and Redo through many steps,
// whole-map steps, the limit, the saved point, and the cross-check that catches a write the
// history did not hear of.
#include "doc/undo_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "doc/zk_doc.h"
#include "gdi/dc.h"
#include "support/history_check.h"
#include "support/picture.h"

namespace {

constexpr int kTile = zk::UndoRecord::kTileSide;
constexpr std::size_t kTileBytes = kTile * kTile * 4;

// A document whose whole history is walked at the end; each gesture begins with a press.
struct Doc {
    explicit Doc(int w, int h) : dc(&doc.m_bitmap) { EXPECT_TRUE(doc.NewMap(w, h)); }
    ~Doc() {
        const std::string fault =
            check.Walk([this] { doc.OnEditUndo(); }, [this] { doc.OnEditRedo(); });
        EXPECT_EQ(fault, "");
    }
    void Gesture(const std::function<void(gdi::DC&)>& draw) {
        check.Note();
        doc.SaveUndo();
        draw(dc);
        check.Note();
    }
    // A dot in tile `i` of the top row of tiles.
    void Dot(int i) {
        Gesture([i](gdi::DC& d) { d.SetPixelV(i * kTile + 1, 1, 0); });
    }
    int Dots() const {
        int n = 0;
        for (int x = 1; x < doc.m_width; x += kTile)
            n += doc.m_bitmap.GetPixel(x, 1) == 0;
        return n;
    }
    zk::CZKDoc doc;
    zk_test::HistoryCheck check{doc};
    gdi::DC dc;
};

TEST(UndoHistory, EachGestureKeepsTheTilesItChangedAndUndoAndRedoSwapThem) {
    // 200 x 150: three whole tiles and a narrow one across, two and a short one down.
    const struct {
        const char* name;
        std::function<void(gdi::DC&)> draw;
        std::size_t tiles;  // tiles the record keeps
    } cases[] = {
        {"pixel inside a tile", [](gdi::DC& dc) { dc.SetPixelV(10, 10, 0); }, 1},
        {"line across a tile edge",
         [](gdi::DC& dc) { dc.MoveTo(kTile - 5, 3), dc.LineTo(kTile + 5, 3); }, 2},
        {"wide line on a tile corner",
         [](gdi::DC& dc) {
             dc.SelectPen(gdi::Pen::Solid(3, 0));
             dc.MoveTo(kTile, kTile), dc.LineTo(kTile, kTile);
         },
         4},
        {"last pixel of the map, in the short corner tile",
         [](gdi::DC& dc) { dc.SetPixelV(199, 149, 0); }, 1},
        {"line running off the map's edges",
         [](gdi::DC& dc) { dc.MoveTo(-50, 140), dc.LineTo(260, 140); }, 4},
        {"shape over the map's bottom-right corner",
         [](gdi::DC& dc) {
             dc.SelectBrush(gdi::Brush::Solid(0xFF0000));
             dc.Ellipse(150, 100, 260, 190);
         },
         4},
        {"the whole map",
         [](gdi::DC& dc) {
             dc.FillRect({-1, -1, 300, 300}, gdi::Brush::Solid(0));
         },
         12},
        {"a selection dropped across tiles",
         [](gdi::DC& dc) {
             gdi::Bitmap piece(70, 20, 32, 0x00FF00);
             gdi::DC src(&piece);
             dc.BitBlt(100, 55, 70, 20, src, 0, 0, gdi::Rop::SrcAnd);
         },
         4},
        {"nothing drawn (a press with no change)", [](gdi::DC&) {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Doc d(200, 150);
        d.Gesture([](gdi::DC& dc) { dc.MoveTo(0, 0), dc.LineTo(199, 149); });
        const gdi::Bitmap atPress = d.doc.m_bitmap;
        d.Gesture(c.draw);
        const gdi::Bitmap drawn = d.doc.m_bitmap;
        EXPECT_EQ(d.doc.GetUndoRecord().TileCount(), c.tiles);
        d.doc.OnEditUndo();
        // A press that changed nothing is no step: Undo takes back the one before it.
        const gdi::Bitmap expected = c.tiles ? atPress : gdi::Bitmap(200, 150, 32, gdi::kWhite);
        EXPECT_TRUE(zk_test::SameBitmap(expected, d.doc.m_bitmap)) << "undo";
        d.doc.OnEditRedo();
        EXPECT_TRUE(zk_test::SameBitmap(drawn, d.doc.m_bitmap)) << "redo";
    }
}

TEST(UndoHistory, UndoAndRedoWalkTheStepsAndANewGestureEndsTheRedos) {
    Doc d(64 * 6, 64);
    for (int i = 0; i < 5; ++i)
        d.Dot(i);
    for (int i = 0; i < 3; ++i)
        d.doc.OnEditUndo();
    EXPECT_EQ(d.Dots(), 2);
    d.doc.OnEditRedo();
    d.doc.OnEditRedo();
    EXPECT_EQ(d.Dots(), 4);
    EXPECT_TRUE(d.doc.CanRedo());
    // A press alone changes nothing and keeps what can be redone; a change does not.
    d.doc.SaveUndo();
    EXPECT_TRUE(d.doc.CanRedo());
    d.dc.SetPixelV(5 * kTile + 1, 1, 0);
    d.check.Note();
    EXPECT_FALSE(d.doc.CanRedo());
    d.doc.OnEditRedo();
    EXPECT_EQ(d.Dots(), 5);
    // Back to the start, one step at a time, and no further.
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(d.doc.CanUndo());
        d.doc.OnEditUndo();
        EXPECT_EQ(d.Dots(), 4 - i);
    }
    EXPECT_FALSE(d.doc.CanUndo());
    d.doc.OnEditUndo();
    EXPECT_EQ(d.Dots(), 0);
}

TEST(UndoHistory, FiftyClicksComeBackOneByOne) {
    Doc d(100, 100);
    for (int i = 0; i < 50; ++i)
        d.Gesture([i](gdi::DC& dc) { dc.SetPixelV(i * 2, i, 0); });
    for (int i = 49; i >= 0; --i) {
        d.doc.OnEditUndo();
        EXPECT_EQ(d.doc.m_bitmap.GetPixel(i * 2, i), gdi::kWhite) << i;
        if (i > 0) {
            EXPECT_EQ(d.doc.m_bitmap.GetPixel((i - 1) * 2, i - 1), gdi::kBlack) << i;
        }
    }
    EXPECT_TRUE(zk_test::SameBitmap(gdi::Bitmap(100, 100, 32, gdi::kWhite), d.doc.m_bitmap));
}

TEST(UndoHistory, AResizeIsOneStepThatBringsBackTheSizeAndWhatWasCut) {
    Doc d(100, 80);
    d.Gesture([](gdi::DC& dc) { dc.SetPixelV(99, 79, 0); });
    d.check.Note();
    ASSERT_TRUE(d.doc.Resize(50, 40));
    d.Gesture([](gdi::DC& dc) { dc.SetPixelV(1, 1, 0); });
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(1, 1), gdi::kWhite);
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_width, 100);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(99, 79), gdi::kBlack);
    d.doc.OnEditRedo();
    EXPECT_EQ(d.doc.m_width, 50);
    EXPECT_EQ(d.doc.m_height, 40);
    d.doc.OnEditRedo();
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(1, 1), gdi::kBlack);
    // The gesture after a resize keeps its tiles of the new map.
    d.Gesture([](gdi::DC& dc) { dc.SetPixelV(49, 39, 0); });
    EXPECT_EQ(d.doc.GetUndoRecord().Bytes(), 50u * 40 * 4) << "one tile, clipped to the map";
}

TEST(UndoHistory, TheLimitForgetsTheOldestStepsButNeverTheGestureInProgress) {
    Doc d(64 * 8, 64);
    d.doc.SetUndoLimit(3 * kTileBytes);
    for (int i = 0; i < 6; ++i)
        d.Dot(i);
    // Three one-tile steps fit beside the gesture in progress, no more.
    EXPECT_EQ(d.doc.History().UndoCount(), 3u);
    EXPECT_EQ(d.doc.History().Forgotten(), 2u);
    EXPECT_EQ(d.doc.History().Bytes(), 4 * kTileBytes);
    while (d.doc.CanUndo())
        d.doc.OnEditUndo();
    // The gesture in progress became a step on the way, and one more old step went.
    EXPECT_EQ(d.Dots(), 3) << "the forgotten steps stay done";
    // A step larger than the limit is kept as the newest, and takes every older step with it.
    while (d.doc.CanRedo())
        d.doc.OnEditRedo();
    d.Gesture([](gdi::DC& dc) { dc.FillRect({0, 10, 64 * 8, 20}, gdi::Brush::Solid(0)); });
    d.doc.SaveUndo();
    EXPECT_EQ(d.doc.History().UndoCount(), 1u);
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(300, 15), gdi::kWhite);
}

TEST(UndoHistory, TheSavedPointFollowsUndoAndRedo) {
    Doc d(64 * 4, 64);
    d.Dot(0);
    d.Dot(1);
    d.doc.SetModifiedFlag(false);  // saved here
    d.doc.OnEditUndo();
    EXPECT_TRUE(d.doc.IsModified());
    d.doc.OnEditRedo();
    EXPECT_FALSE(d.doc.IsModified()) << "back at the saved step";
    d.doc.OnEditUndo();
    d.doc.OnEditUndo();
    d.doc.OnEditRedo();
    d.doc.OnEditRedo();
    EXPECT_FALSE(d.doc.IsModified());
    // Once a new gesture replaces the saved step, nothing comes back to it.
    d.doc.OnEditUndo();
    d.Dot(2);
    d.doc.OnEditUndo();
    EXPECT_TRUE(d.doc.IsModified());
    d.doc.OnEditUndo();
    EXPECT_TRUE(d.doc.IsModified());
}

TEST(UndoHistory, TheCrossCheckReportsAWriteThatBypassedTheHistory) {
    zk::CZKDoc doc;
    ASSERT_TRUE(doc.NewMap(100, 100));
    zk_test::HistoryCheck check(doc);
    doc.SaveUndo();
    doc.m_bitmap.SetPixel(10, 10, gdi::kBlack);
    check.Note();
    doc.SaveUndo();
    doc.m_bitmap.Row(70)[80] = gdi::kBlack;  // no announcement
    const std::string fault = check.Walk([&] { doc.OnEditUndo(); }, [&] { doc.OnEditRedo(); });
    EXPECT_NE(fault.find("(80,70)"), std::string::npos) << fault;
}

}  // namespace
