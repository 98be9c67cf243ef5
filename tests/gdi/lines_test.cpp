// Pens: which pixels lines set, for thin, wide, dashed and null pens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gdi/dc.h"
#include "support/picture.h"

namespace {

using gdi::Point;
using zk_test::Shows;

// A white bitmap with a DC whose logical origin is at `org`, so lines can reach to negative
// coordinates and still be seen.
struct Canvas {
    gdi::Bitmap bmp;
    gdi::DC dc;
    Canvas(int w, int h, Point org = {}, gdi::Color fill = gdi::kWhite)
        : bmp(w, h, 32, fill), dc(&bmp) {
        dc.SetViewportOrg(org);
    }
    void Line(Point a, Point b) {
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    }
};

int CountNonWhite(const gdi::Bitmap& bmp) {
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            n += bmp.GetPixel(x, y) != gdi::kWhite;
    return n;
}

TEST(ThinLine, WorkedExamplesLeaveOutTheEndPixel) {
    Canvas down(8, 5, {2, 2});
    down.Line({0, 0}, {4, 2});
    EXPECT_TRUE(Shows(down.bmp, {"........",  //
                                 "........",  //
                                 "..##....",  //
                                 "....##..",  //
                                 "........"}));
    Canvas up(8, 5, {2, 2});
    up.Line({0, 0}, {4, -2});
    EXPECT_TRUE(Shows(up.bmp, {".....#..",  //
                               "...##...",  //
                               "..#.....",  //
                               "........",  //
                               "........"}));
}

TEST(ThinLine, DrawnBackwardsHalvesStillGoToTheSmallerCoordinate) {
    Canvas c(8, 5, {2, 2});
    c.Line({4, 2}, {0, 0});
    EXPECT_TRUE(Shows(c.bmp, {"........",  //
                              "........",  //
                              "...#....",  //
                              "....##..",  //
                              "......#."}));
    Canvas steep(4, 4, {1, 0});
    steep.Line({1, 3}, {0, 0});            // (1, 3) (1, 2) then x = 1/3 rounds to 0
    EXPECT_TRUE(Shows(steep.bmp, {"....",  //
                                  ".#..",  //
                                  "..#.",  //
                                  "..#."}));
}

TEST(ThinLine, BothDirectionsAgreeApartFromTheirEndsInEveryOctant) {
    for (int dy = -5; dy <= 5; ++dy) {
        for (int dx = -5; dx <= 5; ++dx) {
            if (dx == 0 && dy == 0)
                continue;
            const Point a{0, 0}, b{dx, dy};
            Canvas forward(13, 13, {6, 6}), backward(13, 13, {6, 6});
            forward.Line(a, b);
            backward.Line(b, a);
            SCOPED_TRACE(testing::Message() << "to " << dx << "," << dy);
            EXPECT_EQ(CountNonWhite(forward.bmp), std::max(std::abs(dx), std::abs(dy)));
            EXPECT_EQ(forward.dc.GetPixel(a.x, a.y), gdi::kBlack);
            EXPECT_EQ(forward.dc.GetPixel(b.x, b.y), gdi::kWhite);
            forward.dc.SetPixelV(b.x, b.y, gdi::kBlack);
            backward.dc.SetPixelV(a.x, a.y, gdi::kBlack);
            EXPECT_TRUE(zk_test::SamePixels(forward.bmp, backward.bmp));
        }
    }
}

TEST(ThinLine, PointToItselfSetsNothing) {
    Canvas c(3, 3);
    c.Line({1, 1}, {1, 1});
    EXPECT_EQ(CountNonWhite(c.bmp), 0);
}

TEST(ThinLine, CurrentPositionFollowsTheLines) {
    Canvas c(5, 5);
    EXPECT_EQ(c.dc.MoveTo(1, 1), (Point{0, 0}));
    c.dc.LineTo(3, 1);
    EXPECT_EQ(c.dc.GetCurrentPosition(), (Point{3, 1}));
    const Point rest[] = {{3, 3}, {1, 3}, {1, 1}};
    c.dc.PolylineTo(rest, 3);
    EXPECT_EQ(c.dc.GetCurrentPosition(), (Point{1, 1}));
    // Each segment starts on the pixel the previous one left out: a closed square.
    EXPECT_TRUE(Shows(c.bmp, {".....",  //
                              ".###.",  //
                              ".#.#.",  //
                              ".###.",  //
                              "....."}));
    EXPECT_EQ(c.dc.MoveTo(0, 0), (Point{1, 1}));
}

TEST(ThinLine, WidthZeroDrawsAsOne) {
    Canvas zero(8, 5, {2, 2}), one(8, 5, {2, 2});
    zero.dc.SelectPen(gdi::Pen::Solid(0, gdi::kBlack));
    zero.Line({0, 0}, {4, 2});
    one.Line({0, 0}, {4, 2});
    EXPECT_TRUE(zk_test::SamePixels(one.bmp, zero.bmp));
}

TEST(ThinLine, NullPenDrawsNothingButMoves) {
    Canvas c(4, 4);
    c.dc.SelectPen(gdi::Pen::Null());
    c.Line({0, 0}, {3, 3});
    EXPECT_EQ(CountNonWhite(c.bmp), 0);
    EXPECT_EQ(c.dc.GetCurrentPosition(), (Point{3, 3}));
}

TEST(ThinLine, ClipAndViewportLimitWhatIsSet) {
    Canvas c(8, 2, {-10, 0});
    c.dc.SetClipRect(gdi::Rect{2, 0, 5, 2});
    c.Line({0, 0}, {100, 0});
    c.dc.SetClipRect(std::nullopt);
    c.Line({16, 1}, {20, 1});              // device 6..9: the part past the right edge is dropped
    EXPECT_TRUE(Shows(c.bmp, {"..###...",  //
                              "......##"}));
}

TEST(ThinLine, HugeCoordinatesAreClippedNotWalked) {
    Canvas c(6, 3);
    c.Line({-1000000000, 1}, {1000000000, 1});
    c.Line({-999999999, -1000000000}, {999999999, 1000000000});  // through (0, 0), nearly diagonal
    EXPECT_TRUE(Shows(c.bmp, {"#.....",                          //
                              "######",                          //
                              "..#..."}));
}

class WidePen : public testing::Test {
  protected:
    Canvas c{11, 5, {2, 2}};
    void Use(int width) { c.dc.SelectPen(gdi::Pen::Solid(width, gdi::kBlack)); }
};

TEST_F(WidePen, HorizontalWidthTwoCoversItsEndPoints) {
    Use(2);
    c.Line({0, 0}, {6, 0});
    EXPECT_TRUE(Shows(c.bmp, {"...........",  //
                              ".########..",  //
                              ".########..",  //
                              "...........",  //
                              "..........."}));
}

TEST_F(WidePen, HorizontalWidthThreeHasRoundCaps) {
    Use(3);
    c.Line({6, 0}, {0, 0});
    EXPECT_TRUE(Shows(c.bmp, {"...........",  //
                              "..#######..",  //
                              ".#########.",  //
                              "..#######..",  //
                              "..........."}));
}

TEST_F(WidePen, VerticalBandsAndCaps) {
    Canvas two(4, 7, {2, 1}), three(5, 7, {2, 1});
    two.dc.SelectPen(gdi::Pen::Solid(2, gdi::kBlack));
    two.Line({0, 0}, {0, 4});
    EXPECT_TRUE(Shows(two.bmp, {".##.", ".##.", ".##.", ".##.", ".##.", ".##.", "...."}));
    three.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    three.Line({0, 4}, {0, 0});
    EXPECT_TRUE(Shows(three.bmp, {"..#..", ".###.", ".###.", ".###.", ".###.", ".###.", "..#.."}));
}

TEST_F(WidePen, SlantedBandsSplitTheirWidthInWholePixelsWiderOnTheRight) {
    // Across a slanted segment the band reaches w*|dy|/len in x and w*|dx|/len in y; its side
    // towards larger x takes round((reach + 1) / 2) whole pixels of each, the other side
    // round(reach / 2), and the four corners are filled by the polygon rule. Width 3 from
    // (4,25) to (25,0) reaches 2.30 in x (2 right, 1 left) and 1.93 in y (1 each side).
    Canvas three(30, 28), back(30, 28);
    three.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    back.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    three.Line({4, 25}, {25, 0});
    back.Line({25, 0}, {4, 25});
    EXPECT_TRUE(Shows(three.bmp, {"........................###...",  //
                                  ".......................####...",  //
                                  "......................#####...",  //
                                  ".....................#####....",  //
                                  "....................#####.....",  //
                                  "...................#####......",  //
                                  "...................####.......",  //
                                  "..................####........",  //
                                  ".................#####........",  //
                                  "................#####.........",  //
                                  "...............#####..........",  //
                                  "..............#####...........",  //
                                  "..............####............",  //
                                  ".............####.............",  //
                                  "............#####.............",  //
                                  "...........#####..............",  //
                                  "..........#####...............",  //
                                  ".........#####................",  //
                                  ".........####.................",  //
                                  "........####..................",  //
                                  ".......#####..................",  //
                                  "......#####...................",  //
                                  ".....#####....................",  //
                                  "....#####.....................",  //
                                  "...#####......................",  //
                                  "...####.......................",  //
                                  "....#.........................",  //
                                  ".............................."}));
    EXPECT_TRUE(zk_test::SamePixels(three.bmp, back.bmp));

    // Width 2 from (2,2) to (16,8): the band's ends are its own corners, not the caps'.
    Canvas two(20, 11);
    two.dc.SelectPen(gdi::Pen::Solid(2, gdi::kBlack));
    two.Line({2, 2}, {16, 8});
    EXPECT_TRUE(Shows(two.bmp, {"....................",  //
                                ".##.................",  //
                                ".#####..............",  //
                                "..######............",  //
                                ".....#####..........",  //
                                ".......######.......",  //
                                ".........######.....",  //
                                "............#####...",  //
                                "..............###...",  //
                                "....................",  //
                                "...................."}));
}

TEST_F(WidePen, EveryOctantDrawnEitherWay) {
    // Four short segments, one in each octant of a downward direction; drawn upward the same
    // pixels come out, so these also stand for the other four octants.
    const Point segments[4][2] = {
        {{2, 3}, {8, 5}}, {{13, 2}, {15, 8}}, {{26, 3}, {20, 5}}, {{33, 2}, {31, 8}}};
    const auto draw = [&segments](int width, bool reversed) {
        Canvas c(36, 11);
        c.dc.SelectPen(gdi::Pen::Solid(width, gdi::kBlack));
        for (const auto& s : segments)
            c.Line(s[reversed ? 1 : 0], s[reversed ? 0 : 1]);
        return c.bmp;
    };
    EXPECT_TRUE(Shows(draw(2, false), {"....................................",  //
                                       "............##..................##..",  //
                                       ".##.........###..........##.....##..",  //
                                       ".#####.......##........####.....##..",  //
                                       "..#######....##....########.....##..",  //
                                       ".....####....###...#####.......###..",  //
                                       "..............##...............##...",  //
                                       "..............##..............###...",  //
                                       "..............##..............###...",  //
                                       "....................................",  //
                                       "...................................."}));
    EXPECT_TRUE(Shows(draw(3, false), {"....................................",  //
                                       ".............#...................#..",  //
                                       "..####......####..........#.....###.",  //
                                       ".########....###.......#####....###.",  //
                                       "..#######....###....#######.....###.",  //
                                       ".....#####...####..########....####.",  //
                                       "........#.....###...####.......###..",  //
                                       "..............###..............###..",  //
                                       "..............###.............####..",  //
                                       "...............#...............#....",  //
                                       "...................................."}));
    for (int width : {2, 3}) {
        SCOPED_TRACE(width);
        EXPECT_TRUE(zk_test::SamePixels(draw(width, false), draw(width, true)));
    }
}

TEST_F(WidePen, DiagonalWidthThreeRoundsItsReachUpOnTheRight) {
    // On a diagonal the reach is 2.12 pixels: 2 to the right (and up), 1 to the left.
    Canvas d(7, 7, {2, 2});
    d.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    d.Line({0, 0}, {2, 2});
    EXPECT_TRUE(Shows(d.bmp, {".......",  //
                              "..###..",  //
                              ".#####.",  //
                              ".####..",  //
                              "..####.",  //
                              "....#..",  //
                              "......."}));
}

TEST_F(WidePen, ZeroLengthDrawsOneCap) {
    Use(3);
    c.Line({1, 0}, {1, 0});
    Use(2);
    c.Line({6, 0}, {6, 0});
    EXPECT_TRUE(Shows(c.bmp, {"...........",  //
                              "...#...##..",  //
                              "..###..##..",  //
                              "...#.......",  //
                              "..........."}));
}

TEST_F(WidePen, PolylineJoinsAreRound) {
    Canvas j(9, 9, {2, 2});
    j.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    const Point path[] = {{4, 0}, {4, 4}};
    j.dc.PolylineTo(path, 2);
    EXPECT_TRUE(Shows(j.bmp, {".........",  //
                              "..#####..",  //
                              ".#######.",  //
                              "..######.",  //
                              ".....###.",  //
                              ".....###.",  //
                              ".....###.",  //
                              "......#..",  //
                              "........."}));

    // Slanted segments meet in the cap's shape laid over both bands.
    const Point zigzag[] = {{7, 2}, {12, 9}, {19, 3}};
    Canvas two(22, 11), three(22, 11);
    for (Canvas* c : {&two, &three}) {
        c->dc.SelectPen(gdi::Pen::Solid(c == &two ? 2 : 3, gdi::kBlack));
        c->dc.MoveTo(2, 9);
        c->dc.PolylineTo(zigzag, 3);
    }
    EXPECT_TRUE(Shows(two.bmp, {"......................",  //
                                "......##..............",  //
                                "......###.........##..",  //
                                ".....#####.......###..",  //
                                "....#######.....####..",  //
                                "....###.###....####...",  //
                                "...###...###..####....",  //
                                "..####...########.....",  //
                                ".####.....######......",  //
                                ".###.......####.......",  //
                                "......................"}));
    EXPECT_TRUE(Shows(three.bmp, {"......................",  //
                                  ".......#..............",  //
                                  "......####.........#..",  //
                                  ".....######......####.",  //
                                  "....########....####..",  //
                                  "....########...#####..",  //
                                  "...####..####.#####...",  //
                                  "..#####..#########....",  //
                                  ".#####....#######.....",  //
                                  ".####......#####......",  //
                                  "..#.........###......."}));
}

class DashedPen : public testing::Test {
  protected:
    // Green underneath, so painted gaps (white) and untouched ones (green) differ.
    Canvas c{32, 1, {}, zk_test::kGreen};
    void SetUp() override { c.dc.SelectPen(gdi::Pen::Dash(gdi::kBlack)); }
};

TEST_F(DashedPen, EighteenOnSixOffWithGapsInTheBackgroundColour) {
    c.Line({0, 0}, {30, 0});
    EXPECT_TRUE(Shows(c.bmp, {"##################......######oo"}));
}

TEST_F(DashedPen, TransparentModeLeavesTheGapsAlone) {
    c.dc.SetBkMode(gdi::BkMode::Transparent);
    c.Line({30, 0}, {0, 0});
    EXPECT_TRUE(Shows(c.bmp, {"o######oooooo##################o"}));
}

TEST_F(DashedPen, EachLineToStartsThePatternAfresh) {
    c.dc.MoveTo(0, 0);
    c.dc.LineTo(10, 0);
    c.dc.LineTo(31, 0);
    EXPECT_TRUE(Shows(c.bmp, {"############################...o"}));
}

TEST_F(DashedPen, PolylineToRunsThePatternOnAcrossVertices) {
    const Point path[] = {{10, 0}, {31, 0}};
    c.dc.MoveTo(0, 0);
    c.dc.PolylineTo(path, 2);
    EXPECT_TRUE(Shows(c.bmp, {"##################......#######o"}));
}

TEST(DashedLine, CountsAlongTheMajorAxis) {
    Canvas c(30, 11);
    c.dc.SelectPen(gdi::Pen::Dash(gdi::kBlack));
    c.dc.SetBkColor(zk_test::kRed);
    c.Line({0, 0}, {30, 10});
    for (int x = 0; x < 30; ++x) {
        int on = 0, gap = 0;
        for (int y = 0; y < 11; ++y) {
            on += c.bmp.GetPixel(x, y) == gdi::kBlack;
            gap += c.bmp.GetPixel(x, y) == zk_test::kRed;
        }
        const bool inGap = x >= 18 && x < 24;
        EXPECT_EQ(on, inGap ? 0 : 1) << "column " << x;
        EXPECT_EQ(gap, inGap ? 1 : 0) << "column " << x;
    }
}

TEST(DashedLine, MonochromeBitmapGetsBlackAndWhite) {
    gdi::Bitmap mono(26, 1, 1, gdi::kBlack);
    gdi::DC dc(&mono);
    dc.SelectPen(gdi::Pen::Dash(gdi::RGB(20, 20, 20)));
    dc.SetBkColor(gdi::RGB(250, 240, 250));
    dc.LineTo(25, 0);
    EXPECT_EQ(mono.GetPixel(0, 0), gdi::kBlack);
    EXPECT_EQ(mono.GetPixel(20, 0), gdi::kWhite);
    EXPECT_EQ(mono.GetPixel(24, 0), gdi::kBlack);
}

}  // namespace
