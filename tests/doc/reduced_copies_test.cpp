#include "doc/reduced_copies.h"

#include <gtest/gtest.h>

#include <string>

#include "doc/bitmap_file.h"
#include "doc/zk_doc.h"
#include "gdi/dc.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

using zk::ReducedCopies;

// The AND of every whole 2^level x 2^level block of `map`, one pixel by one: what each level must
// hold, worked out without the copies.
gdi::Bitmap DirectAnd(const gdi::Bitmap& map, int level) {
    const int n = 1 << level;
    gdi::Bitmap out(map.Width() / n, map.Height() / n);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            gdi::Color v = 0xFFFFFF;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i)
                    v &= map.GetPixel(x * n + i, y * n + j);
            out.SetPixel(x, y, v);
        }
    return out;
}

// Coordinates as colours, and one pixel in about a thousand darker, so that a block's AND is the
// colour of none of its pixels.
void Paint(gdi::Bitmap& map) {
    map.AboutToChange(map.Bounds());
    for (int y = 0; y < map.Height(); ++y)
        for (int x = 0; x < map.Width(); ++x) {
            gdi::Color c = gdi::RGB(x & 255, y & 255, (x >> 8) ^ (y >> 6));
            if ((x * 31 + y * 17) % 1009 == 0)
                c &= 0x5A5A5A;
            map.Row(y)[x] = c;
        }
}

// Every level of `copies` over the whole map against the direct AND.
void ExpectEveryLevel(ReducedCopies& copies, const gdi::Bitmap& map, const std::string& when) {
    for (int k = ReducedCopies::kFirstLevel; k <= ReducedCopies::kLastLevel; ++k) {
        const gdi::Bitmap* level = copies.Level(map, k, {0, 0, 1 << 20, 1 << 20});
        ASSERT_NE(level, nullptr) << when << ", level " << k;
        EXPECT_TRUE(zk_test::SameBitmap(DirectAnd(map, k), *level)) << when << ", level " << k;
    }
}

TEST(ReducedCopies, ZoomsReadTheLevelOfTheirStep) {
    const struct {
        float zoom;
        int level;
    } cases[] = {{32, 0},         {1, 0},         {0.5f, 0},      {0.25f, 2},
                 {0.125f, 3},     {1.0f / 16, 4}, {1.0f / 32, 5}, {1.0f / 64, 6},
                 {1.0f / 128, 6}, {0.2f, 2},      {0.3f, 0},      {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ReducedCopies::LevelFor(c.zoom), c.level) << c.zoom;
}

// Map sides on and off the blocks' and the tiles' edges, and smaller than a block: each level
// holds the whole blocks only, whichever level is asked for first.
TEST(ReducedCopies, EachLevelIsTheAndOfTheMapsWholeBlocks) {
    const struct {
        int w, h;
    } sizes[] = {{1100, 700}, {256, 256}, {257, 255}, {511, 1}, {63, 130}, {3, 3}, {1, 1}};
    for (const auto& size : sizes) {
        gdi::Bitmap map(size.w, size.h);
        Paint(map);
        const std::string what = std::to_string(size.w) + " x " + std::to_string(size.h);
        // From the smallest level down, so that each is made from the map ...
        ReducedCopies fromMap;
        fromMap.Reset(map);
        for (int k = ReducedCopies::kLastLevel; k >= ReducedCopies::kFirstLevel; --k)
            fromMap.Level(map, k, {0, 0, 1 << 20, 1 << 20});
        ExpectEveryLevel(fromMap, map, what + " from the map");
        // ... and from the largest up, so that each is made from the one below it.
        ReducedCopies fromBelow;
        fromBelow.Reset(map);
        ExpectEveryLevel(fromBelow, map, what + " from the level below");
    }
}

TEST(ReducedCopies, AChangeMarksOnlyItsTilesAndARequestBuildsOnlyWhatItCovers) {
    gdi::Bitmap map(2000, 1500, 32, gdi::kWhite);
    ReducedCopies copies;
    copies.Reset(map);
    map.SetWatcher(&copies);
    // Nothing is made before it is asked for, and changes then cost nothing to follow.
    gdi::DC dc(&map);
    dc.FillRect({10, 10, 20, 20}, gdi::Brush::Solid(gdi::kBlack));
    EXPECT_EQ(copies.Bytes(), 0u);
    EXPECT_FALSE(copies.IsKept(3));

    // Asked for the top-left corner at 1/8 (level 3): only the tiles it covers are made.
    copies.Level(map, 3, {0, 0, 40, 40});  // map pixels [0, 320) x [0, 320)
    EXPECT_TRUE(copies.IsKept(3));
    EXPECT_FALSE(copies.IsKept(2));
    EXPECT_FALSE(copies.IsStale(3, {0, 0, 512, 512}));
    EXPECT_TRUE(copies.IsStale(3, {512, 0, 513, 1}));
    EXPECT_TRUE(copies.IsStale(3, {0, 512, 1, 513}));
    // A stroke inside one tile marks that tile alone.
    dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    dc.MoveTo(300, 300);
    dc.LineTo(310, 305);
    EXPECT_TRUE(copies.IsStale(3, {256, 256, 512, 512}));
    EXPECT_FALSE(copies.IsStale(3, {0, 0, 256, 512}));
    EXPECT_FALSE(copies.IsStale(3, {256, 0, 512, 256}));
    // Pixels right on a tile's edge mark both tiles beside it.
    map.SetPixel(255, 100, gdi::kBlack);
    map.SetPixel(256, 100, gdi::kBlack);
    EXPECT_TRUE(copies.IsStale(3, {0, 0, 1, 1}));
    copies.Level(map, 3, {0, 0, 64, 64});
    EXPECT_FALSE(copies.IsStale(3, {0, 0, 512, 512}));
    const gdi::Bitmap want = DirectAnd(map, 3);
    const gdi::Bitmap& got = *copies.Level(map, 3, {0, 0, 64, 64});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(got.GetPixel(x, y), want.GetPixel(x, y)) << x << "," << y;
    map.SetWatcher(nullptr);
}

TEST(ReducedCopies, AllLevelsTakeAtMostATenthOfTheMapsPixels) {
    const struct { int w, h; } sizes[] = {{4096, 4096}, {4099, 3001}, {65535, 64}, {64, 4000}};
    for (const auto& size : sizes) {
        gdi::Bitmap map(size.w, size.h, 32, gdi::kWhite);
        ReducedCopies copies;
        copies.Reset(map);
        for (int k = ReducedCopies::kFirstLevel; k <= ReducedCopies::kLastLevel; ++k)
            copies.Level(map, k, {0, 0, 1, 1});
        EXPECT_LE(copies.Bytes(), map.PixelCount() * sizeof(gdi::Color) / 10)
            << size.w << " x " << size.h;
        copies.Reset(map);
        EXPECT_EQ(copies.Bytes(), 0u);
    }
}

// Through the document: its copies hear of every drawing, and every whole-map operation and
// undo brings them back in line with the map.
TEST(ReducedCopies, TheDocumentsCopiesFollowStrokesUndoResizeAndOpen) {
    zk::CZKDoc doc;
    ASSERT_TRUE(doc.NewMap(1100, 700));
    Paint(doc.m_bitmap);
    const auto everyLevel = [&doc](const std::string& when) {
        for (int k = ReducedCopies::kFirstLevel; k <= ReducedCopies::kLastLevel; ++k) {
            const gdi::Bitmap* level = doc.ReducedMap(k, {0, 0, 1 << 20, 1 << 20});
            ASSERT_NE(level, nullptr);
            EXPECT_TRUE(zk_test::SameBitmap(DirectAnd(doc.m_bitmap, k), *level))
                << when << ", level " << k;
        }
    };
    everyLevel("painted");

    doc.SaveUndo();
    gdi::DC dc(&doc.m_bitmap);
    dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    dc.MoveTo(5, 690);
    dc.LineTo(1090, 10);
    dc.FillRect({500, 300, 517, 333}, gdi::Brush::Solid(0x123456));
    // The undo record still hears of the changes beside the copies.
    EXPECT_GT(doc.GetUndoRecord().TileCount(), 0u);
    everyLevel("after strokes");
    doc.OnEditUndo();
    everyLevel("after undo");
    doc.OnEditUndo();
    everyLevel("after redo");

    ASSERT_TRUE(doc.Resize(700, 1100));
    everyLevel("after a resize");
    doc.OnEditUndo();
    everyLevel("after undoing the resize");

    const zk_test::TempDir dir;
    gdi::Bitmap other(900, 333, 32, gdi::kWhite);
    gdi::DC odc(&other);
    odc.FillRect({64, 64, 65, 65}, gdi::Brush::Solid(gdi::kBlack));
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "other.bmp", other));
    ASSERT_TRUE(doc.OnOpenDocument((dir / "other.bmp").string()));
    // A map of its own starts without copies; they are made again as they are asked for.
    EXPECT_EQ(doc.GetReducedCopies().Bytes(), 0u);
    everyLevel("after open");
    EXPECT_EQ(doc.ReducedMap(6, {1, 1, 2, 2})->GetPixel(1, 1), gdi::kBlack);
}

}  // namespace
