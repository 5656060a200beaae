#include "DrawTestSupport_win.h"

#include "imaging/GdipDraw_win.h"
#include "imaging/Transforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace velt::test {
namespace {

constexpr uint32_t kBackground = 0xFF204060;
constexpr uint32_t kBack = kBackground & 0xFFFFFF;

// 4 x 2, every pixel opaque and different, as 0xRRGGBB top row first.
constexpr uint32_t kColours[2][4] = {{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                                     {0xFFFF00, 0x00FFFF, 0xFF00FF, 0x404040}};

void MakeSample(c32bppDIB& image) {
    ASSERT_TRUE(image.InitializeDIB(4, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            uint32_t rgb = kColours[y][x];
            // SetPixel takes red in the low byte.
            image.SetPixel(x, y, (rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
        }
}

std::vector<uint32_t> AllPixels(const TargetDC& target, int width, int height) {
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.push_back(target.Rgb(x, y));
    return out;
}

// GDI+ samples a turned picture a little differently from our own path.
constexpr int kTolerance = 3;

class RotatePaths : public testing::TestWithParam<DrawPath> {};

TEST_P(RotatePaths, QuarterTurnClockwiseAboutTheRectanglesCentre) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    TargetDC target(16, 16, kBackground);
    // The 4 x 2 rectangle at (10, 10) turns about (12, 11) into a 2 x 4 block at (11, 9): the top
    // row becomes its right column, read downwards.
    ASSERT_TRUE(image.RotateAtTopLeft(target.dc(), 90, 10, 10));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Near(target.Rgb(12, 9 + i), kColours[0][i], kTolerance))
            << std::hex << target.Rgb(12, 9 + i);
        EXPECT_TRUE(Near(target.Rgb(11, 9 + i), kColours[1][i], kTolerance))
            << std::hex << target.Rgb(11, 9 + i);
        EXPECT_EQ(target.Rgb(10, 9 + i), kBack);
        EXPECT_EQ(target.Rgb(13, 9 + i), kBack);
    }
    EXPECT_EQ(target.Rgb(11, 8), kBack);
    EXPECT_EQ(target.Rgb(12, 13), kBack);

    // Centred on the same point, the same drawing.
    TargetDC centred(16, 16, kBackground);
    ASSERT_TRUE(image.RotateAtCenterPoint(centred.dc(), 90, 12, 11));
    EXPECT_EQ(AllPixels(centred, 16, 16), AllPixels(target, 16, 16));
}

TEST_P(RotatePaths, NegativeWidthMirrorsAndExtendsLeft) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    TargetDC target(16, 16, kBackground);
    ASSERT_TRUE(image.RotateAtTopLeft(target.dc(), 90, 14, 10, -4, 2));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Near(target.Rgb(12, 9 + i), kColours[0][3 - i], kTolerance))
            << std::hex << target.Rgb(12, 9 + i);
        EXPECT_TRUE(Near(target.Rgb(11, 9 + i), kColours[1][3 - i], kTolerance))
            << std::hex << target.Rgb(11, 9 + i);
        EXPECT_EQ(target.Rgb(13, 9 + i), kBack);
    }
}

TEST_P(RotatePaths, IntoAHostImageItsAlphaIsKept) {
    c32bppDIB image, host;
    MakeSample(image);
    ChoosePath(image, GetParam());
    ASSERT_TRUE(host.InitializeDIB(6, 6));
    HDC dc = host.LoadDIBinDC(true);
    ASSERT_TRUE(image.RotateAtTopLeft(dc, 90, 1, 2, 0, 0, 0, 0, 0, 0, 100, &host));
    host.LoadDIBinDC(false);
    uint8_t alpha = 0;
    EXPECT_EQ(host.GetPixel(3, 1, alpha, true), 0x0000FF); // red, read as red in the low byte
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(host.GetPixel(2, 4, alpha, true), 0x404040);
    EXPECT_EQ(alpha, 255);
    host.GetPixel(1, 1, alpha, true); // inside the turned square, outside the picture
    EXPECT_EQ(alpha, 0);
    host.GetPixel(4, 2, alpha, true);
    EXPECT_EQ(alpha, 0);
}

TEST_P(RotatePaths, WholeTurnsDrawLikeRender) {
    c32bppDIB image;
    MakeSample(image);
    ChoosePath(image, GetParam());
    TargetDC rendered(12, 8, kBackground), turned(12, 8, kBackground), back(12, 8, kBackground);
    ASSERT_TRUE(image.Render(rendered.dc(), 2, 3, 8, 4, 1, 0, 2, 2, 150));
    ASSERT_TRUE(image.RotateAtTopLeft(turned.dc(), 360, 2, 3, 8, 4, 1, 0, 2, 2, 150));
    ASSERT_TRUE(image.RotateAtTopLeft(back.dc(), -720, 2, 3, 8, 4, 1, 0, 2, 2, 150));
    EXPECT_EQ(AllPixels(turned, 12, 8), AllPixels(rendered, 12, 8));
    EXPECT_EQ(AllPixels(back, 12, 8), AllPixels(rendered, 12, 8));
}

// Our own turned copy, drawn with AlphaBlend or composed by our own code.
INSTANTIATE_TEST_SUITE_P(Imaging, RotatePaths,
                         testing::Values(DrawPath::AlphaBlend, DrawPath::Software),
                         [](const testing::TestParamInfo<DrawPath>& param) {
                             return param.param == DrawPath::AlphaBlend ? "AlphaBlend" : "Software";
                         });

// GDI+ turns the picture itself. Wine's GDI+ samples turned pictures about one pixel off (a
// column can go missing), so its result is checked for place and orientation, not exactly.
struct Drawn {
    int count = 0;
    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
    void Add(int x, int y) {
        ++count;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
        maxY = std::max(maxY, y);
    }
};

// 8 x 4: the top half white, the bottom half red.
void MakeHalves(c32bppDIB& image) {
    ASSERT_TRUE(image.InitializeDIB(8, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) image.SetPixel(x, y, y < 2 ? 0xFFFFFF : 0x0000FF);
}

TEST(RotateWithGdiplus, QuarterTurnClockwiseInPlace) {
    c32bppDIB image;
    MakeHalves(image);
    ChoosePath(image, DrawPath::Gdiplus);
    for (bool mirrored : {false, true}) {
        SCOPED_TRACE(mirrored);
        TargetDC target(24, 24, 0xFF000000);
        // About (12, 10): a 4 x 8 block at (10, 6), the white half on the right. Mirrored
        // horizontally first, the rectangle extends left from x = 16 to the same place.
        ASSERT_TRUE(mirrored ? image.RotateAtTopLeft(target.dc(), 90, 16, 8, -8, 4)
                             : image.RotateAtTopLeft(target.dc(), 90, 8, 8));
        Drawn white, red;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                uint32_t rgb = target.Rgb(x, y);
                if (Near(rgb, 0xFFFFFF, kTolerance)) white.Add(x, y);
                else if (Near(rgb, 0xFF0000, kTolerance)) red.Add(x, y);
                else EXPECT_EQ(rgb, 0u) << x << "," << y;
            }
        EXPECT_GE(white.count + red.count, 20);
        EXPECT_LT(red.maxX, white.minX);
        EXPECT_GE(std::min(red.minX, white.minX), 9);
        EXPECT_LE(std::max(red.maxX, white.maxX), 14);
        EXPECT_GE(std::min(red.minY, white.minY), 5);
        EXPECT_LE(std::max(red.maxY, white.maxY), 14);
    }
}

TEST(RotateWithGdiplus, IntoAHostImageItsAlphaIsKept) {
    c32bppDIB image, host;
    MakeHalves(image);
    ChoosePath(image, DrawPath::Gdiplus);
    ASSERT_TRUE(host.InitializeDIB(16, 16));
    HDC dc = host.LoadDIBinDC(true);
    ASSERT_TRUE(image.RotateAtTopLeft(dc, 90, 4, 6, 0, 0, 0, 0, 0, 0, 100, &host));
    host.LoadDIBinDC(false);
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t alpha = 0;
            host.GetPixel(x, y, alpha, true);
            const bool inBlock = x >= 5 && x <= 10 && y >= 3 && y <= 12;
            if (!inBlock) {
                EXPECT_EQ(alpha, 0) << x << "," << y;
            }
            if (alpha == 255) ++opaque;
        }
    EXPECT_GE(opaque, 20);
}

class ResizePaths : public testing::TestWithParam<DrawPath> {};

// Resize through GDI+ (smooth), AlphaBlend or our own resampling: the halves stay where they
// were, or swap sides when mirrored, and the picture stays opaque.
TEST_P(ResizePaths, EnlargesAndMirrors) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(4, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) image.SetPixel(x, y, x < 2 ? 0x0000FF : 0xFF0000);
    ChoosePath(image, GetParam());
    image.HighQualityInterpolation(GetParam() == DrawPath::Gdiplus);
    for (bool mirrored : {false, true}) {
        SCOPED_TRACE(mirrored);
        ASSERT_TRUE(image.Resize(mirrored ? -16 : 16, 8));
        ASSERT_EQ(image.Width(), 16);
        ASSERT_EQ(image.Height(), 8);
        const uint32_t left = 0x0000FF, right = 0xFF0000;
        for (int y = 0; y < 8; ++y) {
            uint8_t alpha = 0;
            EXPECT_TRUE(Near(static_cast<uint32_t>(image.GetPixel(1, y, alpha, true)),
                             mirrored ? right : left, 8))
                << y;
            EXPECT_EQ(alpha, 255);
            EXPECT_TRUE(Near(static_cast<uint32_t>(image.GetPixel(14, y, alpha, true)),
                             mirrored ? left : right, 8))
                << y;
            EXPECT_EQ(alpha, 255);
        }
        if (!mirrored) {
            ASSERT_TRUE(image.Resize(4, 2));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Imaging, ResizePaths,
                         testing::Values(DrawPath::AlphaBlend, DrawPath::Gdiplus,
                                         DrawPath::Software),
                         [](const testing::TestParamInfo<DrawPath>& param) {
                             switch (param.param) {
                             case DrawPath::AlphaBlend: return "AlphaBlend";
                             case DrawPath::Gdiplus: return "Gdiplus";
                             default: return "Software";
                             }
                         });

TEST(Rotate, SoftwareSquareIsTheDiagonalAndHonoursOpacity) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(3, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x) image.SetPixel(x, y, 0xFFFFFF);
    ChoosePath(image, DrawPath::Software);
    // 3 x 4 turned by 45 degrees: a square of side 5 drawn about the centre (11, 12); its corners
    // stay clear, its middle is white at half opacity.
    TargetDC target(24, 24, kBackground);
    ASSERT_TRUE(image.RotateAtTopLeft(target.dc(), 45, 10, 10, 0, 0, 0, 0, 0, 0, 50));
    EXPECT_TRUE(Near(target.Rgb(11, 12), 0x8F9FAF, kTolerance)) << std::hex << target.Rgb(11, 12);
    for (auto [x, y] : {std::pair{9, 10}, {13, 10}, {9, 14}, {13, 14}})
        EXPECT_EQ(target.Rgb(x, y), kBack);
    int touched = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            if (target.Rgb(x, y) != kBack) {
                ++touched;
                EXPECT_TRUE(x >= 9 && x < 14 && y >= 10 && y < 15) << x << "," << y;
            }
    EXPECT_GT(touched, 8);
}

TEST(Rotate, RefusesWhatCannotBeDrawn) {
    c32bppDIB image;
    TargetDC target(8, 8, kBackground);
    EXPECT_FALSE(image.RotateAtTopLeft(target.dc(), 30, 0, 0));
    MakeSample(image);
    ChoosePath(image, DrawPath::Software);
    EXPECT_FALSE(image.RotateAtTopLeft(nullptr, 30, 0, 0));
    EXPECT_FALSE(image.RotateAtTopLeft(target.dc(), 30, 0, 0, 0, 0, -1, 0));
    EXPECT_FALSE(image.RotateAtTopLeft(target.dc(), 30, 0, 0, 0, 0, 4, 0));
    EXPECT_TRUE(image.RotateAtTopLeft(target.dc(), 30, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(AllPixels(target, 8, 8), std::vector<uint32_t>(64, kBack));
}

// GDI+ entry points that fail, to stand in for a system that cannot make image attributes.
Gdiplus::GpStatus WINGDIPAPI CannotCreate(Gdiplus::GpImageAttributes**) {
    return Gdiplus::OutOfMemory;
}
Gdiplus::GpStatus WINGDIPAPI CannotSet(Gdiplus::GpImageAttributes*, Gdiplus::ColorAdjustType, BOOL,
                                       const Gdiplus::ColorMatrix*, const Gdiplus::ColorMatrix*,
                                       Gdiplus::ColorMatrixFlags) {
    return Gdiplus::GenericError;
}

TEST(RenderWithGdip, DrawsWithoutAttributesThatCannotBeMade) {
    c32bppDIB image;
    MakeSample(image);
    ASSERT_NE(ProcessGdiplus(), nullptr);
    cGDIPlus::DrawRequest request;
    request.opacity = 50;
    request.grayFormula = 3;
    request.dw = 4;
    request.dh = 2;
    request.sw = 4;
    request.sh = 2;
    for (int broken = 0; broken < 3; ++broken) {
        SCOPED_TRACE(broken);
        GdiplusApi api;
        if (broken == 1) api.GdipCreateImageAttributes = CannotCreate;
        if (broken == 2) api.GdipSetImageAttributesColorMatrix = CannotSet;
        TargetDC target(4, 2, kBackground);
        {
            GdipGraphics graphics(api); // deleted, and so flushed to the DC, before reading
            ASSERT_EQ(api.GdipCreateFromHDC(target.dc(), graphics.put()), Gdiplus::Ok);
            ASSERT_TRUE(DrawWithGdip(api, graphics.get(), image, request));
        }
        if (broken) {
            // Neither grey nor half opacity: the plain picture.
            EXPECT_TRUE(Near(target.Rgb(0, 0), 0xFF0000, kTolerance))
                << std::hex << target.Rgb(0, 0);
        } else {
            // Red through the grey formula 3 is 204, half over the background.
            EXPECT_TRUE(Near(target.Rgb(0, 0), 0x768696, 6)) << std::hex << target.Rgb(0, 0);
        }
    }
}

} // namespace
} // namespace velt::test
