#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

// 3 x 2: red, green, blue over half-transparent white, transparent, grey.
void MakeSample(c32bppDIB& image) {
    ASSERT_TRUE(image.InitializeDIB(3, 2));
    image.SetPixel(0, 0, 0x0000FF);
    image.SetPixel(1, 0, 0x00FF00);
    image.SetPixel(2, 0, 0xFF0000);
    image.SetPixel(0, 1, 0xFFFFFF, 128);
    image.SetPixel(1, 1, 0, 0);
    image.SetPixel(2, 1, 0x808080);
}

uint32_t At(const c32bppDIB& image, int x, int y, uint8_t* alpha = nullptr) {
    uint8_t a = 0;
    uint32_t colour = static_cast<uint32_t>(image.GetPixel(x, y, a, true));
    if (alpha) *alpha = a;
    return colour;
}

TEST(ImageEffects, MirrorFlipsEachAxisAskedFor) {
    c32bppDIB image;
    EXPECT_FALSE(image.MirrorImage(true, false));
    MakeSample(image);
    EXPECT_FALSE(image.MirrorImage(false, false));
    ASSERT_TRUE(image.MirrorImage(true, false));
    EXPECT_EQ(At(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(image, 2, 0), 0x0000FFu);
    EXPECT_EQ(At(image, 0, 1), 0x808080u);
    ASSERT_TRUE(image.MirrorImage(false, true));
    EXPECT_EQ(At(image, 0, 0), 0x808080u);
    EXPECT_EQ(At(image, 2, 1), 0x0000FFu);
    ASSERT_TRUE(image.MirrorImage(true, true)); // both at once: a half turn back to the start
    EXPECT_EQ(At(image, 0, 0), 0x0000FFu);
    uint8_t alpha = 0;
    EXPECT_EQ(At(image, 0, 1, &alpha), 0x808080u); // premultiplied white
    EXPECT_EQ(alpha, 128);
}

TEST(ImageEffects, OnlyOpaquePixelsOfTheKeyBecomeTransparent) {
    c32bppDIB image;
    EXPECT_FALSE(image.MakeTransparent(0));
    MakeSample(image);
    image.SetPixel(1, 1, 0x00FF00, 200); // the key's colour, not opaque
    ASSERT_TRUE(image.MakeTransparent(0x00FF00));
    EXPECT_TRUE(image.Alpha());
    uint8_t alpha = 9;
    EXPECT_EQ(At(image, 1, 0, &alpha), 0u);
    EXPECT_EQ(alpha, 0);
    At(image, 1, 1, &alpha);
    EXPECT_EQ(alpha, 200);
    At(image, 0, 0, &alpha);
    EXPECT_EQ(alpha, 255);

    // An opaque picture without the key keeps Alpha false.
    c32bppDIB opaque;
    ASSERT_TRUE(opaque.InitializeDIB(1, 1));
    std::vector<uint8_t> one = {1, 2, 3, 255}; // blue 1, green 2, red 3
    ASSERT_TRUE(opaque.SetDIBbits(one));
    ASSERT_FALSE(opaque.Alpha());
    ASSERT_TRUE(opaque.MakeTransparent(0x030201)); // blue and red swapped: no match
    EXPECT_FALSE(opaque.Alpha());
    ASSERT_TRUE(opaque.MakeTransparent(0x010203));
    EXPECT_TRUE(opaque.Alpha());
}

TEST(ImageEffects, CheckerboardRowsStartWithTheOtherColour) {
    c32bppDIB image;
    EXPECT_FALSE(image.CreateCheckerBoard());
    ASSERT_TRUE(image.InitializeDIB(5, 5));
    EXPECT_FALSE(image.CreateCheckerBoard(0));
    ASSERT_TRUE(image.CreateCheckerBoard(2, 0x0000FF, 0x00FF00));
    EXPECT_EQ(image.ImageType(), itCheckerBoard);
    EXPECT_FALSE(image.Alpha());
    const char* expected[] = {"RRGGR", "RRGGR", "GGRRG", "GGRRG", "RRGGR"};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t alpha = 0;
            EXPECT_EQ(At(image, x, y, &alpha), expected[y][x] == 'R' ? 0x0000FFu : 0x00FF00u)
                << x << "," << y;
            EXPECT_EQ(alpha, 255);
        }
}

} // namespace
} // namespace velt
