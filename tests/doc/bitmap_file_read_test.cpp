// The reader on small files built field by field: each depth, header and compression it reads,
// and the families of broken files it must refuse (or read safely) without crashing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "doc/bitmap_file.h"
#include "doc/bitmap_file_test_support.h"
#include "doc/file_reader.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

using zk::BitmapErrorCode;
using zk_test::BmpFields;
using zk_test::BuildBmp;
using zk_test::Bytes;
using zk_test::ByteWriter;

constexpr gdi::Color kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

// An expected picture, rows top-down.
gdi::Bitmap Picture(int w, int h, std::initializer_list<gdi::Color> pixels) {
    gdi::Bitmap bmp(w, h);
    int i = 0;
    for (gdi::Color c : pixels)
        bmp.SetPixel(i % w, i / w, c), ++i;
    EXPECT_EQ(i, w * h) << "picture needs " << w * h << " pixels";
    return bmp;
}

// 16 distinct colours for table tests.
std::vector<gdi::Color> Ramp(int n) {
    std::vector<gdi::Color> p;
    for (int i = 0; i < n; ++i)
        p.push_back(gdi::RGB(i * 16 + 1, 200 - i * 8, i * 5 + 7));
    return p;
}

class BitmapFileRead : public ::testing::Test {
  protected:
    // Writes the bytes to a file and reads it back.
    bool Read(const Bytes& file, gdi::Bitmap& out, zk::BitmapError* error = nullptr) {
        const auto p = m_dir / "in.bmp";
        zk_test::WriteFileBytes(p, file);
        return zk::ReadBitmapFile(p, out, error);
    }
    gdi::Bitmap ReadOk(const Bytes& file) {
        gdi::Bitmap out;
        zk::BitmapError error;
        EXPECT_TRUE(Read(file, out, &error)) << error.message;
        EXPECT_EQ(out.BitsPerPixel(), 32);
        return out;
    }
    // Expects a refusal with the code and a message starting with `prefix`, and an empty target.
    void ExpectRefused(const Bytes& file, BitmapErrorCode code, const std::string& prefix) {
        gdi::Bitmap out(2, 2);
        zk::BitmapError error;
        EXPECT_FALSE(Read(file, out, &error));
        EXPECT_EQ(error.code, code) << error.message;
        EXPECT_EQ(error.message.substr(0, prefix.size()), prefix) << error.message;
        EXPECT_TRUE(out.IsNull());
    }

    zk_test::TempDir m_dir;
};

#define EXPECT_PICTURE(expected, actual) EXPECT_TRUE(zk_test::SameBitmap(expected, actual))

// --- Depths --------------------------------------------------------------------------------------

TEST_F(BitmapFileRead, OneBitRowsBottomUpWithTheFilesOwnColours) {
    const gdi::Color a = 0x112233, b = 0xAABBCC;
    BmpFields s = BmpFields().Size(10, 2).Bpp(1).Palette({a, b});
    s.pixels = {0xAA, 0x80, 0, 0,                                 // bottom row: b a b a b a b a b a
                0x00, 0xC0, 0, 0};                                // top row: a x8, b b
    EXPECT_PICTURE(Picture(10, 2, {a, a, a, a, a, a, a, a, b, b,  //
                                   b, a, b, a, b, a, b, a, b, a}),
                   ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, FourBitOddWidthTakesHighNibbleFirst) {
    const auto pal = Ramp(16);
    BmpFields s = BmpFields().Size(3, 2).Bpp(4).Palette(pal);
    s.pixels = {0x12, 0x30, 0, 0,   // bottom: 1 2 3
                0xF0, 0xE0, 0, 0};  // top: 15 0 14
    EXPECT_PICTURE(Picture(3, 2, {pal[15], pal[0], pal[14], pal[1], pal[2], pal[3]}),
                   ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, EightBitTopDownWithAShortTable) {
    const gdi::Color p0 = 0x010203, p1 = 0x405060, p2 = 0xF0E0D0;
    BmpFields s = BmpFields().Size(3, -2).Bpp(8).ColorsUsed(3).Palette({p0, p1, p2});
    s.pixels = {0, 1, 2, 0,  // top row first
                2, 2, 1, 0};
    EXPECT_PICTURE(Picture(3, 2, {p0, p1, p2, p2, p2, p1}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, IndexPastTheTableReadsAsBlack) {
    const gdi::Color p0 = 0x808080, p1 = 0xFFFFFF;
    BmpFields s = BmpFields().Size(4, 1).Bpp(8).ColorsUsed(2).Palette({p0, p1});
    s.pixels = {1, 2, 255, 0};
    EXPECT_PICTURE(Picture(4, 1, {p1, gdi::kBlack, gdi::kBlack, p0}), ReadOk(BuildBmp(s)));

    BmpFields one = BmpFields().Size(3, 1).Bpp(1).ColorsUsed(1).Palette({kRed});
    one.pixels = {0x40, 0, 0, 0};  // 0 1 0
    EXPECT_PICTURE(Picture(3, 1, {kRed, gdi::kBlack, kRed}), ReadOk(BuildBmp(one)));
}

TEST_F(BitmapFileRead, SixteenBitWithoutMasksIs555) {
    BmpFields s = BmpFields().Size(4, 1).Bpp(16);
    ByteWriter px;
    px.U16(0x7FFF).U16(0x7C00).U16(0x0010).U16(0x8000);
    s.pixels = px.Get();
    // 5-bit 16 widens to 10000100; the top bit is not a channel.
    EXPECT_PICTURE(Picture(4, 1, {gdi::kWhite, kRed, 0x000084, gdi::kBlack}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, SixteenBit565MasksAfterA40ByteHeader) {
    BmpFields s = BmpFields().Size(5, 1).Bpp(16).Compression(3).Masks({0xF800, 0x07E0, 0x001F});
    ByteWriter px;
    px.U16(0xFFFF).U16(0x07E0).U16(0x0020).U16(0xF800).U16(0x8000).U16(0);  // + row padding
    s.pixels = px.Get();
    // 6-bit 1 widens to 00000100; 5-bit 10000 to 10000100.
    EXPECT_PICTURE(Picture(5, 1, {gdi::kWhite, kGreen, 0x000400, kRed, 0x840000}),
                   ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, NarrowChannelsWidenByRepeatingTheirBits) {
    BmpFields s = BmpFields().Size(2, 1).Bpp(16).Compression(3).Masks(
        {0x0030, 0x000E, 0x0001});  // 2, 3 and 1 bits
    ByteWriter px;
    px.U16(0x0020 | 0x000A | 0x0001).U16(0x0010 | 0x0004);
    s.pixels = px.Get();
    // r 10 -> 10101010, g 101 -> 10110110, b 1 -> 11111111; then r 01 -> 01010101, g 010 ->
    // 01001001.
    EXPECT_PICTURE(Picture(2, 1, {0xAAB6FF, 0x554900}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, TwentyFourBitRowsArePadded) {
    BmpFields s = BmpFields().Size(3, 2).Bpp(24);
    s.pixels = {0x03, 0x02, 0x01, 0xFF, 0,    0,    0,    0xFF, 0,    9, 9, 9,   // bottom
                0,    0,    0xFF, 0x30, 0x20, 0x10, 0xFF, 0xFF, 0xFF, 9, 9, 9};  // top
    EXPECT_PICTURE(Picture(3, 2, {kRed, 0x102030, gdi::kWhite, 0x010203, kBlue, kGreen}),
                   ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, TwentyFourBitSkipsAColourTable) {
    BmpFields s = BmpFields().Size(1, 1).Bpp(24).ColorsUsed(2).Palette({kRed, kGreen});
    s.pixels = {0x44, 0x55, 0x66, 0};
    EXPECT_PICTURE(Picture(1, 1, {0x665544}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, ThirtyTwoBitIgnoresTheTopByte) {
    BmpFields s = BmpFields().Size(2, 1).Bpp(32);
    ByteWriter px;
    px.U32(0xFF112233).U32(0x00ABCDEF);
    s.pixels = px.Get();
    EXPECT_PICTURE(Picture(2, 1, {0x112233, 0xABCDEF}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, ThirtyTwoBitChannelsWiderThanEightKeepTheirTopBits) {
    BmpFields s =
        BmpFields().Size(1, 1).Bpp(32).Compression(3).Masks({0x3FF00000, 0x000FFC00, 0x000003FF});
    ByteWriter px;
    px.U32((0x3FFu << 20) | (0x200u << 10) | 0x001u);
    s.pixels = px.Get();
    EXPECT_PICTURE(Picture(1, 1, {0xFF8000}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, MasksInsideLongerHeaders) {
    ByteWriter px;
    px.U32(0x11223344);
    for (std::uint32_t hs : {52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(hs);
        // Red in the top byte, green in the second, blue in the third: 0x11, 0x22, 0x33.
        BmpFields s = BmpFields().HeaderSize(hs).Size(1, 1).Bpp(32).Compression(3).Masks(
            {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF});
        s.pixels = px.Get();
        EXPECT_PICTURE(Picture(1, 1, {0x112233}), ReadOk(BuildBmp(s)));
    }
}

TEST_F(BitmapFileRead, AlphaBitFieldsAfterA40ByteHeaderIgnoreAlpha) {
    BmpFields s = BmpFields().Size(1, 1).Bpp(32).Compression(6).Masks(
        {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF});
    ByteWriter px;
    px.U32(0x33221100 | 0x7F);
    s.pixels = px.Get();
    EXPECT_PICTURE(Picture(1, 1, {0x112233}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, CoreHeaderWithThreeByteEntries) {
    const auto pal = Ramp(16);
    BmpFields s = BmpFields().HeaderSize(12).Size(2, 2).Bpp(4).Palette(pal);
    s.pixels = {0x5A, 0, 0, 0,   // bottom: 5 10
                0x0F, 0, 0, 0};  // top: 0 15
    EXPECT_PICTURE(Picture(2, 2, {pal[0], pal[15], pal[5], pal[10]}), ReadOk(BuildBmp(s)));

    BmpFields rgb = BmpFields().HeaderSize(12).Size(1, 1).Bpp(24);
    rgb.pixels = {0x30, 0x20, 0x10, 0};
    EXPECT_PICTURE(Picture(1, 1, {0x102030}), ReadOk(BuildBmp(rgb)));
}

TEST_F(BitmapFileRead, OS2Version2Headers) {
    auto pal = Ramp(16);
    pal.resize(256, 0x777777);
    // The 16-byte header has no colours-used field: the table has all 256 entries.
    BmpFields s16 = BmpFields().HeaderSize(16).Size(2, 1).Bpp(8).Palette(pal);
    s16.pixels = {3, 200, 0, 0};
    EXPECT_PICTURE(Picture(2, 1, {pal[3], 0x777777}), ReadOk(BuildBmp(s16)));

    BmpFields s64 = BmpFields().HeaderSize(64).Size(2, 1).Bpp(8).ColorsUsed(4).Palette(Ramp(4));
    s64.pixels = {3, 1, 0, 0};
    EXPECT_PICTURE(Picture(2, 1, {Ramp(4)[3], Ramp(4)[1]}), ReadOk(BuildBmp(s64)));
}

TEST_F(BitmapFileRead, MoreTableEntriesThanTheDepthCanIndex) {
    auto pal = Ramp(16);
    pal.resize(300, kGreen);
    pal[255] = kRed;
    BmpFields s = BmpFields().Size(2, 1).Bpp(8).ColorsUsed(300).Palette(pal);
    s.pixels = {255, 7, 0, 0};
    EXPECT_PICTURE(Picture(2, 1, {kRed, pal[7]}), ReadOk(BuildBmp(s)));
}

// --- Where the pixels are -----------------------------------------------------------------------

TEST_F(BitmapFileRead, PixelOffsetPastAGapIsFollowed) {
    BmpFields s = BmpFields().Size(2, 1).Bpp(8).ColorsUsed(2).Palette({kRed, kBlue}).Gap(10);
    s.pixels = {1, 0, 0, 0};
    EXPECT_PICTURE(Picture(2, 1, {kBlue, kRed}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, UnusablePixelOffsetFallsBackToAfterTheTable) {
    BmpFields s = BmpFields().Size(2, 1).Bpp(8).ColorsUsed(2).Palette({kRed, kBlue});
    s.pixels = {1, 0, 0, 0};
    for (std::uint32_t off : {0u, 10u, 20u, 67u, 1000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(off);
        s.offBits = off;  // absent, in the file header, in the info header, too late to fit
        EXPECT_PICTURE(Picture(2, 1, {kBlue, kRed}), ReadOk(BuildBmp(s)));
    }
}

TEST_F(BitmapFileRead, PixelOffsetInsideTheTableCutsTheTableShort) {
    // A core header announces 256 entries; the pixel offset says only 2 are there.
    BmpFields s = BmpFields().HeaderSize(12).Size(3, 1).Bpp(8).Palette({kRed, kGreen});
    s.pixels = {1, 0, 2, 0};
    EXPECT_PICTURE(Picture(3, 1, {kGreen, kRed, gdi::kBlack}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, AbsurdColoursUsedReadsOnlyTheTableThatFits) {
    BmpFields s = BmpFields().Size(2, 1).Bpp(8).ColorsUsed(0x12345678).Palette({kRed, kBlue});
    s.pixels = {1, 0, 0, 0};
    EXPECT_PICTURE(Picture(2, 1, {kBlue, kRed}), ReadOk(BuildBmp(s)));
    s.offBits = 0;  // and with no offset to go by, it cannot be found
    ExpectRefused(BuildBmp(s), BitmapErrorCode::Truncated, "file is truncated");
}

TEST_F(BitmapFileRead, SizeResolutionAndFileSizeFieldsAreNotTrusted) {
    BmpFields s = BmpFields().Size(1, 1).Bpp(24).SizeImage(0x7FFFFFFF);
    s.pixels = {1, 2, 3, 0};
    Bytes f = BuildBmp(s);
    f[2] = f[3] = f[4] = f[5] = 0xEE;      // file size
    f[38] = f[39] = f[40] = f[41] = 0xEE;  // resolution
    EXPECT_PICTURE(Picture(1, 1, {0x030201}), ReadOk(f));
}

// --- Run-length compression ---------------------------------------------------------------------

TEST_F(BitmapFileRead, Rle8RunsLiteralsDeltasAndSkippedPixels) {
    const auto pal = Ramp(8);
    BmpFields s = BmpFields().Size(6, 3).Bpp(8).Compression(1).ColorsUsed(8).Palette(pal);
    s.pixels = {3, 1,              // bottom row: three of 1
                0, 3, 2, 3, 4, 0,  // literal 2 3 4, padded to 16 bits
                0, 0,              // end of line
                2, 5,              // middle row: two of 5
                0, 2, 2, 1,        // delta: right 2, up 1
                1, 6,              // top row, x = 4: one of 6
                0, 1};             // end of bitmap
    const gdi::Color k = gdi::kBlack;
    EXPECT_PICTURE(Picture(6, 3,
                           {k, k, k, k, pal[6], k,       //
                            pal[5], pal[5], k, k, k, k,  //
                            pal[1], pal[1], pal[1], pal[2], pal[3], pal[4]}),
                   ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, Rle4AlternatesNibbles) {
    const auto pal = Ramp(16);
    BmpFields s = BmpFields().Size(5, 2).Bpp(4).Compression(2).Palette(pal);
    s.pixels = {5, 0x12,                       // bottom: 1 2 1 2 1
                0, 0,                          //
                0, 5,    0x34, 0x56, 0x70, 0,  // top: literal 3 4 5 6 7, 3 bytes padded to 4
                0, 1};
    EXPECT_PICTURE(Picture(5, 2,
                           {pal[3], pal[4], pal[5], pal[6], pal[7],  //
                            pal[1], pal[2], pal[1], pal[2], pal[1]}),
                   ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, RleRunsPastTheRightEdgeAreClipped) {
    const auto pal = Ramp(8);
    BmpFields s = BmpFields().Size(4, 2).Bpp(8).Compression(1).ColorsUsed(8).Palette(pal);
    s.pixels = {255, 1,                            // bottom: far too long a run
                2,   2,                            // more on the same row: nothing
                0,   0,                            //
                0,   7, 3,   4, 5, 6, 7, 7, 7, 0,  // top: literal of 7, padded to 8 bytes
                0,   2, 200, 0,                    // delta far to the right
                1,   3,                            // drawn nowhere
                0,   1};
    EXPECT_PICTURE(Picture(4, 2, {pal[3], pal[4], pal[5], pal[6], pal[1], pal[1], pal[1], pal[1]}),
                   ReadOk(BuildBmp(s)));

    BmpFields s4 = BmpFields().Size(3, 1).Bpp(4).Compression(2).Palette(Ramp(16));
    s4.pixels = {0, 9, 0x12, 0x34, 0x56, 0x78, 0x90, 0, 0, 1};
    EXPECT_PICTURE(Picture(3, 1, {Ramp(16)[1], Ramp(16)[2], Ramp(16)[3]}), ReadOk(BuildBmp(s4)));
}

TEST_F(BitmapFileRead, RleMovingAboveTheTopEndsTheImage) {
    const auto pal = Ramp(8);
    BmpFields s = BmpFields().Size(2, 2).Bpp(8).Compression(1).ColorsUsed(8).Palette(pal);
    s.pixels = {2, 1, 0, 2, 0, 9, 2, 2, 0, 0, 0, 0, 0, 0, 2, 3};  // delta up 9, then junk
    EXPECT_PICTURE(Picture(2, 2, {gdi::kBlack, gdi::kBlack, pal[1], pal[1]}), ReadOk(BuildBmp(s)));
    s.pixels = {2, 1, 0, 0, 2, 2, 0, 0, 0, 0, 2, 3, 0, 0, 2, 4};  // more lines than rows
    EXPECT_PICTURE(Picture(2, 2, {pal[2], pal[2], pal[1], pal[1]}), ReadOk(BuildBmp(s)));
}

TEST_F(BitmapFileRead, RleDataEndingEarlyIsTruncated) {
    const auto pal = Ramp(8);
    BmpFields s = BmpFields().Size(4, 2).Bpp(8).Compression(1).ColorsUsed(8).Palette(pal);
    s.pixels = {2, 1, 0, 0, 2, 2};  // no end of bitmap
    ExpectRefused(BuildBmp(s), BitmapErrorCode::Truncated, "file is truncated");
    s.pixels = {0, 4, 1, 2};  // literal of 4 with 2 bytes left
    ExpectRefused(BuildBmp(s), BitmapErrorCode::Truncated, "file is truncated");
    s.pixels = {0, 2, 1};  // delta without its second byte
    ExpectRefused(BuildBmp(s), BitmapErrorCode::Truncated, "file is truncated");
}

// --- Broken files -------------------------------------------------------------------------------

TEST_F(BitmapFileRead, NotABitmapOrMissing) {
    ExpectRefused({}, BitmapErrorCode::NotBitmap, "not a bitmap file (no BM signature)");
    ExpectRefused({'B'}, BitmapErrorCode::NotBitmap, "not a bitmap file (no BM signature)");
    ExpectRefused(Bytes(100, 'x'), BitmapErrorCode::NotBitmap, "not a bitmap file");
    Bytes png = BuildBmp(BmpFields().Bpp(24).Pixels({0, 0, 0, 0}));
    png[0] = 0x89;
    ExpectRefused(png, BitmapErrorCode::NotBitmap, "not a bitmap file");

    gdi::Bitmap out(1, 1);
    zk::BitmapError error;
    EXPECT_FALSE(zk::ReadBitmapFile(m_dir / "absent.bmp", out, &error));
    EXPECT_EQ(error.code, BitmapErrorCode::CannotOpen);
    EXPECT_EQ(error.message, "cannot open file: No such file or directory");
    EXPECT_TRUE(out.IsNull());
    EXPECT_FALSE(zk::ReadBitmapFile(m_dir.Path(), out, &error));
    EXPECT_EQ(error.code, BitmapErrorCode::CannotOpen);
}

TEST_F(BitmapFileRead, AFifoIsRefusedWithoutWaitingForAWriter) {
    const auto fifo = m_dir / "pipe.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    gdi::Bitmap out;
    zk::BitmapError error;
    EXPECT_FALSE(zk::ReadBitmapFile(fifo, out, &error));
    EXPECT_EQ(error.code, BitmapErrorCode::CannotOpen);
}

// Every prefix of a good file is refused, whatever field the cut lands in.
TEST_F(BitmapFileRead, EveryTruncationIsRefused) {
    const auto pal = Ramp(4);
    std::vector<BmpFields> files = {
        BmpFields().Size(5, 3).Bpp(8).ColorsUsed(4).Palette(pal).Pixels(Bytes(24, 1)),
        BmpFields().HeaderSize(12).Size(3, 2).Bpp(1).Palette({kRed, kBlue}).Pixels(Bytes(8, 0x55)),
        BmpFields()
            .Size(3, 2)
            .Bpp(16)
            .Compression(3)
            .Masks({0xF800, 0x07E0, 0x001F})
            .Pixels(Bytes(16, 0x33)),
        BmpFields()
            .HeaderSize(124)
            .Size(2, 2)
            .Bpp(32)
            .Compression(3)
            .Masks({0xFF0000, 0xFF00, 0xFF})
            .Pixels(Bytes(16, 0x44)),
        // RLE whose last row ends with end-of-bitmap, so no cut can look complete.
        BmpFields().Size(4, 2).Bpp(8).Compression(1).ColorsUsed(4).Palette(pal).Pixels(
            {4, 1, 0, 0, 0, 4, 1, 2, 3, 0, 0, 1}),
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Bytes full = BuildBmp(files[i]);
        ReadOk(full);
        for (std::size_t len = 0; len < full.size(); ++len) {
            SCOPED_TRACE("file " + std::to_string(i) + " cut to " + std::to_string(len));
            ExpectRefused(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(len)),
                          len < 2 ? BitmapErrorCode::NotBitmap : BitmapErrorCode::Truncated,
                          len < 2 ? "not a bitmap file" : "file is truncated");
        }
    }
}

TEST_F(BitmapFileRead, LyingHeadersAreRefusedWithTheirReason) {
    const BmpFields good =
        BmpFields().Size(4, 2).Bpp(8).ColorsUsed(2).Palette({kRed, kBlue}).Pixels(Bytes(8, 1));
    ReadOk(BuildBmp(good));
    const struct {
        std::function<void(BmpFields&)> lie;
        BitmapErrorCode code;
        const char* reason;
    } cases[] = {
        {[](BmpFields& s) { s.width = -4; }, BitmapErrorCode::BadHeader, "bad header: width -4"},
        {[](BmpFields& s) { s.width = 0; }, BitmapErrorCode::BadHeader, "bad header: width 0"},
        {[](BmpFields& s) { s.height = 0; }, BitmapErrorCode::BadHeader, "bad header: height 0"},
        {[](BmpFields& s) { s.planes = 3; }, BitmapErrorCode::BadHeader,
         "bad header: 3 planes (must be 1)"},
        {[](BmpFields& s) { s.headerSize = 44; }, BitmapErrorCode::Unsupported,
         "unsupported header size: 44 bytes"},
        {[](BmpFields& s) { s.bpp = 2; }, BitmapErrorCode::Unsupported,
         "unsupported: 2 bits per pixel"},
        {[](BmpFields& s) { s.bpp = 64; }, BitmapErrorCode::Unsupported,
         "unsupported: 64 bits per pixel"},
        {[](BmpFields& s) { s.bpp = 0; }, BitmapErrorCode::Unsupported,
         "unsupported: 0 bits per pixel"},
        {[](BmpFields& s) { s.compression = 4; }, BitmapErrorCode::Unsupported,
         "unsupported: embedded JPEG image"},
        {[](BmpFields& s) { s.compression = 5; }, BitmapErrorCode::Unsupported,
         "unsupported: embedded PNG image"},
        {[](BmpFields& s) { s.compression = 9; }, BitmapErrorCode::Unsupported,
         "unsupported compression: 9"},
        {[](BmpFields& s) { s.compression = 2; }, BitmapErrorCode::BadHeader,
         "bad header: RLE4 with 8 bits per pixel"},
        {[](BmpFields& s) { s.compression = 3; }, BitmapErrorCode::BadHeader,
         "bad header: bit-field masks with 8 bits per pixel"},
        {[](BmpFields& s) { s.compression = 1, s.height = -2; }, BitmapErrorCode::BadHeader,
         "bad header: run-length compressed rows cannot be top-down"},
        {[](BmpFields& s) { s.headerSize = 64, s.compression = 3; }, BitmapErrorCode::Unsupported,
         "unsupported compression: OS/2 Huffman"},
        {[](BmpFields& s) { s.headerSize = 64, s.compression = 4; }, BitmapErrorCode::Unsupported,
         "unsupported compression: OS/2 RLE24"},
        {[](BmpFields& s) { s.headerSize = 12, s.bpp = 16; }, BitmapErrorCode::Unsupported,
         "unsupported: 16 bits per pixel in an OS/2 file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        BmpFields s = good;
        c.lie(s);
        ExpectRefused(BuildBmp(s), c.code, c.reason);
    }
}

TEST_F(BitmapFileRead, HugeSizesAreRefusedBeforeAnythingIsAllocated) {
    const struct {
        std::int32_t w, h;
        const char* reason;
    } cases[] = {
        {70000, 10, "image too large: 70000 x 10 (limit 65535 pixels a side, 268435456 pixels)"},
        {10, -70000, "image too large: 10 x 70000 (limit"},
        {20000, 20000, "image too large: 20000 x 20000 (limit"},  // each side fits, the area not
        {1, INT_MIN, "image too large: 1 x 2147483648 (limit"},
        {INT_MAX, INT_MAX, "image too large: 2147483647 x 2147483647 (limit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ExpectRefused(BuildBmp(BmpFields().Size(c.w, c.h).Bpp(32).Pixels(Bytes(4, 0))),
                      BitmapErrorCode::TooLarge, c.reason);
    }
    // At the limit it is the missing data, not the size, that is refused.
    ExpectRefused(BuildBmp(BmpFields().Size(65535, 4096).Bpp(32).Pixels(Bytes(64, 0))),
                  BitmapErrorCode::Truncated, "file is truncated");
    ExpectRefused(BuildBmp(BmpFields()
                               .Size(16384, 16384)
                               .Bpp(8)
                               .Compression(1)
                               .ColorsUsed(1)
                               .Palette({kRed})
                               .Pixels({0, 0})),
                  BitmapErrorCode::Truncated, "file is truncated");
}

// A huge file costs what its headers promise, not its length: a non-bitmap is refused from its
// first bytes, and a small picture followed by junk reads only the picture.
TEST_F(BitmapFileRead, HugeFilesCostOnlyWhatTheirHeadersPromise) {
    const std::uint64_t kTwoGiB = std::uint64_t{1} << 31;
    const struct {
        const char* what;
        Bytes start;  // the rest, up to 2 GiB, is zeros
        bool reads;
    } cases[] = {
        {"zeros", {}, false},
        {"a 1 x 1 picture, then junk",
         BuildBmp(BmpFields().Size(1, 1).Bpp(24).Pixels({1, 2, 3, 0})), true},
        {"a run-length picture, then junk",
         BuildBmp(BmpFields().Size(2, 1).Bpp(8).Compression(1).ColorsUsed(1).Palette({kRed}).Pixels(
             {2, 0, 0, 1})),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto p = m_dir / "huge.bmp";
        zk_test::WriteFileBytes(p, c.start);
        ASSERT_EQ(::truncate(p.c_str(), static_cast<off_t>(kTwoGiB)), 0);  // sparse: no disk used
        rusage before{}, after{};
        ::getrusage(RUSAGE_SELF, &before);
        gdi::Bitmap out;
        zk::BitmapError error;
        EXPECT_EQ(zk::ReadBitmapFile(p, out, &error), c.reads) << error.message;
        ::getrusage(RUSAGE_SELF, &after);
        if (!c.reads) {
            EXPECT_EQ(error.code, BitmapErrorCode::NotBitmap);
        }
        // The peak resident size, in KiB, hardly grows.
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024);
        std::filesystem::remove(p);
    }
}

// Pictures whose rows or run-length data take several of the reader's bands: every pixel is
// where it belongs, across the bands' edges too.
TEST_F(BitmapFileRead, PicturesOfManyBandsReadWhole) {
    const auto index = [](int x, int y) {
        return static_cast<std::uint8_t>(x * 7 + y * 13 + y / 256);
    };
    std::vector<gdi::Color> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(gdi::RGB(i, 255 - i, (i * 37) & 255));

    {
        SCOPED_TRACE("8 bits, bottom-up");
        const int w = 3001, h = 1600, stride = 3004;
        Bytes rows(static_cast<std::size_t>(stride) * h, 0);
        gdi::Bitmap expected(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                rows[static_cast<std::size_t>(h - 1 - y) * stride + x] = index(x, y);
                expected.SetPixel(x, y, palette[index(x, y)]);
            }
        ASSERT_GT(rows.size(), zk::FileReader::kBandBytes);
        EXPECT_PICTURE(expected,
                       ReadOk(BuildBmp(BmpFields().Size(w, h).Palette(palette).Pixels(rows))));
    }
    {
        SCOPED_TRACE("24 bits, top-down");
        const int w = 1400, h = 1100, stride = 4200;
        Bytes rows(static_cast<std::size_t>(stride) * h, 0);
        gdi::Bitmap expected(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const gdi::Color c = gdi::RGB(x & 255, y & 255, index(x, y));
                std::uint8_t* p = &rows[static_cast<std::size_t>(y) * stride + 3 * x];
                p[0] = static_cast<std::uint8_t>(gdi::GetBValue(c));
                p[1] = static_cast<std::uint8_t>(gdi::GetGValue(c));
                p[2] = static_cast<std::uint8_t>(gdi::GetRValue(c));
                expected.SetPixel(x, y, c);
            }
        ASSERT_GT(rows.size(), zk::FileReader::kBandBytes);
        EXPECT_PICTURE(expected, ReadOk(BuildBmp(BmpFields().Size(w, -h).Bpp(24).Pixels(rows))));
    }
    {
        SCOPED_TRACE("RLE8, literal runs of 255 and repeats");
        const int w = 3000, h = 2000;
        ByteWriter data;
        gdi::Bitmap expected(w, h);
        for (int y = 0; y < h; ++y) {  // from the bottom row up
            int x = 0;
            while (x < w) {
                const int n = std::min(255, w - x);
                if (n >= 3 && (x / 255 + y) % 4 != 0) {
                    data.U8(0).U8(static_cast<unsigned>(n));
                    for (int i = 0; i < n; ++i) {
                        data.U8(index(x + i, y));
                        expected.SetPixel(x + i, h - 1 - y, palette[index(x + i, y)]);
                    }
                    if (n % 2)
                        data.U8(0);
                } else {
                    data.U8(static_cast<unsigned>(n)).U8(index(x, y));
                    for (int i = 0; i < n; ++i)
                        expected.SetPixel(x + i, h - 1 - y, palette[index(x, y)]);
                }
                x += n;
            }
            data.U8(0).U8(0);
        }
        data.U8(0).U8(1);
        ASSERT_GT(data.Size(), zk::FileReader::kBandBytes);
        EXPECT_PICTURE(
            expected, ReadOk(BuildBmp(BmpFields().Size(w, h).Compression(1).Palette(palette).Pixels(
                          data.Get()))));
    }
}

// The reader holds a band at a time, across which the data runs on unbroken; a file that grows
// shorter than it was while it is read is told apart from data that simply ends.
TEST(FileReader, ReadsAStretchABandAtATimeAndKnowsAFileThatShrank) {
    const zk_test::TempDir dir;
    const auto path = dir / "bytes";
    const std::size_t size = 10u << 20;
    const auto byteAt = [](std::size_t i) { return static_cast<std::uint8_t>(i * 131 + i / 4093); };
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = byteAt(i);
    zk_test::WriteFileBytes(path, bytes);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const auto holds = [&](const zk::FileReader& r, std::size_t from, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            if (r.Data()[i] != byteAt(from + i))
                return false;
        return true;
    };

    // 9 MiB from offset 100: three bands and a bit, read in pieces that straddle them.
    zk::FileReader r(fd, 100, 9u << 20);
    std::size_t at = 100;
    for (const std::size_t piece : {std::size_t{3} << 20, std::size_t{2} << 20, std::size_t{7},
                                    std::size_t{1} << 20, std::size_t{2} << 20}) {
        ASSERT_TRUE(r.Ensure(piece)) << at;
        EXPECT_TRUE(holds(r, at, piece)) << at;
        r.Skip(piece);
        at += piece;
    }
    const std::size_t left = 100 + (9u << 20) - at;
    ASSERT_TRUE(r.Ensure(left));
    EXPECT_FALSE(r.Ensure(left + 1)) << "read past the end of its stretch";
    EXPECT_EQ(r.GetFailure(), zk::FileReader::Failure::None);

    // The file is cut after the first band was read.
    zk::FileReader shrinking(fd, 0, size);
    ASSERT_TRUE(shrinking.Ensure(1000));
    ASSERT_EQ(::ftruncate(fd, 5u << 20), 0);
    shrinking.Skip(zk::FileReader::kBandBytes);
    EXPECT_FALSE(shrinking.Ensure(2u << 20));
    EXPECT_EQ(shrinking.GetFailure(), zk::FileReader::Failure::Shrank);
    ::close(fd);

    zk::FileReader closed(fd, 0, 10);
    EXPECT_FALSE(closed.Ensure(1));
    EXPECT_EQ(closed.GetFailure(), zk::FileReader::Failure::ReadError);
    EXPECT_EQ(closed.Errno(), EBADF);
}

TEST_F(BitmapFileRead, ZeroOrBrokenMasksAreRefused) {
    const struct {
        std::uint16_t bpp;
        std::vector<std::uint32_t> masks;
        const char* reason;
    } cases[] = {
        {16, {0, 0x03E0, 0x001F}, "zero bit-field mask for red"},
        {16, {0x7C00, 0, 0x001F}, "zero bit-field mask for green"},
        {32, {0xFF0000, 0xFF00, 0}, "zero bit-field mask for blue"},
        {16, {0x0F0F, 0x00F0, 0x1000}, "bit-field mask 0xF0F for red is not one run of bits"},
        {16, {0x7C00, 0x3E0, 0x1F0000}, "bit-field mask 0x1F0000 for blue lies outside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ExpectRefused(
            BuildBmp(BmpFields().Size(2, 1).Bpp(c.bpp).Compression(3).Masks(c.masks).Pixels(
                Bytes(8, 0xFF))),
            BitmapErrorCode::BadData, c.reason);
    }
    // Masks missing from the end of the file.
    Bytes cut = BuildBmp(BmpFields().Size(1, 1).Bpp(16).Compression(3));
    ExpectRefused(cut, BitmapErrorCode::Truncated, "file is truncated");
}

}  // namespace
