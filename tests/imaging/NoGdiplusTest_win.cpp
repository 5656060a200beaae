// Runs with gdiplus.dll disabled: PNG files go through our own parser, drawing through
// AlphaBlend or our own path, and PNG files are written by our own encoder alone.
#include "DrawTestSupport_win.h"
#include "PngTestSupport.h"

#include "imaging/cGDIPlus_win.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

TEST(NoGdiplus, CannotBeSwitchedOn) {
    c32bppDIB image;
    EXPECT_FALSE(image.isGDIplusEnabled());
    image.isGDIplusEnabled(true);
    EXPECT_FALSE(image.isGDIplusEnabled());
    EXPECT_FALSE(image.HighQualityInterpolation());
    EXPECT_FALSE(cGDIPlus().isGDIplusOk());
    ASSERT_TRUE(image.InitializeDIB(2, 2));
    std::vector<uint8_t> png;
    EXPECT_FALSE(cGDIPlus().SaveToPNG({}, png, image));
    EXPECT_TRUE(png.empty());
    EXPECT_TRUE(image.SaveToStream_PNG(png));
    c32bppDIB loaded;
    EXPECT_TRUE(loaded.LoadPicture_Stream(png));
    EXPECT_FALSE(cGDIPlus().LoadWithGdip(nullptr, std::vector<uint8_t>(100, 1), image));
    cGDIPlus::DrawRequest request;
    TargetDC target(2, 2, 0);
    EXPECT_FALSE(cGDIPlus().RenderWithGdip(image, target.dc(), request));
}

TEST(NoGdiplus, PngFilesLoadThroughOurParserWithCrcChecks) {
    std::mt19937 rng(79);
    PngPicture picture = RandomPicture({6, 8}, true, false, 17, 9, rng);
    std::vector<uint8_t> file = BuildPng(picture);
    c32bppDIB image, expected;
    ASSERT_TRUE(image.LoadPicture_Stream(file));
    ASSERT_TRUE(DecodeOurs(file, expected, true));
    EXPECT_EQ(PixelsOf(image), PixelsOf(expected));

    std::vector<uint8_t> damaged = Signature();
    AppendChunk(damaged, "IHDR", HeaderBody(17, 9, 8, 6, true));
    AppendChunk(damaged, "IDAT", Compress(Scanlines(picture)), 1);
    AppendChunk(damaged, "IEND", {});
    EXPECT_FALSE(image.LoadPicture_Stream(damaged));
    EXPECT_EQ(image.Handle(), nullptr);
}

TEST(NoGdiplus, DrawingUsesAlphaBlendOrOurOwnPath) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(2, 1));
    image.SetPixel(0, 0, 0x0000FF);
    image.SetPixel(1, 0, 0x00FF00);
    TargetDC target(2, 1, 0xFF000000);
    ASSERT_TRUE(image.Render(target.dc()));
    EXPECT_EQ(target.Rgb(0, 0), 0xFF0000u);
    TargetDC mirrored(2, 1, 0xFF000000);
    image.HighQualityInterpolation(true);
    ASSERT_TRUE(image.Render(mirrored.dc(), 0, 0, -2, 1));
    EXPECT_EQ(mirrored.Rgb(0, 0), 0x00FF00u);
    std::unique_ptr<c32bppDIB> larger;
    image.CopyImageTo(larger, 4, 2);
    ASSERT_TRUE(larger);
    uint8_t alpha = 0;
    EXPECT_EQ(larger->GetPixel(3, 1, alpha, true), 0x00FF00);
}

} // namespace
} // namespace velt::test
