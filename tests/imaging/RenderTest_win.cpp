#include "DrawTestSupport_win.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

constexpr uint32_t kBackground = 0xFF204060; // opaque, red 0x20 green 0x40 blue 0x60

// 4 x 2: top row opaque red, opaque green, half-transparent white, transparent;
// bottom row opaque blue, then three opaque greys.
void MakeSample(c32bppDIB& image) {
    ASSERT_TRUE(image.InitializeDIB(4, 2));
    image.SetPixel(0, 0, 0x0000FF);
    image.SetPixel(1, 0, 0x00FF00);
    image.SetPixel(2, 0, 0xFFFFFF, 128);
    image.SetPixel(3, 0, 0, 0);
    image.SetPixel(0, 1, 0xFF0000);
    image.SetPixel(1, 1, 0x404040);
    image.SetPixel(2, 1, 0x808080);
    image.SetPixel(3, 1, 0xC0C0C0);
}

// Colour of source over the background at constant alpha k (0..255), as 0xRRGGBB.
uint32_t Over(uint32_t sourceRgb, uint32_t sourceAlpha, uint32_t k) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t s = (sourceRgb >> shift) & 0xFF, d = (kBackground >> shift) & 0xFF;
        uint32_t sp = s * sourceAlpha / 255; // premultiplied
        out |= ((d * (255 - sourceAlpha * k / 255) + sp * k) / 255) << shift;
    }
    return out;
}

// AlphaBlend and GDI+ round a little differently from our own arithmetic.
constexpr int kTolerance = 3;

class RenderPaths : public testing::TestWithParam<DrawPath> {};

TEST_P(RenderPaths, OpacityFullHalfAndNone) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    for (int opacity : {100, 200, -100, 150, 50}) {
        SCOPED_TRACE(opacity);
        TargetDC target(6, 4, kBackground);
        ASSERT_TRUE(image.Render(target.dc(), 1, 1, 0, 0, 0, 0, 0, 0, opacity));
        uint32_t k = opacity % 100 == 0 ? 255 : 127;
        EXPECT_TRUE(Near(target.Rgb(1, 1), Over(0xFF0000, 255, k), kTolerance))
            << std::hex << target.Rgb(1, 1);
        EXPECT_TRUE(Near(target.Rgb(2, 1), Over(0x00FF00, 255, k), kTolerance))
            << std::hex << target.Rgb(2, 1);
        EXPECT_TRUE(Near(target.Rgb(3, 1), Over(0xFFFFFF, 128, k), kTolerance))
            << std::hex << target.Rgb(3, 1);
        EXPECT_EQ(target.Rgb(4, 1), kBackground & 0xFFFFFF);
        EXPECT_TRUE(Near(target.Rgb(1, 2), Over(0x0000FF, 255, k), kTolerance))
            << std::hex << target.Rgb(1, 2);
        EXPECT_EQ(target.Rgb(0, 0), kBackground & 0xFFFFFF);
        EXPECT_EQ(target.Rgb(5, 3), kBackground & 0xFFFFFF);
    }
    TargetDC untouched(6, 4, kBackground);
    EXPECT_TRUE(image.Render(untouched.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(untouched.Rgb(0, 0), kBackground & 0xFFFFFF);
}

TEST_P(RenderPaths, SourceRectangleStretchesToTheImageSize) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    TargetDC target(4, 2, kBackground);
    // The bottom-left 2 x 1 source pixels, drawn at the image's own size (4 x 2).
    ASSERT_TRUE(image.Render(target.dc(), 0, 0, 0, 0, 0, 1, 2, 1));
    for (int y = 0; y < 2; ++y) {
        EXPECT_TRUE(Near(target.Rgb(0, y), 0x0000FF, kTolerance)) << std::hex << target.Rgb(0, y);
        EXPECT_TRUE(Near(target.Rgb(1, y), 0x0000FF, kTolerance)) << std::hex << target.Rgb(1, y);
        EXPECT_TRUE(Near(target.Rgb(3, y), 0x404040, kTolerance)) << std::hex << target.Rgb(3, y);
    }
}

TEST_P(RenderPaths, MirroredDrawingFlipsTheImage) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    TargetDC target(4, 2, kBackground);
    ASSERT_TRUE(image.Render(target.dc(), 0, 0, -4, 2));
    EXPECT_TRUE(Near(target.Rgb(3, 0), 0xFF0000, kTolerance)) << std::hex << target.Rgb(3, 0);
    EXPECT_TRUE(Near(target.Rgb(2, 0), 0x00FF00, kTolerance)) << std::hex << target.Rgb(2, 0);
    EXPECT_EQ(target.Rgb(0, 0), kBackground & 0xFFFFFF);
    EXPECT_TRUE(Near(target.Rgb(3, 1), 0x0000FF, kTolerance)) << std::hex << target.Rgb(3, 1);
    TargetDC upsideDown(4, 2, kBackground);
    ASSERT_TRUE(image.Render(upsideDown.dc(), 0, 0, 4, -2));
    EXPECT_TRUE(Near(upsideDown.Rgb(0, 1), 0xFF0000, kTolerance))
        << std::hex << upsideDown.Rgb(0, 1);
    EXPECT_TRUE(Near(upsideDown.Rgb(0, 0), 0x0000FF, kTolerance))
        << std::hex << upsideDown.Rgb(0, 0);
}

TEST_P(RenderPaths, GreyDrawing) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    TargetDC target(4, 2, kBackground);
    ASSERT_TRUE(image.Render(target.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, 3));
    EXPECT_TRUE(Near(target.Rgb(0, 0), 0xCCCCCC, kTolerance)) << std::hex << target.Rgb(0, 0);
    EXPECT_TRUE(Near(target.Rgb(1, 0), 0x191919, kTolerance)) << std::hex << target.Rgb(1, 0);
}

INSTANTIATE_TEST_SUITE_P(Imaging, RenderPaths,
                         testing::Values(DrawPath::AlphaBlend, DrawPath::Gdiplus,
                                         DrawPath::Software),
                         [](const testing::TestParamInfo<DrawPath>& param) {
                             switch (param.param) {
                             case DrawPath::AlphaBlend: return "AlphaBlend";
                             case DrawPath::Gdiplus: return "Gdiplus";
                             default: return "Software";
                             }
                         });

TEST(Render, RefusesWhatCannotBeDrawn) {
    c32bppDIB image;
    TargetDC target(2, 2, kBackground);
    EXPECT_FALSE(image.Render(target.dc()));
    MakeSample(image);
    EXPECT_FALSE(image.Render(nullptr));
    EXPECT_FALSE(image.Render(target.dc(), 0, 0, 0, 0, 0, 0, -1, 0));
}

TEST(Render, AlphaBlendIsOnlyAllowedWhereTheSystemCanDoIt) {
    c32bppDIB image;
    EXPECT_EQ(image.CapabilityFlags() & (cfAlphaBlendUsable | cfAlphaBlendOn),
              uint32_t{cfAlphaBlendUsable | cfAlphaBlendOn});
    image.isAlphaBlendFriendly(false);
    EXPECT_FALSE(image.isAlphaBlendFriendly());
    image.isAlphaBlendFriendly(true);
    EXPECT_TRUE(image.isAlphaBlendFriendly());
}

TEST(Render, SoftwarePathDrawsIntoAHostImage) {
    c32bppDIB image, host;
    MakeSample(image);
    ChoosePath(image, DrawPath::Software);
    ASSERT_TRUE(host.InitializeDIB(4, 2));
    host.SetPixel(2, 0, 0x0000FF);
    TargetDC target(1, 1, kBackground);
    ASSERT_TRUE(image.Render(target.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 100, true, true, &host));
    uint8_t alpha = 0;
    EXPECT_EQ(host.GetPixel(0, 0, alpha, true), 0x0000FF);
    EXPECT_EQ(alpha, 255);
    // Half-transparent white over opaque red: the red shows through.
    int32_t mixed = host.GetPixel(2, 0, alpha, true);
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(mixed & 0xFF, 255 * 127 / 255 + 128);
    EXPECT_EQ(host.GetPixel(3, 0, alpha, true), 0);
    EXPECT_EQ(target.Rgb(0, 0), kBackground & 0xFFFFFF); // the DC itself is left alone
}

} // namespace
} // namespace velt::test
