// The program icon: drawn square at 16, 32 and 48 pixels, enlarged sharply for larger sizes, and
// written as PNG files for the desktop.
#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include "res/icons.h"
#include "res/pixel_art.h"
#include "support/picture.h"

namespace {

using namespace zk::res;

TEST(AppIcon, DrawingsAreSquareInLegendCharacters) {
    ASSERT_EQ(AppIconPictures().size(), 3u);
    int expectedSize = 16;
    for (const AppIconPicture& picture : AppIconPictures()) {
        SCOPED_TRACE(picture.size);
        EXPECT_EQ(picture.size, expectedSize);
        expectedSize += 16;
        ASSERT_EQ(picture.rows.size(), std::size_t(picture.size));
        for (std::size_t y = 0; y < picture.rows.size(); ++y) {
            const std::string_view row = picture.rows[y];
            EXPECT_EQ(row.size(), std::size_t(picture.size)) << "row " << y;
            for (std::size_t x = 0; x < row.size(); ++x)
                EXPECT_TRUE(LegendColour(row[x]).has_value())
                    << "'" << row[x] << "' at (" << x << "," << y << ")";
        }
    }
}

TEST(AppIcon, IsOpaqueAtEverySizeItIsDrawnAt) {
    // Icon themes show the icon on any background: a transparent hole would show through.
    for (const int size : {16, 32, 48}) {
        const QImage image = AppIconImage(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << size << ": (" << x << "," << y << ")";
    }
}

TEST(AppIcon, LargerSizesRepeatThePixelsOfTheLargestDrawingThatFits) {
    const QImage drawn32 = AppIconImage(32);
    const QImage drawn48 = AppIconImage(48);
    EXPECT_TRUE(zk_test::SameImage(ScalePixels(drawn32, 2), AppIconImage(64)));
    EXPECT_TRUE(zk_test::SameImage(ScalePixels(drawn48, 2), AppIconImage(96)));
    EXPECT_TRUE(zk_test::SameImage(ScalePixels(drawn32, 8), AppIconImage(256)));
    EXPECT_NE(AppIconImage(16), AppIconImage(32).scaled(16, 16)) << "the 16 is drawn, not shrunk";
    EXPECT_TRUE(AppIconImage(40).isNull());
    EXPECT_TRUE(AppIconImage(0).isNull());
    EXPECT_TRUE(AppIconImage(-16).isNull());
}

TEST(AppIcon, TheWindowIconHasTheFourSizes) {
    const QIcon icon = AppIcon();
    for (const int size : {16, 32, 48, 64}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        EXPECT_TRUE(
            zk_test::SameImage(AppIconImage(size), icon.pixmap(QSize(size, size)).toImage()));
    }
}

TEST(AppIcon, WritesAPngThatReadsBackPixelForPixel) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("zk.png");
    ASSERT_TRUE(WriteAppIconPng(path, 48));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG"));
    EXPECT_TRUE(zk_test::SameImage(AppIconImage(48), QImage(path)));
}

TEST(AppIcon, WritingFailsWithoutAnImageOrAPlaceForIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(WriteAppIconPng(dir.filePath("odd.png"), 40));
    EXPECT_FALSE(QFile::exists(dir.filePath("odd.png")));
    EXPECT_FALSE(WriteAppIconPng(dir.filePath("no/such/folder/zk.png"), 32));
}

}  // namespace
