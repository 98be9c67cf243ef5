// Rectangles, fills, brushes, ellipses and arcs.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "gdi/dc.h"
#include "support/picture.h"

namespace {

using gdi::Point;
using gdi::Rect;
using zk_test::kBlue;
using zk_test::kGreen;
using zk_test::kRed;
using zk_test::SamePixels;
using zk_test::Shows;

// A white bitmap, a black pen, a green brush, and the logical origin at `org`.
struct Canvas {
    gdi::Bitmap bmp;
    gdi::DC dc;
    Canvas(int w, int h, Point org = {}, gdi::Color fill = gdi::kWhite)
        : bmp(w, h, 32, fill), dc(&bmp) {
        dc.SetViewportOrg(org);
        dc.SelectBrush(gdi::Brush::Solid(kGreen));
    }
};

std::set<std::pair<int, int>> PixelsOf(const gdi::Bitmap& bmp, gdi::Color c) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.GetPixel(x, y) == c)
                s.insert({x, y});
    return s;
}

TEST(Rectangle, ThinPenBorderAroundTheBrush) {
    Canvas c(7, 6), reversed(7, 6);
    c.dc.Rectangle(1, 1, 6, 5);
    reversed.dc.Rectangle(6, 5, 1, 1);
    EXPECT_TRUE(Shows(c.bmp, {".......",  //
                              ".#####.",  //
                              ".#ooo#.",  //
                              ".#ooo#.",  //
                              ".#####.",  //
                              "......."}));
    EXPECT_TRUE(SamePixels(c.bmp, reversed.bmp));
}

TEST(Rectangle, NullPenFillsOnePixelLess) {
    Canvas c(7, 6);
    c.dc.SelectPen(gdi::Pen::Null());
    c.dc.Rectangle(1, 1, 6, 5);
    EXPECT_TRUE(Shows(c.bmp, {".......",  //
                              ".oooo..",  //
                              ".oooo..",  //
                              ".oooo..",  //
                              ".......",  //
                              "......."}));
}

TEST(Rectangle, TinyBoxes) {
    Canvas c(8, 5);
    c.dc.SelectPen(gdi::Pen::Solid(1, kRed));
    c.dc.Rectangle(1, 1, 2, 2);            // one pixel, in the pen colour
    c.dc.Rectangle(3, 1, 4, 5);            // one column: all border
    c.dc.Rectangle(5, 1, 7, 3);            // 2 x 2: all border
    c.dc.Rectangle(5, 4, 5, 5);            // no width: nothing
    EXPECT_TRUE(Shows(c.bmp, {"........",  //
                              ".r.r.rr.",  //
                              "...r.rr.",  //
                              "...r....",  //
                              "...r...."}));
    Canvas n(3, 3);
    n.dc.SelectPen(gdi::Pen::Null());
    n.dc.Rectangle(1, 1, 2, 2);  // the brush's [L, R-1) is empty
    EXPECT_TRUE(Shows(n.bmp, {"...", "...", "..."}));
}

TEST(Rectangle, WidthTwoBorderHasSquareCorners) {
    Canvas c(14, 12, {2, 2});
    c.dc.SelectPen(gdi::Pen::Solid(2, gdi::kBlack));
    c.dc.Rectangle(0, 0, 10, 8);  // border [-1, 10) x [-1, 8), inside [1, 8) x [1, 6)
    EXPECT_TRUE(Shows(c.bmp, {"..............",  //
                              ".###########..",  //
                              ".###########..",  //
                              ".##ooooooo##..",  //
                              ".##ooooooo##..",  //
                              ".##ooooooo##..",  //
                              ".##ooooooo##..",  //
                              ".##ooooooo##..",  //
                              ".###########..",  //
                              ".###########..",  //
                              "..............",  //
                              ".............."}));
}

TEST(Rectangle, WidthThreeBorderRoundsItsOuterCorners) {
    Canvas c(14, 12, {2, 2});
    c.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    c.dc.Rectangle(0, 0, 10, 8);  // [-1, 11) x [-1, 9) less corners, inside [2, 8) x [2, 6)
    EXPECT_TRUE(Shows(c.bmp, {"..............",  //
                              "..##########..",  //
                              ".############.",  //
                              ".############.",  //
                              ".###oooooo###.",  //
                              ".###oooooo###.",  //
                              ".###oooooo###.",  //
                              ".###oooooo###.",  //
                              ".############.",  //
                              ".############.",  //
                              "..##########..",  //
                              ".............."}));
}

TEST(Rectangle, DashedBorderRunsCounterClockwiseFromTopRightAroundTheCorners) {
    // One run of the pattern: left along the top from (R-1, T), down the left side, right along
    // the bottom and up the right side.
    Canvas c(30, 10, {}, kGreen);
    c.dc.SelectPen(gdi::Pen::Dash(gdi::kBlack));
    c.dc.SetBkColor(gdi::kWhite);
    c.dc.SelectBrush(gdi::Brush::Null());
    c.dc.Rectangle(0, 0, 30, 10);
    EXPECT_TRUE(Shows(c.bmp, {"######......##################",  //
                              "#oooooooooooooooooooooooooooo#",  //
                              "#oooooooooooooooooooooooooooo#",  //
                              "#oooooooooooooooooooooooooooo#",  //
                              "#oooooooooooooooooooooooooooo#",  //
                              "#oooooooooooooooooooooooooooo.",  //
                              "#oooooooooooooooooooooooooooo.",  //
                              "#oooooooooooooooooooooooooooo.",  //
                              "#oooooooooooooooooooooooooooo.",  //
                              "####......##################.."}));

    // A second rectangle starts the pattern afresh.
    Canvas again(30, 10, {}, kGreen);
    again.dc.SelectPen(gdi::Pen::Dash(gdi::kBlack));
    again.dc.SelectBrush(gdi::Brush::Null());
    again.dc.Rectangle(0, 0, 30, 10);
    again.dc.Rectangle(0, 0, 30, 10);
    EXPECT_TRUE(SamePixels(c.bmp, again.bmp));
}

TEST(FillRect, FillsLeftAndTopButNotRightAndBottom) {
    Canvas c(6, 5, {1, 0});
    c.dc.FillRect({0, 1, 3, 3}, gdi::Brush::Solid(kRed));
    c.dc.FillRect({4, 0, 4, 5}, gdi::Brush::Solid(kRed));  // empty
    c.dc.FillRect({4, 4, 2, 2}, gdi::Brush::Solid(kRed));  // inverted
    c.dc.FillRect({0, 0, 5, 5}, gdi::Brush::Null());
    EXPECT_TRUE(Shows(c.bmp, {"......",  //
                              ".rrr..",  //
                              ".rrr..",  //
                              "......",  //
                              "......"}));
    EXPECT_EQ(c.dc.GetBrush().color, kGreen);  // the selected brush is left alone
}

// A 3 x 2 pattern: red green blue / black white red.
gdi::Bitmap ColourPattern() {
    return zk_test::Picture({"rob",  //
                             "#.r"});
}

TEST(PatternBrush, TilesFromTheBrushOrigin) {
    Canvas c(4, 3);
    c.dc.SetBrushOrg({1, 1});
    c.dc.FillRect({0, 0, 4, 3}, gdi::Brush::Pattern(ColourPattern()));
    // Device (0, 0) shows pattern ((0 - 1) mod 3, (0 - 1) mod 2) = (2, 1).
    EXPECT_TRUE(Shows(c.bmp, {"r#.r",  //
                              "brob",  //
                              "r#.r"}));
}

TEST(PatternBrush, NeighbouringFillsJoinSeamlessly) {
    const gdi::Brush brush = gdi::Brush::Pattern(ColourPattern());
    Canvas pieces(11, 7, {3, 2}), whole(11, 7);
    pieces.dc.SetBrushOrg({-1, 5});
    whole.dc.SetBrushOrg({-1, 5});
    // In logical coordinates shifted by the viewport: the pattern stays put on the device.
    pieces.dc.FillRect({-3, -2, 2, 1}, brush);
    pieces.dc.FillRect({2, -2, 8, 1}, brush);
    pieces.dc.SelectBrush(brush);
    pieces.dc.SelectPen(gdi::Pen::Null());
    pieces.dc.Rectangle(-3, 1, 9, 6);  // fills [-3, 8) x [1, 5)
    whole.dc.FillRect({0, 0, 11, 7}, brush);
    EXPECT_TRUE(SamePixels(whole.bmp, pieces.bmp));
}

TEST(PatternBrush, MonochromePatternTakesTheDcColours) {
    gdi::Bitmap mono(2, 1, 1, gdi::kWhite);
    mono.SetPixel(0, 0, gdi::kBlack);
    const gdi::Brush brush = gdi::Brush::Pattern(mono);
    Canvas c(4, 2);
    c.dc.FillRect({0, 0, 4, 1}, brush);  // defaults: text black, background white
    c.dc.SetTextColor(kRed);
    c.dc.SetBkColor(kBlue);
    c.dc.FillRect({0, 1, 4, 2}, brush);
    EXPECT_TRUE(Shows(c.bmp, {"#.#.",  //
                              "rbrb"}));
}

TEST(PatternBrush, ColourPatternOnMonochromeTakesTheNearerOfBlackAndWhite) {
    gdi::Bitmap mono(3, 1, 1, gdi::kBlack);
    gdi::DC dc(&mono);
    dc.FillRect({0, 0, 3, 1}, gdi::Brush::Pattern(zk_test::Picture({".#."})));
    dc.FillRect({2, 0, 3, 1}, gdi::Brush::Solid(gdi::RGB(200, 210, 190)));
    EXPECT_EQ(mono.GetPixel(0, 0), gdi::kWhite);
    EXPECT_EQ(mono.GetPixel(1, 0), gdi::kBlack);
    EXPECT_EQ(mono.GetPixel(2, 0), gdi::kWhite);
}

TEST(Ellipse, SmallExamples) {
    Canvas e3(5, 5), e4(6, 6), e5(7, 7), e6(8, 8);
    e3.dc.Ellipse(1, 1, 4, 4);
    e4.dc.Ellipse(1, 1, 5, 5);
    e5.dc.Ellipse(1, 1, 6, 6);
    e6.dc.Ellipse(7, 7, 1, 1);  // reversed corners make the same box
    EXPECT_TRUE(Shows(e3.bmp, {".....", "..#..", ".#o#.", "..#..", "....."}));
    EXPECT_TRUE(Shows(e4.bmp, {"......", "..##..", ".#oo#.", ".#oo#.", "..##..", "......"}));
    EXPECT_TRUE(Shows(
        e5.bmp, {".......", "..###..", ".#ooo#.", ".#ooo#.", ".#ooo#.", "..###..", "......."}));
    EXPECT_TRUE(Shows(e6.bmp, {"........", "...##...", "..#oo#..", ".#oooo#.", ".#oooo#.",
                               "..#oo#..", "...##...", "........"}));
}

TEST(Ellipse, OutlineIsDrawnOverTheFill) {
    Canvas c(5, 5, {1, 1});
    c.dc.SelectPen(gdi::Pen::Solid(1, kRed));
    c.dc.Ellipse(0, 0, 3, 3);
    EXPECT_TRUE(Shows(c.bmp, {".....", "..r..", ".ror.", "..r..", "....."}));
}

TEST(Ellipse, NullPenLetsTheBrushPaintTheOutlineToo) {
    Canvas c(8, 8);
    c.dc.SelectPen(gdi::Pen::Null());
    c.dc.Ellipse(1, 1, 7, 7);
    EXPECT_TRUE(Shows(c.bmp, {"........", "...oo...", "..oooo..", ".oooooo.", ".oooooo.",
                              "..oooo..", "...oo...", "........"}));
}

TEST(Ellipse, NarrowBoxesAreRectangles) {
    const Rect boxes[] = {{0, 0, 1, 1}, {0, 0, 2, 2}, {0, 0, 2, 7}, {0, 0, 7, 2}, {1, 0, 2, 5}};
    for (const bool nullPen : {false, true}) {
        for (const Rect& b : boxes) {
            Canvas ellipse(9, 9, {1, 1}), rect(9, 9, {1, 1});
            if (nullPen) {
                ellipse.dc.SelectPen(gdi::Pen::Null());
                rect.dc.SelectPen(gdi::Pen::Null());
            }
            ellipse.dc.Ellipse(b.left, b.top, b.right, b.bottom);
            rect.dc.Rectangle(b.left, b.top, b.right, b.bottom);
            SCOPED_TRACE(testing::Message()
                         << b.Width() << "x" << b.Height() << " null pen " << nullPen);
            EXPECT_TRUE(SamePixels(rect.bmp, ellipse.bmp));
        }
    }
}

TEST(Ellipse, EmptyBoxDrawsNothing) {
    Canvas c(5, 5);
    c.dc.Ellipse(1, 1, 1, 4);
    c.dc.Ellipse(1, 3, 4, 3);
    EXPECT_TRUE(PixelsOf(c.bmp, gdi::kWhite).size() == 25u);
}

TEST(Ellipse, EveryBoxGetsAClosedSymmetricOutlineTouchingItsLeftAndRight) {
    for (int h = 3; h <= 24; ++h) {
        for (int w = 3; w <= 24; ++w) {
            Canvas outlined(w, h), filled(w, h);
            outlined.dc.Ellipse(0, 0, w, h);
            filled.dc.SelectPen(gdi::Pen::Null());
            filled.dc.Ellipse(0, 0, w, h);
            SCOPED_TRACE(testing::Message() << w << "x" << h << "\n"
                                            << zk_test::BitmapText(outlined.bmp));
            const auto outline = PixelsOf(outlined.bmp, gdi::kBlack);
            bool left = false, right = false;
            for (const auto& [x, y] : outline) {
                ASSERT_TRUE(outline.count({w - 1 - x, y}) && outline.count({x, h - 1 - y}));
                int neighbours = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        neighbours += (dx || dy) && outline.count({x + dx, y + dy});
                ASSERT_GE(neighbours, 1) << "stray pixel at " << x << "," << y;
                left |= x == 0, right |= x == w - 1;
            }
            ASSERT_TRUE(left && right);
            // The outline encloses the brush: no inside pixel touches the outside.
            for (const auto& [x, y] : PixelsOf(outlined.bmp, kGreen))
                for (const auto& [nx, ny] :
                     {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}})
                    ASSERT_NE(outlined.bmp.GetPixel(nx, ny), gdi::kWhite) << x << "," << y;
            // The brush without a pen covers exactly the outline and what it encloses, at most
            // one run per row.
            auto covered = PixelsOf(outlined.bmp, kGreen);
            covered.insert(outline.begin(), outline.end());
            ASSERT_EQ(PixelsOf(filled.bmp, kGreen), covered);
            for (int y = 0; y < h; ++y) {
                const std::string text = zk_test::BitmapText(filled.bmp);
                const std::string row =
                    text.substr(static_cast<std::size_t>(y * (w + 1)), static_cast<std::size_t>(w));
                const auto first = row.find('o'), last = row.rfind('o');
                if (first == std::string::npos)
                    continue;  // beyond a narrow ellipse's tips
                ASSERT_EQ(row.substr(first, last - first + 1).find('.'), std::string::npos);
            }
        }
    }
}

TEST(Ellipse, NarrowEllipsesStopShortOfTheirTopAndBottomRows) {
    // The quadrant's walk ends where it leaves the box's right half, before reaching the edge
    // rows of a tall narrow box; the brush fills no row the outline does not reach.
    Canvas c(14, 11);
    c.dc.Ellipse(1, 1, 5, 8);
    c.dc.Ellipse(7, 1, 10, 10);
    EXPECT_TRUE(Shows(c.bmp, {"..............",  //
                              "..............",  //
                              "..##....#.....",  //
                              ".#oo#..#o#....",  //
                              ".#oo#..#o#....",  //
                              ".#oo#..#o#....",  //
                              "..##...#o#....",  //
                              ".......#o#....",  //
                              "........#.....",  //
                              "..............",  //
                              ".............."}));
}

TEST(Ellipse, WideOutlineIsTheThinOutlineStrokedAsAClosedPath) {
    // Every step from one outline pixel to the next is a wide segment of its own: caps on the
    // pixels, and on the diagonal steps a band that reaches further in, so the outline is
    // thicker inside than the caps alone.
    Canvas c(22, 18);
    c.dc.SelectPen(gdi::Pen::Solid(2, gdi::kBlack));
    c.dc.SelectBrush(gdi::Brush::Null());
    c.dc.Ellipse(2, 2, 20, 16);
    EXPECT_TRUE(Shows(c.bmp, {"......................",  //
                              ".......#######........",  //
                              ".....###########......",  //
                              "...######...######....",  //
                              "..#####.......#####...",  //
                              "..###...........###...",  //
                              ".###.............###..",  //
                              ".###.............###..",  //
                              ".##...............##..",  //
                              ".##...............##..",  //
                              ".###.............###..",  //
                              ".###.............###..",  //
                              "..####.........####...",  //
                              "..######.....######...",  //
                              "....#############.....",  //
                              "......#########.......",  //
                              "......................",  //
                              "......................"}));

    // Small boxes, odd and even, with the brush where the band leaves room.
    Canvas two(34, 10), three(42, 12);
    two.dc.SelectPen(gdi::Pen::Solid(2, gdi::kBlack));
    for (const Rect& b : {Rect{1, 2, 4, 5}, Rect{6, 2, 10, 6}, Rect{12, 2, 17, 8},
                          Rect{19, 2, 25, 7}, Rect{27, 1, 33, 9}})
        two.dc.Ellipse(b.left, b.top, b.right, b.bottom);
    EXPECT_TRUE(Shows(two.bmp, {"............................###...",  //
                                ".##...###...####...#####...#####..",  //
                                "####.#####.######.#######.#######.",  //
                                "####.#####.######.###o###.###o###.",  //
                                "####.#####.##oo##.##ooo##.##ooo##.",  //
                                ".....#####.##oo##.#######.##ooo##.",  //
                                "...........######.#######.###o###.",  //
                                "...........######.........#######.",  //
                                "...........................#####..",  //
                                ".................................."}));
    three.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    for (const Rect& b : {Rect{2, 2, 5, 5}, Rect{8, 2, 12, 6}, Rect{15, 2, 20, 8},
                          Rect{23, 2, 29, 7}, Rect{32, 2, 38, 10}})
        three.dc.Ellipse(b.left, b.top, b.right, b.bottom);
    EXPECT_TRUE(Shows(three.bmp, {"..........................................",  //
                                  "...###...####...#####...######....####....",  //
                                  ".####..#####..######..#######...#######...",  //
                                  ".#####.######.#######.########.#######....",  //
                                  ".####..######.#######.####o###.########...",  //
                                  "...###.#####..#######.########.####o###...",  //
                                  ".........####.#######.#######..####o###...",  //
                                  "..............######....######.########...",  //
                                  "................#####..........#######....",  //
                                  "................................#######...",  //
                                  "..................................####....",  //
                                  ".........................................."}));
}

TEST(Ellipse, DashedOutlineKeepsTheSolidPixels) {
    Canvas solid(40, 30), opaque(40, 30), clear(40, 30);
    solid.dc.SelectBrush(gdi::Brush::Null());
    solid.dc.Ellipse(0, 0, 40, 30);
    const auto outline = PixelsOf(solid.bmp, gdi::kBlack);
    int gaps = 0;
    for (int i = 0; i < static_cast<int>(outline.size()); ++i)
        gaps += i % 24 >= 18;

    for (Canvas* c : {&opaque, &clear}) {
        c->dc.SelectBrush(gdi::Brush::Null());
        c->dc.SelectPen(gdi::Pen::Dash(gdi::kBlack));
        c->dc.SetBkColor(kRed);
    }
    clear.dc.SetBkMode(gdi::BkMode::Transparent);
    opaque.dc.Ellipse(0, 0, 40, 30);
    clear.dc.Ellipse(0, 0, 40, 30);

    auto painted = PixelsOf(opaque.bmp, gdi::kBlack);
    const auto red = PixelsOf(opaque.bmp, kRed);
    EXPECT_EQ(static_cast<int>(red.size()), gaps);
    painted.insert(red.begin(), red.end());
    EXPECT_EQ(painted, outline);
    EXPECT_EQ(PixelsOf(clear.bmp, gdi::kBlack), PixelsOf(opaque.bmp, gdi::kBlack));
    EXPECT_TRUE(PixelsOf(clear.bmp, kRed).empty());
}

TEST(Arc, EqualEndsDrawTheWholeOutlineWithoutBrush) {
    Canvas arc(11, 9), ellipse(11, 9);
    ellipse.dc.SelectBrush(gdi::Brush::Null());
    ellipse.dc.Ellipse(1, 1, 10, 8);
    arc.dc.Arc(1, 1, 10, 8, 3, 0, 3, 0);
    EXPECT_TRUE(SamePixels(ellipse.bmp, arc.bmp));
}

TEST(Arc, PartialArcsGoCounterClockwiseFromStartToEnd) {
    Canvas quarter(9, 9), rest(9, 9), whole(9, 9);
    quarter.dc.Arc(0, 0, 9, 9, 9, 4, 4, 0);  // from the right end to the top
    rest.dc.Arc(0, 0, 9, 9, 4, 0, 9, 4);     // from the top round to the right end
    whole.dc.Arc(0, 0, 9, 9, 0, 0, 0, 0);
    const auto q = PixelsOf(quarter.bmp, gdi::kBlack);
    EXPECT_TRUE(q.count({8, 4}) && q.count({4, 0}));
    for (const auto& [x, y] : q)
        EXPECT_TRUE(x >= 4 && y <= 4) << x << "," << y;
    auto both = PixelsOf(rest.bmp, gdi::kBlack);
    EXPECT_GT(both.size(), 2 * q.size());
    both.insert(q.begin(), q.end());
    EXPECT_EQ(both, PixelsOf(whole.bmp, gdi::kBlack));
}

TEST(Arc, NarrowBoxDrawsTheRectangleBorderOnly) {
    Canvas c(6, 3);
    c.dc.Arc(1, 0, 5, 2, 0, 0, 0, 0);
    EXPECT_TRUE(Shows(c.bmp, {".####.", ".####.", "......"}));
}

TEST(Shapes, NeverWriteOutsideTheClipOrTheBitmap) {
    Canvas c(12, 12);
    c.dc.SetClipRect(Rect{2, 2, 10, 10});
    c.dc.SelectPen(gdi::Pen::Solid(3, gdi::kBlack));
    c.dc.Ellipse(-5, -5, 20, 20);
    c.dc.Rectangle(-3, -3, 15, 15);
    c.dc.FillRect({-100, -100, 100, 100}, gdi::Brush::Solid(kRed));
    c.dc.SetViewportOrg({-50, 40});
    c.dc.Ellipse(40, -50, 70, -20);
    const Rect clip{2, 2, 10, 10};
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(c.bmp.GetPixel(x, y) == gdi::kWhite, !clip.Contains(x, y)) << x << "," << y;
}

TEST(Pixels, SetAndGetUseLogicalCoordinatesAndTheClip) {
    Canvas c(4, 4, {1, 2});
    c.dc.SetPixelV(0, 0, kRed);
    EXPECT_EQ(c.bmp.GetPixel(1, 2), kRed);
    EXPECT_EQ(c.dc.GetPixel(0, 0), kRed);
    EXPECT_EQ(c.dc.GetPixel(5, 5), gdi::kBlack);  // outside the bitmap
    c.dc.SetClipRect(Rect{0, 0, 1, 1});
    c.dc.SetPixelV(1, 0, kRed);
    EXPECT_EQ(c.bmp.GetPixel(2, 2), gdi::kWhite);
    c.dc.SetPixelV(-1, -2, kBlue);
    EXPECT_EQ(c.bmp.GetPixel(0, 0), kBlue);

    gdi::Bitmap mono(2, 1, 1, gdi::kBlack);
    gdi::DC m(&mono);
    m.SetPixelV(0, 0, gdi::RGB(128, 128, 128));  // nearer white
    m.SetPixelV(1, 0, gdi::RGB(127, 128, 127));  // nearer black
    EXPECT_EQ(mono.GetPixel(0, 0), gdi::kWhite);
    EXPECT_EQ(mono.GetPixel(1, 0), gdi::kBlack);
}

TEST(Shapes, WithoutABitmapNothingHappens) {
    gdi::DC dc;
    dc.Rectangle(0, 0, 5, 5);
    dc.Ellipse(0, 0, 5, 5);
    dc.LineTo(3, 3);
    dc.SetPixelV(0, 0, kRed);
    EXPECT_EQ(dc.GetPixel(0, 0), gdi::kBlack);
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{3, 3}));
}

}  // namespace
