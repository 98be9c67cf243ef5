// The writer: the exact bytes of the files it makes, the fixed colour table and the reduction to
// it, and the rule that a failed write never damages the file it was to replace.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <random>

#include "doc/bitmap_file.h"
#include "doc/bitmap_file_test_support.h"
#include "doc/color_table.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zk_test::Bytes;
using zk_test::Le16;
using zk_test::Le32;
using zk_test::TempDir;

// The platform's default 8-bit table, as the drawing notes list it.
std::array<gdi::Color, 256> ExpectedTable() {
    std::array<gdi::Color, 256> t{};
    const gdi::Color low[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
    const gdi::Color high[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 10; ++i)
        t[i] = low[i], t[246 + i] = high[i];
    for (int i = 10; i < 246; ++i)
        t[i] = gdi::RGB((i & 7) * 32, ((i >> 3) & 7) * 32, (i >> 6) * 64);
    return t;
}

// The reduction by its definition: a plain search over the table, no lookup.
int NearestIndex(gdi::Color c) {
    const auto table = ExpectedTable();
    const int r = (gdi::GetRValue(c) & 0xF8) | 4, g = (gdi::GetGValue(c) & 0xF8) | 4,
              b = (gdi::GetBValue(c) & 0xF8) | 4;
    int best = -1, bestDist = 0;
    for (int i = 0; i < 256; ++i) {
        const int dr = r - gdi::GetRValue(table[i]), dg = g - gdi::GetGValue(table[i]),
                  db = b - gdi::GetBValue(table[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestDist)
            best = i, bestDist = d;
    }
    return best;
}

Bytes WriteAndLoad(const TempDir& dir, const gdi::Bitmap& bmp, const char* name = "out.bmp") {
    zk::BitmapError error;
    EXPECT_TRUE(zk::WriteBitmapFile(dir / name, bmp, &error)) << error.message;
    return zk_test::ReadFileBytes(dir / name);
}

TEST(BitmapFileWrite, MapOf672x944IsAn8BitFileOf635446Bytes) {
    TempDir dir;
    gdi::Bitmap map(672, 944, 32, gdi::kWhite);
    map.SetPixel(0, 0, 0xFF0000);      // top-left: last row in the file
    map.SetPixel(671, 943, 0x0000FF);  // bottom-right: first row in the file
    const Bytes f = WriteAndLoad(dir, map);

    ASSERT_EQ(f.size(), 635446u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f, 2), 635446u);  // file size
    EXPECT_EQ(Le16(f, 6), 0);        // reserved
    EXPECT_EQ(Le16(f, 8), 0);
    EXPECT_EQ(Le32(f, 10), 1078u);  // pixel offset
    EXPECT_EQ(Le32(f, 14), 40u);    // header size
    EXPECT_EQ(Le32(f, 18), 672u);
    EXPECT_EQ(Le32(f, 22), 944u);         // positive: bottom-up
    EXPECT_EQ(Le16(f, 26), 1);            // planes
    EXPECT_EQ(Le16(f, 28), 8);            // bits per pixel
    EXPECT_EQ(Le32(f, 30), 0u);           // no compression
    EXPECT_EQ(Le32(f, 34), 672u * 944u);  // image size
    for (int at = 38; at < 54; at += 4)
        EXPECT_EQ(Le32(f, at), 0u) << "field at " << at;

    const auto table = ExpectedTable();
    for (int i = 0; i < 256; ++i) {
        const std::size_t e = 54 + 4 * i;
        EXPECT_EQ(gdi::RGB(f[e + 2], f[e + 1], f[e]), table[i]) << "entry " << i;
        EXPECT_EQ(f[e + 3], 0) << "entry " << i;
    }
    EXPECT_EQ(f[1078 + 671], 252);            // first stored row is the bottom one: blue
    EXPECT_EQ(f[1078 + 943 * 672 + 0], 249);  // last stored row is the top one: red
    EXPECT_EQ(f[1078 + 943 * 672 + 1], 255);  // white
}

TEST(BitmapFileWrite, RowsArePaddedWithZerosToFourBytes) {
    TempDir dir;
    gdi::Bitmap map(101, 3, 32, gdi::kWhite);
    const Bytes f = WriteAndLoad(dir, map);
    ASSERT_EQ(f.size(), 14u + 40 + 1024 + 104 * 3);
    EXPECT_EQ(Le32(f, 34), 104u * 3);
    for (int y = 0; y < 3; ++y) {
        const std::size_t row = 1078 + 104 * y;
        for (int x = 0; x < 101; ++x)
            ASSERT_EQ(f[row + x], 255) << x << "," << y;
        for (int x = 101; x < 104; ++x)
            EXPECT_EQ(f[row + x], 0) << "padding " << x << "," << y;
    }
}

TEST(BitmapFileWrite, MonochromeIsOneBitWithABlackAndWhiteTable) {
    TempDir dir;
    gdi::Bitmap mono(10, 2, 1, gdi::kWhite);
    mono.SetPixel(0, 0, gdi::kBlack);  // top row: stored second
    mono.SetPixel(9, 0, gdi::kBlack);
    mono.SetPixel(8, 1, gdi::kBlack);  // bottom row: stored first
    const Bytes f = WriteAndLoad(dir, mono);

    ASSERT_EQ(f.size(), 62u + 4 * 2);
    EXPECT_EQ(Le32(f, 2), 70u);
    EXPECT_EQ(Le32(f, 10), 62u);
    EXPECT_EQ(Le16(f, 28), 1);
    EXPECT_EQ(Le32(f, 34), 8u);
    EXPECT_EQ(Le32(f, 46), 0u);           // colours used
    EXPECT_EQ(Le32(f, 54), 0x00000000u);  // black
    EXPECT_EQ(Le32(f, 58), 0x00FFFFFFu);  // white
    // Bottom row: white except x = 8; 1 bits are white, the first pixel is the top bit.
    EXPECT_EQ(f[62], 0xFF);
    EXPECT_EQ(f[63], 0x40);  // x = 8 black, x = 9 white
    EXPECT_EQ(f[64], 0);
    EXPECT_EQ(f[65], 0);
    // Top row: x = 0 and x = 9 black.
    EXPECT_EQ(f[66], 0x7F);
    EXPECT_EQ(f[67], 0x80);
    EXPECT_EQ(f[68], 0);
    EXPECT_EQ(f[69], 0);
}

TEST(BitmapFileWrite, EveryTableColourSurvivesWriteAndRead) {
    TempDir dir;
    const auto table = ExpectedTable();
    gdi::Bitmap bmp(256, 1);
    for (int i = 0; i < 256; ++i)
        bmp.SetPixel(i, 0, table[i]);
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "t.bmp", bmp));
    gdi::Bitmap back;
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "t.bmp", back));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(back.GetPixel(i, 0), table[i]) << "entry " << i;
}

TEST(BitmapFileWrite, ColourRepeatedInTheTableTakesTheLowerIndex) {
    TempDir dir;
    gdi::Bitmap bmp(3, 1);
    bmp.SetPixel(0, 0, 0x808080);  // entries 164 (cube) and 248
    bmp.SetPixel(1, 0, 0x008000);  // entries 2 and 32 (cube)
    bmp.SetPixel(2, 0, 0x000080);  // entries 4 and 128 (cube)
    const Bytes f = WriteAndLoad(dir, bmp);
    EXPECT_EQ(f[1078], 164);
    EXPECT_EQ(f[1079], 2);
    EXPECT_EQ(f[1080], 4);
}

// A map of more than 256 colours is the one case that loses colours: each becomes the nearest
// entry of the default table.
TEST(BitmapFileWrite, MoreThan256ColoursBecomeTheNearestDefaultEntry) {
    TempDir dir;
    // Every 5-5-5 colour once, with random low bits that the reduction must ignore.
    std::mt19937 rng(12345);
    gdi::Bitmap bmp(32768, 1);
    for (int i = 0; i < 32768; ++i) {
        const int r = ((i >> 10) & 31) << 3, g = ((i >> 5) & 31) << 3, b = (i & 31) << 3;
        bmp.SetPixel(i, 0, gdi::RGB(r | (rng() & 7), g | (rng() & 7), b | (rng() & 7)));
    }
    const Bytes f = WriteAndLoad(dir, bmp);
    ASSERT_EQ(f.size(), 1078u + 32768);
    const auto table = ExpectedTable();
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(gdi::RGB(f[54 + 4 * i + 2], f[54 + 4 * i + 1], f[54 + 4 * i]), table[i]) << i;
    int wrong = 0;
    for (int i = 0; i < 32768 && wrong < 5; ++i) {
        const gdi::Color c = bmp.GetPixel(i, 0);
        if (f[1078 + i] != NearestIndex(c)) {
            ++wrong;
            ADD_FAILURE() << std::hex << "colour " << c << " written as " << int{f[1078 + i]}
                          << ", nearest is " << NearestIndex(c);
        }
    }
    // A few worked by hand, among 257 colours: (c & 0xF8) | 4 first, then the nearest entry.
    gdi::Bitmap few(257, 1);
    for (int i = 3; i < 257; ++i)
        few.SetPixel(i, 0, gdi::RGB(i, 1, 2));
    few.SetPixel(0, 0, 0x7F7F7F);  // 7C7C7C: 808080 at 48, found first in the cube
    few.SetPixel(1, 0, 0xFE0101);  // FC0404: FF0000 (249)
    few.SetPixel(2, 0, 0xFDFDFD);  // FCFCFC: FFFFFF (255), not FFFBF0
    const Bytes g = WriteAndLoad(dir, few, "few.bmp");
    EXPECT_EQ(g[1078], 164);
    EXPECT_EQ(g[1079], 249);
    EXPECT_EQ(g[1080], 255);
}

// Up to 256 colours, whatever they are, come back exactly, in a full 256-entry table that keeps
// the default entries the map uses where they are.
TEST(BitmapFileWrite, AtMost256ColoursAreKeptExactly) {
    const auto table = ExpectedTable();
    const auto paint = [](int w, int h, auto colourAt) {
        gdi::Bitmap bmp(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bmp.SetPixel(x, y, colourAt(x, y));
        return bmp;
    };
    const struct {
        const char* what;
        gdi::Bitmap map;
    } cases[] = {
        {"200 colours none of which is in the default table",
         paint(67, 41, [](int x, int y) { return gdi::RGB(3 + (x * 7 + y) % 200, 17, 99); })},
        {"a grey off the table among black and white", paint(9, 5,
                                                             [](int x, int y) {
                                                                 return (x + y) % 3 == 0 ? 0x333333u
                                                                        : (x + y) % 3 == 1
                                                                            ? gdi::kBlack
                                                                            : gdi::kWhite;
                                                             })},
        {"256 colours, half of them the table's own",
         paint(256, 3,
               [&](int x, int y) { return x < 128 ? table[(x + y) % 128] : gdi::RGB(x, 5, 5); })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const Bytes f = WriteAndLoad(dir, c.map);
        ASSERT_EQ(Le16(f, 28), 8);
        ASSERT_EQ(Le32(f, 10), 1078u) << "a full table of 256 entries";
        gdi::Bitmap back;
        ASSERT_TRUE(zk::ReadBitmapFile(dir / "out.bmp", back));
        EXPECT_TRUE(zk_test::SameBitmap(c.map, back));
        // The default colours the map uses keep their places (the first, where one is listed
        // twice), so a file of mostly standard colours keeps a mostly standard table.
        for (int i = 0; i < 256; ++i) {
            const gdi::Color entry = gdi::RGB(f[54 + 4 * i + 2], f[54 + 4 * i + 1], f[54 + 4 * i]);
            const bool firstOfItsColour =
                std::find(table.begin(), table.end(), table[i]) == table.begin() + i;
            bool used = false;
            for (std::size_t p = 0; p < c.map.PixelCount() && !used; ++p)
                used = c.map.Data()[p] == table[i];
            if (used && firstOfItsColour) {
                EXPECT_EQ(entry, table[i]) << "default colour " << i << " moved";
            }
        }
    }
}

// A file made elsewhere, with colours of its own: opening and saving it changes no pixel.
TEST(BitmapFileWrite, FileWithItsOwnColoursSurvivesOpenAndSave) {
    TempDir dir;
    std::vector<gdi::Color> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(gdi::RGB(0x33, i, 255 - i));
    Bytes pixels(16 * 16);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 37);
    zk_test::WriteFileBytes(
        dir / "theirs.bmp",
        zk_test::BuildBmp(
            zk_test::BmpFields().Size(16, 16).Bpp(8).Palette(palette).Pixels(pixels)));
    gdi::Bitmap opened, reopened;
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "theirs.bmp", opened));
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "theirs.bmp", opened));
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "theirs.bmp", reopened));
    EXPECT_TRUE(zk_test::SameBitmap(opened, reopened));
}

TEST(BitmapFileWrite, ReadWriteReadKeepsSizeAndTableColours) {
    TempDir dir;
    const auto table = ExpectedTable();
    gdi::Bitmap bmp(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            bmp.SetPixel(x, y, table[(x * 7 + y * 13) % 256]);
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "a.bmp", bmp));
    gdi::Bitmap first;
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "a.bmp", first));
    EXPECT_TRUE(zk_test::SameBitmap(bmp, first));
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "b.bmp", first));
    EXPECT_EQ(zk_test::ReadFileBytes(dir / "a.bmp"), zk_test::ReadFileBytes(dir / "b.bmp"));
}

// Big enough for the reader's path for images larger than the caches, with rows that do not start
// on 16-byte boundaries.
TEST(BitmapFileWrite, LargeMapSurvivesWriteAndRead) {
    TempDir dir;
    const auto table = ExpectedTable();
    gdi::Bitmap map(2051, 2048);
    for (int y = 0; y < map.Height(); ++y)
        for (int x = 0; x < map.Width(); ++x)
            map.Row(y)[x] = table[(x * 31 + y * 17) & 255];
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "big.bmp", map));
    gdi::Bitmap back;
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "big.bmp", back));
    ASSERT_EQ(back.Width(), map.Width());
    ASSERT_EQ(back.Height(), map.Height());
    EXPECT_TRUE(zk_test::SameBitmap(map, back));
}

TEST(BitmapFileWrite, MonochromeReadsBackAsDisplayFormatBlackAndWhite) {
    TempDir dir;
    gdi::Bitmap mono(9, 4, 1, gdi::kWhite);
    for (int i = 0; i < 4; ++i)
        mono.SetPixel(i * 2, i, gdi::kBlack);
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "m.bmp", mono));
    gdi::Bitmap back;
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "m.bmp", back));
    EXPECT_EQ(back.BitsPerPixel(), 32);
    ASSERT_EQ(back.Width(), 9);
    ASSERT_EQ(back.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(back.GetPixel(x, y), mono.GetPixel(x, y));
}

// A row of the default table's own colours indexes as the table of a bitmap of them does; one
// other colour anywhere in it, however near an entry, says so.
TEST(BitmapFileWrite, RowsOfDefaultColoursIndexAsTheirTableDoes) {
    const auto& table = zk::ColorTable::Default();
    std::vector<gdi::Color> every(table.begin(), table.end());
    std::reverse(every.begin() + 100, every.end());
    const struct {
        const char* what;
        std::vector<gdi::Color> row;
        bool isDefault;
    } cases[] = {
        {"every entry", every, true},
        {"black and white", {0, 0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0, 0, 0xFFFFFF}, true},
        {"grey beside grey", {0x808080, 0x808081, 0x808080}, false},
        {"one of its own, last", std::vector<gdi::Color>(20, 0xC0C0C0), false},
    };
    for (auto c : cases) {
        if (std::string(c.what) == "one of its own, last")
            c.row.back() = 0x123457;
        gdi::Bitmap bmp(static_cast<int>(c.row.size()), 1);
        for (std::size_t x = 0; x < c.row.size(); ++x)
            bmp.SetPixel(static_cast<int>(x), 0, c.row[x]);
        std::vector<std::uint8_t> got(c.row.size()), want(c.row.size());
        EXPECT_EQ(zk::ColorTable::IndexRowIfDefault(bmp.Row(0), got.data(), bmp.Width()),
                  c.isDefault)
            << c.what;
        const zk::ColorTable own(bmp);
        EXPECT_EQ(own.IsDefault() && own.IsExact(), c.isDefault) << c.what;
        if (c.isDefault) {
            own.IndexRow(bmp.Row(0), want.data(), bmp.Width());
            EXPECT_EQ(got, want) << c.what;
        }
    }
}

TEST(BitmapFileWrite, BitmapToDibIsTheFileWithoutItsFileHeader) {
    TempDir dir;
    // A small one, and ones whose rows the writer writes in several bands (odd width: padding):
    // colours of the default table only, which it indexes as it writes, and the same with one
    // colour of its own in the top row, the last the file holds, which makes it start over.
    gdi::Bitmap large(3001, 1600, 32, gdi::kWhite);
    for (int y = 0; y < large.Height(); ++y)
        for (int x = 0; x < large.Width(); ++x)
            if ((x ^ y) % 7 == 0)
                large.SetPixel(x, y, (x + y) % 3 ? gdi::kBlack : 0x808080);
    gdi::Bitmap ownColour = large;
    ownColour.SetPixel(2999, 0, 0x123457);
    for (const gdi::Bitmap& bmp : {gdi::Bitmap(5, 3, 32, 0x123456), large, ownColour}) {
        const Bytes f = WriteAndLoad(dir, bmp);
        const auto dib = zk::BitmapToDib(bmp);
        ASSERT_TRUE(dib);
        ASSERT_EQ(f.size(), 14 + dib->size());
        EXPECT_TRUE(Bytes(f.begin() + 14, f.end()) == *dib) << bmp.Width() << " x " << bmp.Height();
        EXPECT_EQ(zk_test::Le32(f, 2), f.size());
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.bmp"}) << "a temporary was left";
    }
    // The colour of its own is kept exactly, through a table made for it.
    gdi::Bitmap back;
    ASSERT_TRUE(zk::ReadBitmapFile(dir / "out.bmp", back));
    EXPECT_EQ(back.GetPixel(2999, 0), 0x123457u);
    EXPECT_EQ(back.GetPixel(1, 1), gdi::kBlack);

    zk::BitmapError error;
    EXPECT_FALSE(zk::BitmapToDib(gdi::Bitmap(), &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::EmptyBitmap);
}

// --- Failures leave the old file alone -----------------------------------------------------------

TEST(BitmapFileWrite, EmptyBitmapFailsBeforeCreatingAnything) {
    TempDir dir;
    zk::BitmapError error;
    EXPECT_FALSE(zk::WriteBitmapFile(dir / "new.bmp", gdi::Bitmap(), &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::EmptyBitmap);
    EXPECT_FALSE(error.message.empty());
    EXPECT_TRUE(dir.Entries().empty());

    zk_test::WriteFileBytes(dir / "old.bmp", {1, 2, 3});
    EXPECT_FALSE(zk::WriteBitmapFile(dir / "old.bmp", gdi::Bitmap()));
    EXPECT_EQ(zk_test::ReadFileBytes(dir / "old.bmp"), (Bytes{1, 2, 3}));
}

TEST(BitmapFileWrite, ReplacesAnOldFileAndKeepsItsPermissions) {
    TempDir dir;
    const fs::path p = dir / "map.bmp";
    zk_test::WriteFileBytes(p, Bytes(5000, 0xAB));
    ASSERT_EQ(::chmod(p.c_str(), 0640), 0);
    ASSERT_TRUE(zk::WriteBitmapFile(p, gdi::Bitmap(4, 4, 32, gdi::kWhite)));
    EXPECT_EQ(zk_test::ReadFileBytes(p).size(), 14u + 40 + 1024 + 16);
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map.bmp"});  // no temporary left
}

// Replacing goes by a rename, which the folder's permissions allow: the file's own say whether
// the user may replace it.
TEST(BitmapFileWrite, AReadOnlyFileIsRefusedAndLeftAsItIs) {
    TempDir dir;
    const fs::path p = dir / "map.bmp";
    zk_test::WriteFileBytes(p, {1, 2, 3, 4});
    ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
    zk::BitmapError error;
    EXPECT_FALSE(zk::WriteBitmapFile(p, gdi::Bitmap(4, 4), &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::CannotWrite);
    EXPECT_EQ(error.message, "cannot write file: the file is read-only");
    EXPECT_EQ(zk_test::ReadFileBytes(p), (Bytes{1, 2, 3, 4}));
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map.bmp"});
}

TEST(BitmapFileWrite, TargetThatIsAFolderFailsAndLeavesNoTemporary) {
    TempDir dir;
    fs::create_directory(dir / "map.bmp");
    zk_test::WriteFileBytes(dir / "map.bmp" / "inside", {7});
    zk::BitmapError error;
    EXPECT_FALSE(zk::WriteBitmapFile(dir / "map.bmp", gdi::Bitmap(4, 4), &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::CannotWrite);
    EXPECT_EQ(error.message.rfind("cannot write file: ", 0), 0u) << error.message;
    EXPECT_TRUE(fs::is_directory(dir / "map.bmp"));
    EXPECT_EQ(zk_test::ReadFileBytes(dir / "map.bmp" / "inside"), Bytes{7});
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map.bmp"});
}

TEST(BitmapFileWrite, MissingFolderFails) {
    TempDir dir;
    zk::BitmapError error;
    EXPECT_FALSE(zk::WriteBitmapFile(dir / "no" / "such" / "map.bmp", gdi::Bitmap(4, 4), &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::CannotWrite);
    EXPECT_NE(error.message.find("No such file or directory"), std::string::npos) << error.message;
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(BitmapFileWrite, ReadOnlyFolderFailsAndLeavesTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders anyway";
    TempDir dir;
    const fs::path p = dir / "map.bmp";
    zk_test::WriteFileBytes(p, {1, 2, 3, 4});
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    zk::BitmapError error;
    EXPECT_FALSE(zk::WriteBitmapFile(p, gdi::Bitmap(4, 4), &error));
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(error.code, zk::BitmapErrorCode::CannotWrite);
    EXPECT_EQ(zk_test::ReadFileBytes(p), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map.bmp"});
}

// The disk filling up mid-write, played by a file-size limit (which binds root too): in the
// first band of rows, and after several bands have gone to the file.
TEST(BitmapFileWrite, WriteThatRunsOutOfSpaceLeavesTheOldFile) {
    const struct {
        int w, h;
        rlim_t limit;
    } cases[] = {{200, 200, 4096}, {3000, 4000, 9u << 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        TempDir dir;
        const fs::path p = dir / "map.bmp";
        const Bytes old(3000, 0x5A);
        zk_test::WriteFileBytes(p, old);

        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = c.limit;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        zk::BitmapError error;
        const bool ok = zk::WriteBitmapFile(p, gdi::Bitmap(c.w, c.h), &error);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);

        EXPECT_FALSE(ok);
        EXPECT_EQ(error.code, zk::BitmapErrorCode::CannotWrite);
        EXPECT_EQ(error.message.rfind("cannot write file: ", 0), 0u) << error.message;
        EXPECT_EQ(zk_test::ReadFileBytes(p), old);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"map.bmp"});
    }
}

}  // namespace
