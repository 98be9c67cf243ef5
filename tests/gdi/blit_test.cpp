// Block transfers: raster operations, format conversions, stretching and clipping.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "gdi/dc.h"
#include "support/picture.h"

namespace {

using gdi::Rop;
using gdi::StretchMode;
using zk_test::kBlue;
using zk_test::kGreen;
using zk_test::kRed;
using zk_test::Picture;
using zk_test::SamePixels;
using zk_test::Shows;

// A bitmap with its own DC, as the program keeps them in pairs.
struct Surface {
    gdi::Bitmap bmp;
    gdi::DC dc;
    explicit Surface(gdi::Bitmap b) : bmp(std::move(b)), dc(&bmp) {}
    Surface(int w, int h, int bpp = 32, gdi::Color fill = gdi::kWhite)
        : Surface(gdi::Bitmap(w, h, bpp, fill)) {}
    Surface(const Surface&) = delete;
};

gdi::Bitmap Mono(std::initializer_list<std::string_view> rows) {
    const gdi::Bitmap colour = Picture(rows);
    gdi::Bitmap mono(colour.Width(), colour.Height(), 1);
    for (int y = 0; y < colour.Height(); ++y)
        for (int x = 0; x < colour.Width(); ++x)
            mono.SetPixel(x, y, colour.GetPixel(x, y));
    return mono;
}

TEST(BitBlt, CopiesInLogicalCoordinatesOfBothSides) {
    Surface src(Picture({"rob#",  //
                         "#bor",  //
                         "...."}));
    Surface dst(6, 4);
    src.dc.SetViewportOrg({1, 0});
    dst.dc.SetViewportOrg({-1, 1});
    EXPECT_TRUE(dst.dc.BitBlt(2, 0, 3, 2, src.dc, 0, 0, Rop::SrcCopy));  // source columns 1..3
    EXPECT_TRUE(Shows(dst.bmp, {"......",                                //
                                ".ob#..",                                //
                                ".bor..",                                //
                                "......"}));
}

TEST(BitBlt, RasterOperationsWorkOnTheWholePixelValue) {
    Surface src(1, 1, 32, 0x123456);
    for (const auto& [rop, expected] : {std::pair{Rop::SrcCopy, 0x123456u},
                                        {Rop::SrcAnd, 0x020406u},
                                        {Rop::SrcPaint, 0x1F3F5Fu}}) {
        Surface dst(1, 1, 32, 0x0F0F0F);
        dst.dc.BitBlt(0, 0, 1, 1, src.dc, 0, 0, rop);
        EXPECT_EQ(dst.bmp.GetPixel(0, 0), expected);
    }
}

TEST(BitBlt, MonochromeSourceTakesTheDestinationsTextAndBackground) {
    Surface mask(Mono({".#.#"}));
    Surface dst(Picture({"oooo", "oooo"}));
    dst.dc.BitBlt(0, 0, 4, 1, mask.dc, 0, 0, Rop::SrcAnd);  // black text, white background
    dst.dc.SetTextColor(kRed);
    dst.dc.SetBkColor(kBlue);
    mask.dc.SetTextColor(kGreen);  // the source DC's colours play no part
    mask.dc.SetBkColor(kGreen);
    dst.dc.BitBlt(0, 1, 4, 1, mask.dc, 0, 0, Rop::SrcCopy);
    EXPECT_TRUE(Shows(dst.bmp, {"o#o#",  //
                                "brbr"}));
}

TEST(BitBlt, ColourSourceOntoMonochromeComparesWithTheSourceBackground) {
    Surface src(Picture({"o#.r"}));
    Surface mono(4, 2, 1, gdi::kBlack);
    src.dc.SetBkColor(kGreen);
    mono.dc.SetBkColor(kRed);  // the destination's background plays no part
    mono.dc.BitBlt(0, 0, 4, 1, src.dc, 0, 0, Rop::SrcCopy);
    src.dc.SetBkColor(gdi::kWhite);
    mono.dc.BitBlt(0, 1, 4, 1, src.dc, 0, 0, Rop::SrcCopy);
    EXPECT_TRUE(Shows(mono.bmp, {".###",  //
                                 "##.#"}));
}

TEST(BitBlt, MonochromeToMonochromeKeepsTheBits) {
    Surface src(Mono({"#..#"}));
    Surface dst(Mono({"##..", "##.."}));
    dst.dc.SetTextColor(kRed);
    dst.dc.BitBlt(0, 0, 4, 1, src.dc, 0, 0, Rop::SrcCopy);
    dst.dc.BitBlt(0, 1, 4, 1, src.dc, 0, 0, Rop::SrcPaint);
    EXPECT_TRUE(Shows(dst.bmp, {"#..#",  //
                                "#..."}));
}

TEST(BitBlt, OverlappingCopyWithinOneBitmap) {
    Surface s(Picture({"rob#..",  //
                       "#bro..",  //
                       "......"}));
    s.dc.BitBlt(2, 0, 4, 2, s.dc, 0, 0, Rop::SrcCopy);
    EXPECT_TRUE(Shows(s.bmp, {"rorob#",  //
                              "#b#bro",  //
                              "......"}));
    s.dc.BitBlt(0, 1, 6, 2, s.dc, 0, 0, Rop::SrcCopy);
    EXPECT_TRUE(Shows(s.bmp, {"rorob#",  //
                              "rorob#",  //
                              "#b#bro"}));
    s.dc.BitBlt(0, 0, 6, 1, s.dc, 0, 2, Rop::SrcCopy);  // a source below the destination
    EXPECT_TRUE(Shows(s.bmp, {"#b#bro",                 //
                              "rorob#",                 //
                              "#b#bro"}));
    // Shrinking within one bitmap reads what a separate copy of it would give.
    gdi::Bitmap original = s.bmp;
    Surface copy(original);
    gdi::DC from(&original);
    copy.dc.StretchBlt(0, 0, 3, 1, from, 0, 1, 6, 2, Rop::SrcCopy);
    s.dc.StretchBlt(0, 0, 3, 1, s.dc, 0, 1, 6, 2, Rop::SrcCopy);
    EXPECT_TRUE(SamePixels(copy.bmp, s.bmp));
}

TEST(BitBlt, ClipsToBothBitmapsAndTheClipRectangle) {
    Surface src(Picture({"rob",  //
                         "#br"}));
    Surface dst(5, 4, 32, gdi::kWhite);
    EXPECT_TRUE(dst.dc.BitBlt(-1, -1, 3, 3, src.dc, 0, 0, Rop::SrcCopy));  // hangs off top left
    EXPECT_TRUE(dst.dc.BitBlt(3, 2, 4, 4, src.dc, 1, 0, Rop::SrcCopy));    // past both sources
    EXPECT_TRUE(dst.dc.BitBlt(0, 3, 5, 1, src.dc, -2, 0, Rop::SrcCopy));   // source starts left
    EXPECT_TRUE(Shows(dst.bmp, {"br...",                                   //
                                ".....",                                   //
                                "...ob",                                   //
                                "..rob"}));
    Surface clipped(5, 2);
    clipped.dc.SetClipRect(gdi::Rect{1, 0, 3, 1});
    clipped.dc.BitBlt(0, 0, 3, 2, src.dc, 0, 0, Rop::SrcCopy);
    EXPECT_TRUE(Shows(clipped.bmp, {".ob..", "....."}));
}

TEST(BitBlt, NeedsBitmapsOnBothSides) {
    Surface src(2, 2);
    gdi::DC empty;
    EXPECT_FALSE(empty.BitBlt(0, 0, 2, 2, src.dc, 0, 0, Rop::SrcCopy));
    EXPECT_FALSE(src.dc.BitBlt(0, 0, 2, 2, empty, 0, 0, Rop::SrcCopy));
    EXPECT_FALSE(src.dc.StretchBlt(0, 0, 2, 2, empty, 0, 0, 1, 1, Rop::SrcCopy));
    EXPECT_TRUE(src.dc.BitBlt(0, 0, 0, 2, src.dc, 0, 0, Rop::SrcCopy));
}

class Stretch : public testing::Test {
  protected:
    Surface Run(const gdi::Bitmap& from, int w, int h, StretchMode mode, int bpp = 32) {
        Surface src(from);
        Surface dst(w, h, bpp, gdi::kWhite);
        dst.dc.SetStretchBltMode(mode);
        EXPECT_TRUE(
            dst.dc.StretchBlt(0, 0, w, h, src.dc, 0, 0, from.Width(), from.Height(), Rop::SrcCopy));
        return Surface(dst.bmp);
    }
};

TEST_F(Stretch, EnlargingPicksTheNearestSourcePixelTiesToTheLower) {
    for (const StretchMode mode : {StretchMode::BlackOnWhite, StretchMode::ColorOnColor}) {
        EXPECT_TRUE(Shows(Run(Picture({"r#"}), 5, 1, mode).bmp, {"rrr##"}));
        EXPECT_TRUE(Shows(Run(Picture({"r#b"}), 5, 1, mode).bmp, {"rr#bb"}));
        EXPECT_TRUE(
            Shows(Run(Picture({"r", "#", "b"}), 1, 5, mode).bmp, {"r", "r", "#", "b", "b"}));
    }
}

TEST_F(Stretch, BlackOnWhiteShrinkKeepsDarkPixels) {
    const auto mode = StretchMode::BlackOnWhite;
    EXPECT_TRUE(Shows(Run(Picture({".#..."}), 2, 1, mode).bmp, {"#."}));  // {0,1,2} {3,4}
    EXPECT_TRUE(Shows(Run(Picture({"....#"}), 2, 1, mode).bmp, {".#"}));
    EXPECT_TRUE(Shows(Run(Picture({"..#.."}), 3, 1, mode).bmp, {".#."}));  // {0,1} {2} {3,4}
    EXPECT_TRUE(Shows(Run(Picture({".", "#", ".", ".", "."}), 1, 3, mode).bmp, {"#", ".", "."}));
    // Colours are ANDed bit by bit.
    Surface mix = Run(Picture({"ob"}), 1, 1, mode);
    EXPECT_EQ(mix.bmp.GetPixel(0, 0), kGreen & kBlue);
    gdi::Bitmap pair(2, 1, 32, 0x7F3C10);
    pair.SetPixel(1, 0, 0x1E22FF);
    EXPECT_EQ(Run(pair, 1, 1, mode).bmp.GetPixel(0, 0), 0x7F3C10u & 0x1E22FFu);
}

TEST_F(Stretch, ColorOnColorKeepsLastColumnAndFirstRow) {
    const auto mode = StretchMode::ColorOnColor;
    EXPECT_TRUE(Shows(Run(Picture({"ro#b."}), 2, 1, mode).bmp, {"#."}));
    EXPECT_TRUE(Shows(Run(Picture({"ro#b."}), 3, 1, mode).bmp, {"o#."}));
    EXPECT_TRUE(Shows(Run(Picture({"r", "o", "#", "b", "."}), 1, 3, mode).bmp, {"r", "#", "b"}));
    EXPECT_TRUE(Shows(Run(Picture({"ro", "#b"}), 1, 1, mode).bmp, {"o"}));
}

TEST_F(Stretch, EnlargeOneAxisWhileShrinkingTheOther) {
    const gdi::Bitmap src = Picture({"r.",  //
                                     "..",  //
                                     ".#",  //
                                     "b."});
    EXPECT_TRUE(Shows(Run(src, 4, 2, StretchMode::BlackOnWhite).bmp, {"rr..",  //
                                                                      "bb##"}));
    EXPECT_TRUE(Shows(Run(src, 4, 2, StretchMode::ColorOnColor).bmp, {"rr..",  //
                                                                      "..##"}));
}

TEST_F(Stretch, MonochromeGroupsAreCombinedBeforeTakingColours) {
    Surface mono(Mono({"#...", "...."}));
    Surface dst(2, 1);
    dst.dc.SetTextColor(kRed);
    dst.dc.SetBkColor(kBlue);
    dst.dc.StretchBlt(0, 0, 2, 1, mono.dc, 0, 0, 4, 2, Rop::SrcCopy);
    EXPECT_TRUE(Shows(dst.bmp, {"rb"}));

    Surface colour(Picture({"oooo", "oo#o", "oooo"}));
    colour.dc.SetBkColor(kGreen);
    Surface bw(2, 1, 1, gdi::kBlack);
    bw.dc.StretchBlt(0, 0, 2, 1, colour.dc, 0, 0, 4, 3, Rop::SrcCopy);
    EXPECT_TRUE(Shows(bw.bmp, {".#"}));
}

TEST_F(Stretch, EqualSizesAreAPlainBlit) {
    const gdi::Bitmap src = Picture({"ro#", "b.o"});
    Surface a(src), b(src), from(Picture({"#.b", "or#"}));
    a.dc.StretchBlt(0, 0, 3, 2, from.dc, 0, 0, 3, 2, Rop::SrcAnd);
    b.dc.BitBlt(0, 0, 3, 2, from.dc, 0, 0, Rop::SrcAnd);
    EXPECT_TRUE(SamePixels(b.bmp, a.bmp));
}

TEST_F(Stretch, RaisesNoErrorButDrawsNothingForBadSizes) {
    Surface src(Picture({"r#"}));
    Surface dst(3, 1);
    EXPECT_FALSE(dst.dc.StretchBlt(0, 0, -3, 1, src.dc, 0, 0, 2, 1, Rop::SrcCopy));
    EXPECT_FALSE(dst.dc.StretchBlt(0, 0, 3, 1, src.dc, 2, 0, -2, 1, Rop::SrcCopy));
    EXPECT_TRUE(dst.dc.StretchBlt(0, 0, 3, 1, src.dc, 0, 0, 0, 1, Rop::SrcCopy));
    EXPECT_TRUE(Shows(dst.bmp, {"..."}));
}

TEST_F(Stretch, SourceOutsideItsBitmapLeavesTheDestinationAlone) {
    Surface src(Picture({"ro#b"}));
    Surface dst(8, 1, 32, kRed);
    dst.dc.StretchBlt(0, 0, 8, 1, src.dc, 2, 0, 4, 1, Rop::SrcCopy);  // columns 4, 5 missing
    EXPECT_TRUE(Shows(dst.bmp, {"##bbrrrr"}));
    Surface shrink(2, 1, 32, kRed);
    shrink.dc.StretchBlt(0, 0, 2, 1, src.dc, -1, 0, 4, 1, Rop::SrcCopy);  // {-1,0} {1,2}
    EXPECT_TRUE(Shows(shrink.bmp, {"r#"}));
}

// The rules written out pixel by pixel, as a yardstick for the table-driven transfer.
gdi::Color Expected(const gdi::Bitmap& src, int sx, int sy, int sw, int sh, int w, int h, int dx,
                    int dy, StretchMode mode) {
    const auto group = [](int d, int S, int D, int& lo, int& hi) {
        if (D >= S) {
            const std::int64_t num = (2 * std::int64_t{d} + 1) * S;
            lo = hi = static_cast<int>((num + 2 * D - 1) / (2 * D)) - 1;
            return;
        }
        lo = S;
        hi = -1;
        for (int s = 0; s < S; ++s) {
            const std::int64_t num = (2 * std::int64_t{s} + 1) * D;
            if (static_cast<int>((num + 2 * S - 1) / (2 * S)) - 1 == d) {
                lo = std::min(lo, s);
                hi = std::max(hi, s);
            }
        }
    };
    int x0, x1, y0, y1;
    group(dx, sw, w, x0, x1);
    group(dy, sh, h, y0, y1);
    if (mode == StretchMode::ColorOnColor)
        return src.GetPixel(sx + x1, sy + y0);
    gdi::Color v = 0xFFFFFF;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            v &= src.GetPixel(sx + x, sy + y);
    return v;
}

TEST_F(Stretch, AgreesWithThePerPixelRulesAtManySizesAndClips) {
    std::mt19937 rng(7);
    gdi::Bitmap src(23, 19);
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x)
            src.SetPixel(x, y, rng() & 0xFFFFFF);
    Surface from(src);
    for (int round = 0; round < 300; ++round) {
        const int sw = 1 + static_cast<int>(rng() % 12), sh = 1 + static_cast<int>(rng() % 12);
        const int sx = static_cast<int>(rng() % 12), sy = static_cast<int>(rng() % 8);
        const int w = 1 + static_cast<int>(rng() % 30), h = 1 + static_cast<int>(rng() % 30);
        const int x = static_cast<int>(rng() % 10) - 5, y = static_cast<int>(rng() % 10) - 5;
        const auto mode = rng() % 2 ? StretchMode::BlackOnWhite : StretchMode::ColorOnColor;
        const gdi::Rect clip{static_cast<int>(rng() % 6), static_cast<int>(rng() % 6),
                             10 + static_cast<int>(rng() % 20), 10 + static_cast<int>(rng() % 20)};
        Surface dst(24, 24, 32, kRed);
        dst.dc.SetStretchBltMode(mode);
        dst.dc.SetClipRect(clip);
        dst.dc.StretchBlt(x, y, w, h, from.dc, sx, sy, sw, sh, Rop::SrcCopy);
        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " at " << sx << "," << sy << " onto "
                                        << w << "x" << h << " at " << x << "," << y
                                        << (mode == StretchMode::BlackOnWhite ? " and" : " pick"));
        for (int py = 0; py < 24; ++py) {
            for (int px = 0; px < 24; ++px) {
                const bool inside =
                    clip.Contains(px, py) && px >= x && px < x + w && py >= y && py < y + h;
                const gdi::Color want =
                    inside ? Expected(src, sx, sy, sw, sh, w, h, px - x, py - y, mode) : kRed;
                ASSERT_EQ(dst.bmp.GetPixel(px, py), want) << px << "," << py;
            }
        }
    }
}

// Shrinks by whole factors, the zoomed-out view's case, on each axis or on one: the same pixels
// as the rules give, with the destination partly outside the clip and the bitmap.
TEST_F(Stretch, WholeFactorShrinksAndEachBlockOfItsSource) {
    std::mt19937 rng(11);
    gdi::Bitmap src(40, 36);
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x)
            src.SetPixel(x, y, (rng() & 0xFFFFFF) | (rng() % 3 ? 0x808080 : 0));
    Surface from(src);
    const struct {
        int rx, ry, w, h, sx, sy, x, y;
    } cases[] = {
        {2, 2, 20, 18, 0, 0, 0, 0},  {2, 2, 7, 5, 3, 1, -2, 4},  {3, 3, 11, 9, 5, 7, 2, -1},
        {4, 4, 9, 8, 1, 2, 3, 3},    {2, 3, 13, 11, 9, 2, 0, 0}, {5, 1, 6, 20, 4, 0, 1, 1},
        {1, 4, 25, 6, 2, 11, -3, 2}, {8, 8, 5, 4, 0, 3, 20, 20},
    };
    for (const auto& c : cases) {
        const int sw = c.rx * c.w, sh = c.ry * c.h;
        ASSERT_LE(c.sx + sw, src.Width());
        ASSERT_LE(c.sy + sh, src.Height());
        const gdi::Rect clip{1, 0, 22, 23};
        Surface dst(24, 24, 32, kRed);
        dst.dc.SetClipRect(clip);
        dst.dc.StretchBlt(c.x, c.y, c.w, c.h, from.dc, c.sx, c.sy, sw, sh, Rop::SrcCopy);
        SCOPED_TRACE(testing::Message() << c.rx << " x " << c.ry << " onto " << c.w << "x" << c.h
                                        << " at " << c.x << "," << c.y);
        for (int py = 0; py < 24; ++py)
            for (int px = 0; px < 24; ++px) {
                const bool inside = clip.Contains(px, py) && px >= c.x && px < c.x + c.w &&
                                    py >= c.y && py < c.y + c.h;
                const gdi::Color want = inside
                                            ? Expected(src, c.sx, c.sy, sw, sh, c.w, c.h, px - c.x,
                                                       py - c.y, StretchMode::BlackOnWhite)
                                            : kRed;
                ASSERT_EQ(dst.bmp.GetPixel(px, py), want) << px << "," << py;
            }
    }
}

}  // namespace
