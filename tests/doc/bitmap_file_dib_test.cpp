// Packed DIBs in memory: the helpers that locate their pieces, decoding them, drawing them into a
// drawing context, and exact bitmap copies.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "doc/bitmap_file.h"
#include "doc/bitmap_file_test_support.h"
#include "support/picture.h"

namespace {

using zk_test::Bytes;
using zk_test::ByteWriter;

// A packed DIB with a 40-byte header and no pixels after the table.
Bytes InfoDib(std::int32_t height, std::uint16_t bpp, std::uint32_t compression,
              std::uint32_t colorsUsed, std::size_t extra) {
    ByteWriter w;
    w.U32(40).S32(3).S32(height).U16(1).U16(bpp).U32(compression).U32(0).U32(0).U32(0);
    w.U32(colorsUsed).U32(0).Zeros(extra);
    return w.Get();
}

Bytes CoreDib(std::uint16_t height, std::uint16_t bpp, std::size_t extra) {
    ByteWriter w;
    w.U32(12).U16(3).U16(height).U16(1).U16(bpp).Zeros(extra);
    return w.Get();
}

TEST(DibHelpers, ColourCountFollowsColoursUsedThenTheDepth) {
    EXPECT_EQ(zk::DibNumColors(InfoDib(1, 1, 0, 0, 0)), 2u);
    EXPECT_EQ(zk::DibNumColors(InfoDib(1, 4, 0, 0, 0)), 16u);
    EXPECT_EQ(zk::DibNumColors(InfoDib(1, 8, 0, 0, 0)), 256u);
    EXPECT_EQ(zk::DibNumColors(InfoDib(1, 8, 0, 7, 0)), 7u);
    EXPECT_EQ(zk::DibNumColors(InfoDib(1, 24, 0, 0, 0)), 0u);
    EXPECT_EQ(zk::DibNumColors(InfoDib(1, 24, 0, 5, 0)), 5u);
    EXPECT_EQ(zk::DibNumColors(CoreDib(1, 8, 0)), 256u);
    EXPECT_EQ(zk::DibNumColors(CoreDib(1, 1, 0)), 2u);
    EXPECT_EQ(zk::DibNumColors(CoreDib(1, 24, 0)), 0u);

    EXPECT_EQ(zk::DibPaletteSize(InfoDib(1, 8, 0, 7, 0)), 28u);
    EXPECT_EQ(zk::DibPaletteSize(CoreDib(1, 4, 0)), 48u);
}

TEST(DibHelpers, HeightIsSignedInInfoHeadersAndSixteenBitInCoreOnes) {
    EXPECT_EQ(zk::DibHeight(InfoDib(-5, 8, 0, 0, 0)), -5);
    EXPECT_EQ(zk::DibHeight(InfoDib(70000, 8, 0, 0, 0)), 70000);
    EXPECT_EQ(zk::DibHeight(CoreDib(40000, 8, 0)), 40000);
}

TEST(DibHelpers, BitsFollowHeaderMasksAndTable) {
    const Bytes a = InfoDib(1, 8, 0, 3, 12 + 4);
    EXPECT_EQ(zk::DibBits(a), a.data() + 40 + 12);
    const Bytes b = CoreDib(1, 4, 48 + 4);
    EXPECT_EQ(zk::DibBits(b), b.data() + 12 + 48);
    const Bytes c = InfoDib(1, 16, 3, 0, 12 + 4);
    EXPECT_EQ(zk::DibBits(c), c.data() + 40 + 12);
    const Bytes d = InfoDib(1, 24, 0, 0, 4);
    EXPECT_EQ(zk::DibBits(d), d.data() + 40);
}

TEST(DibHelpers, ShortOrEmptyBlocksAnswerNothing) {
    const Bytes empty;
    EXPECT_EQ(zk::DibNumColors(empty), 0u);
    EXPECT_EQ(zk::DibPaletteSize(empty), 0u);
    EXPECT_EQ(zk::DibHeight(empty), 0);
    EXPECT_EQ(zk::DibBits(empty), nullptr);
    Bytes cut = InfoDib(7, 8, 0, 0, 0);
    cut.resize(20);
    EXPECT_EQ(zk::DibHeight(cut), 0);
    EXPECT_EQ(zk::DibNumColors(cut), 0u);
    EXPECT_EQ(zk::DibBits(cut), nullptr);
    // A table running past the block's end.
    EXPECT_EQ(zk::DibBits(InfoDib(1, 8, 0, 0, 100)), nullptr);
    EXPECT_EQ(zk::DibBits(InfoDib(1, 8, 0, 0xFFFFFFFF, 100)), nullptr);
}

TEST(DibHelpers, ConvertedBitmapDecodesBackAndItsBitsAreTheRows) {
    gdi::Bitmap bmp(3, 2, 32, gdi::kWhite);
    bmp.SetPixel(0, 0, 0xFF0000);
    bmp.SetPixel(2, 1, 0x0000FF);
    const auto dib = zk::BitmapToDib(bmp);
    ASSERT_TRUE(dib);
    EXPECT_EQ(zk::DibNumColors(*dib), 256u);
    EXPECT_EQ(zk::DibHeight(*dib), 2);
    ASSERT_EQ(zk::DibBits(*dib), dib->data() + 40 + 1024);
    const std::uint8_t* bits = zk::DibBits(*dib);
    EXPECT_EQ(bits[2], 252);      // bottom row first: blue at x = 2
    EXPECT_EQ(bits[4 + 0], 249);  // then the top row: red at x = 0

    gdi::Bitmap back;
    zk::BitmapError error;
    ASSERT_TRUE(zk::DibToBitmap(*dib, back, &error)) << error.message;
    EXPECT_TRUE(zk_test::SameBitmap(bmp, back));

    const gdi::Bitmap mono(9, 3, 1, gdi::kWhite);
    const auto monoDib = zk::BitmapToDib(mono);
    ASSERT_TRUE(monoDib);
    EXPECT_EQ(zk::DibNumColors(*monoDib), 2u);
    EXPECT_EQ(zk::DibBits(*monoDib), monoDib->data() + 48);
}

TEST(DibHelpers, DecodingABadBlockFailsAndEmptiesTheTarget) {
    gdi::Bitmap out(2, 2);
    zk::BitmapError error;
    EXPECT_FALSE(zk::DibToBitmap(InfoDib(2, 8, 0, 0, 10), out, &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::Truncated);
    EXPECT_TRUE(out.IsNull());
}

// --- CopyBitmap --------------------------------------------------------------------------------

TEST(CopyBitmap, CopiesSizeDepthAndPixelsOverWhateverWasThere) {
    gdi::Bitmap src(5, 3, 32, 0x123456);
    src.SetPixel(4, 2, 0xABCDEF);
    gdi::Bitmap dst(100, 100, 1, gdi::kWhite);
    zk::CopyBitmap(src, dst);
    EXPECT_TRUE(zk_test::SameBitmap(src, dst));

    gdi::Bitmap mono(7, 2, 1, gdi::kWhite);
    mono.SetPixel(3, 1, gdi::kBlack);
    zk::CopyBitmap(mono, dst);
    EXPECT_EQ(dst.BitsPerPixel(), 1);
    EXPECT_TRUE(zk_test::SameBitmap(mono, dst));

    // The copy is independent of its source.
    mono.SetPixel(0, 0, gdi::kBlack);
    EXPECT_EQ(dst.GetPixel(0, 0), gdi::kWhite);

    zk::CopyBitmap(gdi::Bitmap(), dst);
    EXPECT_TRUE(dst.IsNull());

    zk::CopyBitmap(src, src);
    EXPECT_EQ(src.GetPixel(4, 2), 0xABCDEFu);
}

// --- PaintDib ----------------------------------------------------------------------------------

// A DIB of w x h whose pixels are distinct table colours, and the bitmap it decodes to.
struct TestDib {
    gdi::Bitmap picture;
    std::vector<std::uint8_t> dib;
};

TestDib MakeDib(int w, int h) {
    // Cube entries: exact table colours, so the DIB holds the picture unchanged.
    TestDib t{gdi::Bitmap(w, h), {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            t.picture.SetPixel(x, y, gdi::RGB(x * 32, y * 32, 64));
    t.dib = *zk::BitmapToDib(t.picture);
    return t;
}

TEST(PaintDib, NoBlockDrawsNothing) {
    gdi::Bitmap target(4, 4, 32, gdi::kWhite);
    gdi::DC dc(&target);
    EXPECT_EQ(zk::PaintDib(dc, {0, 0, 4, 4}, {}, {0, 0, 4, 4}), 0);
    const Bytes junk = {1, 2, 3, 4, 5};
    EXPECT_EQ(zk::PaintDib(dc, {0, 0, 4, 4}, junk, {0, 0, 4, 4}), 0);
    EXPECT_TRUE(zk_test::SameBitmap(gdi::Bitmap(4, 4, 32, gdi::kWhite), target));
}

TEST(PaintDib, SameSizeCopiesTheSourceRectangle) {
    const TestDib t = MakeDib(5, 4);
    gdi::Bitmap target(6, 5, 32, gdi::kWhite);
    gdi::DC dc(&target);
    EXPECT_NE(zk::PaintDib(dc, {2, 1, 5, 3}, t.dib, {1, 2, 4, 4}), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            const gdi::Color want = inside ? t.picture.GetPixel(x - 1, y + 1) : gdi::kWhite;
            EXPECT_EQ(target.GetPixel(x, y), want) << x << "," << y;
        }
}

TEST(PaintDib, StretchesWholeMapOntoAPageWithColorOnColor) {
    const TestDib t = MakeDib(2, 2);
    gdi::Bitmap page(4, 4, 32, gdi::kWhite);
    gdi::DC dc(&page);
    EXPECT_NE(zk::PaintDib(dc, {0, 0, 4, 4}, t.dib, {0, 0, 2, 2}), 0);
    EXPECT_EQ(dc.GetStretchBltMode(), gdi::StretchMode::ColorOnColor);
    // Enlarging 2 -> 4 shows source pixels 0 0 1 1 on each axis.
    const int from[4] = {0, 0, 1, 1};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(page.GetPixel(x, y), t.picture.GetPixel(from[x], from[y])) << x << "," << y;
}

TEST(PaintDib, ShrinkingKeepsOnePixelOfEachGroupRatherThanCombiningThem) {
    const TestDib t = MakeDib(4, 4);
    gdi::Bitmap page(2, 2, 32, gdi::kWhite);
    gdi::DC dc(&page);
    EXPECT_NE(zk::PaintDib(dc, {0, 0, 2, 2}, t.dib, {0, 0, 4, 4}), 0);
    // 4 -> 2 groups {0,1} {2,3}: the last column and the first row of each group.
    const int col[2] = {1, 3}, row[2] = {0, 2};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(page.GetPixel(x, y), t.picture.GetPixel(col[x], row[y])) << x << "," << y;
}

}  // namespace
