#include "doc/pattern_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bitmap_file_test_support.h"
#include "doc/bitmap_file.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zk::PatternLibrary;
using zk_test::Bytes;
using zk_test::ReadFileBytes;
using zk_test::SameBitmap;
using zk_test::TempDir;

// A black-and-white picture that differs for every seed, so slots cannot be mixed up.
gdi::Bitmap Picture(int w, int h, int seed) {
    gdi::Bitmap b(w, h, 32, gdi::kWhite);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x * 3 + y * 5 + seed) % 7 < 2)
                b.SetPixel(x, y, gdi::kBlack);
    return b;
}

std::string Name(const char* kind, int i) {
    return std::string(kind) + std::to_string(i) + ".bmp";
}

// Fills `dir` with all 32 files, each with its own picture: brush i is 8 x 8, symbol i 16 x 16.
void WriteAllFiles(const fs::path& dir) {
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        ASSERT_TRUE(zk::WriteBitmapFile(dir / Name("brush", i), Picture(8, 8, i)));
        ASSERT_TRUE(zk::WriteBitmapFile(dir / Name("symbol", i), Picture(16, 16, 100 + i)));
    }
}

std::vector<std::string> AllNames() {
    std::vector<std::string> names;
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        names.push_back(Name("brush", i));
        names.push_back(Name("symbol", i));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::string Prefix(const fs::path& dir) {
    return dir.string() + "/";
}

int FileBitsPerPixel(const fs::path& file) {
    const Bytes b = ReadFileBytes(file);
    return b.size() < 30 ? -1 : zk_test::Le16(b, 28);
}

bool AllFallbacks(const PatternLibrary& lib) {
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        if (!(lib.m_brushes[i] == PatternLibrary::FallbackBrush()) ||
            !(lib.m_symbols[i] == PatternLibrary::FallbackSymbol()))
            return false;
    }
    return true;
}

TEST(PatternLibrary, FallbacksAreWhiteBrushesAndMonochromeSymbols) {
    const gdi::Bitmap brush = PatternLibrary::FallbackBrush();
    EXPECT_EQ(brush.Width(), 8);
    EXPECT_EQ(brush.Height(), 8);
    EXPECT_EQ(brush.BitsPerPixel(), 32);
    const gdi::Bitmap symbol = PatternLibrary::FallbackSymbol();
    EXPECT_EQ(symbol.Width(), 16);
    EXPECT_EQ(symbol.Height(), 16);
    EXPECT_TRUE(symbol.IsMonochrome());
    for (const gdi::Bitmap* b : {&brush, &symbol})
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                ASSERT_EQ(b->GetPixel(x, y), gdi::kWhite) << x << "," << y;
}

TEST(PatternLibrary, MissingDirectoryGivesFallbacksAndIsNeverCreated) {
    TempDir tmp;
    const fs::path dir = tmp / "brush";
    PatternLibrary lib;
    lib.Load(Prefix(dir));
    EXPECT_EQ(lib.m_directory, Prefix(dir));
    EXPECT_TRUE(AllFallbacks(lib));
    lib.SaveAll();
    EXPECT_FALSE(fs::exists(dir));
    EXPECT_TRUE(tmp.Entries().empty());
}

TEST(PatternLibrary, EmptyDirectoryIsFilledWithAll32FilesAtSave) {
    TempDir tmp;
    PatternLibrary lib;
    lib.Load(Prefix(tmp.Path()));
    EXPECT_TRUE(AllFallbacks(lib));
    EXPECT_TRUE(tmp.Entries().empty()) << "loading wrote something";

    lib.SaveAll();
    EXPECT_EQ(Sorted(tmp.Entries()), AllNames()) << "missing files or temporary files left";
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        // The symbol stays black and white on disk: one bit per pixel.
        EXPECT_EQ(FileBitsPerPixel(tmp / Name("symbol", i)), 1) << i;
        EXPECT_EQ(FileBitsPerPixel(tmp / Name("brush", i)), 8) << i;
    }
    // What was written reads back as the fallbacks (the reader gives the display format).
    PatternLibrary again;
    again.Load(Prefix(tmp.Path()));
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), again.m_brushes[i])) << i;
        EXPECT_EQ(again.m_symbols[i].Width(), 16);
        EXPECT_EQ(again.m_symbols[i].Height(), 16);
        EXPECT_EQ(again.m_symbols[i].GetPixel(7, 7), gdi::kWhite);
    }
}

TEST(PatternLibrary, OnlyTheMissingFileFallsBackAndIsCreatedAtSave) {
    TempDir tmp;
    WriteAllFiles(tmp.Path());
    fs::remove(tmp / "brush3.bmp");
    fs::remove(tmp / "symbol12.bmp");
    const Bytes brush4 = ReadFileBytes(tmp / "brush4.bmp");

    PatternLibrary lib;
    lib.Load(Prefix(tmp.Path()));
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        if (i == 3)
            EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), lib.m_brushes[i]));
        else
            EXPECT_TRUE(SameBitmap(Picture(8, 8, i), lib.m_brushes[i])) << "brush " << i;
        if (i == 12)
            EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackSymbol(), lib.m_symbols[i]));
        else
            EXPECT_TRUE(SameBitmap(Picture(16, 16, 100 + i), lib.m_symbols[i])) << "symbol " << i;
    }

    lib.SaveAll();
    EXPECT_EQ(Sorted(tmp.Entries()), AllNames());
    gdi::Bitmap back;
    ASSERT_TRUE(zk::ReadBitmapFile(tmp / "brush3.bmp", back));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), back));
    EXPECT_EQ(FileBitsPerPixel(tmp / "symbol12.bmp"), 1);
    EXPECT_EQ(ReadFileBytes(tmp / "brush4.bmp"), brush4);
}

TEST(PatternLibrary, UnreadableFilesFallBackAndAreNeverWrittenOver) {
    TempDir tmp;
    WriteAllFiles(tmp.Path());
    const Bytes garbage = {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'};
    zk_test::WriteFileBytes(tmp / "brush5.bmp", garbage);
    Bytes cut = ReadFileBytes(tmp / "symbol7.bmp");
    cut.resize(cut.size() / 2);
    zk_test::WriteFileBytes(tmp / "symbol7.bmp", cut);
    zk_test::WriteFileBytes(tmp / "brush9.bmp", {});
    fs::remove(tmp / "symbol9.bmp");
    fs::create_directory(tmp / "symbol9.bmp");
    // Readable, but far larger than a pattern can be.
    ASSERT_TRUE(
        zk::WriteBitmapFile(tmp / "brush11.bmp", gdi::Bitmap(PatternLibrary::kMaxSide + 1, 2)));
    const Bytes huge = ReadFileBytes(tmp / "brush11.bmp");
    ASSERT_TRUE(
        zk::WriteBitmapFile(tmp / "symbol11.bmp", gdi::Bitmap(3, PatternLibrary::kMaxSide)));

    PatternLibrary lib;
    lib.Load(Prefix(tmp.Path()));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), lib.m_brushes[5]));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackSymbol(), lib.m_symbols[7]));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), lib.m_brushes[9]));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackSymbol(), lib.m_symbols[9]));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), lib.m_brushes[11]));
    EXPECT_TRUE(SameBitmap(gdi::Bitmap(3, PatternLibrary::kMaxSide), lib.m_symbols[11]))
        << "at the limit";
    EXPECT_TRUE(SameBitmap(Picture(8, 8, 6), lib.m_brushes[6])) << "a neighbour was affected";

    // Even an edit of such a slot does not replace the user's file; the edit is reported as
    // not written, and only it.
    lib.m_brushes[5].SetPixel(0, 0, gdi::kBlack);
    const auto failures = lib.SaveAll();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, lib.BrushPath(5));
    EXPECT_NE(failures[0].reason.find("could not be read"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(tmp / "brush5.bmp"), garbage);
    EXPECT_EQ(ReadFileBytes(tmp / "symbol7.bmp"), cut);
    EXPECT_TRUE(ReadFileBytes(tmp / "brush9.bmp").empty());
    EXPECT_TRUE(fs::is_directory(tmp / "symbol9.bmp"));
    EXPECT_EQ(ReadFileBytes(tmp / "brush11.bmp"), huge);
    EXPECT_EQ(tmp.Entries().size(), 32u) << "temporary files left";
}

TEST(PatternLibrary, SettingWithoutSeparatorIsAPlainPrefix) {
    TempDir tmp;
    ASSERT_TRUE(zk::WriteBitmapFile(tmp / "patbrush2.bmp", Picture(8, 8, 42)));
    fs::create_directory(tmp / "pat");
    const std::string prefix = tmp.Path().string() + "/pat";

    PatternLibrary lib;
    lib.Load(prefix);
    EXPECT_EQ(lib.m_directory, prefix);
    EXPECT_EQ(lib.BrushPath(2), prefix + "brush2.bmp");
    EXPECT_EQ(lib.SymbolPath(15), prefix + "symbol15.bmp");
    EXPECT_TRUE(SameBitmap(Picture(8, 8, 42), lib.m_brushes[2]));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), lib.m_brushes[1]));

    lib.SaveAll();
    EXPECT_TRUE(fs::exists(tmp / "patsymbol0.bmp"));
    EXPECT_TRUE(fs::exists(tmp / "patbrush15.bmp"));
    EXPECT_TRUE(fs::is_empty(tmp / "pat")) << "the prefix was taken as a folder";
}

TEST(PatternLibrary, EmptySettingMeansTheBrushFolderOfTheCurrentDirectory) {
    TempDir tmp;
    fs::create_directory(tmp / "brush");
    ASSERT_TRUE(zk::WriteBitmapFile(tmp / "brush" / "symbol0.bmp", Picture(16, 16, 7)));
    const fs::path before = fs::current_path();
    fs::current_path(tmp.Path());
    PatternLibrary lib;
    lib.Load("");
    fs::current_path(before);

    EXPECT_EQ(lib.m_directory, fs::canonical(tmp.Path()).string() + "/brush/");
    EXPECT_TRUE(SameBitmap(Picture(16, 16, 7), lib.m_symbols[0]));
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackSymbol(), lib.m_symbols[1]));
    // The folder is kept as an absolute prefix: saving from elsewhere still lands there.
    lib.SaveAll();
    EXPECT_TRUE(fs::exists(tmp / "brush" / "brush15.bmp"));
}

TEST(PatternLibrary, EditedSlotsAreWrittenBackAndUntouchedFilesKeepTheirBytes) {
    TempDir tmp;
    WriteAllFiles(tmp.Path());
    // A file in a form a rewrite would change: one bit per pixel, read as the display format.
    gdi::Bitmap mono(16, 16, 1, gdi::kWhite);
    mono.SetPixel(2, 9, gdi::kBlack);
    ASSERT_TRUE(zk::WriteBitmapFile(tmp / "symbol1.bmp", mono));
    const Bytes symbol1 = ReadFileBytes(tmp / "symbol1.bmp");

    PatternLibrary lib;
    lib.Load(Prefix(tmp.Path()));
    lib.m_symbols[4].SetPixel(3, 5, gdi::kBlack);
    lib.m_symbols[4].SetPixel(0, 0, gdi::kWhite);
    const gdi::Bitmap edited = lib.m_symbols[4];
    lib.m_brushes[10] = Picture(4, 6, 77);
    lib.SaveAll();

    gdi::Bitmap back;
    ASSERT_TRUE(zk::ReadBitmapFile(tmp / "symbol4.bmp", back));
    EXPECT_TRUE(SameBitmap(edited, back));
    ASSERT_TRUE(zk::ReadBitmapFile(tmp / "brush10.bmp", back));
    EXPECT_TRUE(SameBitmap(Picture(4, 6, 77), back));
    EXPECT_EQ(ReadFileBytes(tmp / "symbol1.bmp"), symbol1);
    EXPECT_EQ(tmp.Entries().size(), 32u) << "temporary files left";
}

TEST(PatternLibrary, NothingIsWrittenBeforeLoad) {
    TempDir tmp;
    PatternLibrary lib;
    lib.SaveAll();
    lib.m_directory = Prefix(tmp.Path());
    lib.SaveAll();
    EXPECT_TRUE(tmp.Entries().empty());
}

TEST(PatternLibrary, BrushPatternsForTheTools) {
    PatternLibrary lib;
    EXPECT_TRUE(lib.BrushPattern(-1).IsNull());
    EXPECT_TRUE(lib.BrushPattern(16).IsNull());
    // A slot not yet loaded paints as its fallback would.
    const gdi::Brush empty = lib.BrushPattern(3);
    ASSERT_EQ(empty.style, gdi::BrushStyle::Pattern);
    EXPECT_TRUE(SameBitmap(PatternLibrary::FallbackBrush(), *empty.pattern));
    lib.m_brushes[3] = Picture(5, 3, 1);
    const gdi::Brush b = lib.BrushPattern(3);
    ASSERT_EQ(b.style, gdi::BrushStyle::Pattern);
    EXPECT_TRUE(SameBitmap(Picture(5, 3, 1), *b.pattern));
}

}  // namespace
