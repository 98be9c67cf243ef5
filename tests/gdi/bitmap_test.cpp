#include "gdi/bitmap.h"

#include <gtest/gtest.h>

namespace {

TEST(Bitmap, MonochromeStoresOnlyBlackAndWhite) {
    gdi::Bitmap mono(2, 1, 1, gdi::kWhite);
    mono.SetPixel(0, 0, gdi::RGB(200, 200, 200));
    mono.SetPixel(1, 0, gdi::RGB(100, 100, 100));
    EXPECT_EQ(mono.GetPixel(0, 0), gdi::kWhite);
    EXPECT_EQ(mono.GetPixel(1, 0), gdi::kBlack);
    EXPECT_EQ(gdi::Bitmap::NearestMono(gdi::RGB(255, 0, 0)), gdi::kBlack);
    EXPECT_EQ(gdi::Bitmap::NearestMono(gdi::RGB(255, 255, 0)), gdi::kWhite);
}

TEST(Bitmap, OutsideAccessIsHarmless) {
    gdi::Bitmap bmp(3, 3, 32, gdi::kWhite);
    bmp.SetPixel(-1, 0, gdi::kBlack);
    bmp.SetPixel(3, 3, gdi::kBlack);
    EXPECT_EQ(bmp.GetPixel(-1, 0), gdi::kBlack);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bmp.GetPixel(x, y), gdi::kWhite);
    EXPECT_TRUE(gdi::Bitmap(0, 5).IsNull());
}

}  // namespace
