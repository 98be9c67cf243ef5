#include <gtest/gtest.h>

#include <string>

#include "gdi/dc.h"
#include "gdi/font.h"
#include "support/picture.h"

namespace {

using zk_test::kBlue;
using zk_test::kGreen;
using zk_test::kRed;

// The topmost row with a pixel of colour c, or -1.
int TopRowOf(const gdi::Bitmap& b, gdi::Color c) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.GetPixel(x, y) == c)
                return y;
    return -1;
}

TEST(Text, StockSystemFontIsABoldSansFaceWithASixteenPixelCell) {
    const gdi::LogFont lf = gdi::SystemFont();
    EXPECT_EQ(lf.height, 16);
    EXPECT_EQ(lf.weight, gdi::kWeightBold);
    const gdi::Font font;
    EXPECT_EQ(font.GetLogFont(), lf);
    EXPECT_EQ(font.CellHeight(), 16);
    EXPECT_EQ(font.Ascent() + font.Descent(), 16);
    EXPECT_TRUE(font.IsBold());
    EXPECT_FALSE(font.FamilyFor(U'A').empty()) << "no font found at all";
    RecordProperty("system_font", font.FamilyFor(U'A'));
}

// The cell is filled in opaque mode only; the ink is exactly the text colour, without grey edges,
// and the same pixels in both modes.
TEST(Text, CellAndInkInBothBackgroundModes) {
    struct Case {
        gdi::BkMode mode;
        gdi::Color text;
        gdi::Color bk;
    };
    const Case cases[] = {
        {gdi::BkMode::Opaque, gdi::kBlack, gdi::kWhite},
        {gdi::BkMode::Opaque, kBlue, kGreen},
        {gdi::BkMode::Transparent, gdi::kBlack, gdi::kWhite},
    };
    std::string inkOfFirst;
    for (const Case& c : cases) {
        gdi::Bitmap bmp(80, 24, 32, kRed);
        gdi::DC dc(&bmp);
        dc.SetBkMode(c.mode);
        dc.SetTextColor(c.text);
        dc.SetBkColor(c.bk);
        ASSERT_TRUE(dc.TextOut(3, 2, "Sklep"));
        const gdi::Point ext = dc.GetTextExtent("Sklep");
        EXPECT_EQ(ext.y, 16);
        ASSERT_GT(ext.x, 20);
        ASSERT_LT(3 + ext.x, 80);
        std::string ink;
        for (int y = 0; y < bmp.Height(); ++y) {
            for (int x = 0; x < bmp.Width(); ++x) {
                const gdi::Color p = bmp.GetPixel(x, y);
                const bool inCell = x >= 3 && x < 3 + ext.x && y >= 2 && y < 18;
                if (!inCell)
                    EXPECT_EQ(p, kRed) << "outside the cell at " << x << "," << y;
                else if (c.mode == gdi::BkMode::Opaque)
                    EXPECT_TRUE(p == c.text || p == c.bk) << "at " << x << "," << y;
                else
                    EXPECT_TRUE(p == c.text || p == kRed) << "at " << x << "," << y;
                ink += p == c.text ? '#' : '.';
            }
            ink += '\n';
        }
        EXPECT_NE(ink.find('#'), std::string::npos);
        if (inkOfFirst.empty())
            inkOfFirst = ink;
        EXPECT_EQ(ink, inkOfFirst) << "the ink differs between modes or colours";
    }
}

// Czech text is UTF-8: one glyph per letter, the accents drawn, nothing missing from the face.
TEST(Text, CzechWordsDrawEveryLetter) {
    const gdi::Font font;
    const std::string base = font.FamilyFor(U'a');
    for (const char* word : {"Sklep", "Schodiště", "Věž"}) {
        const std::u32string letters = gdi::DecodeUtf8(word);
        int sum = 0;
        for (char32_t c : letters) {
            EXPECT_EQ(font.FamilyFor(c), base) << word << ": U+" << std::hex << int(c);
            sum += font.TextWidth(std::u32string(1, c));
        }
        EXPECT_EQ(font.TextWidth(letters), sum) << word;
    }
    EXPECT_EQ(gdi::DecodeUtf8("Věž").size(), 3u);

    // The caron stands above the plain letter's ink.
    auto draw = [](const char* s) {
        gdi::Bitmap b(20, 16, 32, gdi::kWhite);
        gdi::DC dc(&b);
        dc.TextOut(0, 0, s);
        return b;
    };
    const gdi::Bitmap e = draw("e");
    const gdi::Bitmap ecaron = draw("ě");
    ASSERT_GE(TopRowOf(e, gdi::kBlack), 0);
    EXPECT_LT(TopRowOf(ecaron, gdi::kBlack), TopRowOf(e, gdi::kBlack))
        << zk_test::BitmapText(e) << zk_test::BitmapText(ecaron);
}

TEST(Text, CharacterTheFaceLacksComesFromAnotherFace) {
    const gdi::Font mono(gdi::LogFont{-20, 0, gdi::kWeightNormal, false, "DejaVu Sans Mono"});
    if (mono.FamilyFor(U'a') != "DejaVu Sans Mono")
        GTEST_SKIP() << "DejaVu Sans Mono is not installed";
    // Hebrew alef: in DejaVu Sans, not in its monospaced sister.
    EXPECT_EQ(mono.FamilyFor(U'\u05D0'), "DejaVu Sans");
    gdi::Bitmap b(40, 30, 32, gdi::kWhite);
    gdi::DC dc(&b);
    dc.SelectFont(mono);
    dc.TextOut(0, 0, "\xD7\x90");
    EXPECT_GE(TopRowOf(b, gdi::kBlack), 0);
}

TEST(Text, HeightIsTheCellOrTheCharacterHeightAndWidthStretches) {
    struct Case {
        int height;
        int cell;  // 0: more than the character height
    };
    for (const Case c : {Case{32, 32}, Case{16, 16}, Case{0, 16}, Case{-20, 0}}) {
        const gdi::Font f(gdi::LogFont{c.height, 0, gdi::kWeightNormal, false, ""});
        if (c.cell) {
            EXPECT_EQ(f.CellHeight(), c.cell) << c.height;
        } else {
            EXPECT_GT(f.CellHeight(), -c.height);
            EXPECT_EQ(f.CellHeight() - f.InternalLeading(), -c.height);
        }
    }
    const std::u32string text = U"Schody";
    const int narrow = gdi::Font(gdi::LogFont{-20, 6, 400, false, ""}).TextWidth(text);
    const int wide = gdi::Font(gdi::LogFont{-20, 12, 400, false, ""}).TextWidth(text);
    EXPECT_GT(wide, narrow * 3 / 2);
    EXPECT_LT(wide, narrow * 5 / 2);
}

TEST(Text, BadInputIsClippedAndBounded) {
    gdi::Bitmap b(10, 10, 32, gdi::kWhite);
    gdi::DC dc(&b);
    dc.TextOut(-7, -9, "Věž");
    dc.SelectFont(gdi::Font(gdi::LogFont{1 << 30, -(1 << 30), 5000, true, "no such face"}));
    dc.TextOut(2, 2, "\xFF\xC3(\xE2\x82");
    EXPECT_EQ(b.GetPixel(5, 5), gdi::kWhite) << "an opaque cell covers the bitmap";

    struct Case {
        const char* utf8;
        std::u32string expected;
    };
    const Case cases[] = {
        {"a\xC4\x9B", U"a\u011B"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xC3", U"\uFFFD"},
        {"\xC0\xAF", U"\uFFFD\uFFFD"},            // overlong
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // a surrogate
        {"\xE2\x82x", U"\uFFFD\uFFFDx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gdi::DecodeUtf8(c.utf8), c.expected) << c.utf8;
}

}  // namespace
