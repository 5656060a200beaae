// The PNG writer: which colour type it picks, lossless round trips through libpng and our own
// decoder, row filters, and saves that fail without leaving anything behind.
#include "PngWriterSupport.h"

#include "imaging/PngEncoder.h"
#include "imaging/PngRows.h"
#include "imaging/PngWriter.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace velt::test {
namespace {

std::vector<uint8_t> Save(c32bppDIB& image) {
    std::vector<uint8_t> png;
    EXPECT_TRUE(image.SaveToStream_PNG(png));
    return png;
}

// Decoded by libpng and by our own decoder, the file gives back exactly the image's pixels.
void ExpectRoundTrip(const c32bppDIB& image, const std::vector<uint8_t>& png) {
    OracleImage decoded = DecodeWithLibpng(png);
    EXPECT_EQ(decoded.width, static_cast<uint32_t>(image.Width()));
    EXPECT_EQ(decoded.height, static_cast<uint32_t>(image.Height()));
    EXPECT_TRUE(decoded.pixels == PixelBytes(image)) << "libpng reads other pixels";
    c32bppDIB ours;
    ASSERT_TRUE(ours.LoadPicture_Stream(png));
    EXPECT_TRUE(PixelBytes(ours) == PixelBytes(image)) << "our decoder reads other pixels";
}

std::vector<uint8_t> Bytes(const Chunk* chunk) {
    return chunk ? chunk->data : std::vector<uint8_t>{0xEE};
}

TEST(PngColourType, FourOpaqueColoursMakeAnAscendingPalette) {
    c32bppDIB image;
    Make(image, 4, 2,
         {0xFF102030, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00, 0xFFFF0000, 0xFF0000FF,
          0xFF102030});
    std::vector<uint8_t> png = Save(image);
    std::vector<Chunk> chunks = ChunksOf(png);
    ASSERT_EQ(TypesOf(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[0].data[8], 8);
    EXPECT_EQ(chunks[0].data[9], pngIndexed);
    // Ascending as signed numbers: 0xFF0000FF, 0xFF00FF00, 0xFF102030, 0xFFFF0000.
    EXPECT_EQ(chunks[1].data, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 16, 32, 48, 255, 0, 0}));
    ExpectRoundTrip(image, png);
}

TEST(PngColourType, TwoHundredFiftySixColoursAreIndexedAndOneMoreIsNot) {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 256; ++i) pixels.push_back(0xFF000007 | i << 16 | (255 - i) << 8);
    c32bppDIB image;
    Make(image, 16, 16, pixels);
    std::vector<uint8_t> png = Save(image);
    EXPECT_EQ(ColourTypeOf(png), pngIndexed);
    EXPECT_EQ(Bytes(Find(ChunksOf(png), "PLTE")).size(), 768u);
    ExpectRoundTrip(image, png);

    pixels.push_back(0xFF123456);
    pixels.resize(17 * 16, 0xFF123456);
    for (bool alpha : {false, true}) {
        Make(image, 17, 16, pixels, alpha);
        png = Save(image);
        EXPECT_EQ(ColourTypeOf(png), pngTruecolour);
        // With the Alpha flag a key is kept ready even where no pixel needs it.
        EXPECT_EQ(Find(ChunksOf(png), "tRNS") != nullptr, alpha);
        ExpectRoundTrip(image, png);
    }
}

TEST(PngColourType, GreyWithTheLowestFreeLevelAsKey) {
    struct Case {
        std::vector<uint32_t> pixels;
        bool alpha;
        std::vector<uint8_t> transparency; // empty: no tRNS
        std::vector<uint8_t> samples;
    };
    const Case cases[] = {
        // Black, white and clear: level 1 is free.
        {{0xFF000000, 0xFFFFFFFF, 0x00000000}, true, {0, 1}, {0, 255, 1}},
        // Levels 0, 1, 2 and 5 taken: among the first five levels 3 is the lowest free one.
        {{0xFF000000, 0xFF010101, 0xFF020202, 0xFF050505, 0}, true, {0, 3}, {0, 1, 2, 5, 3}},
        // All opaque and every candidate level taken: no key.
        {{0xFF000000, 0xFF010101, 0xFF020202}, true, {}, {0, 1, 2}},
        // Opaque greys that leave a level free still get a key, though nothing uses it.
        {{0xFF000000, 0xFF070707, 0xFF010101}, true, {0, 2}, {0, 7, 1}},
        // Without the Alpha flag there is nothing to key.
        {{0xFF808080, 0xFF000000}, false, {}, {128, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.samples.size());
        c32bppDIB image;
        const auto width = static_cast<int32_t>(c.pixels.size());
        Make(image, width, 1, c.pixels, c.alpha);
        std::vector<uint8_t> png = Save(image);
        EXPECT_EQ(ColourTypeOf(png), pngGrey);
        const std::vector<Chunk> chunks = ChunksOf(png);
        const Chunk* trns = Find(chunks, "tRNS");
        EXPECT_EQ(trns ? trns->data : std::vector<uint8_t>{}, c.transparency);
        std::vector<uint8_t> rows = InflatedImageData(png, c.samples.size() + 1);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(std::vector<uint8_t>(rows.begin() + 1, rows.end()), c.samples);
        EXPECT_EQ(rows[0], pngFilterNone);
        ExpectRoundTrip(image, png);
    }
}

TEST(PngColourType, TranslucentValuesLeadThePaletteAndOpaqueOnesFollowDescending) {
    // A half-transparent grey makes a palette, not grey, holding its straight colour.
    c32bppDIB image;
    Make(image, 3, 1, {0xFF808080, 0x80404040, 0xFF404040});
    std::vector<uint8_t> png = Save(image);
    std::vector<Chunk> chunks = ChunksOf(png);
    EXPECT_EQ(chunks[0].data[9], pngIndexed);
    EXPECT_EQ(Bytes(Find(chunks, "PLTE")),
              (std::vector<uint8_t>{128, 128, 128, 128, 128, 128, 64, 64, 64}));
    EXPECT_EQ(Bytes(Find(chunks, "tRNS")), (std::vector<uint8_t>{128}));
    ExpectRoundTrip(image, png);

    // In signed order the opaque values (negative) come before clear (0) and before 100/255.
    Make(image, 5, 1, {0xFF0A0B0C, 0x00000000, 0x64322820, 0xFFC8C8C8, 0x64322820});
    png = Save(image);
    chunks = ChunksOf(png);
    EXPECT_EQ(Bytes(Find(chunks, "PLTE")),
              (std::vector<uint8_t>{0, 0, 0, 128, 102, 82, 200, 200, 200, 10, 11, 12}));
    EXPECT_EQ(Bytes(Find(chunks, "tRNS")), (std::vector<uint8_t>{0, 100}));
    std::vector<uint8_t> rows = InflatedImageData(png, 6);
    EXPECT_EQ(rows, (std::vector<uint8_t>{0, 3, 0, 1, 2, 1}));
    ExpectRoundTrip(image, png);
}

// More than 256 colours: x + 256 y in blue and red, and green as given.
std::vector<uint32_t> ManyColours(size_t count, uint32_t (*green)(size_t)) {
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i < count; ++i)
        pixels.push_back(0xFF000000 | static_cast<uint32_t>(i / 256) << 16 | green(i) << 8 |
                         static_cast<uint32_t>(i % 256));
    return pixels;
}

TEST(PngColourType, OnlyOpaqueAndClearPixelsUseAGreyKeyColour) {
    // Blue takes every value, green never 0: the key is grey 0 from the green channel.
    std::vector<uint32_t> pixels = ManyColours(300, [](size_t i) { return uint32_t(1 + i % 200); });
    pixels.push_back(0);
    c32bppDIB image;
    Make(image, 301, 1, pixels);
    ASSERT_TRUE(image.PngPropertySet(pngFilter, 1)); // unfiltered, to read the key in place
    std::vector<uint8_t> png = Save(image);
    EXPECT_EQ(ColourTypeOf(png), pngTruecolour);
    EXPECT_EQ(Bytes(Find(ChunksOf(png), "tRNS")), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0}));
    std::vector<uint8_t> rows = InflatedImageData(png, 1 + 301 * 3);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(std::vector<uint8_t>(rows.end() - 3, rows.end()), (std::vector<uint8_t>{0, 0, 0}));
    ExpectRoundTrip(image, png);

    // A gap in blue at 5 comes first.
    for (uint32_t& p : pixels)
        if ((p & 0xFF) == 5) p = (p & 0xFFFFFF00) | 6;
    Make(image, 301, 1, pixels);
    png = Save(image);
    EXPECT_EQ(Bytes(Find(ChunksOf(png), "tRNS")), (std::vector<uint8_t>{0, 5, 0, 5, 0, 5}));
    ExpectRoundTrip(image, png);

    // Every value of every channel taken: alpha it is.
    std::vector<uint32_t> full;
    for (uint32_t v = 0; v < 256; ++v) full.push_back(0xFF000000 | v * 0x010101);
    full.push_back(0xFF010203);
    full.push_back(0);
    Make(image, static_cast<int32_t>(full.size()), 1, full);
    png = Save(image);
    EXPECT_EQ(ColourTypeOf(png), pngTruecolourAlpha);
    ExpectRoundTrip(image, png);
}

TEST(PngColourType, TranslucencyOrColourUnderClearNeedsAlpha) {
    std::vector<uint32_t> pixels = ManyColours(300, [](size_t) { return uint32_t{9}; });
    pixels[7] = 0x40102030;
    c32bppDIB image;
    Make(image, 300, 1, pixels);
    std::vector<uint8_t> png = Save(image);
    EXPECT_EQ(ColourTypeOf(png), pngTruecolourAlpha);
    EXPECT_EQ(Find(ChunksOf(png), "tRNS"), nullptr);
    ExpectRoundTrip(image, png);
    // Colour under alpha 0 is not premultiplied data; it is written as it is, with its alpha.
    pixels[7] = 0x00102030;
    Make(image, 300, 1, pixels);
    EXPECT_EQ(ColourTypeOf(Save(image)), pngTruecolourAlpha);
}

// Random premultiplied pictures of each kind the writer chooses, at sizes with odd widths.
enum class Kind {
    Grey,
    GreyKeyed,
    Palette,
    PaletteTranslucent,
    Truecolour,
    TruecolourKeyed,
    Alpha
};

void RandomPicture(c32bppDIB& image, Kind kind, int32_t width, int32_t height, std::mt19937& rng) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < 40; ++i) {
        uint32_t a = kind == Kind::PaletteTranslucent && i % 3 == 0 ? rng() % 256 : 255;
        uint32_t colour = 0;
        for (int c = 0; c < 3; ++c) colour |= (rng() % (a + 1)) << (8 * c);
        palette.push_back(a == 0 ? 0 : a << 24 | colour);
    }
    std::vector<uint32_t> pixels;
    for (int32_t i = 0; i < width * height; ++i) {
        const uint32_t r = rng();
        uint32_t p;
        switch (kind) {
        case Kind::Grey: p = 0xFF000000 | (r % 256) * 0x010101; break;
        case Kind::GreyKeyed: p = 0xFF000000 | (r % 200) * 0x010101; break; // leaves a level free
        case Kind::Palette:
        case Kind::PaletteTranslucent: p = palette[r % palette.size()]; break;
        case Kind::Alpha: {
            const uint32_t a = r % 256;
            p = a << 24;
            for (int c = 0; c < 3; ++c) p |= (rng() % (a + 1)) << (8 * c);
            break;
        }
        default: p = 0xFF000000 | (r & 0xFFFFFF);
        }
        if ((kind == Kind::GreyKeyed || kind == Kind::TruecolourKeyed) && r % 7 == 0) p = 0;
        pixels.push_back(p);
    }
    Make(image, width, height, pixels, kind != Kind::Grey && kind != Kind::Truecolour);
}

TEST(PngRoundTrip, EveryColourTypeWithEveryFilterChoice) {
    std::mt19937 rng(2024);
    const std::pair<Kind, uint8_t> kinds[] = {{Kind::Grey, pngGrey},
                                              {Kind::GreyKeyed, pngGrey},
                                              {Kind::Palette, pngIndexed},
                                              {Kind::PaletteTranslucent, pngIndexed},
                                              {Kind::Truecolour, pngTruecolour},
                                              {Kind::TruecolourKeyed, pngTruecolour},
                                              {Kind::Alpha, pngTruecolourAlpha}};
    // Truecolour needs more than 256 colours, so more than 256 pixels.
    const std::pair<int32_t, int32_t> sizes[] = {{1, 1}, {37, 23}, {300, 2}};
    for (auto [kind, colourType] : kinds) {
        for (auto [width, height] : sizes) {
            c32bppDIB image;
            RandomPicture(image, kind, width, height, rng);
            for (int32_t choice = 0; choice <= 6; ++choice) {
                SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << " " << width
                                                << "x" << height << " filter " << choice);
                ASSERT_TRUE(image.PngPropertySet(pngFilter, choice));
                std::vector<uint8_t> png = Save(image);
                if (width * height > 1) EXPECT_EQ(ColourTypeOf(png), colourType);
                ExpectRoundTrip(image, png);
            }
        }
    }
}

TEST(PngFilters, FilteredRowsUnfilterToTheOriginal) {
    std::mt19937 rng(5);
    for (size_t bpp : {1u, 3u, 4u}) {
        for (uint8_t filter = 0; filter <= 4; ++filter) {
            std::vector<uint8_t> row(bpp * 9), prior(bpp * 9), out(bpp * 9);
            for (size_t i = 0; i < row.size(); ++i)
                row[i] = uint8_t(rng()), prior[i] = uint8_t(rng());
            FilterRow(filter, row.data(), prior.data(), row.size(), bpp, out.data());
            ASSERT_TRUE(UnfilterRow(filter, out.data(), prior.data(), out.size(), bpp));
            EXPECT_EQ(out, row) << "filter " << int{filter} << " bpp " << bpp;
        }
    }
}

// The adaptive rule written out plainly: every cost in full, the lowest wins, later ones on a
// tie, a cost of 0 counted as 1, nothing above 254 per byte.
uint8_t PlainAdaptive(const std::vector<uint8_t>& row, const std::vector<uint8_t>& prior,
                      size_t bpp, bool top) {
    uint64_t best = 254 * row.size();
    uint8_t chosen = 0;
    for (uint8_t f = 0; f <= (top ? 1 : 4); ++f) {
        uint64_t cost = 0;
        for (size_t i = 0; i < row.size(); ++i) {
            int left = i >= bpp ? row[i - bpp] : 0, up = prior[i],
                corner = i >= bpp ? prior[i - bpp] : 0;
            int p = left + up - corner, prediction;
            if (f == 0) prediction = 0;
            else if (f == 1) prediction = left;
            else if (f == 2) prediction = up;
            else if (f == 3) prediction = (left + up) / 2;
            else
                prediction = std::abs(p - left) <= std::abs(p - up) &&
                                     std::abs(p - left) <= std::abs(p - corner)
                                 ? left
                                 : (std::abs(p - up) <= std::abs(p - corner) ? up : corner);
            cost += static_cast<uint64_t>(std::abs(row[i] - prediction));
        }
        if (cost <= best) best = std::max<uint64_t>(cost, 1), chosen = f;
    }
    return chosen;
}

TEST(PngFilters, AdaptiveChoiceFollowsTheRule) {
    auto choose = [](std::vector<uint8_t> row, std::vector<uint8_t> prior, size_t bpp, bool top) {
        return AdaptiveFilter(row.data(), prior.data(), row.size(), bpp, top);
    };
    const std::vector<uint8_t> zeros(8, 0);
    // The top row tries None and Sub only, even where the row above would match exactly.
    EXPECT_EQ(choose(std::vector<uint8_t>(8, 200), std::vector<uint8_t>(8, 200), 1, true),
              pngFilterSub);
    // Every byte 255 costs more than 254 a byte: all filters are dropped and None stays.
    EXPECT_EQ(choose(std::vector<uint8_t>(4, 255), zeros, 4, true), pngFilterNone);
    // Sub wins where Paeth, predicting the first byte from above, pays for it.
    EXPECT_EQ(choose({0, 10, 20, 30, 40, 50, 60, 70}, std::vector<uint8_t>(8, 200), 1, false),
              pngFilterSub);
    // Up and Paeth both cost 0 on a repeated row: the later one wins.
    EXPECT_EQ(choose({3, 1, 4, 1, 5, 9, 2, 6}, {3, 1, 4, 1, 5, 9, 2, 6}, 1, false), pngFilterPaeth);
    // None, Sub and Average cost 0, Paeth 1: a cost of 0 counts as 1, so Paeth still wins.
    EXPECT_EQ(choose(zeros, {1, 0, 0, 0, 0, 0, 0, 0}, 1, false), pngFilterPaeth);

    std::mt19937 rng(11);
    for (int n = 0; n < 400; ++n) {
        const size_t bpp = n % 3 == 0 ? 1 : (n % 3 == 1 ? 3 : 4);
        std::vector<uint8_t> row(bpp * (1 + rng() % 40)), prior(row.size());
        const uint32_t spread = 1 + rng() % 255; // from smooth to noisy rows
        for (size_t i = 0; i < row.size(); ++i) {
            prior[i] = static_cast<uint8_t>(rng() % spread);
            row[i] = static_cast<uint8_t>(n % 2 ? prior[i] + rng() % 3 : rng() % spread);
        }
        const bool top = n % 5 == 0;
        ASSERT_EQ(AdaptiveFilter(row.data(), prior.data(), row.size(), bpp, top),
                  PlainAdaptive(row, prior, bpp, top))
            << n;
    }
}

TEST(PngFilters, EveryRowCarriesTheChosenFilter) {
    std::mt19937 rng(3);
    c32bppDIB truecolour, palette;
    RandomPicture(truecolour, Kind::Truecolour, 30, 10, rng);
    RandomPicture(palette, Kind::Palette, 30, 10, rng);
    struct Case {
        int32_t choice;
        uint8_t truecolourFilter, paletteFilter;
    };
    for (Case c : {Case{0, 4, 0}, Case{-1, 4, 0}, Case{7, 4, 0}, Case{1, 0, 0}, Case{2, 1, 1},
                   Case{3, 2, 2}, Case{4, 3, 3}, Case{5, 4, 4}}) {
        SCOPED_TRACE(c.choice);
        for (c32bppDIB* image : {&truecolour, &palette}) {
            ASSERT_TRUE(image->PngPropertySet(pngFilter, c.choice));
            const size_t stride = image == &truecolour ? 1 + 30 * 3 : 1 + 30;
            std::vector<uint8_t> rows = InflatedImageData(Save(*image), stride * 10);
            ASSERT_FALSE(rows.empty());
            for (size_t y = 0; y < 10; ++y)
                EXPECT_EQ(rows[y * stride],
                          image == &truecolour ? c.truecolourFilter : c.paletteFilter);
        }
    }
    // Adaptive: filters vary, and the top row is None or Sub.
    ASSERT_TRUE(truecolour.PngPropertySet(pngFilter, 6));
    std::vector<uint8_t> rows = InflatedImageData(Save(truecolour), 91 * 10);
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows[0], pngFilterSub);
    for (size_t y = 0; y < 10; ++y) EXPECT_LE(rows[y * 91], pngFilterPaeth);
}

TEST(PngWriter, NoImageAndFailedSavesLeaveNothing) {
    c32bppDIB image;
    std::vector<uint8_t> out{1, 2, 3};
    EXPECT_FALSE(cPNGwriter().WritePng(image, {}, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(image.SaveToStream_PNG(out));

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velt-png-writer";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Make(image, 2, 2, {0xFF000000, 0xFFFFFFFF, 0, 0xFF808080});
    EXPECT_FALSE(image.SaveToFile_PNG(folder / "missing" / "a.png", false));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

    // An existing file is replaced whole; with the prompt and no one to answer it stays.
    const std::filesystem::path file = folder / "a.png";
    std::ofstream(file) << "old";
    EXPECT_FALSE(image.SaveToFile_PNG(file));
    EXPECT_EQ(std::filesystem::file_size(file), 3u);
    ASSERT_TRUE(image.SaveToFile_PNG(file, false));
    std::vector<uint8_t> written;
    ASSERT_TRUE(ReadWholeFile(file, written));
    EXPECT_EQ(written, Save(image));

    // A target that cannot be replaced (a folder) stays, and no temporary is left.
    std::filesystem::create_directory(folder / "b.png");
    EXPECT_FALSE(image.SaveToFile_PNG(folder / "b.png", false));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "b.png"));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 2u);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace velt::test
