// Writes the seeds of the bitmap, icon and GIF fuzz targets: small files of every kind those
// decoders read, made with the test builders from fixed pseudo-random samples.
//   make_decoder_seeds tools/fuzz/seeds
// DECODERS.txt beside them says what each file exercises.
#include "tests/imaging/GifBuilder.h"
#include "tests/imaging/IcoBuilder.h"
#include "tests/imaging/PngTestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace velt::test;

struct Writer {
    std::filesystem::path folder;
    std::ofstream manifest;

    void Write(const std::string& name, const std::vector<uint8_t>& bytes,
               const std::string& note) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        manifest << name << ": " << note << "\n";
    }
};

void Bitmaps(Writer& w, std::mt19937& rng) {
    for (uint16_t bits : {1, 4, 8, 24}) {
        BmpPicture p = RandomBmp(13, 7, bits, rng);
        w.Write("bmp" + std::to_string(bits) + ".bmp", BuildBmp(p),
                std::to_string(bits) + "-bit 13x7, rows padded: opaque, type 1");
    }
    BmpPicture shortTable = RandomBmp(9, 4, 8, rng);
    shortTable.palette.resize(20 * 4);
    shortTable.coloursUsed = 20;
    for (uint32_t& s : shortTable.samples) s %= 24; // a few indexes past the table: black
    w.Write("bmp8-20-colours.bmp", BuildBmp(shortTable),
            "8-bit, 20 colours used, some indexes past them (black)");
    BmpPicture rgb555 = RandomBmp(11, 5, 16, rng);
    w.Write("bmp16-555.bmp", BuildBmp(rgb555),
            "16-bit 5-5-5: 5-bit channels widened by repeating their top bits");
    BmpPicture rgb565 = rgb555;
    rgb565.compression = 3;
    rgb565.masks[0] = 0xF800, rgb565.masks[1] = 0x07E0, rgb565.masks[2] = 0x001F;
    w.Write("bmp16-565-fields.bmp", BuildBmp(rgb565),
            "16-bit bit fields 5-6-5 after a 40-byte header");
    BmpPicture topDown = RandomBmp(10, -6, 24, rng);
    w.Write("bmp24-top-down.bmp", BuildBmp(topDown),
            "24-bit, negative height: rows stored top-down, loads upright");
    BmpPicture straight = RandomBmp(6, 6, 32, rng);
    for (uint32_t& s : straight.samples) s = (s & 0xFFFFFF) | (rng() % 256) << 24;
    w.Write("bmp32-alpha.bmp", BuildBmp(straight),
            "32-bit straight alpha: premultiplied on load, type 6");
    BmpPicture fields = RandomBmp(6, 6, 32, rng);
    fields.compression = 3;
    fields.headerSize = 124;
    fields.masks[0] = 0xFF0000, fields.masks[1] = 0xFF00, fields.masks[2] = 0xFF;
    w.Write("bmp32-fields-v5.bmp", BuildBmp(fields),
            "32-bit bit fields in a version 5 header: opaque, type 1");
    for (uint16_t bits : {4, 8}) {
        BmpPicture p = RandomBmp(21, 6, bits, rng);
        for (size_t i = 0; i < p.samples.size(); ++i)
            if ((i / 7) % 2 == 0) p.samples[i] = p.samples[i - i % 7];
        p.compression = bits == 8 ? 1 : 2;
        p.rle = EncodeRle(p.samples, p.width, p.rows(), bits == 4);
        w.Write("bmp-rle" + std::to_string(bits) + ".bmp", BuildBmp(p),
                "RLE" + std::to_string(bits) + ": runs and literal runs");
    }
    BmpPicture jumps;
    jumps.width = 6, jumps.height = 4, jumps.bitCount = 8, jumps.compression = 1;
    jumps.palette = RandomPalette(2, rng);
    jumps.coloursUsed = 2;
    jumps.rle = {3, 1, 0, 2, 0, 1, 0, 3, 7, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 1};
    w.Write("bmp-rle8-jumps.bmp", BuildBmp(jumps),
            "RLE8 with a jump and skipped rows: skipped pixels black");
    BmpPicture core = RandomBmp(10, 6, 8, rng);
    core.headerSize = 12;
    core.palette = RandomPalette(256, rng, 3);
    w.Write("bmp8-core.bmp", BuildBmp(core),
            "8-bit with the 12-byte core header and 3-byte colour entries");
}

void Icons(Writer& w, std::mt19937& rng) {
    std::vector<IcoEntry> entries;
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        BmpPicture p = RandomBmp(16, 16, bits, rng);
        if (bits == 32)
            for (uint32_t& s : p.samples) s = (s & 0xFFFFFF) | (rng() % 256) << 24;
        entries.push_back(BitmapEntry(p, RandomMask(16, 16, rng)));
    }
    PngPicture png = RandomPicture({6, 8}, false, false, 16, 16, rng);
    IcoEntry pngEntry;
    pngEntry.data = BuildPng(png);
    pngEntry.width = 16, pngEntry.height = 16, pngEntry.bitCount = 32;
    entries.push_back(pngEntry);
    w.Write("icon-every-kind.ico", BuildIco(entries),
            "16x16 entries of 1, 4, 8, 24 and 32 bits with masks and a PNG entry: each chosen by "
            "its depth");
    w.Write("cursor32.cur", BuildIco({entries[4]}, 2), "cursor with one 32-bit entry: type 12");
    std::vector<IcoEntry> sizes;
    for (int32_t side : {16, 24, 32, 48})
        sizes.push_back(BitmapEntry(RandomBmp(side, side, 8, rng), RandomMask(side, side, rng)));
    w.Write("icon-sizes.ico", BuildIco(sizes),
            "8-bit entries of 16, 24, 32 and 48: the entry choice");
    IcoEntry noBits = BitmapEntry(RandomBmp(8, 8, 4, rng));
    noBits.data[14] = 0;
    w.Write("icon-bits-from-directory.ico", BuildIco({noBits}),
            "4-bit entry whose header has no bit count: the directory's is used");
    PngPicture palette = RandomPicture({3, 4}, false, true, 20, 12, rng);
    IcoEntry pngOnly;
    pngOnly.data = BuildPng(palette);
    w.Write("icon-png-only.ico", BuildIco({pngOnly}),
            "one PNG entry, directory size and bit count 0: both from the PNG header");
}

void Gifs(Writer& w, std::mt19937& rng) {
    GifFile g;
    g.width = 30, g.height = 20;
    g.globalTable = RandomPalette(256, rng, 3);
    g.frames.push_back(RandomFrame(30, 20, 8, false, rng));
    w.Write("gif-global.gif", BuildGif(g), "30x20, 8-bit global table: opaque");
    GifFile local = g;
    local.frames[0] = RandomFrame(25, 13, 3, true, rng);
    local.frames[0].interlaced = true;
    w.Write("gif-local-interlaced.gif", BuildGif(local), "3-bit local table, interlaced rows");
    GifFile transparent = g;
    transparent.globalTable = RandomPalette(16, rng, 3);
    transparent.frames[0] = RandomFrame(17, 9, 4, false, rng);
    transparent.frames[0].control = true;
    transparent.frames[0].transparent = true;
    transparent.frames[0].transparentIndex = 2;
    transparent.beforeFrames = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S',  'C',  'A', 'P', 'E', '2', '.',
                                '0',  3,    1,  0,   0,   0,   0x21, 0xFE, 2,   'h', 'i', 0};
    GifFrame second = RandomFrame(5, 5, 4, false, rng);
    second.left = 3, second.top = 2;
    transparent.frames.push_back(second);
    w.Write("gif-transparent-animated.gif", BuildGif(transparent),
            "application and comment extensions, a transparent index, a second frame never read");
    GifFile two;
    two.width = 9, two.height = 5;
    two.globalTable = {0, 0, 0, 255, 255, 255};
    two.frames.push_back(RandomFrame(9, 5, 1, false, rng));
    two.signature = "gif87a";
    w.Write("gif87-two-colours.gif", BuildGif(two), "87a in lower case, 2 colours, code size 2");
    GifFile full;
    full.width = 64, full.height = 40;
    full.globalTable = RandomPalette(256, rng, 3);
    GifFrame noise;
    noise.width = 64, noise.height = 40;
    for (int i = 0; i < 64 * 40; ++i) noise.indexes.push_back(static_cast<uint8_t>(rng()));
    noise.lzw.clearWhenFull = false;
    full.frames.push_back(noise);
    w.Write("gif-full-table.gif", BuildGif(full),
            "random 8-bit indexes: the code table fills and is kept without a clear");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_decoder_seeds FOLDER\n", stderr);
        return 2;
    }
    Writer w{argv[1], std::ofstream(std::filesystem::path(argv[1]) / "DECODERS.txt")};
    w.manifest << "Seeds for the bitmap, icon and GIF fuzz targets, written by make_decoder_seeds\n"
                  "(tools/fuzz/make_decoder_seeds.cpp, built in the native tree) from fixed "
                  "pseudo-random\n"
                  "samples. The decoder tests read them too.\n\n";
    std::mt19937 rng(2024);
    Bitmaps(w, rng);
    Icons(w, rng);
    Gifs(w, rng);
    return 0;
}
