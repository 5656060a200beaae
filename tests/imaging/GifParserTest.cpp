// The GIF decoder and its LZW: files of our own encoder against ImageMagick, the block walk,
// transparency, and damaged data.
#include "GifBuilder.h"
#include "MagickOracle.h"
#include "PngTestSupport.h"

#include "imaging/GifParser.h"
#include "imaging/Lzw.h"
#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

std::vector<uint8_t> Decoded(const std::vector<uint8_t>& data, int minCodeSize, size_t size,
                             LzwResult& result) {
    std::vector<uint8_t> out(size, 0xEE);
    result = LzwDecode(data, minCodeSize, out);
    return out;
}

TEST(Lzw, RoundTripsEveryCodeSizeWithAndWithoutClearCodes) {
    std::mt19937 rng(31);
    for (int minCodeSize = 1; minCodeSize <= 8; ++minCodeSize) {
        const uint32_t symbols = 1u << minCodeSize;
        // Random symbols fill the 4096-entry table many times over; runs make long strings and
        // the code-just-defined case.
        std::vector<uint8_t> input;
        for (int i = 0; i < 30000; ++i)
            input.push_back(
                static_cast<uint8_t>(i % 1000 < 400 ? (i / 97) % symbols : rng() % symbols));
        for (bool clears : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "code size " << minCodeSize
                                              << (clears ? ", clears" : ", full table kept"));
            LzwResult result;
            EXPECT_EQ(Decoded(LzwEncode(input, minCodeSize, {clears, true}), minCodeSize,
                              input.size(), result),
                      input);
            EXPECT_EQ(result.end, LzwEnd::Complete);
            EXPECT_EQ(result.produced, input.size());
        }
    }
}

TEST(Lzw, StopsCleanlyOnDamage) {
    const std::vector<uint8_t> input(100, 3); // one long run: every code refers to the previous
    const std::vector<uint8_t> data = LzwEncode(input, 2);
    LzwResult result;

    std::vector<uint8_t> out = Decoded(data, 2, 150, result); // asks for more than is there
    EXPECT_EQ(result.end, LzwEnd::EndCode);
    EXPECT_EQ(result.produced, 100u);
    EXPECT_EQ(out[100], 0xEE);

    out = Decoded(data, 2, 30, result); // a string longer than the room left is cut
    EXPECT_EQ(result.end, LzwEnd::Complete);
    EXPECT_EQ(out, std::vector<uint8_t>(30, 3));

    const std::vector<uint8_t> cut(data.begin(), data.begin() + 3);
    Decoded(cut, 2, 100, result);
    EXPECT_EQ(result.end, LzwEnd::OutOfData);
    EXPECT_LT(result.produced, 100u);

    // Clear (4), then a code that is not in the table yet (7 > next 6 after one literal).
    LzwBitWriter bad;
    bad.Put(4, 3);
    bad.Put(1, 3);
    bad.Put(7, 3);
    bad.Put(1, 3);
    out = Decoded(bad.Finish(), 2, 10, result);
    EXPECT_EQ(result.end, LzwEnd::BadCode);
    EXPECT_EQ(result.produced, 1u);
    EXPECT_EQ(out[0], 1);

    LzwBitWriter notLiteral; // the first code after a clear must be a literal
    notLiteral.Put(4, 3);
    notLiteral.Put(6, 3);
    Decoded(notLiteral.Finish(), 2, 10, result);
    EXPECT_EQ(result.end, LzwEnd::BadCode);
    EXPECT_EQ(result.produced, 0u);

    EXPECT_EQ(LzwDecode(data, 0, out).end, LzwEnd::BadCode);
    EXPECT_EQ(LzwDecode(data, 9, out).end, LzwEnd::BadCode);
}

TEST(Lzw, FullTableWithoutClearKeepsTwelveBitCodes) {
    // Clear, then every pair of 8-bit literals is new: the table fills after 3838 codes and
    // stays full; codes after that still reach every entry, the last one included.
    std::mt19937 rng(32);
    std::vector<uint8_t> input;
    for (int i = 0; i < 20000; ++i) input.push_back(static_cast<uint8_t>(rng()));
    const std::vector<uint8_t> kept = LzwEncode(input, 8, {false, true});
    const std::vector<uint8_t> cleared = LzwEncode(input, 8, {true, true});
    EXPECT_NE(kept, cleared);
    LzwResult result;
    EXPECT_EQ(Decoded(kept, 8, input.size(), result), input);
    EXPECT_EQ(Decoded(cleared, 8, input.size(), result), input);
}

// Premultiplied pixel (x, y from the top) as 0xAARRGGBB.
uint32_t At(const c32bppDIB& image, int32_t x, int32_t y) {
    const uint8_t* p = image.Pixels().Pixel(x, y);
    return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

bool Decode(const std::vector<uint8_t>& file, c32bppDIB& image) {
    return cGIFparser().LoadStream(file, image);
}

TEST(GifDecoder, FramesDecodeLikeImageMagick) {
    std::mt19937 rng(33);
    struct Case {
        const char* name;
        GifFile gif;
    };
    std::vector<Case> cases;
    for (int bits : {1, 2, 3, 5, 8}) {
        GifFile g;
        g.width = 37, g.height = 23;
        g.globalTable = RandomPalette(1u << bits, rng, 3);
        g.frames.push_back(RandomFrame(37, 23, bits, false, rng));
        cases.push_back({"global table", g});
    }
    GifFile local;
    local.width = 40, local.height = 40;
    local.globalTable = RandomPalette(4, rng, 3);
    local.frames.push_back(RandomFrame(40, 40, 6, true, rng));
    cases.push_back({"local table", local});
    GifFile interlaced = local;
    interlaced.frames[0] = RandomFrame(29, 19, 4, true, rng);
    interlaced.frames[0].interlaced = true;
    cases.push_back({"interlaced", interlaced});
    GifFile transparent = local;
    transparent.frames[0].control = true;
    transparent.frames[0].transparent = true;
    transparent.frames[0].transparentIndex = transparent.frames[0].indexes[5];
    cases.push_back({"transparent index", transparent});
    GifFile big;
    big.width = 300, big.height = 200;
    big.globalTable = RandomPalette(256, rng, 3);
    big.frames.push_back(RandomFrame(300, 200, 8, false, rng));
    big.frames[0].lzw.clearWhenFull = false;
    cases.push_back({"full table kept", big});
    big.frames[0].lzw.clearWhenFull = true;
    big.signature = "GIF87a";
    cases.push_back({"clear when full, 87a", big});
    GifFile noEnd = local;
    noEnd.frames[0].lzw.endCode = false;
    cases.push_back({"no end code", noEnd});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file = BuildGif(c.gif);
        c32bppDIB ours;
        ASSERT_TRUE(Decode(file, ours));
        ASSERT_NE(ours.Handle(), nullptr);
        EXPECT_EQ(ours.ImageType(), itGIF);
        EXPECT_EQ(ours.Alpha(), c.gif.frames[0].transparent);
        EXPECT_EQ(ours.Width(), c.gif.frames[0].width);
        RgbaImage magick = DecodeWithMagick(file, "gif");
        ASSERT_FALSE(magick.empty());
        EXPECT_EQ(PixelsOf(ours), AsImagePixels(magick));
    }
}

GifFile TwoColours(std::vector<uint8_t> indexes, uint16_t width, uint16_t height) {
    GifFile g;
    g.width = width, g.height = height;
    g.globalTable = {255, 0, 0, 0, 0, 255}; // red, blue
    GifFrame f;
    f.width = width, f.height = height;
    f.minCodeSize = 2;
    f.indexes = std::move(indexes);
    g.frames.push_back(f);
    return g;
}

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

TEST(GifDecoder, FirstFrameOnlySizedToIt) {
    GifFile g = TwoColours({0, 1, 1, 0, 1, 0}, 3, 2);
    g.width = 50, g.height = 40;
    g.frames[0].left = 10, g.frames[0].top = 20;
    GifFrame second = g.frames[0];
    second.width = 8; // a later frame is never read, however broken
    second.rawData = {0xFF, 0xFF};
    second.control = true;
    second.transparent = true;
    g.frames.push_back(second);
    c32bppDIB image;
    ASSERT_TRUE(Decode(BuildGif(g), image));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(At(image, 0, 0), kRed);
    EXPECT_EQ(At(image, 1, 0), kBlue);
    EXPECT_EQ(At(image, 2, 1), kRed);
}

TEST(GifDecoder, TheLastControlExtensionBeforeTheImageCounts) {
    GifFile g = TwoColours({0, 1, 1, 0}, 2, 2);
    const std::vector<uint8_t> clearFlag = {0x21, 0xF9, 4, 0, 0, 0, 1, 0};
    const std::vector<uint8_t> setFlag = {0x21, 0xF9, 4, 1, 0, 0, 1, 0};
    const std::vector<uint8_t> comment = {0x21, 0xFE, 3, 'a', 'b', 'c', 0};
    const std::vector<uint8_t> application = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                              'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    c32bppDIB image;

    g.beforeFrames = setFlag;
    g.beforeFrames.insert(g.beforeFrames.end(), clearFlag.begin(), clearFlag.end());
    ASSERT_TRUE(Decode(BuildGif(g), image));
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(At(image, 1, 0), kBlue);

    g.beforeFrames = clearFlag;
    for (const auto* block : {&application, &comment, &setFlag})
        g.beforeFrames.insert(g.beforeFrames.end(), block->begin(), block->end());
    g.beforeFrames.push_back(0); // a stray zero byte is skipped
    ASSERT_TRUE(Decode(BuildGif(g), image));
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(At(image, 1, 0), 0u); // index 1 is transparent
    EXPECT_EQ(At(image, 0, 0), kRed);

    // The flag set but the index unused: still alpha.
    g.beforeFrames = {0x21, 0xF9, 4, 1, 0, 0, 3, 0};
    ASSERT_TRUE(Decode(BuildGif(g), image));
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(At(image, 1, 0), kBlue);
}

TEST(GifDecoder, HeadersInAnyCase) {
    GifFile g = TwoColours({0, 1, 1, 0}, 2, 2);
    c32bppDIB image;
    for (const char* signature : {"GIF89a", "gif87a", "gIf89A", "GIF87A"}) {
        g.signature = signature;
        EXPECT_TRUE(Decode(BuildGif(g), image)) << signature;
    }
    for (const char* signature : {"GIF88a", "GIF89b", "JIF89a"}) {
        g.signature = signature;
        EXPECT_FALSE(Decode(BuildGif(g), image)) << signature;
    }
}

// ImageMagick gives up on a frame whose data stops or goes wrong; we keep what was decoded and
// leave the rest of the frame transparent, as its background. Missing colour table entries (and
// a frame with no table at all) read as black.
TEST(GifDecoder, DamagedDataKeepsWhatWasDecoded) {
    GifFile g = TwoColours({0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0}, 4, 3);
    LzwBitWriter bad;
    for (auto [code, width] :
         std::initializer_list<std::pair<uint32_t, int>>{{4, 3}, {1, 3}, {0, 3}, {3, 3}, {15, 4}})
        bad.Put(code,
                width); // clear, blue, red, index 3 (past the table), then a code from nowhere
    g.frames[0].rawData = bad.Finish();
    c32bppDIB image;
    ASSERT_TRUE(Decode(BuildGif(g), image));
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(At(image, 0, 0), kBlue);
    EXPECT_EQ(At(image, 1, 0), kRed);
    EXPECT_EQ(At(image, 2, 0), 0xFF000000u);
    EXPECT_EQ(At(image, 3, 0), 0u);
    EXPECT_EQ(At(image, 0, 2), 0u);

    g.globalTable.clear();
    g.frames[0].rawData.clear();
    ASSERT_TRUE(Decode(BuildGif(g), image));
    EXPECT_FALSE(image.Alpha());
    EXPECT_EQ(At(image, 1, 0), 0xFF000000u);
}

TEST(GifDecoder, WhatIsNotAFrameIsRefused) {
    GifFile g = TwoColours({0, 1, 1, 0}, 2, 2);
    const std::vector<uint8_t> file = BuildGif(g);
    c32bppDIB image;
    // The header, or the header and the table, with nothing after.
    EXPECT_FALSE(Decode({file.begin(), file.begin() + 13}, image));
    EXPECT_FALSE(Decode({file.begin(), file.begin() + 19}, image));
    std::vector<uint8_t> trailerOnly(file.begin(), file.begin() + 19);
    trailerOnly.push_back(0x3B);
    EXPECT_FALSE(Decode(trailerOnly, image));
    GifFile empty = g;
    empty.frames[0].width = 0;
    EXPECT_FALSE(Decode(BuildGif(empty), image));
    EXPECT_EQ(image.Handle(), nullptr);

    // A frame we recognise but cannot decode: ours, with no image.
    ASSERT_TRUE(Decode(file, image));
    GifFile huge = g;
    huge.frames[0].width = 65535, huge.frames[0].height = 65535;
    EXPECT_TRUE(Decode(BuildGif(huge), image));
    EXPECT_EQ(image.Handle(), nullptr);
    for (int codeSize : {0, 9, 12, 255}) {
        ASSERT_TRUE(Decode(file, image));
        GifFile odd = g;
        odd.frames[0].minCodeSize = codeSize;
        odd.frames[0].rawData = {0, 0};
        EXPECT_TRUE(Decode(BuildGif(odd), image)) << codeSize;
        EXPECT_EQ(image.Handle(), nullptr) << codeSize;
    }
}

TEST(GifDecoder, EveryTruncationIsSafe) {
    std::mt19937 rng(34);
    GifFile g;
    g.width = 30, g.height = 20;
    g.globalTable = RandomPalette(16, rng, 3);
    g.frames.push_back(RandomFrame(30, 20, 4, true, rng));
    g.frames[0].control = true;
    g.frames[0].transparent = true;
    const std::vector<uint8_t> file = BuildGif(g);
    size_t firstImage = 0;
    for (size_t n = 0; n <= file.size(); ++n) {
        c32bppDIB image;
        const bool recognised = Decode(
            {file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)}, image);
        if (recognised && image.Handle() && !firstImage) firstImage = n;
        if (image.Handle()) EXPECT_EQ(image.Width(), 30);
    }
    // The frame shows from its code size byte on, partly decoded.
    EXPECT_EQ(firstImage, 13 + 48 + 8 + 10 + 48 + 1);
}

} // namespace
} // namespace velt::test
