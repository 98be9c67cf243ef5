// A map file's format: named by its extension, read by its first bytes, and kept by the document
// from the file it came from to the file it goes back to.
#include "doc/map_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "doc/png_file.h"
#include "doc/png_test_support.h"
#include "doc/zk_doc.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zk::MapFormat;
using zk_test::TempDir;

gdi::Bitmap Sample() {
    return zk_test::Picture({"#.o.r", "b..#.", "yy..#"});
}

// The first bytes decide, whatever the name says; a file that is neither is refused by the
// reader the name points to.
TEST(MapFile, TheFirstBytesDecideTheFormatNotTheName) {
    TempDir dir;
    const struct {
        const char* name;
        std::optional<MapFormat> written;  // none: junk
        const char* says;                  // the reason, for junk
    } cases[] = {
        {"png-named.bmp", MapFormat::Png, ""},
        {"bmp-named.png", MapFormat::Bmp, ""},
        {"no-extension", MapFormat::Png, ""},
        {"plain.bmp", MapFormat::Bmp, ""},
        {"junk.png", std::nullopt, "not a PNG file"},
        {"junk.bmp", std::nullopt, "not a bitmap file"},
        {"junk", std::nullopt, "not a bitmap file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / c.name;
        if (c.written)
            ASSERT_TRUE(zk::WriteMapFile(path, Sample(), *c.written));
        else
            zk_test::WriteFileBytes(path, {'j', 'u', 'n', 'k', 0, 1, 2, 3, 4, 5});
        gdi::Bitmap read;
        MapFormat format = c.written == MapFormat::Png ? MapFormat::Bmp : MapFormat::Png;
        zk::BitmapError error;
        const bool ok = zk::ReadMapFile(path, read, &format, &error);
        EXPECT_EQ(ok, c.written.has_value()) << error.message;
        if (c.written) {
            EXPECT_EQ(format, *c.written);
            EXPECT_TRUE(zk_test::SamePixels(Sample(), read));
        } else {
            EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
        }
    }
    zk::BitmapError error;
    gdi::Bitmap read;
    EXPECT_FALSE(zk::ReadMapFile(dir / "missing.png", read, nullptr, &error));
    EXPECT_EQ(error.code, zk::BitmapErrorCode::CannotOpen);
}

bool IsPng(const fs::path& path) {
    return zk::IsPngSignature(zk_test::ReadFileBytes(path));
}

// A map opened from a PNG goes back as a PNG, under any name; a name that says which format
// decides when none is given; a new map starts as BMP.
TEST(MapDocument, AMapKeepsTheFormatOfItsFile) {
    TempDir dir;
    zk::CZKDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetFormat(), MapFormat::Bmp);
    ASSERT_TRUE(zk::WritePngFile(dir / "cave", Sample()));
    std::string why;
    ASSERT_TRUE(doc.OnOpenDocument((dir / "cave").string(), &why)) << why;
    EXPECT_EQ(doc.GetFormat(), MapFormat::Png);
    EXPECT_TRUE(zk_test::SamePixels(Sample(), doc.m_bitmap));

    const struct {
        const char* name;
        std::optional<MapFormat> asked;
        bool png;
    } saves[] = {
        {"cave", std::nullopt, true},          // its own format, for a name that says none
        {"copy.bmp", std::nullopt, false},     // the name says
        {"again", std::nullopt, false},        // the format of the file it became
        {"chosen.txt", MapFormat::Png, true},  // asked for
        {"chosen.png", MapFormat::Bmp, false},
    };
    for (const auto& s : saves) {
        SCOPED_TRACE(s.name);
        const fs::path path = dir / s.name;
        ASSERT_TRUE(s.asked ? doc.OnSaveDocument(path.string(), *s.asked, &why)
                            : doc.OnSaveDocument(path.string(), &why))
            << why;
        EXPECT_EQ(IsPng(path), s.png);
        EXPECT_EQ(doc.GetFormat(), s.png ? MapFormat::Png : MapFormat::Bmp);
        gdi::Bitmap back;
        ASSERT_TRUE(zk::ReadMapFile(path, back));
        EXPECT_TRUE(zk_test::SamePixels(Sample(), back));
    }
    ASSERT_TRUE(doc.NewMap(5, 5));
    EXPECT_EQ(doc.GetFormat(), MapFormat::Bmp);
}

}  // namespace
