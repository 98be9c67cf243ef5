// Undo by changed tiles: what a press keeps, what Undo swaps, and the check that catches a write
// the record did not hear of.
#include "doc/undo_record.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "doc/zk_doc.h"
#include "gdi/dc.h"
#include "support/picture.h"

namespace {

constexpr int kTile = zk::UndoRecord::kTileSide;

// A document whose undo record is checked against a whole copy; mismatches are collected.
struct CheckedDoc {
    CheckedDoc(int w, int h) {
        doc.SetUndoCheck([this](const std::string& what) { reports.push_back(what); });
        EXPECT_TRUE(doc.NewMap(w, h));
    }
    ~CheckedDoc() {
        doc.CheckUndo();
        for (const std::string& r : reports)
            ADD_FAILURE() << r;
    }
    zk::CZKDoc doc;
    std::vector<std::string> reports;
};

TEST(UndoRecord, UndoSwapsTheChangedTilesBackAndASecondUndoRedoes) {
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
        CheckedDoc d(200, 150);
        gdi::DC dc(&d.doc.m_bitmap);
        dc.MoveTo(0, 0), dc.LineTo(199, 149);  // something to come back to
        d.doc.SaveUndo();
        const gdi::Bitmap atPress = d.doc.m_bitmap;
        c.draw(dc);
        const gdi::Bitmap drawn = d.doc.m_bitmap;
        EXPECT_EQ(d.doc.GetUndoRecord().TileCount(), c.tiles);
        d.doc.OnEditUndo();
        EXPECT_TRUE(zk_test::SameBitmap(atPress, d.doc.m_bitmap)) << "undo";
        d.doc.OnEditUndo();
        EXPECT_TRUE(zk_test::SameBitmap(drawn, d.doc.m_bitmap)) << "second undo";
        EXPECT_TRUE(d.doc.IsModified());
    }
}

TEST(UndoRecord, WritesAfterAnUndoBelongToTheStateUndoSwapsAway) {
    CheckedDoc d(300, 200);
    gdi::DC dc(&d.doc.m_bitmap);
    d.doc.SaveUndo();
    dc.SetPixelV(5, 5, 0);
    d.doc.OnEditUndo();         // the map is white again; the dot is kept
    dc.SetPixelV(250, 150, 0);  // drawn with no press in between: another tile
    dc.SetPixelV(6, 5, 0);      // and one the record already holds
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(5, 5), gdi::kBlack);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(6, 5), gdi::kWhite);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(250, 150), gdi::kWhite);
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(5, 5), gdi::kWhite);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(6, 5), gdi::kBlack);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(250, 150), gdi::kBlack);
}

TEST(UndoRecord, WholeMapOperationsKeepTheirWholeCopyAndAPressLetsItGo) {
    CheckedDoc d(100, 80);
    d.doc.m_bitmap.SetPixel(99, 79, gdi::kBlack);
    ASSERT_TRUE(d.doc.Resize(50, 40));
    EXPECT_TRUE(d.doc.GetUndoRecord().IsWhole());
    d.doc.m_bitmap.SetPixel(1, 1, gdi::kBlack);  // after the resize, before a press
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_width, 100);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(99, 79), gdi::kBlack);
    d.doc.OnEditUndo();
    EXPECT_EQ(d.doc.m_width, 50);
    EXPECT_EQ(d.doc.m_bitmap.GetPixel(1, 1), gdi::kBlack);
    d.doc.SaveUndo();
    EXPECT_FALSE(d.doc.GetUndoRecord().IsWhole());
    EXPECT_EQ(d.doc.GetUndoRecord().Bytes(), 0u);
    d.doc.m_bitmap.SetPixel(49, 39, gdi::kBlack);
    EXPECT_EQ(d.doc.GetUndoRecord().Bytes(), 50u * 40 * 4) << "one tile, clipped to the map";
}

TEST(UndoRecord, TheCheckReportsAWriteThatBypassedTheRecord) {
    zk::CZKDoc doc;
    std::vector<std::string> reports;
    doc.SetUndoCheck([&](const std::string& what) { reports.push_back(what); });
    ASSERT_TRUE(doc.NewMap(100, 100));
    doc.SaveUndo();
    doc.m_bitmap.Row(70)[80] = gdi::kBlack;  // no announcement
    doc.OnEditUndo();
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports.front().find("(80, 70)"), std::string::npos) << reports.front();
}

}  // namespace
