#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velt {
namespace {

// Fills the image with raw BGRA pixels given top row first.
void Fill(c32bppDIB& image, std::initializer_list<std::array<uint8_t, 4>> pixels) {
    int i = 0;
    for (const auto& p : pixels) {
        int32_t x = i % image.Width(), y = i / image.Width();
        std::memcpy(image.Pixels().Pixel(x, y), p.data(), 4);
        ++i;
    }
}

TEST(ClassifyAlpha, AllTransparentOrAllOpaqueMeansNoAlpha) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 1));
    for (uint8_t a : {0, 255}) {
        Fill(image, {{10, 20, 30, a}, {1, 2, 3, a}});
        int32_t type = itBlank;
        EXPECT_FALSE(ClassifyAlpha(image.Pixels(), true, type));
        EXPECT_EQ(type, itBitmap);
        EXPECT_EQ(image.Pixels().Pixel(0, 0)[3], 255); // shown opaque
        EXPECT_EQ(image.Pixels().Pixel(1, 0)[2], 3);
    }
}

TEST(ClassifyAlpha, PremultipliedDataIsKept) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(3, 1));
    Fill(image, {{0, 0, 0, 0}, {50, 60, 70, 128}, {9, 9, 9, 255}});
    int32_t type = itBlank;
    EXPECT_TRUE(ClassifyAlpha(image.Pixels(), true, type));
    EXPECT_EQ(type, itBitmapPremultiplied);
    EXPECT_EQ(image.Pixels().Pixel(1, 0)[0], 50);
}

TEST(ClassifyAlpha, ColourUnderTransparencyOrAboveAlphaIsPremultipliedHere) {
    for (bool colourUnderZero : {true, false}) {
        c32bppDIB image;
        ASSERT_TRUE(image.InitializeDIB(3, 1));
        if (colourUnderZero)
            Fill(image, {{40, 40, 40, 0}, {200, 100, 50, 255}, {200, 100, 50, 128}});
        else Fill(image, {{0, 0, 0, 0}, {200, 100, 50, 128}, {200, 100, 50, 255}});
        int32_t type = itBlank;
        EXPECT_TRUE(ClassifyAlpha(image.Pixels(), true, type));
        EXPECT_EQ(type, itBitmapAlpha);
        const uint8_t* zero = image.Pixels().Pixel(0, 0);
        EXPECT_EQ(zero[0] | zero[1] | zero[2] | zero[3], 0);
        const uint8_t* half = image.Pixels().Pixel(colourUnderZero ? 2 : 1, 0);
        EXPECT_EQ(half[0], 200 * 128 / 255);
        EXPECT_EQ(half[1], 100 * 128 / 255);
        EXPECT_EQ(half[3], 128);
    }
}

TEST(ClassifyAlpha, TypeMinusOneSkipsTheScan) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 1));
    Fill(image, {{0, 0, 0, 0}, {50, 60, 70, 128}});
    int32_t type = itNone;
    EXPECT_FALSE(ClassifyAlpha(image.Pixels(), true, type));
    EXPECT_EQ(type, itBitmap);
    EXPECT_EQ(image.Pixels().Pixel(1, 0)[3], 255);
}

TEST(Image, InitializeRefusesEmptyAndOversizedAndFlipsNegativeHeight) {
    c32bppDIB image;
    EXPECT_EQ(image.ImageType(), itBlank);
    EXPECT_FALSE(image.InitializeDIB(0, 5));
    EXPECT_FALSE(image.InitializeDIB(5, 0));
    EXPECT_FALSE(image.InitializeDIB(-5, 5));
    EXPECT_FALSE(image.InitializeDIB(40000, 40000)); // more than 2 GB of pixels
    EXPECT_EQ(image.ImageType(), itNone);
    ASSERT_TRUE(image.InitializeDIB(3, -2));
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.scanWidth(), 12);
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(image.ImageType(), itBlank);
    image.DestroyDIB();
    EXPECT_EQ(image.Handle(), nullptr);
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(image.ImageType(), itNone);
}

TEST(Image, PixelsAreStoredBottomUp) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 3));
    uint8_t* written = image.SetPixel(1, 0, 0x0000FF); // red, top right
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written, image.BitsPointer() + ((3 - 1 - 0) * 2 + 1) * 4);
    EXPECT_EQ(written[2], 255);
    EXPECT_EQ(written[0], 0);
}

TEST(Image, SetPixelPremultipliesAndGetPixelUndoesIt) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 2));
    image.EraseDIB();
    uint8_t alpha = 9;
    EXPECT_EQ(image.GetPixel(2, 0, alpha, true), -1);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(image.SetPixel(0, 2, 0), nullptr);
    EXPECT_EQ(image.SetPixel(0, 0, 0, 256), nullptr);

    ASSERT_NE(image.SetPixel(0, 0, 0x204080, 128), nullptr); // red 0x80, green 0x40, blue 0x20
    const uint8_t* p = image.Pixels().Pixel(0, 0);
    EXPECT_EQ(p[2], 0x80 * 128 / 255);
    EXPECT_EQ(p[1], 0x40 * 128 / 255);
    EXPECT_EQ(p[0], 0x20 * 128 / 255);
    EXPECT_EQ(image.GetPixel(0, 0, alpha, true), p[2] | p[1] << 8 | p[0] << 16);
    int32_t straight = image.GetPixel(0, 0, alpha, false);
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(straight & 0xFF, p[2] * 255 / 128);

    // Already premultiplied: taken as is, except a channel above alpha is scaled down.
    ASSERT_NE(image.SetPixel(1, 0, 0x000A64, 80, true), nullptr); // red 100 > 80, green 10
    p = image.Pixels().Pixel(1, 0);
    EXPECT_EQ(p[2], 100 * 80 / 255);
    EXPECT_EQ(p[1], 10);

    ASSERT_NE(image.SetPixel(1, 1, 0xFFFFFF, 0), nullptr);
    p = image.Pixels().Pixel(1, 1);
    EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0);
}

// Pixels written straight into memory need not be premultiplied; reading them back
// unpremultiplied stays within a byte per channel.
TEST(Image, UnpremultiplyingColourAboveAlphaSaturates) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(1, 1));
    const uint8_t raw[] = {200, 10, 100, 50};
    std::memcpy(image.BitsPointer(), raw, 4);
    uint8_t alpha = 0;
    EXPECT_EQ(image.GetPixel(0, 0, alpha, false), 255 | (10 * 255 / 50) << 8 | 255 << 16);
    std::vector<uint8_t> out;
    ASSERT_TRUE(image.GetDIBbits(out, {.asPremultiplied = false}));
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[3], 50);
}

class DibBits : public testing::Test {
protected:
    // 3 x 2: top row red (opaque), half-transparent green, transparent; bottom row greys.
    void SetUp() override {
        ASSERT_TRUE(image.InitializeDIB(3, 2));
        image.SetPixel(0, 0, 0x0000FF);
        image.SetPixel(1, 0, 0x00FF00, 128);
        image.SetPixel(2, 0, 0xFFFFFF, 0);
        image.SetPixel(0, 1, 0x101010);
        image.SetPixel(1, 1, 0x202020);
        image.SetPixel(2, 1, 0x303030);
    }
    c32bppDIB image;
};

TEST_F(DibBits, NativeLayoutIsTheRawMemory) {
    std::vector<uint8_t> out;
    ASSERT_TRUE(image.GetDIBbits(out));
    ASSERT_EQ(out.size(), 24u);
    EXPECT_EQ(0, std::memcmp(out.data(), image.BitsPointer(), 24));
}

TEST_F(DibBits, TopDownRgbUnpremultipliedRectangle) {
    std::vector<uint8_t> out;
    DibBitsFormat format{.asBGRformat = false, .asBottomUp = false, .asPremultiplied = false};
    ASSERT_TRUE(image.GetDIBbits(out, format, 1, 0, 5, 5)); // clipped to 2 x 2
    ASSERT_EQ(out.size(), 16u);
    const uint8_t green[] = {0, static_cast<uint8_t>(128 * 255 / 128), 0, 128};
    EXPECT_EQ(0, std::memcmp(out.data(), green, 4));
    const uint8_t clear[] = {0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(out.data() + 4, clear, 4));
    const uint8_t grey[] = {0x20, 0x20, 0x20, 255};
    EXPECT_EQ(0, std::memcmp(out.data() + 8, grey, 4));
}

TEST_F(DibBits, TwentyFourBitRowsArePaddedUnlessAskedNot) {
    std::vector<uint8_t> out;
    ASSERT_TRUE(image.GetDIBbits(out, {.as32bpp = false}));
    ASSERT_EQ(out.size(), 2u * 12);
    EXPECT_EQ(out[6], 0x30);     // bottom row, third pixel
    EXPECT_EQ(out[9], 0);        // padding
    EXPECT_EQ(out[12 + 2], 255); // top row (last), red
    ASSERT_TRUE(image.GetDIBbits(out, {.as32bpp = false, .asWordAligned = false}));
    EXPECT_EQ(out.size(), 2u * 9);
    EXPECT_FALSE(image.GetDIBbits(out, {}, -1, 0));
    EXPECT_FALSE(image.GetDIBbits(out, {}, 3, 0));
}

TEST_F(DibBits, SetDIBbitsWritesAndClassifies) {
    std::vector<uint8_t> in;
    ASSERT_TRUE(image.GetDIBbits(in, {.asBGRformat = false, .asBottomUp = false}));
    c32bppDIB copy;
    ASSERT_TRUE(copy.InitializeDIB(3, 2));
    ASSERT_TRUE(copy.SetDIBbits(in, {.asBGRformat = false, .asBottomUp = false}));
    EXPECT_EQ(0, std::memcmp(copy.BitsPointer(), image.BitsPointer(), 24));
    EXPECT_TRUE(copy.Alpha());

    // A short array changes nothing.
    std::vector<uint8_t> shortArray(in.begin(), in.end() - 1);
    std::vector<uint8_t> before(copy.BitsPointer(), copy.BitsPointer() + 24);
    EXPECT_FALSE(copy.SetDIBbits(std::vector<uint8_t>(24 - 1, 7)));
    EXPECT_EQ(0, std::memcmp(copy.BitsPointer(), before.data(), 24));
    EXPECT_FALSE(copy.SetDIBbits({}));
}

TEST_F(DibBits, TwentyFourBitInputKeepsAlphaAndAnAllZeroAlphaBecomesOpaque) {
    c32bppDIB fresh;
    ASSERT_TRUE(fresh.InitializeDIB(3, 2));
    std::vector<uint8_t> in(2 * 12, 0x40);
    ASSERT_TRUE(fresh.SetDIBbits(in, {.as32bpp = false}));
    EXPECT_FALSE(fresh.Alpha());
    uint8_t alpha = 0;
    EXPECT_EQ(fresh.GetPixel(2, 1, alpha, true), 0x404040);
    EXPECT_EQ(alpha, 255);
}

TEST_F(DibBits, AlphaMask) {
    std::vector<uint8_t> mask;
    ASSERT_TRUE(image.GetAlphaMask(mask, false, false));
    const std::vector<uint8_t> expected = {255, 128, 0, 255, 255, 255};
    EXPECT_EQ(mask, expected);
    ASSERT_TRUE(image.GetAlphaMask(mask));
    ASSERT_EQ(mask.size(), 8u); // rows padded to 4 bytes, bottom row first
    EXPECT_EQ(mask[4 + 1], 128);
}

TEST(PixelHelpers, GreyFormulasAndRowSizes) {
    EXPECT_EQ(GrayValue(0, 0, 255, GrayWeights(2)), 84);
    EXPECT_EQ(GrayValue(0, 0, 255, GrayWeights(3)), 204);
    EXPECT_EQ(GrayValue(0, 0, 255, GrayWeights(0)), 76);
    EXPECT_EQ(GrayValue(0, 0, 255, GrayWeights(99)), 76);
    EXPECT_EQ(RowBytes(24, 3), 12);
    EXPECT_EQ(RowBytes(1, 33), 8);
    EXPECT_EQ(RowBytes(32, 0x40000000), 0);
    EXPECT_EQ(SwapLong(0x11223344), 0x44332211);
    EXPECT_EQ(SwapLong(static_cast<int32_t>(0x80000001u)), 0x01000080);
}

} // namespace
} // namespace velt
