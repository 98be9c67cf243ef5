// PNG files: every kind another program writes reads as its pixels, every map we write reads back
// exactly (in our reader and in another one), and lying, cut and damaged files are refused with a
// reason, lying ones before they cost memory.
#include "doc/png_file.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "doc/color_table.h"
#include "doc/png_test_support.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zk_test::Bytes;
using zk_test::PngPicture;
using zk_test::TempDir;

int Scale8(int v, int depth) {
    return static_cast<int>(std::lround(v * 255.0 / ((1 << depth) - 1)));
}
int LaidOnWhite(int c, int a) {
    return static_cast<int>(std::lround((c * a + 255.0 * (255 - a)) / 255.0));
}

// What a pixel of the picture reads as, by the rules: samples scaled to 8 bits and rounded,
// transparency laid on white.
gdi::Color Expected(const PngPicture& p, int x, int y) {
    const auto s = [&](int channel) { return p.Sample(x, y, channel); };
    int r, g, b, a = 255;
    switch (p.colorType) {
        case PNG_COLOR_TYPE_PALETTE: {
            const gdi::Color c = p.palette.at(s(0));
            r = gdi::GetRValue(c), g = gdi::GetGValue(c), b = gdi::GetBValue(c);
            if (s(0) < p.alphas.size())
                a = p.alphas[s(0)];
            break;
        }
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            r = g = b = Scale8(s(0), p.depth);
            if (p.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
                a = Scale8(s(1), p.depth);
            else if (p.transparent && s(0) == p.transparent->gray)
                a = 0;
            break;
        default:
            r = Scale8(s(0), p.depth), g = Scale8(s(1), p.depth), b = Scale8(s(2), p.depth);
            if (p.colorType == PNG_COLOR_TYPE_RGB_ALPHA)
                a = Scale8(s(3), p.depth);
            else if (p.transparent && s(0) == p.transparent->red && s(1) == p.transparent->green &&
                     s(2) == p.transparent->blue)
                a = 0;
            break;
    }
    return gdi::RGB(LaidOnWhite(r, a), LaidOnWhite(g, a), LaidOnWhite(b, a));
}

gdi::Bitmap ExpectedBitmap(const PngPicture& p) {
    gdi::Bitmap bmp(p.width, p.height, 32, gdi::kWhite);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            bmp.SetPixel(x, y, Expected(p, x, y));
    return bmp;
}

// A picture of the kind with samples spread over the whole range of the depth, including both
// ends, and (where the kind has one) a transparent colour used by some pixels.
PngPicture Kind(int colorType, int depth, bool interlaced = false, bool transparency = false) {
    PngPicture p;
    p.width = 13;
    p.height = 7;
    p.colorType = colorType;
    p.depth = depth;
    p.interlaced = interlaced;
    const int top = (1 << depth) - 1;
    int entries = top + 1;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        entries = std::min(entries, 200);
        for (int i = 0; i < entries; ++i)
            p.palette.push_back(gdi::RGB(i * 37 + 5, 250 - i, i * 11));
        if (transparency)
            for (int i = 0; i < std::min(entries, 40); ++i)
                p.alphas.push_back(static_cast<std::uint8_t>(i * 6));
    }
    std::uint32_t seed = 12345;
    for (int i = 0; i < p.width * p.height * p.Channels(); ++i) {
        seed = seed * 1103515245u + 12345u;
        const int limit = colorType == PNG_COLOR_TYPE_PALETTE ? entries - 1 : top;
        int v = static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(limit + 1));
        if (i % 17 == 0)
            v = limit;
        if (i % 19 == 0)
            v = 0;
        p.samples.push_back(static_cast<std::uint16_t>(v));
    }
    if (transparency && colorType != PNG_COLOR_TYPE_PALETTE) {
        // The first pixel's colour is the transparent one.
        png_color_16 t{};
        if (colorType == PNG_COLOR_TYPE_GRAY)
            t.gray = p.samples[0];
        else
            t.red = p.samples[0], t.green = p.samples[1], t.blue = p.samples[2];
        p.transparent = t;
    }
    return p;
}

TEST(PngFile, EveryKindReadsAsItsPixels) {
    const struct {
        const char* name;
        PngPicture picture;
    } cases[] = {
        {"palette, 1 bit", Kind(PNG_COLOR_TYPE_PALETTE, 1)},
        {"palette, 2 bits", Kind(PNG_COLOR_TYPE_PALETTE, 2)},
        {"palette, 4 bits", Kind(PNG_COLOR_TYPE_PALETTE, 4)},
        {"palette, 8 bits", Kind(PNG_COLOR_TYPE_PALETTE, 8)},
        {"palette with transparent entries", Kind(PNG_COLOR_TYPE_PALETTE, 8, false, true)},
        {"grey, 1 bit", Kind(PNG_COLOR_TYPE_GRAY, 1)},
        {"grey, 2 bits", Kind(PNG_COLOR_TYPE_GRAY, 2)},
        {"grey, 4 bits", Kind(PNG_COLOR_TYPE_GRAY, 4)},
        {"grey, 8 bits", Kind(PNG_COLOR_TYPE_GRAY, 8)},
        {"grey, 16 bits", Kind(PNG_COLOR_TYPE_GRAY, 16)},
        {"grey with a transparent value", Kind(PNG_COLOR_TYPE_GRAY, 4, false, true)},
        {"grey and alpha", Kind(PNG_COLOR_TYPE_GRAY_ALPHA, 8)},
        {"grey and alpha, 16 bits", Kind(PNG_COLOR_TYPE_GRAY_ALPHA, 16)},
        {"RGB", Kind(PNG_COLOR_TYPE_RGB, 8)},
        {"RGB, 16 bits", Kind(PNG_COLOR_TYPE_RGB, 16)},
        {"RGB with a transparent colour", Kind(PNG_COLOR_TYPE_RGB, 8, false, true)},
        {"RGBA: alpha laid on white", Kind(PNG_COLOR_TYPE_RGB_ALPHA, 8)},
        {"RGBA, 16 bits", Kind(PNG_COLOR_TYPE_RGB_ALPHA, 16)},
        {"interlaced palette", Kind(PNG_COLOR_TYPE_PALETTE, 8, true)},
        {"interlaced grey, 2 bits", Kind(PNG_COLOR_TYPE_GRAY, 2, true)},
        {"interlaced RGB", Kind(PNG_COLOR_TYPE_RGB, 8, true)},
        {"interlaced RGBA, 16 bits", Kind(PNG_COLOR_TYPE_RGB_ALPHA, 16, true)},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = zk_test::WritePng(c.picture);
        ASSERT_FALSE(file.empty()) << "libpng did not write the picture";
        const gdi::Bitmap expected = ExpectedBitmap(c.picture);

        gdi::Bitmap fromMemory;
        zk::BitmapError error;
        ASSERT_TRUE(zk::PngToBitmap(file, fromMemory, &error)) << error.message;
        EXPECT_TRUE(zk_test::SameBitmap(expected, fromMemory));

        zk_test::WriteFileBytes(dir / "kind.png", file);
        gdi::Bitmap fromFile;
        ASSERT_TRUE(zk::ReadPngFile(dir / "kind.png", fromFile, &error)) << error.message;
        EXPECT_TRUE(zk_test::SameBitmap(expected, fromFile));
    }
}

struct Ihdr {
    int depth = 0, colorType = -1, interlace = -1;
    std::uint32_t paletteEntries = 0;
};
Ihdr HeaderOf(const Bytes& file) {
    Ihdr h;
    for (const zk_test::PngChunk& c : zk_test::Chunks(file)) {
        if (c.type == "IHDR") {
            h.depth = file.at(c.DataAt() + 8);
            h.colorType = file.at(c.DataAt() + 9);
            h.interlace = file.at(c.DataAt() + 12);
        } else if (c.type == "PLTE") {
            h.paletteEntries = c.length / 3;
        }
    }
    return h;
}

// The pixels as another program's reader (stb_image) sees them.
gdi::Bitmap ReadByStb(const Bytes& file) {
    int w = 0, h = 0, n = 0;
    stbi_uc* rgb = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 3);
    if (!rgb)
        return {};
    gdi::Bitmap bmp(w, h, 32, gdi::kWhite);
    for (int i = 0; i < w * h; ++i)
        bmp.SetPixel(i % w, i / w, gdi::RGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]));
    stbi_image_free(rgb);
    return bmp;
}

// A PNG save never loses a pixel: a palette of exactly the map's colours in the fewest bits that
// hold them while there are at most 256, RGB past that.
TEST(PngFile, OurFilesKeepEveryPixelInThePaletteOfTheirColours) {
    const struct {
        int colours;
        int colorType, depth;
    } cases[] = {
        {1, PNG_COLOR_TYPE_PALETTE, 1},  {2, PNG_COLOR_TYPE_PALETTE, 1},
        {3, PNG_COLOR_TYPE_PALETTE, 2},  {4, PNG_COLOR_TYPE_PALETTE, 2},
        {5, PNG_COLOR_TYPE_PALETTE, 4},  {16, PNG_COLOR_TYPE_PALETTE, 4},
        {17, PNG_COLOR_TYPE_PALETTE, 8}, {256, PNG_COLOR_TYPE_PALETTE, 8},
        {257, PNG_COLOR_TYPE_RGB, 8},    {5000, PNG_COLOR_TYPE_RGB, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.colours) + " colours");
        // Odd sizes, so that rows end inside a byte; runs and single pixels of each colour.
        gdi::Bitmap map(101, 61, 32, gdi::kWhite);
        for (int i = 0; i < map.Width() * map.Height(); ++i) {
            const int k = (i / 3) % c.colours;
            map.SetPixel(
                i % map.Width(), i / map.Width(),
                k == 0 ? gdi::kWhite : (static_cast<gdi::Color>(k) * 0x010307u) & 0xFFFFFF);
        }
        zk::BitmapError error;
        const auto png = zk::BitmapToPng(map, &error);
        ASSERT_TRUE(png) << error.message;
        const Ihdr h = HeaderOf(*png);
        EXPECT_EQ(h.colorType, c.colorType);
        EXPECT_EQ(h.depth, c.depth);
        EXPECT_EQ(h.interlace, 0);
        EXPECT_EQ(h.paletteEntries, c.colorType == PNG_COLOR_TYPE_PALETTE
                                        ? static_cast<std::uint32_t>(c.colours)
                                        : 0u);
        EXPECT_TRUE(zk_test::SamePixels(map, ReadByStb(*png))) << "another reader differs";
        gdi::Bitmap back;
        ASSERT_TRUE(zk::PngToBitmap(*png, back, &error)) << error.message;
        EXPECT_TRUE(zk_test::SameBitmap(map, back));
    }
}

// Both ways of indexing (in one pass while counting, and row by row, which a save falls back on
// when there is no memory for all the indices) name each pixel's own colour, whatever the
// pattern: runs, two colours taking turns, three, and no pattern at all.
TEST(ExactPalette, EveryIndexNamesItsPixelsColour) {
    const struct {
        const char* name;
        std::function<gdi::Color(int)> colour;
    } rows[] = {
        {"runs", [](int x) { return x < 9    ? gdi::kWhite
                                    : x < 30 ? gdi::kBlack
                                             : 0x123456u; }},
        {"two taking turns", [](int x) { return (x / 3) % 2 ? gdi::kWhite : gdi::kBlack; }},
        {"three taking turns", [](int x) { return gdi::Color(x % 3) * 0x404040u; }},
        {"no pattern", [](int x) { return gdi::Color(x * 2654435761u >> 24); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        gdi::Bitmap map(61, 3, 32, gdi::kWhite);
        for (int i = 0; i < 61 * 3; ++i)
            map.SetPixel(i % 61, i / 61, r.colour(i % 61 + i / 61));
        std::vector<std::uint8_t> all(map.PixelCount()), row(61);
        const auto palette = zk::ExactPalette::Of(map, all.data());
        ASSERT_TRUE(palette);
        for (int y = 0; y < 3; ++y) {
            palette->IndexRow(map.Row(y), row.data(), 61);
            for (int x = 0; x < 61; ++x) {
                ASSERT_EQ(palette->Colors()[all[y * 61 + x]], map.GetPixel(x, y)) << x << "," << y;
                ASSERT_EQ(row[x], all[y * 61 + x]) << x << "," << y;
            }
        }
    }
    gdi::Bitmap many(300, 1, 32, gdi::kWhite);
    for (int x = 0; x < 300; ++x)
        many.SetPixel(x, 0, gdi::Color(x));
    std::vector<std::uint8_t> all(300);
    EXPECT_FALSE(zk::ExactPalette::Of(many, all.data()));
    EXPECT_FALSE(zk::ExactPalette::Of(many));
}

long PeakKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Sizes come from the header; a size past the limits, or one the file is far too short to hold,
// is refused with that size before the picture's memory is taken.
TEST(PngFile, LyingSizesAreRefusedFromTheHeaderBeforeMemoryIsSpent) {
    const struct {
        std::uint32_t width, height;
        zk::BitmapErrorCode code;
        const char* says;
    } cases[] = {
        {60000, 60000, zk::BitmapErrorCode::TooLarge, "image too large: 60000 x 60000"},
        {70000, 1, zk::BitmapErrorCode::TooLarge, "image too large: 70000 x 1"},
        {1, 65536, zk::BitmapErrorCode::TooLarge, "image too large: 1 x 65536"},
        {2147483647, 2147483647, zk::BitmapErrorCode::TooLarge,
         "image too large: 2147483647 x 2147483647"},
        // Within the limits, but a gigabyte of pixels from a few bytes of data is impossible.
        {16384, 16384, zk::BitmapErrorCode::Truncated, "a 16384 x 16384 picture needs at least"},
        {65535, 4096, zk::BitmapErrorCode::Truncated, "a 65535 x 4096 picture needs at least"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const Bytes file = zk_test::HeaderOnlyPng(c.width, c.height);
        zk_test::WriteFileBytes(dir / "bomb.png", file);
        const long before = PeakKiB();
        for (const bool fromFile : {true, false}) {
            gdi::Bitmap bmp(3, 3);
            zk::BitmapError error;
            const bool read = fromFile ? zk::ReadPngFile(dir / "bomb.png", bmp, &error)
                                       : zk::PngToBitmap(file, bmp, &error);
            EXPECT_FALSE(read);
            EXPECT_TRUE(bmp.IsNull());
            EXPECT_EQ(error.code, c.code) << error.message;
            EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
        }
        EXPECT_LT(PeakKiB() - before, 64 * 1024) << "memory was spent on the picture";
    }
}

// A small palette file of ours, to cut and damage.
Bytes SmallFile() {
    gdi::Bitmap map(40, 30, 32, gdi::kWhite);
    for (int i = 0; i < 1200; ++i)
        map.SetPixel(i % 40, i / 40, (static_cast<gdi::Color>(i % 200) * 0x10307u) & 0xFFFFFF);
    const auto png = zk::BitmapToPng(map);
    return png ? *png : Bytes{};
}

const zk_test::PngChunk* Find(const std::vector<zk_test::PngChunk>& chunks, const char* type) {
    for (const zk_test::PngChunk& c : chunks)
        if (c.type == type)
            return &c;
    return nullptr;
}

TEST(PngFile, CutAndDamagedFilesAreRefusedWithAReason) {
    const Bytes good = SmallFile();
    ASSERT_FALSE(good.empty());
    const auto chunks = zk_test::Chunks(good);
    const zk_test::PngChunk* ihdr = Find(chunks, "IHDR");
    const zk_test::PngChunk* idat = Find(chunks, "IDAT");
    const zk_test::PngChunk* iend = Find(chunks, "IEND");
    ASSERT_TRUE(ihdr && idat && iend);
    const auto cut = [&](std::size_t n) { return Bytes(good.begin(), good.begin() + n); };
    const auto changed = [&](std::size_t at, std::uint8_t v, const zk_test::PngChunk* fix) {
        Bytes b = good;
        b.at(at) = v;
        if (fix)
            zk_test::FixCrc(b, *fix);
        return b;
    };
    Bytes noPalette = good;  // a palette image's PLTE renamed to a chunk nobody knows
    const zk_test::PngChunk* plte = Find(chunks, "PLTE");
    ASSERT_NE(plte, nullptr);
    noPalette.at(plte->at + 4) = 'x';
    zk_test::FixCrc(noPalette, *plte);

    using Code = zk::BitmapErrorCode;
    const struct {
        const char* name;
        Bytes file;
        Code code;
        const char* says;
    } cases[] = {
        {"empty", {}, Code::NotBitmap, "not a PNG file"},
        {"half a signature", cut(5), Code::NotBitmap, "not a PNG file"},
        {"not a PNG", changed(1, 'Q', nullptr), Code::NotBitmap, "not a PNG file"},
        {"a bitmap file",
         zk_test::BuildBmp(zk_test::BmpFields().Size(1, 1).Bpp(24).Pixels({1, 2, 3, 0})),
         Code::NotBitmap, "not a PNG file"},
        {"the signature alone", cut(8), Code::Truncated, "truncated"},
        {"cut in the header", cut(ihdr->at + 10), Code::Truncated, "truncated"},
        {"cut after the header", cut(ihdr->End()), Code::Truncated, "truncated"},
        {"cut in the picture data", cut(idat->DataAt() + idat->length / 2), Code::Truncated,
         "truncated"},
        {"cut before the end chunk", cut(iend->at), Code::Truncated, "truncated"},
        {"header checksum", changed(ihdr->DataAt() + 3, 99, nullptr), Code::BadData, "CRC"},
        {"a changed byte of picture data",
         changed(idat->DataAt() + 5, good[idat->DataAt() + 5] ^ 0x55, nullptr), Code::BadData,
         "corrupt PNG file"},
        {"broken compressed data", changed(idat->DataAt() + 1, 0xFF, idat), Code::BadData,
         "corrupt PNG file"},
        {"bits a sample no PNG has", changed(ihdr->DataAt() + 8, 3, ihdr), Code::BadData,
         "corrupt PNG file"},
        {"a colour type no PNG has", changed(ihdr->DataAt() + 9, 5, ihdr), Code::BadData,
         "corrupt PNG file"},
        {"a palette image without its palette", noPalette, Code::BadData, "corrupt PNG file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gdi::Bitmap bmp(2, 2);
        zk::BitmapError error;
        EXPECT_FALSE(zk::PngToBitmap(c.file, bmp, &error));
        EXPECT_TRUE(bmp.IsNull());
        EXPECT_EQ(error.code, c.code) << error.message;
        EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
    }
}

}  // namespace
