#include "LibpngOracle.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

PngPicture SmallRgba(bool interlaced = false) {
    std::mt19937 rng(42);
    return RandomPicture({6, 8}, interlaced, false, 11, 9, rng);
}

// A file from explicit chunks, for damage the builder's defaults do not make.
struct ChunkList {
    std::vector<uint8_t> bytes = Signature();
    ChunkList& Add(const char* type, const std::vector<uint8_t>& body, uint32_t crcDelta = 0) {
        AppendChunk(bytes, type, body, crcDelta);
        return *this;
    }
};

TEST(PngBadInput, NotAPngIsRefusedWithoutTouchingTheHost) {
    c32bppDIB image;
    ASSERT_TRUE(image.InitializeDIB(3, 3));
    std::vector<uint8_t> bytes = BuildPng(*std::make_unique<PngPicture>(SmallRgba()));
    bytes[1] = 'X';
    EXPECT_FALSE(DecodeOurs(bytes, image, true));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_FALSE(DecodeOurs(std::span(bytes).first(5), image, true));
    EXPECT_EQ(image.Width(), 3);
}

TEST(PngBadInput, EveryTruncationIsRecognisedButMakesNoImage) {
    for (bool interlaced : {false, true}) {
        PngPicture picture = SmallRgba(interlaced);
        std::vector<uint8_t> file = BuildPng(picture, 64);
        for (bool withZlib : {true, false}) {
            for (size_t length = 0; length < file.size(); ++length) {
                SCOPED_TRACE(testing::Message() << "length " << length << " zlib " << withZlib);
                c32bppDIB image;
                EXPECT_EQ(DecodeOurs(std::span(file).first(length), image, withZlib), length >= 8);
                EXPECT_EQ(image.Handle(), nullptr);
            }
            c32bppDIB whole;
            EXPECT_TRUE(DecodeOurs(file, whole, withZlib));
            EXPECT_NE(whole.Handle(), nullptr);
        }
    }
}

TEST(PngBadInput, WrongIdatCrcFailsWithZlibAndLoadsWithout) {
    PngPicture picture = SmallRgba();
    std::vector<uint8_t> data = Compress(Scanlines(picture));
    ChunkList file;
    file.Add("IHDR", HeaderBody(11, 9, 8, 6, false)).Add("IDAT", data, 1).Add("IEND", {});
    c32bppDIB withZlib, without;
    EXPECT_TRUE(DecodeOurs(file.bytes, withZlib, true));
    EXPECT_EQ(withZlib.Handle(), nullptr);
    EXPECT_TRUE(DecodeOurs(file.bytes, without, false));
    EXPECT_EQ(without.Width(), 11);
}

TEST(PngBadInput, StoredCrcOfZeroIsNotChecked) {
    PngPicture picture = SmallRgba();
    std::vector<uint8_t> file = BuildPng(picture);
    // IHDR's CRC sits at bytes 29..32.
    std::fill(file.begin() + 29, file.begin() + 33, 0);
    c32bppDIB image;
    EXPECT_TRUE(DecodeOurs(file, image, true));
    EXPECT_EQ(image.Width(), 11);
}

TEST(PngBadInput, DamagedTransparencyIsIgnored) {
    PngPicture p{2, 1, 8, 2, false, {10, 20, 30, 40, 50, 60}};
    ChunkList file;
    file.Add("IHDR", HeaderBody(2, 1, 8, 2, false))
        .Add("tRNS", {0, 10, 0, 20, 0, 30}, 7)
        .Add("IDAT", Compress(Scanlines(p)))
        .Add("IEND", {});
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file.bytes, image, true));
    uint8_t alpha = 0;
    EXPECT_EQ(image.GetPixel(0, 0, alpha, true), 10 | 20 << 8 | 30 << 16);
    EXPECT_EQ(alpha, 255);
    EXPECT_FALSE(image.Alpha());
}

TEST(PngBadInput, BrokenHeadersPalettesAndChunkLengthsMakeNoImage) {
    PngPicture picture = SmallRgba();
    std::vector<uint8_t> data = Compress(Scanlines(picture));
    auto header = [](uint32_t w, uint32_t h, uint8_t depth, uint8_t type) {
        return HeaderBody(w, h, depth, type, false);
    };
    std::vector<std::pair<const char*, ChunkList>> cases;
    cases.push_back(
        {"zero width",
         ChunkList().Add("IHDR", header(0, 9, 8, 6)).Add("IDAT", data).Add("IEND", {})});
    cases.push_back(
        {"negative height",
         ChunkList().Add("IHDR", header(11, 0x80000000u, 8, 6)).Add("IDAT", data).Add("IEND", {})});
    cases.push_back(
        {"depth 3",
         ChunkList().Add("IHDR", header(11, 9, 3, 6)).Add("IDAT", data).Add("IEND", {})});
    cases.push_back(
        {"colour type 5",
         ChunkList().Add("IHDR", header(11, 9, 8, 5)).Add("IDAT", data).Add("IEND", {})});
    cases.push_back(
        {"RGB at depth 4",
         ChunkList().Add("IHDR", header(11, 9, 4, 2)).Add("IDAT", data).Add("IEND", {})});
    cases.push_back(
        {"too large",
         ChunkList().Add("IHDR", header(65536, 1024, 8, 6)).Add("IDAT", data).Add("IEND", {})});
    cases.push_back({"size past 64 bits", ChunkList()
                                              .Add("IHDR", header(0x7FFFFFFF, 0x7FFFFFFF, 8, 6))
                                              .Add("IDAT", data)
                                              .Add("IEND", {})});
    cases.push_back(
        {"short IHDR", ChunkList().Add("IHDR", {0, 0, 0, 11}).Add("IDAT", data).Add("IEND", {})});
    cases.push_back({"no IHDR", ChunkList().Add("IDAT", data).Add("IEND", {})});
    cases.push_back({"no IDAT", ChunkList().Add("IHDR", header(11, 9, 8, 6)).Add("IEND", {})});
    cases.push_back({"empty IDAT",
                     ChunkList().Add("IHDR", header(11, 9, 8, 6)).Add("IDAT", {}).Add("IEND", {})});
    cases.push_back(
        {"IEND first",
         ChunkList().Add("IHDR", header(11, 9, 8, 6)).Add("IEND", {}).Add("IDAT", data)});
    cases.push_back({"PLTE of 4 bytes", ChunkList()
                                            .Add("IHDR", header(11, 9, 8, 3))
                                            .Add("PLTE", {1, 2, 3, 4})
                                            .Add("IDAT", data)
                                            .Add("IEND", {})});
    cases.push_back({"not zlib data", ChunkList()
                                          .Add("IHDR", header(11, 9, 8, 6))
                                          .Add("IDAT", {0, 0, 0xFF, 0xFF})
                                          .Add("IEND", {})});
    ChunkList longChunk =
        ChunkList().Add("IHDR", header(11, 9, 8, 6)).Add("IDAT", data).Add("IEND", {});
    longChunk.bytes[33 + 3] += 200; // IDAT's length now runs past the end of the data
    cases.push_back({"chunk past the end", longChunk});
    for (auto& [name, file] : cases) {
        for (bool withZlib : {true, false}) {
            SCOPED_TRACE(testing::Message() << name << (withZlib ? " zlib" : " built-in"));
            c32bppDIB image;
            EXPECT_TRUE(DecodeOurs(file.bytes, image, withZlib));
            EXPECT_EQ(image.Handle(), nullptr);
        }
    }
}

TEST(PngBadInput, HeaderAndPaletteCrcsCountOnlyWithZlib) {
    PngPicture picture = SmallRgba();
    std::vector<uint8_t> data = Compress(Scanlines(picture));
    ChunkList badHeader, badPalette;
    badHeader.Add("IHDR", HeaderBody(11, 9, 8, 6, false), 1).Add("IDAT", data).Add("IEND", {});
    PngPicture indexed{11, 9, 8, 3, false, std::vector<uint16_t>(99, 0)};
    badPalette.Add("IHDR", HeaderBody(11, 9, 8, 3, false))
        .Add("PLTE", {1, 2, 3}, 1)
        .Add("IDAT", Compress(Scanlines(indexed)))
        .Add("IEND", {});
    for (ChunkList* file : {&badHeader, &badPalette}) {
        c32bppDIB withZlib, without;
        EXPECT_TRUE(DecodeOurs(file->bytes, withZlib, true));
        EXPECT_EQ(withZlib.Handle(), nullptr);
        EXPECT_TRUE(DecodeOurs(file->bytes, without, false));
        EXPECT_EQ(without.Width(), 11);
    }
}

TEST(PngBadInput, OtherChunksAreSkippedAndAnIgnoredPaletteIsHarmless) {
    PngPicture p{2, 2, 8, 0, false, {0, 50, 100, 200}};
    ChunkList file;
    file.Add("IHDR", HeaderBody(2, 2, 8, 0, false))
        .Add("PLTE", {1, 2, 3, 4}) // ignored for grey, even with a bad length
        .Add("zzZZ", {1, 2, 3})
        .Add("ABCD", {9})
        .Add("IDAT", {})
        .Add("IDAT", Compress(Scanlines(p)))
        .Add("IEND", {});
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file.bytes, image, true));
    uint8_t alpha = 0;
    EXPECT_EQ(image.GetPixel(1, 1, alpha, true), 200 | 200 << 8 | 200 << 16);
}

TEST(PngBadInput, OutputIsCappedAtTheExpectedSize) {
    // 16 x 16 grey needs 16 x 17 bytes; the data inflates to a megabyte.
    std::vector<uint8_t> bomb = Compress(std::vector<uint8_t>(1 << 20, 0));
    ChunkList file;
    file.Add("IHDR", HeaderBody(16, 16, 8, 0, false)).Add("IDAT", bomb).Add("IEND", {});
    for (bool withZlib : {true, false}) {
        c32bppDIB image;
        EXPECT_TRUE(DecodeOurs(file.bytes, image, withZlib));
        EXPECT_EQ(image.Handle(), nullptr);
    }
}

TEST(PngBadInput, HugeImageWithLittleDataIsRefusedBeforeAllocating) {
    // 8000 x 8000 16-bit RGBA would need half a gigabyte of scanlines; a few bytes cannot
    // inflate to that, so nothing is allocated for it.
    ChunkList file;
    file.Add("IHDR", HeaderBody(8000, 8000, 16, 6, false))
        .Add("IDAT", Compress(std::vector<uint8_t>(4096, 0)))
        .Add("IEND", {});
    c32bppDIB image;
    EXPECT_TRUE(DecodeOurs(file.bytes, image, true));
    EXPECT_EQ(image.Handle(), nullptr);
}

TEST(PngBadInput, DataThatEndsEarlyLeavesTheLastRowsTransparent) {
    PngPicture p = SmallRgba();
    std::vector<uint8_t> raw = Scanlines(p);
    raw.resize(raw.size() / 2);
    ChunkList file;
    file.Add("IHDR", HeaderBody(11, 9, 8, 6, false)).Add("IDAT", Compress(raw)).Add("IEND", {});
    c32bppDIB image;
    ASSERT_TRUE(DecodeOurs(file.bytes, image, false));
    uint8_t alpha = 1;
    EXPECT_EQ(image.GetPixel(10, 8, alpha, true), 0);
    EXPECT_EQ(alpha, 0);
}

TEST(PngBadInput, UnknownFilterLeavesARowUnfilteredOrFailsAnInterlacedImage) {
    for (bool interlaced : {false, true}) {
        PngPicture p = SmallRgba(interlaced);
        std::vector<uint8_t> good = BuildPng(p);
        std::vector<uint8_t> raw = Scanlines(p, [](int row) { return row == 3 ? 7 : row % 5; });
        ChunkList file;
        file.Add("IHDR", HeaderBody(11, 9, 8, 6, interlaced))
            .Add("IDAT", Compress(raw))
            .Add("IEND", {});
        c32bppDIB image;
        EXPECT_TRUE(DecodeOurs(file.bytes, image, true));
        if (interlaced) {
            EXPECT_EQ(image.Handle(), nullptr);
        } else {
            // The builder stores that row as it is, so leaving it alone gives the picture back.
            EXPECT_EQ(PixelsOf(image), DecodeWithLibpng(good).pixels);
        }
    }
}

} // namespace
} // namespace velt::test
