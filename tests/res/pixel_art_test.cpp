// Rendering pictures drawn as text, and enlarging them without smoothing.
#include <gtest/gtest.h>

#include <string_view>

#include "res/pixel_art.h"
#include "support/picture.h"

namespace {

using zk::res::RenderArt;
using zk::res::ScalePixels;

TEST(PixelArt, RendersTheLegendsColoursAndTransparency) {
    constexpr std::string_view rows[] = {"KW.", "RgB"};
    const QImage image = RenderArt(rows);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(image.pixel(2, 0)), 0);
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 255));
}

TEST(PixelArt, ASlipOfThePenGivesNoPicture) {
    constexpr std::string_view ragged[] = {"KKK", "KK"};
    EXPECT_TRUE(RenderArt(ragged).isNull());
    constexpr std::string_view longer[] = {"KK", "KKK"};
    EXPECT_TRUE(RenderArt(longer).isNull());
    constexpr std::string_view unknown[] = {"KxK"};
    EXPECT_TRUE(RenderArt(unknown).isNull());
    constexpr std::string_view space[] = {"K K"};
    EXPECT_TRUE(RenderArt(space).isNull());
    EXPECT_TRUE(RenderArt({}).isNull());
}

TEST(PixelArt, EnlargingRepeatsEveryPixelIntoABlock) {
    constexpr std::string_view rows[] = {"KW", ".R"};
    const QImage image = RenderArt(rows);
    constexpr std::string_view tripled[] = {
        "KKKWWW", "KKKWWW", "KKKWWW", "...RRR", "...RRR", "...RRR",
    };
    EXPECT_TRUE(zk_test::SameImage(RenderArt(tripled), ScalePixels(image, 3)));
    EXPECT_TRUE(zk_test::SameImage(image, ScalePixels(image, 1)));
    EXPECT_TRUE(ScalePixels(image, 0).isNull());
    EXPECT_TRUE(ScalePixels(QImage(), 2).isNull());
}

}  // namespace
