// The pattern library's place in the program's life: read at start-up from the stored folder,
// written back when the main window goes away, and left alone by a start that fails.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "doc/bitmap_file.h"
#include "doc/pattern_library.h"
#include "support/picture.h"

namespace {

using zk::PatternLibrary;

void StoreBrushFolder(const QString& folder) {
    auto s = zk::CZKApp::OpenSettings();
    s->clear();
    s->setValue(QStringLiteral("path/brush"), folder);
    s->sync();
}

int FileCount(const QTemporaryDir& dir) {
    return static_cast<int>(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size());
}

TEST(PatternLibraryStartUp, ReadFromTheStoredFolderAndWrittenBackWhenTheWindowCloses) {
    QTemporaryDir dir;
    gdi::Bitmap brush(8, 8, 32, gdi::kWhite);
    brush.SetPixel(3, 4, gdi::kBlack);
    ASSERT_TRUE(zk::WriteBitmapFile(dir.filePath("brush2.bmp").toStdString(), brush));
    StoreBrushFolder(dir.path() + "/");

    zk::CZKApp app;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(zk::g_patternLibrary.m_directory, (dir.path() + "/").toStdString());
    EXPECT_TRUE(zk_test::SameBitmap(brush, zk::g_patternLibrary.m_brushes[2]));
    EXPECT_TRUE(
        zk_test::SameBitmap(PatternLibrary::FallbackBrush(), zk::g_patternLibrary.m_brushes[3]));
    EXPECT_TRUE(
        zk_test::SameBitmap(PatternLibrary::FallbackSymbol(), zk::g_patternLibrary.m_symbols[0]));
    EXPECT_EQ(FileCount(dir), 1) << "written before the exit";

    zk::g_patternLibrary.m_symbols[5].SetPixel(1, 1, gdi::kBlack);
    app.MainFrame()->CloseWithoutAsking();
    EXPECT_EQ(FileCount(dir), 32);
    gdi::Bitmap symbol;
    ASSERT_TRUE(zk::ReadBitmapFile(dir.filePath("symbol5.bmp").toStdString(), symbol));
    EXPECT_EQ(symbol.GetPixel(1, 1), gdi::kBlack);
    EXPECT_EQ(symbol.GetPixel(2, 1), gdi::kWhite);
    app.ExitInstance();
}

TEST(PatternLibraryStartUp, AStartThatFailsWritesNoPatterns) {
    QTemporaryDir dir;
    StoreBrushFolder(dir.path() + "/");
    const QString bad = dir.filePath("bad.map");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a bitmap");
    f.close();

    {
        zk::CZKApp app;
        EXPECT_FALSE(app.InitInstance({bad}));
        app.ExitInstance();
    }
    EXPECT_EQ(FileCount(dir), 1) << "pattern files appeared after a failed start";
}

}  // namespace
