// The reader against a public third-party corpus of bitmap files, read from beside the project.
// Good files must decode to exactly the pixels of their reference PNGs; questionable and bad files
// must each be read or refused with a reason, never crash or read out of bounds (the sanitizer
// build checks the latter).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "doc/bitmap_file.h"
#include "support/picture.h"

namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
    return fs::path(ZK_BMPSUITE_DIR);
}

#define SKIP_WITHOUT_CORPUS()                                             \
    if (!fs::is_directory(CorpusDir()))                                   \
    GTEST_SKIP() << "bitmap corpus not found at " << CorpusDir().string() \
                 << " (it lives beside the project, in ../shared/bmpsuite)"

std::vector<fs::path> Files(const std::string& sub) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(CorpusDir() / sub))
        if (e.path().extension() == ".bmp")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

struct Png {
    int width = 0, height = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> rgb{nullptr, stbi_image_free};
};

Png LoadPng(const fs::path& p) {
    Png png;
    int channels = 0;
    png.rgb.reset(stbi_load(p.c_str(), &png.width, &png.height, &channels, 3));
    return png;
}

// Compares a decoded bitmap with the reference; says where and how it differs.
std::string Compare(const gdi::Bitmap& bmp, const Png& png, int tolerance) {
    std::ostringstream out;
    if (bmp.Width() != png.width || bmp.Height() != png.height) {
        out << "size " << bmp.Width() << "x" << bmp.Height() << ", reference " << png.width << "x"
            << png.height;
        return out.str();
    }
    int bad = 0;
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            const stbi_uc* ref = png.rgb.get() + 3 * (static_cast<std::size_t>(y) * png.width + x);
            const gdi::Color c = bmp.GetPixel(x, y);
            const int got[3] = {gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c)};
            bool same = true;
            for (int k = 0; k < 3; ++k)
                same = same && std::abs(got[k] - ref[k]) <= tolerance;
            if (!same && bad++ < 5)
                out << "(" << x << "," << y << "): got " << got[0] << "," << got[1] << "," << got[2]
                    << " reference " << int{ref[0]} << "," << int{ref[1]} << "," << int{ref[2]}
                    << "\n";
        }
    if (bad)
        out << bad << " pixels differ";
    return out.str();
}

TEST(BitmapCorpus, GoodFilesMatchTheirReferencePixels) {
    SKIP_WITHOUT_CORPUS();
    const auto files = Files("g");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const fs::path ref = CorpusDir() / "ref" / (file.stem().string() + ".png");
        const Png png = LoadPng(ref);
        ASSERT_TRUE(png.rgb) << "reference " << ref << " unreadable";
        gdi::Bitmap bmp;
        zk::BitmapError error;
        ASSERT_TRUE(zk::ReadBitmapFile(file, bmp, &error)) << error.message;
        EXPECT_EQ(bmp.BitsPerPixel(), 32);
        // The reference's 16-bit channels may be widened with rounding rather than replication.
        const int tolerance = file.stem().string().rfind("rgb16", 0) == 0 ? 1 : 0;
        const std::string diff = Compare(bmp, png, tolerance);
        EXPECT_TRUE(diff.empty()) << diff;
    }
}

// Files that are odd but whose picture is known: the same as a good file's.
TEST(BitmapCorpus, QuestionableFilesWithAKnownPictureMatchIt) {
    SKIP_WITHOUT_CORPUS();
    const struct {
        const char* file;
        const char* ref;
    } cases[] = {
        {"pal8offs.bmp", "pal8.png"},       // a gap between colour table and pixels
        {"pal8os2sp.bmp", "pal8os2.png"},   // core header with a short table
        {"pal8os2-hs.bmp", "pal8os2.png"},  // wrong file-size field
        {"pal8os2-sz.bmp", "pal8os2.png"},
        {"pal8os2v2.bmp", "pal8.png"},     // OS/2 version 2, 64-byte header
        {"pal8os2v2-16.bmp", "pal8.png"},  // OS/2 version 2, 16-byte header
        {"pal8os2v2-sz.bmp", "pal8.png"},
        {"pal8os2v2-40sz.bmp", "pal8.png"},
        {"pal8oversizepal.bmp", "pal8.png"},  // more table entries than 8 bits can index
        {"rgb24largepal.bmp", "rgb24.png"},   // a table in a 24-bit file, to be skipped
        {"rgb32h52.bmp", "rgb32.png"},        // masks inside a 52-byte header
        {"rgb32-xbgr.bmp", "rgb32.png"},      // masks inside a 124-byte header
        {"rgb32fakealpha.bmp", "rgb32.png"},  // top byte set, to be ignored
        {"rgb16faketrns.bmp", "rgb16.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Png png = LoadPng(CorpusDir() / "ref" / c.ref);
        ASSERT_TRUE(png.rgb);
        gdi::Bitmap bmp;
        zk::BitmapError error;
        ASSERT_TRUE(zk::ReadBitmapFile(CorpusDir() / "q" / c.file, bmp, &error)) << error.message;
        const std::string diff = Compare(bmp, png, c.ref[3] == '1' ? 1 : 0);
        EXPECT_TRUE(diff.empty()) << diff;
    }
}

// Files holding one picture in different containers (mask layouts, header sizes, an alpha mask
// that must be ignored) decode to the same pixels.
TEST(BitmapCorpus, OnePictureInDifferentContainersDecodesAlike) {
    SKIP_WITHOUT_CORPUS();
    const std::vector<std::vector<const char*>> groups = {
        {"rgba32-1.bmp", "rgba32-2.bmp", "rgba32abf.bmp", "rgba32h56.bmp"},
        {"rgb16faketrns.bmp", "rgba16-5551.bmp"},
    };
    for (const auto& group : groups) {
        gdi::Bitmap first;
        zk::BitmapError error;
        ASSERT_TRUE(zk::ReadBitmapFile(CorpusDir() / "q" / group[0], first, &error))
            << group[0] << ": " << error.message;
        for (std::size_t i = 1; i < group.size(); ++i) {
            SCOPED_TRACE(group[i]);
            gdi::Bitmap other;
            ASSERT_TRUE(zk::ReadBitmapFile(CorpusDir() / "q" / group[i], other, &error))
                << error.message;
            EXPECT_TRUE(zk_test::SameBitmap(first, other));
        }
    }
}

// Every questionable or bad file is either read or refused with a reason, and a refusal leaves
// the target empty.
TEST(BitmapCorpus, QuestionableAndBadFilesAreReadOrRefusedWithAReason) {
    SKIP_WITHOUT_CORPUS();
    for (const char* sub : {"q", "b"}) {
        const auto files = Files(sub);
        ASSERT_FALSE(files.empty()) << sub;
        for (const auto& file : files) {
            SCOPED_TRACE(file.string());
            gdi::Bitmap bmp(3, 3);
            zk::BitmapError error;
            if (zk::ReadBitmapFile(file, bmp, &error)) {
                EXPECT_FALSE(bmp.IsNull());
                EXPECT_GT(bmp.Width(), 0);
                EXPECT_GT(bmp.Height(), 0);
            } else {
                EXPECT_TRUE(bmp.IsNull());
                EXPECT_NE(error.code, zk::BitmapErrorCode::None);
                EXPECT_FALSE(error.message.empty());
            }
        }
    }
}

// Files whose defect we decided to refuse rather than guess at; each must say why.
TEST(BitmapCorpus, RefusedFilesGiveTheirReason) {
    SKIP_WITHOUT_CORPUS();
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"q/pal2.bmp", "unsupported: 2 bits per pixel"},
        {"q/rgba64.bmp", "unsupported: 64 bits per pixel"},
        {"q/rgb24jpeg.bmp", "unsupported: embedded JPEG image"},
        {"q/rgb24png.bmp", "unsupported: embedded PNG image"},
        {"q/pal1huffmsb.bmp", "unsupported compression: OS/2 Huffman"},
        {"q/rgb24rle24.bmp", "unsupported compression: OS/2 RLE24"},
        {"b/badbitcount.bmp", "unsupported: 30000 bits per pixel"},
        {"b/badheadersize.bmp", "unsupported header size: 66 bytes"},
        {"b/badplanes.bmp", "bad header: 30000 planes (must be 1)"},
        {"b/badwidth.bmp", "bad header: width -127"},
        {"b/reallybig.bmp",
         "image too large: 3000000 x 2000000 (limit 65535 pixels a side, 268435456 pixels)"},
        {"b/rgb16-880.bmp", "zero bit-field mask for blue"},
        {"b/rletopdown.bmp", "bad header: run-length compressed rows cannot be top-down"},
        {"b/shortfile.bmp", "file is truncated"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        gdi::Bitmap bmp;
        zk::BitmapError error;
        EXPECT_FALSE(zk::ReadBitmapFile(CorpusDir() / c.file, bmp, &error));
        EXPECT_EQ(error.message.substr(0, std::string(c.reason).size()), c.reason) << error.message;
        EXPECT_TRUE(bmp.IsNull());
    }
}

}  // namespace
