// Polygon regions and painting them.
#include <gtest/gtest.h>

#include <vector>

#include "gdi/dc.h"
#include "gdi/region.h"
#include "support/picture.h"

namespace {

using gdi::Point;
using gdi::Rect;
using gdi::Region;
using zk_test::Shows;

Region PolygonOf(std::vector<Point> pts) {
    return Region::Polygon(pts.data(), static_cast<int>(pts.size()));
}

// The region's pixels inside [0, w) x [0, h) as a picture, '#' in, '.' out.
gdi::Bitmap Draw(const Region& rgn, int w, int h) {
    gdi::Bitmap bmp(w, h, 32, gdi::kWhite);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (rgn.Contains(x, y))
                bmp.SetPixel(x, y, gdi::kBlack);
    return bmp;
}

TEST(PolygonRegion, TriangleFromTheNotes) {
    const Region tri = PolygonOf({{0, 0}, {6, 0}, {0, 6}});
    EXPECT_TRUE(Shows(Draw(tri, 7, 7), {"######.",  //
                                        "#####..",  //
                                        "####...",  //
                                        "###....",  //
                                        "##.....",  //
                                        "#......",  //
                                        "......."}));
    EXPECT_EQ(tri.GetBox(), (Rect{0, 0, 6, 6}));
}

TEST(PolygonRegion, FractionalCrossingsRoundUpOnBothSides) {
    // Left edge x = 2 - y/2, right edge x = 2 + y/2: row y covers [ceil(left), ceil(right)).
    const Region tri = PolygonOf({{2, 0}, {4, 4}, {0, 4}});
    EXPECT_TRUE(Shows(Draw(tri, 5, 5), {".....",  //
                                        "..#..",  //
                                        ".##..",  //
                                        ".###.",  //
                                        "....."}));
    const Region slim = PolygonOf({{0, 0}, {5, 0}, {0, 3}});  // right edge x = 5 - 5y/3
    EXPECT_TRUE(Shows(Draw(slim, 6, 4), {"#####.",            //
                                         "####..",            //
                                         "##....",            //
                                         "......"}));
}

TEST(PolygonRegion, AxisAlignedRectangleIsHalfOpen) {
    const Region cw = PolygonOf({{1, 1}, {5, 1}, {5, 4}, {1, 4}});
    const Region ccw = PolygonOf({{1, 4}, {5, 4}, {5, 1}, {1, 1}});
    const Region rect = Region::FromRect({5, 4, 1, 1});  // normalised
    for (const Region* r : {&cw, &ccw, &rect}) {
        EXPECT_EQ(r->GetBox(), (Rect{1, 1, 5, 4}));
        EXPECT_TRUE(r->Contains(1, 1));
        EXPECT_TRUE(r->Contains(4, 3));
        EXPECT_FALSE(r->Contains(5, 3));
        EXPECT_FALSE(r->Contains(4, 4));
        EXPECT_FALSE(r->Contains(0, 1));
        EXPECT_FALSE(r->Contains(1, 0));
    }
    EXPECT_TRUE(zk_test::SamePixels(Draw(rect, 7, 6), Draw(cw, 7, 6)));
    EXPECT_TRUE(zk_test::SamePixels(Draw(rect, 7, 6), Draw(ccw, 7, 6)));
}

TEST(PolygonRegion, WindingRuleFillsTheMiddleOfAStar) {
    const Region star = PolygonOf({{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}});
    EXPECT_TRUE(star.Contains(10, 11));  // wound twice: in by the nonzero rule
    EXPECT_TRUE(star.Contains(10, 2));   // a point, wound once
    EXPECT_FALSE(star.Contains(10, 19));
    // Spans are sorted and never touch within a row, even where the star crosses itself.
    const auto& spans = star.Spans();
    for (std::size_t i = 1; i < spans.size(); ++i) {
        const auto& a = spans[i - 1];
        const auto& b = spans[i];
        EXPECT_TRUE(a.y < b.y || (a.y == b.y && a.x1 < b.x0));
    }
}

TEST(PolygonRegion, DegenerateInputGivesAnEmptyRegion) {
    const std::vector<std::vector<Point>> cases = {
        {},
        {{1, 1}, {5, 5}},
        {{1, 1}, {5, 5}, {3, 3}},          // collinear
        {{1, 1}, {1, 1}, {1, 1}, {1, 1}},  // one point
        {{0, 2}, {6, 2}, {3, 2}},          // flat
    };
    for (const auto& pts : cases) {
        const Region r = PolygonOf(pts);
        EXPECT_TRUE(r.IsEmpty());
        EXPECT_EQ(r.GetBox(), (Rect{0, 0, 0, 0}));
        EXPECT_FALSE(r.Contains(1, 1));
    }
    EXPECT_TRUE(Region::Polygon(nullptr, 3).IsEmpty());
    EXPECT_TRUE(Region::FromRect({3, 3, 3, 9}).IsEmpty());
    EXPECT_EQ(Region().GetBox(), (Rect{0, 0, 0, 0}));
}

TEST(PolygonRegion, OffsetMovesEveryPart) {
    Region r = PolygonOf({{0, 0}, {6, 0}, {0, 6}});
    r.Offset(-2, 3);
    EXPECT_EQ(r.GetBox(), (Rect{-2, 3, 4, 9}));
    EXPECT_TRUE(r.Contains(-2, 3));
    EXPECT_TRUE(r.Contains(3, 3));
    EXPECT_FALSE(r.Contains(4, 3));
    EXPECT_TRUE(r.Contains(-2, 8));
    EXPECT_FALSE(r.Contains(-1, 8));
}

TEST(PaintRgn, FillsWithTheSelectedBrushInLogicalCoordinates) {
    gdi::Bitmap bmp(7, 5, 32, gdi::kWhite);
    gdi::DC dc(&bmp);
    dc.SetViewportOrg({2, 1});
    dc.SelectBrush(gdi::Brush::Solid(zk_test::kGreen));
    dc.PaintRgn(PolygonOf({{0, 0}, {3, 0}, {0, 3}}));
    dc.SetClipRect(Rect{0, 0, 7, 4});
    dc.PaintRgn(Region::FromRect({-5, 3, 10, 8}));  // clipped away below row 4
    dc.SelectBrush(gdi::Brush::Null());
    dc.PaintRgn(Region::FromRect({-5, -5, 10, 10}));
    EXPECT_TRUE(Shows(bmp, {".......",  //
                            "..ooo..",  //
                            "..oo...",  //
                            "..o....",  //
                            "......."}));
}

TEST(PaintRgn, PatternIsAnchoredLikeOtherFills) {
    const gdi::Brush brush = gdi::Brush::Pattern(zk_test::Picture({"#.", ".r"}));
    gdi::Bitmap viaRegion(6, 6, 32, gdi::kWhite), viaFill(6, 6, 32, gdi::kWhite);
    gdi::DC a(&viaRegion), b(&viaFill);
    a.SetViewportOrg({1, 1});
    a.SelectBrush(brush);
    a.PaintRgn(Region::FromRect({0, 0, 4, 3}));
    b.FillRect({1, 1, 5, 4}, brush);
    EXPECT_TRUE(zk_test::SamePixels(viaFill, viaRegion));
}

}  // namespace
