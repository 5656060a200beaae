// The icon and cursor decoder: each kind of entry against ImageMagick, the choice of entry,
// the properties, and damaged directories.
#include "IcoBuilder.h"
#include "MagickOracle.h"
#include "PngTestSupport.h"

#include "imaging/IcoParser.h"
#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

BmpPicture Colours(int32_t side, uint16_t bits, std::mt19937& rng) {
    BmpPicture p = RandomBmp(side, side, bits, rng);
    if (bits == 32) // straight alpha, some of it 0 and some 255
        for (uint32_t& s : p.samples)
            s = (s & 0xFFFFFF) | (rng() % 4 == 0 ? 0u : rng() % 4 == 0 ? 255u : rng() % 256) << 24;
    return p;
}

std::vector<uint8_t> PngEntryData(uint32_t side, std::mt19937& rng) {
    PngPicture picture = RandomPicture({6, 8}, false, false, side, side, rng);
    return BuildPng(picture);
}

// One entry of each kind: 1, 4, 8, 24 and 32 bits with masks, and a PNG entry.
std::vector<IcoEntry> EveryKind(std::mt19937& rng) {
    std::vector<IcoEntry> entries;
    const std::pair<int32_t, uint16_t> kinds[] = {{16, 1},  {20, 4},  {24, 8},
                                                  {31, 24}, {32, 32}, {48, 32}};
    for (auto [side, bits] : kinds)
        entries.push_back(BitmapEntry(Colours(side, bits, rng), RandomMask(side, side, rng)));
    IcoEntry png;
    png.data = PngEntryData(64, rng);
    png.width = 64, png.height = 64, png.bitCount = 32;
    entries.push_back(png);
    return entries;
}

TEST(IcoDecoder, EveryKindOfEntryDecodesLikeImageMagick) {
    std::mt19937 rng(21);
    const std::vector<IcoEntry> entries = EveryKind(rng);
    const std::vector<uint8_t> file = BuildIco(entries);
    for (int32_t k = 0; k < static_cast<int32_t>(entries.size()); ++k) {
        SCOPED_TRACE(::testing::Message() << "entry " << k);
        const IcoEntry& e = entries[static_cast<size_t>(k)];
        c32bppDIB ours;
        cICOparser parser;
        ASSERT_TRUE(parser.LoadStream(file, e.width, e.height, &ours, 0, 0, e.bitCount));
        ASSERT_EQ(parser.SelectEntry(e.width, e.height, e.bitCount), k + 1); // an exact match
        ASSERT_NE(ours.Handle(), nullptr);
        EXPECT_EQ(ours.Width(), e.width);
        const bool png = k == 6;
        EXPECT_EQ(ours.ImageType(), png ? itIconPNG : e.bitCount == 32 ? itIconAlpha : itIcon);
        EXPECT_TRUE(ours.Alpha());
        RgbaImage magick = DecodeWithMagick(file, "ico", k);
        ASSERT_FALSE(magick.empty());
        EXPECT_EQ(PixelsOf(ours), AsImagePixels(magick));
    }
}

// ImageMagick uses the mask of a 32-bit entry too; ours follows the entry's alpha alone, so a
// 32-bit entry whose alpha bytes are all 0 is fully transparent whatever its mask says.
TEST(IcoDecoder, ThirtyTwoBitEntriesIgnoreTheirMask) {
    BmpPicture p;
    p.width = 2;
    p.height = 2;
    p.bitCount = 32;
    p.samples = {0x00FF0000, 0x00123456, 0x00000000, 0x00FFFFFF};
    c32bppDIB image;
    ASSERT_TRUE(cICOparser().LoadStream(BuildIco({BitmapEntry(p)}), 0, 0, &image));
    EXPECT_EQ(image.ImageType(), itIconAlpha);
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(PixelsOf(image), std::vector<uint8_t>(16, 0));

    p.samples = {0x80FF0000, 0xFF123456, 0x00000000, 0x40FFFFFF};
    ASSERT_TRUE(cICOparser().LoadStream(BuildIco({BitmapEntry(p, {1, 1, 1, 1})}, 2), 0, 0, &image));
    EXPECT_EQ(image.ImageType(), itCursorAlpha);
    const std::vector<uint8_t> expected = {0, 0, 0x80, 0x80, 0x56, 0x34, 0x12, 0xFF, // bottom row
                                           0, 0, 0,    0,    0x40, 0x40, 0x40, 0x40};
    EXPECT_EQ(PixelsOf(image), expected);
}

TEST(IcoDecoder, MaskMakesTransparencyForOtherDepths) {
    std::mt19937 rng(22);
    BmpPicture p = Colours(8, 4, rng);
    c32bppDIB image;
    ASSERT_TRUE(cICOparser().LoadStream(BuildIco({BitmapEntry(p)}), 0, 0, &image));
    EXPECT_EQ(image.ImageType(), itIcon);
    EXPECT_FALSE(image.Alpha()); // no mask bit set
    for (size_t i = 3; i < PixelsOf(image).size(); i += 4) EXPECT_EQ(PixelsOf(image)[i], 255);

    std::vector<uint32_t> mask(64, 0);
    mask[0] = 1;  // bottom-left
    mask[63] = 1; // top-right
    ASSERT_TRUE(cICOparser().LoadStream(BuildIco({BitmapEntry(p, mask)}, 2), 0, 0, &image));
    EXPECT_EQ(image.ImageType(), itCursor);
    EXPECT_TRUE(image.Alpha());
    uint8_t alpha = 0;
    EXPECT_EQ(image.GetPixel(0, 7, alpha, true), 0);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(image.GetPixel(7, 0, alpha, true), 0);
    image.GetPixel(1, 7, alpha, true);
    EXPECT_EQ(alpha, 255);
}

// Entries described by (width, height, bits): a file of bitmap entries of those sizes.
std::vector<uint8_t> Sizes(std::initializer_list<std::tuple<int32_t, int32_t, uint16_t>> sizes) {
    std::mt19937 rng(23);
    std::vector<IcoEntry> entries;
    for (auto [w, h, bits] : sizes) {
        BmpPicture p = RandomBmp(w, h, bits, rng);
        entries.push_back(BitmapEntry(p));
    }
    return BuildIco(entries);
}

int32_t Chosen(const std::vector<uint8_t>& file, int32_t w, int32_t h, int32_t bits) {
    cICOparser parser;
    if (!parser.LoadStream(file, w, h, nullptr)) return -1;
    return parser.SelectEntry(w, h, bits);
}

TEST(IcoDecoder, SelectionPrefersLargerEntriesThenCloserDepths) {
    const auto three = Sizes({{16, 16, 32}, {32, 32, 8}, {48, 48, 32}});
    EXPECT_EQ(Chosen(three, 32, 32, 32), 2); // 24 points of depth beat 32 points of size
    EXPECT_EQ(Chosen(three, 32, 32, 8), 2);  // exact
    EXPECT_EQ(Chosen(three, 40, 40, 32), 3);
    EXPECT_EQ(Chosen(three, 0, 0, 8), 2); // no size asked: 32 x 32

    const auto small = Sizes({{16, 16, 32}, {24, 24, 32}});
    EXPECT_EQ(Chosen(small, 32, 32, 32), 2); // nothing large enough: the closest
    c32bppDIB image;
    ASSERT_TRUE(cICOparser().LoadStream(small, 32, 32, &image, 0, 0, 32));
    EXPECT_EQ(image.Width(), 24);

    // Ties: the earlier entry in the first pass, the later one in the second.
    const auto tie = Sizes({{40, 32, 8}, {32, 40, 8}});
    EXPECT_EQ(Chosen(tie, 32, 32, 8), 1);
    const auto smallTie = Sizes({{24, 16, 8}, {16, 24, 8}});
    EXPECT_EQ(Chosen(smallTie, 32, 32, 8), 2);

    // Too-small widths count double, so a little narrower can still score above 0.
    const auto narrow = Sizes({{31, 32, 1}, {64, 64, 32}});
    EXPECT_EQ(Chosen(narrow, 32, 32, 32), 1); // -2 + 0 + 31 = 29 beats 64
}

TEST(IcoDecoder, EntriesDeeperThan32BitsAreChosenLast) {
    std::mt19937 rng(24);
    IcoEntry deep = BitmapEntry(RandomBmp(32, 32, 24, rng));
    deep.data[14] = 64; // the header's bit count wins over the directory's
    IcoEntry shallow = BitmapEntry(RandomBmp(16, 16, 8, rng));
    const auto file = BuildIco({deep, shallow});
    cICOparser parser;
    ASSERT_TRUE(parser.LoadStream(file, 32, 32, nullptr));
    EXPECT_EQ(parser.bitDepth(1), 64);
    EXPECT_EQ(parser.SelectEntry(32, 32, 32), 2);
    // Alone, it is chosen, and comes out empty: no bitmap has 64 bits a pixel.
    c32bppDIB image;
    EXPECT_TRUE(cICOparser().LoadStream(BuildIco({deep}), 32, 32, &image));
    EXPECT_EQ(image.Handle(), nullptr);
}

TEST(IcoDecoder, PropertiesDescribeEachEntry) {
    std::mt19937 rng(25);
    BmpPicture four = RandomBmp(16, 16, 4, rng);
    IcoEntry big = BitmapEntry(RandomBmp(256, 256, 24, rng));
    IcoEntry png;
    PngPicture palette = RandomPicture({3, 4}, false, true, 200, 100, rng);
    png.data = BuildPng(palette);
    png.width = 7, png.height = 7; // the PNG header's size replaces these; the bit count stays
    png.bitCount = 8;
    IcoEntry pngWithout = png;
    pngWithout.bitCount = 0; // derived from the PNG header: 4-bit palette
    const auto file = BuildIco({BitmapEntry(four), big, png, pngWithout});
    cICOparser parser;
    ASSERT_TRUE(parser.LoadStream(file, 0, 0, nullptr));
    ASSERT_EQ(parser.IconCount(), 4);
    EXPECT_EQ(parser.Width(1), 16);
    EXPECT_EQ(parser.bitDepth(1), 4);
    EXPECT_EQ(parser.ColorCount(1), 16);
    EXPECT_EQ(parser.ColorByteOffset(1), 6 + 4 * 16 + 40 + 16 * 4);
    EXPECT_EQ(parser.Width(2), 256); // directory byte 0
    EXPECT_EQ(parser.Height(2), 256);
    EXPECT_EQ(parser.ColorCount(2), 0);
    EXPECT_FALSE(parser.IsIconPNG(2));
    EXPECT_TRUE(parser.IsIconPNG(3));
    EXPECT_EQ(parser.Width(3), 200);
    EXPECT_EQ(parser.Height(3), 100);
    EXPECT_EQ(parser.bitDepth(3), 8);
    EXPECT_EQ(parser.bitDepth(4), 4);
    EXPECT_EQ(parser.Width(0), 0);
    EXPECT_EQ(parser.Width(5), 0);
    EXPECT_FALSE(parser.IsCursor());
}

TEST(IcoDecoder, TheCallersBytesAreNeverChanged) {
    std::mt19937 rng(26);
    IcoEntry e = BitmapEntry(RandomBmp(16, 16, 8, rng), RandomMask(16, 16, rng));
    c32bppDIB whole;
    ASSERT_TRUE(cICOparser().LoadStream(BuildIco({e}), 16, 16, &whole));
    e.data[14] = 0; // no bit count in the header: the directory's is used
    std::vector<uint8_t> file = BuildIco({e});
    const std::vector<uint8_t> before = file;
    c32bppDIB image;
    ASSERT_TRUE(cICOparser().LoadStream(file, 16, 16, &image));
    EXPECT_EQ(file, before);
    ASSERT_NE(image.Handle(), nullptr);
    EXPECT_EQ(PixelsOf(image), PixelsOf(whole));

    e.bitCount = 0; // and none in the directory either: not an icon file
    EXPECT_FALSE(cICOparser().LoadStream(BuildIco({e}), 16, 16, &image));
}

TEST(IcoDecoder, DamagedDirectoriesAreRefused) {
    std::mt19937 rng(27);
    const std::vector<uint8_t> good = Sizes({{16, 16, 8}, {32, 32, 24}});
    c32bppDIB image;
    auto loads = [&](const std::vector<uint8_t>& file) {
        return cICOparser().LoadStream(file, 32, 32, &image);
    };
    ASSERT_TRUE(loads(good));
    std::vector<uint8_t> bad = good;
    bad[2] = 3; // type 3
    EXPECT_FALSE(loads(bad));
    bad = good;
    bad[0] = 1; // reserved
    EXPECT_FALSE(loads(bad));
    bad = good;
    bad[4] = 0; // no entries
    EXPECT_FALSE(loads(bad));
    bad = good;
    SetLE16(bad, 4, 0xFFFF); // more entries than the file holds
    EXPECT_FALSE(loads(bad));
    bad = good;
    SetLE32(bad, 6 + 8, 0xFFFFFFF0); // bytes in resource past the end
    EXPECT_FALSE(loads(bad));
    bad = good;
    SetLE32(bad, 6 + 12, 0xFFFFFFF0); // image offset past the end
    EXPECT_FALSE(loads(bad));
    bad = good;
    SetLE32(bad, 6 + 16 + 12, static_cast<uint32_t>(good.size() - 10)); // header cut off
    EXPECT_FALSE(loads(bad));
    EXPECT_EQ(image.Width(), 32); // a refusal leaves the host as the last load left it

    // A valid directory whose chosen entry cannot be read: recognised, but no image.
    bad = good;
    SetLE32(bad, 6 + 16 + 12, static_cast<uint32_t>(good.size() - 40)); // no header there
    EXPECT_TRUE(loads(bad));
    EXPECT_EQ(image.Handle(), nullptr);
    bad = good;
    SetLE32(bad, 6 + 16 + 12 - 4, 100); // the 32x32 entry is shorter than its mask
    SetLE32(bad, 6 + 12 - 4, 0);
    EXPECT_TRUE(loads(bad));
    EXPECT_EQ(image.Handle(), nullptr);

    IcoEntry notPng;
    notPng.data = PngEntryData(8, rng);
    notPng.data[1] = 'Q'; // "DR" where the type is, but no signature
    notPng.bitCount = 32;
    EXPECT_FALSE(loads(BuildIco({notPng})));
}

} // namespace
} // namespace velt::test
