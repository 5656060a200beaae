// The bitmap, icon and GIF decoders behind the image object's loads: the seed files against
// ImageMagick, the dispatcher's order and arguments, the icon list, the check in front of the
// system loader, and damaged copies of the seeds.
#include "GifBuilder.h"
#include "IcoBuilder.h"
#include "MagickOracle.h"
#include "PngTestSupport.h"

#include "imaging/BmpParser.h"
#include "imaging/ByteReader.h"
#include "imaging/GifParser.h"
#include "imaging/IcoParser.h"
#include "imaging/IconEntryList.h"
#include "imaging/PictureGuard.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

namespace velt::test {
namespace {

const std::filesystem::path kSeeds = std::filesystem::path(VELT_FUZZ_DIR) / "seeds";

std::vector<uint8_t> Seed(const char* name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(kSeeds / name, bytes)) << name;
    return bytes;
}

// Any picture, even one shorter than the loads accept, through the decoders in the
// dispatcher's order.
bool LoadAny(const std::vector<uint8_t>& bytes, c32bppDIB& image, int32_t cx = 0, int32_t cy = 0,
             int32_t depth = 32) {
    if (bytes.size() >= 57) return image.LoadPicture_Stream(bytes, cx, cy, 0, 0, false, depth);
    image.DestroyDIB();
    if (!cGIFparser().LoadStream(bytes, image) &&
        !cICOparser().LoadStream(bytes, cx, cy, &image, 0, 0, depth))
        cBMPparser().LoadStream(bytes, image);
    return image.Handle() != nullptr;
}

// Where the seeds' rules differ from ImageMagick's (each is covered by a hand-computed test of
// its decoder): ImageMagick refuses indexes past the colour table and fills pixels a run-length
// jump skips with entry 0, where the system gives black; it refuses an icon entry whose header
// has no bit count, where the directory's is used.
bool MagickRulesDiffer(const std::string& name) {
    return name == "bmp8-20-colours.bmp" || name == "bmp-rle8-jumps.bmp" ||
           name == "icon-bits-from-directory.ico";
}

TEST(DecoderSeeds, DecodeLikeImageMagick) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSeeds)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if (extension != ".bmp" && extension != ".gif" && extension != ".ico" &&
            extension != ".cur")
            continue;
        SCOPED_TRACE(name);
        ++count;
        std::vector<uint8_t> file;
        ASSERT_TRUE(ReadWholeFile(entry.path(), file));
        c32bppDIB ours;
        ASSERT_TRUE(LoadAny(file, ours));
        int frame = 0;
        if (extension == ".ico" || extension == ".cur") {
            cICOparser parser;
            ASSERT_TRUE(parser.LoadStream(file, 0, 0, nullptr));
            frame = parser.SelectEntry(0, 0, 32) - 1;
        }
        if (MagickRulesDiffer(name)) continue;
        RgbaImage magick = DecodeWithMagick(file, extension.substr(1), frame);
        ASSERT_FALSE(magick.empty());
        EXPECT_EQ(PixelsOf(ours), AsImagePixels(magick));
    }
    EXPECT_GE(count, 20);
}

TEST(DecoderDispatch, EachFormatReachesItsDecoder) {
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_Stream(Seed("bmp32-alpha.bmp")));
    EXPECT_EQ(image.ImageType(), itBitmapAlpha);
    ASSERT_TRUE(image.LoadPicture_Stream(Seed("bmp-rle4.bmp")));
    EXPECT_EQ(image.ImageType(), itBitmap);
    ASSERT_TRUE(image.LoadPicture_Stream(Seed("gif-transparent-animated.gif")));
    EXPECT_EQ(image.ImageType(), itGIF);
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(image.Width(), 17); // the first frame
    ASSERT_TRUE(image.LoadPicture_Stream(Seed("cursor32.cur")));
    EXPECT_EQ(image.ImageType(), itCursorAlpha);

    // The icon request passes through. By default (32 x 32 at 32 bits) every 16 x 16 entry is
    // too small; of the two closest, the later one, the PNG entry, wins.
    const std::vector<uint8_t> kinds = Seed("icon-every-kind.ico");
    ASSERT_TRUE(image.LoadPicture_Stream(kinds));
    EXPECT_EQ(image.ImageType(), itIconPNG);
    ASSERT_TRUE(image.LoadPicture_Stream(kinds, 16, 16, 0, 0, false, 4));
    EXPECT_EQ(image.ImageType(), itIcon);
    ASSERT_TRUE(image.LoadPicture_Stream(kinds, 16, 16, 0, 0, false, 40)); // past 32: 32
    EXPECT_EQ(image.ImageType(), itIconAlpha);

    // A PNG entry goes through the PNG decoder, here with zlib; it is the only entry.
    ASSERT_TRUE(image.LoadPicture_Stream(Seed("icon-png-only.ico")));
    EXPECT_EQ(image.ImageType(), itIconPNG);
    EXPECT_EQ(image.Width(), 20);

    // A GIF is the GIF decoder's even when its frame cannot be decoded: nobody else tries.
    std::mt19937 rng(1);
    GifFile g;
    g.width = g.height = 20;
    g.globalTable = {0, 0, 0, 255, 255, 255};
    g.frames.push_back(RandomFrame(20, 20, 1, false, rng));
    g.frames[0].minCodeSize = 12;
    EXPECT_FALSE(image.LoadPicture_Stream(BuildGif(g)));
}

TEST(DecoderDispatch, IconsKeepTheirFileForAnotherEntryAndTheSizeList) {
    const std::vector<uint8_t> sizes = Seed("icon-sizes.ico");
    c32bppDIB image;
    ASSERT_TRUE(image.LoadPicture_Stream(sizes, 48, 48, 0, 0, true, 8));
    EXPECT_EQ(image.Width(), 48);
    ASSERT_TRUE(image.LoadPicture_FromOrignalFormat(20, 20, 8));
    EXPECT_EQ(image.Width(), 24);

    std::vector<IconSizeRow> rows;
    ASSERT_EQ(image.SourceIconSizes(rows), 4);
    EXPECT_EQ(rows[0].width, 16);
    EXPECT_EQ(rows[3].height, 48);
    EXPECT_EQ(rows[2].bitDepth, 8);
    EXPECT_EQ(rows[1].colours, 256);

    ASSERT_TRUE(image.LoadPicture_Stream(sizes, 16, 16)); // without its bytes: its own size
    ASSERT_EQ(image.SourceIconSizes(rows), 1);
    EXPECT_EQ(rows[0].width, 16);
    EXPECT_EQ(rows[0].bitDepth, 32);
    EXPECT_EQ(rows[0].colours, -1);

    ASSERT_TRUE(image.LoadPicture_Stream(Seed("bmp24.bmp"), 0, 0, 0, 0, true));
    EXPECT_EQ(image.SourceIconSizes(rows), 0);
    EXPECT_TRUE(rows.empty());
    ASSERT_TRUE(image.LoadPicture_Stream(Seed("rgba8-many-idat.png"), 0, 0, 0, 0, true));
    EXPECT_EQ(image.SourceIconSizes(rows), 0);
}

TEST(IconList, LinesAndOrderAsThePageShowsThem) {
    EXPECT_EQ(IconEntryText({32, 32, 8, IconColourColumn(8)}), "032x032 {8 bit, 256 colors}");
    EXPECT_EQ(IconEntryText({16, 16, 1, IconColourColumn(1)}), "016x016 {1 bit, 2 colors}");
    EXPECT_EQ(IconEntryText({48, 48, 16, IconColourColumn(16)}), "048x048 {16 bit, High Color}");
    EXPECT_EQ(IconEntryText({24, 24, 24, IconColourColumn(24)}), "024x024 {24 bit, True Color}");
    EXPECT_EQ(IconEntryText({256, 256, 32, IconColourColumn(32)}),
              "256x256 {32 bit, True Color Alpha}");
    EXPECT_EQ(IconColourColumn(4), 16);
    EXPECT_EQ(IconColourColumn(24), -16777216);
    EXPECT_EQ(IconColourColumn(12), 16776960);

    // Key width × height + depth; equal keys keep the directory's order.
    const IconSizeRow rows[] = {{32, 32, 32, -1}, {16, 16, 4, 16}, {32, 32, 4, 16},
                                {16, 16, 32, -1}, {20, 18, 4, 16}, {18, 20, 4, 16}};
    std::vector<std::string> lines;
    for (const IconSizeRow& r : IconListOrder(rows)) lines.push_back(IconEntryText(r));
    const std::vector<std::string> expected = {
        "016x016 {4 bit, 16 colors}", "016x016 {32 bit, True Color Alpha}",
        "020x018 {4 bit, 16 colors}", "018x020 {4 bit, 16 colors}",
        "032x032 {4 bit, 16 colors}", "032x032 {32 bit, True Color Alpha}"};
    EXPECT_EQ(lines, expected);
}

TEST(PictureGuard, OnlyCompleteBitmapsAndIconsReachTheSystemLoader) {
    const std::vector<uint8_t> bmp = Seed("bmp24.bmp");
    EXPECT_TRUE(PlatformLoaderMayRead(bmp));
    EXPECT_FALSE(PlatformLoaderMayRead({bmp.begin(), bmp.end() - 1}));
    std::vector<uint8_t> rle = Seed("bmp-rle8.bmp");
    EXPECT_FALSE(PlatformLoaderMayRead(rle)); // ours reads these; the check does not trust them

    const std::vector<uint8_t> icon = Seed("icon-sizes.ico");
    EXPECT_TRUE(PlatformLoaderMayRead(icon));
    std::vector<uint8_t> pastEnd = icon;
    SetLE32(pastEnd, 6 + 8, 100000); // an entry longer than the file
    EXPECT_FALSE(PlatformLoaderMayRead(pastEnd));
    std::vector<uint8_t> lastPastEnd = icon;
    SetLE32(lastPastEnd, 6 + 3 * 16 + 8, ByteReader::ReadU32LE(icon.data() + 6 + 3 * 16 + 8) + 1);
    EXPECT_FALSE(PlatformLoaderMayRead(lastPastEnd));

    EXPECT_FALSE(PlatformLoaderMayRead(Seed("gif-global.gif")));
    EXPECT_FALSE(PlatformLoaderMayRead(Seed("rgb8.png")));
    EXPECT_FALSE(PlatformLoaderMayRead({}));
    const std::vector<uint8_t> jpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'};
    EXPECT_TRUE(PlatformLoaderMayRead(jpegStart)); // the system loader's own format
}

// Every prefix, and every byte inverted, of a few seeds: no read out of bounds (the sanitizers
// watch), and any image made is premultiplied and of a sane size.
void CheckImage(const c32bppDIB& image) {
    if (!image.Handle()) return;
    ASSERT_GT(image.Width(), 0);
    const std::vector<uint8_t> pixels = PixelsOf(image);
    for (size_t i = 0; i < pixels.size(); i += 4)
        ASSERT_TRUE(pixels[i] <= pixels[i + 3] && pixels[i + 1] <= pixels[i + 3] &&
                    pixels[i + 2] <= pixels[i + 3])
            << i;
}

TEST(DecoderBadInput, EveryTruncationAndFlippedByteIsSafe) {
    for (const char* name :
         {"bmp8.bmp", "bmp-rle4.bmp", "bmp16-565-fields.bmp", "icon-every-kind.ico",
          "gif-local-interlaced.gif", "gif-transparent-animated.gif"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = Seed(name);
        c32bppDIB image;
        for (size_t n = 0; n < file.size(); ++n) {
            LoadAny({file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)}, image, 16, 16);
            CheckImage(image);
        }
        std::vector<uint8_t> flipped = file;
        for (size_t i = 0; i < file.size(); ++i) {
            flipped[i] ^= 0xFF;
            LoadAny(flipped, image, 16, 16);
            CheckImage(image);
            flipped[i] = file[i];
        }
    }
}

} // namespace
} // namespace velt::test
