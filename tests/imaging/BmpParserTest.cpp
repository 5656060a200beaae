// The bitmap decoder against ImageMagick on files of every depth, compression, header kind and
// row order, and against hand-computed pixels where our rules differ from ImageMagick's.
#include "BmpBuilder.h"
#include "MagickOracle.h"
#include "PngTestSupport.h"

#include "imaging/BmpParser.h"
#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

struct Variant {
    const char* name;
    BmpPicture picture;
};

// Every kind of file the decoder reads; odd widths exercise row padding and partial bytes.
std::vector<Variant> AllVariants() {
    std::mt19937 rng(17);
    std::vector<Variant> v;
    for (uint16_t bits : {1, 4, 8, 16, 24, 32})
        for (int32_t width : {1, 3, 13, 33}) {
            BmpPicture p = RandomBmp(width, 7, bits, rng);
            if (bits == 32) // straight alpha, so that the file is read as alpha and premultiplied
                for (uint32_t& s : p.samples) s = (s & 0xFFFFFF) | (rng() % 255 + 1) << 24;
            v.push_back({"plain", p});
        }
    BmpPicture shortPalette = RandomBmp(9, 4, 8, rng);
    shortPalette.palette.resize(20 * 4);
    shortPalette.coloursUsed = 20;
    for (uint32_t& s : shortPalette.samples) s %= 20;
    v.push_back({"8-bit, 20 colours used", shortPalette});

    BmpPicture rgb565 = RandomBmp(11, 5, 16, rng);
    rgb565.compression = 3;
    rgb565.masks[0] = 0xF800, rgb565.masks[1] = 0x07E0, rgb565.masks[2] = 0x001F;
    v.push_back({"16-bit 5-6-5 bit fields", rgb565});
    BmpPicture rgb444 = rgb565;
    rgb444.masks[0] = 0x0F00, rgb444.masks[1] = 0x00F0, rgb444.masks[2] = 0x000F;
    v.push_back({"16-bit 4-4-4 bit fields", rgb444});

    BmpPicture fields32 = RandomBmp(6, 6, 32, rng);
    fields32.compression = 3;
    fields32.masks[0] = 0xFF0000, fields32.masks[1] = 0xFF00, fields32.masks[2] = 0xFF;
    v.push_back({"32-bit bit fields", fields32});
    BmpPicture v5 = fields32;
    v5.headerSize = 124;
    v.push_back({"32-bit bit fields, version 5 header", v5});

    for (uint16_t bits : {4, 8}) {
        BmpPicture p = RandomBmp(37, 9, bits, rng);
        for (size_t i = 0; i < p.samples.size(); ++i) // long stretches and noisy ones
            if ((i / 9) % 2 == 0) p.samples[i] = p.samples[i - i % 9];
        p.compression = bits == 8 ? 1 : 2;
        p.rle = EncodeRle(p.samples, p.width, p.rows(), bits == 4);
        v.push_back({bits == 8 ? "RLE8" : "RLE4", p});
    }
    for (uint16_t bits : {8, 24}) {
        BmpPicture p = RandomBmp(10, -6, bits, rng);
        v.push_back({"top-down", p});
        BmpPicture core = RandomBmp(10, 6, bits, rng);
        core.headerSize = 12;
        if (bits == 8) core.palette = RandomPalette(256, rng, 3);
        v.push_back({"core header", core});
    }
    return v;
}

bool Decode(const std::vector<uint8_t>& file, c32bppDIB& image) {
    return cBMPparser().LoadStream(file, image);
}

TEST(BmpDecoder, EveryVariantDecodesLikeImageMagick) {
    for (const Variant& variant : AllVariants()) {
        const BmpPicture& p = variant.picture;
        SCOPED_TRACE(::testing::Message() << variant.name << ", " << p.bitCount << " bits, "
                                          << p.width << "x" << p.height);
        std::vector<uint8_t> file = BuildBmp(p);
        c32bppDIB ours;
        ASSERT_TRUE(Decode(file, ours));
        ASSERT_EQ(ours.Width(), p.width);
        ASSERT_EQ(ours.Height(), p.rows());
        const bool plain32 = p.bitCount == 32 && p.compression == 0;
        EXPECT_EQ(ours.ImageType(), plain32 ? itBitmapAlpha : itBitmap);
        EXPECT_EQ(ours.Alpha(), plain32);
        RgbaImage magick = DecodeWithMagick(file, "bmp");
        ASSERT_FALSE(magick.empty());
        if (p.masks[0] == 0x0F00) // ImageMagick widens 4-bit fields with zeros, the system repeats
            for (size_t i = 0; i < magick.rgba.size(); i += 4)
                for (size_t c = 0; c < 3; ++c) magick.rgba[i + c] |= magick.rgba[i + c] >> 4;
        EXPECT_EQ(PixelsOf(ours), AsImagePixels(magick));
    }
}

// Pixel (x, y from the top) of an image as 0xAARRGGBB, premultiplied as stored.
uint32_t At(const c32bppDIB& image, int32_t x, int32_t y) {
    const uint8_t* p = image.Pixels().Pixel(x, y);
    return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

TEST(BmpDecoder, ThirtyTwoBitAlphaIsClassified) {
    BmpPicture p;
    p.width = 2;
    p.height = 2;
    p.bitCount = 32;
    c32bppDIB image;

    p.samples = {0x00102030, 0x00FFFFFF, 0x00000000, 0x00405060}; // every alpha byte 0
    ASSERT_TRUE(Decode(BuildBmp(p), image));
    EXPECT_EQ(image.ImageType(), itBitmap);
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(At(image, 0, 1), 0xFF102030u); // shown opaque; the first stored row is the bottom

    p.samples = {0x80404040, 0xFF112233, 0x00000000, 0x40102030}; // already premultiplied
    ASSERT_TRUE(Decode(BuildBmp(p), image));
    EXPECT_EQ(image.ImageType(), itBitmapPremultiplied);
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(At(image, 0, 1), 0x80404040u);

    p.samples = {0x80FF8000, 0xFF112233, 0x00ABCDEF, 0x40102030}; // straight
    ASSERT_TRUE(Decode(BuildBmp(p), image));
    EXPECT_EQ(image.ImageType(), itBitmapAlpha);
    EXPECT_EQ(At(image, 0, 1), 0x80804000u); // red 255 and green 128 at alpha 128, premultiplied
    EXPECT_EQ(At(image, 0, 0), 0u);          // alpha 0: all four bytes cleared

    p.height = -2; // the same rows stored top-down: the first stored row is the top
    ASSERT_TRUE(Decode(BuildBmp(p), image));
    EXPECT_EQ(At(image, 0, 0), 0x80804000u);
    EXPECT_EQ(At(image, 0, 1), 0u);
}

// ImageMagick fills pixels a run-length stream skips with palette entry 0 and refuses indexes
// past the colour table; the system leaves skipped pixels black and reads missing entries as
// black, which is what we give.
TEST(BmpDecoder, RunLengthJumpsAndShortPalettesGiveBlack) {
    BmpPicture p;
    p.width = 6;
    p.height = 4;
    p.bitCount = 8;
    p.compression = 1;
    p.palette = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0};
    p.coloursUsed = 2;
    p.rle = {3, 1,              // row 0 (bottom): three of colour 1
             0, 2, 0, 1,        // jump up 1: x 3, row 1
             0, 3, 7, 0, 1, 0,  // literal 7 (past the table), 0, 1, padded
             0, 0,              // end of row 1; row 2 untouched
             0, 0, 2, 0, 0, 1}; // row 3: two of colour 0, then the end
    c32bppDIB image;
    ASSERT_TRUE(Decode(BuildBmp(p), image));
    EXPECT_EQ(image.ImageType(), itBitmap);
    const uint32_t black = 0xFF000000u, c0 = 0xFF302010u, c1 = 0xFF605040u;
    const uint32_t expected[4][6] = {{c0, c0, black, black, black, black}, // top row
                                     {black, black, black, black, black, black},
                                     {black, black, black, black, c0, c1},
                                     {c1, c1, c1, black, black, black}};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(At(image, x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpDecoder, WhatItDoesNotReadGoesToThePlatformLoader) {
    static int calls;
    calls = 0;
    PictureLoader loader = [](std::span<const uint8_t>, c32bppDIB& host) {
        ++calls;
        return host.InitializeDIB(3, 3);
    };
    std::mt19937 rng(5);
    std::vector<uint8_t> file = BuildBmp(RandomBmp(8, 8, 24, rng));
    c32bppDIB image;

    EXPECT_TRUE(cBMPparser(loader).LoadStream(file, image));
    EXPECT_EQ(calls, 0); // ours read it
    EXPECT_EQ(image.Width(), 8);

    std::vector<uint8_t> truncated(file.begin(), file.end() - 1); // the last row is short
    image.DestroyDIB(); // the load dispatcher always starts with an empty host
    EXPECT_TRUE(cBMPparser(loader).LoadStream(truncated, image));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_FALSE(cBMPparser().LoadStream(truncated, image));

    std::vector<uint8_t> jpegLike(100, 0xFF);
    image.DestroyDIB();
    EXPECT_FALSE(cBMPparser().LoadStream(jpegLike, image));
    EXPECT_TRUE(cBMPparser(loader).LoadStream(jpegLike, image));
    EXPECT_EQ(calls, 2);
    // A host that already holds an image is not offered to the loader again.
    EXPECT_FALSE(cBMPparser(loader).LoadStream(jpegLike, image));
    EXPECT_EQ(calls, 2);

    image.DestroyDIB();
    std::vector<uint8_t> noWidth = file;
    SetLE32(noWidth, 18, 0);
    EXPECT_FALSE(cBMPparser(loader).LoadStream(noWidth, image)); // refused outright
    std::vector<uint8_t> noHeight = file;
    SetLE32(noHeight, 22, 0);
    EXPECT_FALSE(cBMPparser(loader).LoadStream(noHeight, image));
    EXPECT_EQ(calls, 2);
}

TEST(BmpDecoder, StreamOffsetAndLengthSelectTheFile) {
    std::mt19937 rng(6);
    std::vector<uint8_t> file = BuildBmp(RandomBmp(5, 5, 8, rng));
    std::vector<uint8_t> padded(7, 0xEE);
    padded.insert(padded.end(), file.begin(), file.end());
    padded.insert(padded.end(), 9, 0xEE);
    c32bppDIB whole, part;
    ASSERT_TRUE(Decode(file, whole));
    ASSERT_TRUE(cBMPparser().LoadStream(padded, part, 7, file.size()));
    EXPECT_EQ(PixelsOf(part), PixelsOf(whole));
    EXPECT_FALSE(cBMPparser().LoadStream(padded, part, 7, file.size() - 1));
    EXPECT_FALSE(cBMPparser().LoadStream(padded, part, padded.size() + 1, 0));
}

TEST(BmpDecoder, AbsurdSizesAreRefusedWithoutAllocating) {
    std::mt19937 rng(7);
    BmpPicture p = RandomBmp(4, 4, 8, rng);
    std::vector<uint8_t> file = BuildBmp(p);
    c32bppDIB image;
    for (auto [width, height] : {std::pair<uint32_t, uint32_t>{0x7FFFFFFF, 4},
                                 {4, 0x7FFFFFFF},
                                 {0x40000000, 0x40000000},
                                 {4, 0x80000000},
                                 {0xFFFFFFFF, 4}}) {
        std::vector<uint8_t> bad = file;
        SetLE32(bad, 18, width);
        SetLE32(bad, 22, height);
        EXPECT_FALSE(Decode(bad, image)) << width << "x" << height;
        EXPECT_EQ(image.Handle(), nullptr);
    }
    // A run-length picture may claim any size in a few bytes; past the limit it is refused.
    p.compression = 1;
    p.rle = {0, 1};
    p.width = 1 << 12;
    p.height = 1 << 12;
    EXPECT_TRUE(Decode(BuildBmp(p), image));
    p.height = (1 << 12) + 1;
    EXPECT_FALSE(Decode(BuildBmp(p), image));
    std::vector<uint8_t> hugePalette = file;
    SetLE32(hugePalette, 46, 0xFFFFFFFF); // more colours than 8 bits index: the table is capped
    EXPECT_TRUE(Decode(hugePalette, image));
    SetLE32(hugePalette, 14, 0xFFFFFF00); // a header larger than the file
    EXPECT_FALSE(Decode(hugePalette, image));
}

} // namespace
} // namespace velt::test
