#include "doc/zk_doc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doc/bitmap_file.h"
#include "support/picture.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using zk_test::TempDir;

struct CountingView : zk::DocListener {
    void OnUpdate(int hint) override { hints.push_back(hint); }
    std::vector<int> hints;
};

TEST(MapDocument, NewMapIsWhiteWithAnEqualUndoCopyAndTellsTheViews) {
    zk::CZKDoc doc;
    CountingView view;
    doc.AddView(&view);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.m_bitmap.Width(), 672);
    EXPECT_EQ(doc.m_bitmap.Height(), 944);
    EXPECT_EQ(doc.m_bitmap.GetPixel(0, 0), gdi::kWhite);
    EXPECT_EQ(doc.m_bitmap.GetPixel(671, 943), gdi::kWhite);
    EXPECT_TRUE(zk_test::SameBitmap(doc.m_bitmap, doc.UndoPicture()));
    EXPECT_EQ(doc.GetTitle(), "Bez názvu");
    EXPECT_EQ(view.hints, std::vector<int>{1});
    // Undo right after start-up changes nothing visible.
    doc.OnEditUndo();
    EXPECT_EQ(doc.m_bitmap.GetPixel(10, 10), gdi::kWhite);
    doc.RemoveView(&view);
}

TEST(MapDocument, UndoTakesBackAndRedoGivesBackWithTheModifiedMark) {
    zk::CZKDoc doc;
    doc.OnNewDocument();
    doc.SaveUndo();
    doc.m_bitmap.SetPixel(5, 5, gdi::kBlack);
    doc.SetModifiedFlag();
    doc.OnEditUndo();
    EXPECT_EQ(doc.m_bitmap.GetPixel(5, 5), gdi::kWhite);
    EXPECT_FALSE(doc.IsModified()) << "back at the new map";
    doc.OnEditRedo();
    EXPECT_EQ(doc.m_bitmap.GetPixel(5, 5), gdi::kBlack);
    EXPECT_TRUE(doc.IsModified());
}

TEST(MapDocument, ResizeKeepsTheTopLeftAndUndoBringsBackEverything) {
    zk::CZKDoc doc;
    doc.OnNewDocument();
    doc.m_bitmap.SetPixel(671, 0, gdi::kBlack);   // cut off by the new width
    doc.m_bitmap.SetPixel(10, 599, gdi::kBlack);  // kept
    doc.m_bitmap.SetPixel(10, 943, gdi::kBlack);  // cut off by the new height
    ASSERT_TRUE(doc.Resize(800, 600));
    EXPECT_EQ(doc.m_width, 800);
    EXPECT_EQ(doc.m_height, 600);
    EXPECT_EQ(doc.m_bitmap.GetPixel(10, 599), gdi::kBlack);
    EXPECT_EQ(doc.m_bitmap.GetPixel(671, 0), gdi::kBlack);
    for (int x = 672; x < 800; ++x)
        ASSERT_EQ(doc.m_bitmap.GetPixel(x, 0), gdi::kWhite) << x;
    EXPECT_TRUE(doc.IsModified());
    doc.OnEditUndo();
    EXPECT_EQ(doc.m_width, 672);
    EXPECT_EQ(doc.m_height, 944);
    EXPECT_EQ(doc.m_bitmap.GetPixel(10, 943), gdi::kBlack);
    doc.OnEditRedo();
    EXPECT_EQ(doc.m_width, 800);
}

TEST(MapDocument, SizesTheMapCannotHaveAreRefusedAndChangeNothing) {
    zk::CZKDoc doc;
    doc.OnNewDocument();
    doc.m_bitmap.SetPixel(1, 1, gdi::kBlack);
    const struct {
        int w, h;
    } bad[] = {{0, 10}, {10, 0}, {-5, 10}, {65536, 1}, {1, 65536}, {20000, 20000}};
    for (auto s : bad) {
        std::string why;
        EXPECT_FALSE(doc.Resize(s.w, s.h, &why)) << s.w << "x" << s.h;
        EXPECT_FALSE(why.empty());
        EXPECT_FALSE(doc.NewMap(s.w, s.h, &why)) << s.w << "x" << s.h;
    }
    EXPECT_EQ(doc.m_width, 672);
    EXPECT_EQ(doc.m_bitmap.GetPixel(1, 1), gdi::kBlack);
    EXPECT_EQ(doc.UndoPicture().GetPixel(1, 1), gdi::kWhite) << "a refused resize took a snapshot";
    EXPECT_TRUE(doc.NewMap(1, 1));
    EXPECT_TRUE(doc.NewMap(65535, 1));
}

TEST(MapDocument, NewMapTakesTheSizeAndTheNewTitle) {
    zk::CZKDoc doc;
    doc.OnNewDocument();
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.NewMap(100, 50));
    EXPECT_EQ(doc.m_width, 100);
    EXPECT_EQ(doc.m_height, 50);
    EXPECT_EQ(doc.GetTitle(), "Bez názvu");
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(zk_test::SameBitmap(doc.m_bitmap, doc.UndoPicture()));
}

TEST(MapDocument, OpenAndSaveFollowTheFileAndFailuresKeepEverything) {
    TempDir dir;
    zk::CZKDoc doc;
    doc.OnNewDocument();
    doc.m_bitmap.SetPixel(2, 3, gdi::kBlack);
    doc.SetModifiedFlag(true);
    const fs::path good = dir / "map.bmp";
    std::string why;
    ASSERT_TRUE(doc.OnSaveDocument(good.string(), &why)) << why;
    EXPECT_EQ(doc.GetTitle(), "map.bmp");
    EXPECT_EQ(doc.GetPathName(), good.string());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(fs::file_size(good), 635446u);

    // A failed save leaves path and title.
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(doc.OnSaveDocument((dir / "missing" / "x.bmp").string(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(doc.GetPathName(), good.string());
    EXPECT_TRUE(doc.IsModified());

    // Open a small map.
    gdi::Bitmap small(100, 50, 32, gdi::kWhite);
    small.SetPixel(99, 49, gdi::kBlack);
    ASSERT_TRUE(zk::WriteBitmapFile(dir / "small.bmp", small));
    ASSERT_TRUE(doc.OnOpenDocument((dir / "small.bmp").string(), &why)) << why;
    EXPECT_EQ(doc.m_width, 100);
    EXPECT_EQ(doc.m_height, 50);
    EXPECT_EQ(doc.m_bitmap.GetPixel(99, 49), gdi::kBlack);
    EXPECT_TRUE(zk_test::SameBitmap(doc.m_bitmap, doc.UndoPicture()));
    EXPECT_EQ(doc.GetTitle(), "small.bmp");
    EXPECT_FALSE(doc.IsModified());

    // A failed open keeps map, size, undo state, title and path.
    doc.m_bitmap.SetPixel(0, 0, gdi::kBlack);
    const gdi::Bitmap map = doc.m_bitmap, undo = doc.UndoPicture();
    std::ofstream(dir / "junk.bmp") << "BMjunk";
    EXPECT_FALSE(doc.OnOpenDocument((dir / "junk.bmp").string(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(doc.OnOpenDocument((dir / "nothing.bmp").string(), &why));
    EXPECT_TRUE(zk_test::SameBitmap(map, doc.m_bitmap));
    EXPECT_TRUE(zk_test::SameBitmap(undo, doc.UndoPicture()));
    EXPECT_EQ(doc.m_width, 100);
    EXPECT_EQ(doc.GetTitle(), "small.bmp");

    // A new map has no file, and says so.
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetTitle(), "Bez názvu");
}

}  // namespace
