#include "LibpngOracle.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

struct Size {
    uint32_t width, height;
};
// 1x1 and 3x2 leave most Adam7 passes empty; 9x7 and 37x21 leave partial blocks at the edges.
constexpr Size kSizes[] = {{1, 1}, {3, 2}, {9, 7}, {37, 21}};

void ExpectMatchesLibpng(PngPicture& picture, bool withZlib) {
    std::vector<uint8_t> file = BuildPng(picture, 97);
    OracleImage expected = DecodeWithLibpng(file);
    ASSERT_EQ(expected.width, picture.width);
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file, image, withZlib));
    ASSERT_EQ(image.Width(), static_cast<int32_t>(picture.width));
    ASSERT_EQ(image.Height(), static_cast<int32_t>(picture.height));
    EXPECT_EQ(image.ImageType(), itPNG);
    bool ownAlpha = picture.colourType == 4 || picture.colourType == 6;
    EXPECT_EQ(image.Alpha(), ownAlpha || !picture.transparency.empty());
    EXPECT_EQ(PixelsOf(image), expected.pixels);
}

TEST(PngDecoder, EveryFormatMatchesLibpng) {
    std::mt19937 rng(1234);
    for (const PngFormat& format : kAllFormats) {
        for (bool interlaced : {false, true}) {
            for (bool transparency : {false, true}) {
                if (transparency && (format.colourType == 4 || format.colourType == 6)) continue;
                for (Size size : kSizes) {
                    for (bool withZlib : {true, false}) {
                        SCOPED_TRACE(testing::Message()
                                     << "type " << int{format.colourType} << " depth "
                                     << int{format.bitDepth} << " interlaced " << interlaced
                                     << " tRNS " << transparency << " " << size.width << "x"
                                     << size.height << (withZlib ? " zlib" : " built-in inflater"));
                        PngPicture picture = RandomPicture(format, interlaced, transparency,
                                                           size.width, size.height, rng);
                        ExpectMatchesLibpng(picture, withZlib);
                    }
                }
            }
        }
    }
}

TEST(PngDecoder, TwoBitGreyShowsFourEvenSteps) {
    PngPicture p{4, 1, 2, 0, false, {0, 1, 2, 3}};
    std::vector<uint8_t> file = BuildPng(p);
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file, image, true));
    const uint8_t greys[] = {0, 85, 170, 255};
    for (int x = 0; x < 4; ++x) {
        uint8_t alpha = 0;
        uint32_t g = greys[x];
        EXPECT_EQ(image.GetPixel(x, 0, alpha, true), static_cast<int32_t>(g | g << 8 | g << 16));
        EXPECT_EQ(alpha, 255);
    }
    EXPECT_FALSE(image.Alpha());
}

// 16-bit keys are compared on their high bytes only: a sample that differs from the key in its
// low byte alone is transparent too.
TEST(PngDecoder, SixteenBitKeyMatchesOnHighBytes) {
    PngPicture p{3,     1,
                 16,    2,
                 false, {0x1234, 0x5678, 0x9ABC, 0x12FF, 0x5600, 0x9A00, 0x1334, 0x5678, 0x9ABC}};
    p.transparency = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    std::vector<uint8_t> file = BuildPng(p);
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file, image, true));
    uint8_t alpha = 1;
    EXPECT_EQ(image.GetPixel(0, 0, alpha, true), 0);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(image.GetPixel(1, 0, alpha, true), 0);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(image.GetPixel(2, 0, alpha, true), 0x9A5613);
    EXPECT_EQ(alpha, 255);
    EXPECT_TRUE(image.Alpha());
}

TEST(PngDecoder, PaletteWithoutPlteIsBlackWithWhiteEntryOneAtDepthOne) {
    for (uint8_t depth : {1, 8}) {
        PngPicture p{2, 1, depth, 3, false, {0, 1}};
        std::vector<uint8_t> file = BuildPng(p);
        c32bppDIB image;
        ASSERT_TRUE(DecodeOurs(file, image, true));
        uint8_t alpha = 0;
        EXPECT_EQ(image.GetPixel(0, 0, alpha, true), 0);
        EXPECT_EQ(image.GetPixel(1, 0, alpha, true), depth == 1 ? 0xFFFFFF : 0);
        EXPECT_EQ(alpha, 255);
    }
}

// The palette is always 256 entries: indexes past a short PLTE are black, never read past it.
TEST(PngDecoder, IndexesPastTheEndOfAShortPaletteAreBlack) {
    PngPicture p{3, 1, 8, 3, false, {0, 1, 200}};
    p.palette = {10, 20, 30, 40, 50, 60};
    std::vector<uint8_t> file = BuildPng(p);
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file, image, true));
    uint8_t alpha = 0;
    EXPECT_EQ(image.GetPixel(1, 0, alpha, true), 40 | 50 << 8 | 60 << 16);
    EXPECT_EQ(image.GetPixel(2, 0, alpha, true), 0);
    EXPECT_EQ(alpha, 255);
}

TEST(PngDecoder, StreamOffsetAndLengthSelectTheFile) {
    std::mt19937 rng(7);
    PngPicture p = RandomPicture({6, 8}, false, false, 5, 4, rng);
    std::vector<uint8_t> file = BuildPng(p);
    std::vector<uint8_t> padded(13, 0xEE);
    padded.insert(padded.end(), file.begin(), file.end());
    padded.insert(padded.end(), 20, 0xEE);
    c32bppDIB image;
    cPNGparser parser({});
    ASSERT_TRUE(parser.LoadStream(padded, image, 13, file.size()));
    EXPECT_EQ(PixelsOf(image), DecodeWithLibpng(file).pixels);
    EXPECT_FALSE(parser.LoadStream(padded, image, padded.size() + 5, 0));
}

c32bppDIB* g_platformHost = nullptr;
bool FillingLoader(const std::filesystem::path*, std::span<const uint8_t>, c32bppDIB& host) {
    g_platformHost = &host;
    host.InitializeDIB(2, 3);
    DecoderAccess::SetImageType(host, itPNG);
    return true;
}
bool RefusingLoader(const std::filesystem::path*, std::span<const uint8_t>, c32bppDIB&) {
    return false;
}

TEST(PngDecoder, PlatformLoaderComesFirstAndOurParserStepsInWhenItRefuses) {
    std::mt19937 rng(9);
    PngPicture p = RandomPicture({2, 8}, false, false, 6, 5, rng);
    std::vector<uint8_t> file = BuildPng(p);
    c32bppDIB image;
    PngServices services;
    services.platformLoader = FillingLoader;
    cPNGparser first(services);
    ASSERT_TRUE(first.LoadStream(file, image));
    EXPECT_EQ(g_platformHost, &image);
    EXPECT_EQ(image.Width(), 2); // the walk never ran
    EXPECT_EQ(first.platformWidth(), 2);

    services.platformLoader = RefusingLoader;
    cPNGparser second(services);
    ASSERT_TRUE(second.LoadStream(file, image));
    EXPECT_EQ(image.Width(), 6);
    EXPECT_EQ(PixelsOf(image), DecodeWithLibpng(file).pixels);
}

} // namespace
} // namespace velt::test
