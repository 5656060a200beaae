#pragma once
// Writes .bmp files and icon entries for tests from plain samples: any depth, compression,
// header kind and row order, with every field under the test's control so that damaged files
// are easy to make.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace velt::test {

inline void PutLE16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline void SetLE32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

inline void SetLE16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

struct BmpPicture {
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t headerSize = 40; // 12 (core), 40, 108 or 124
    uint32_t coloursUsed = 0;
    std::vector<uint8_t> palette; // colour table as stored (4 bytes an entry, 3 for core)
    uint32_t masks[3] = {};       // written for bit fields: after a 40-byte header or inside
    // Samples in stored row order (first stored row first): palette indexes, 16-bit values,
    // 0xRRGGBB for 24 bits or 0xAARRGGBB for 32 bits. Ignored when rle is set.
    std::vector<uint32_t> samples;
    std::vector<uint8_t> rle; // run-length data as stored
    int32_t rows() const { return height < 0 ? -height : height; }
};

// Packed rows padded to 32 bits, in stored order.
inline std::vector<uint8_t> PackRows(const BmpPicture& p) {
    std::vector<uint8_t> out;
    const size_t stride = (static_cast<size_t>(p.bitCount) * static_cast<size_t>(p.width) + 31) /
                          32 * 4;
    for (int32_t y = 0; y < p.rows(); ++y) {
        std::vector<uint8_t> row(stride, 0);
        for (int32_t x = 0; x < p.width; ++x) {
            const uint32_t v = p.samples[static_cast<size_t>(y) * static_cast<size_t>(p.width) +
                                         static_cast<size_t>(x)];
            const size_t bit = static_cast<size_t>(x) * p.bitCount;
            switch (p.bitCount) {
            case 1:
            case 2:
            case 4:
            case 8: row[bit / 8] |= static_cast<uint8_t>(v << (8 - p.bitCount - bit % 8)); break;
            default:
                for (int b = 0; b < p.bitCount / 8; ++b)
                    row[bit / 8 + static_cast<size_t>(b)] = static_cast<uint8_t>(v >> (8 * b));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The info header, masks and colour table, then the pixel data: the body of an icon entry or of
// a .bmp file after its 14-byte file header.
inline std::vector<uint8_t> BuildDib(const BmpPicture& p, int32_t headerHeight) {
    std::vector<uint8_t> out;
    const std::vector<uint8_t> bits = p.rle.empty() ? PackRows(p) : p.rle;
    PutLE32(out, p.headerSize);
    if (p.headerSize == 12) {
        PutLE16(out, static_cast<uint32_t>(p.width));
        PutLE16(out, static_cast<uint32_t>(headerHeight));
        PutLE16(out, 1);
        PutLE16(out, p.bitCount);
    } else {
        PutLE32(out, static_cast<uint32_t>(p.width));
        PutLE32(out, static_cast<uint32_t>(headerHeight));
        PutLE16(out, 1);
        PutLE16(out, p.bitCount);
        PutLE32(out, p.compression);
        PutLE32(out, static_cast<uint32_t>(bits.size()));
        PutLE32(out, 2835);
        PutLE32(out, 2835);
        PutLE32(out, p.coloursUsed);
        PutLE32(out, 0);
        if (p.compression == 3 || p.headerSize > 40)
            for (uint32_t m : p.masks) PutLE32(out, m);
        if (p.headerSize > 40) {
            out.resize(out.size() + 4, 0); // alpha mask
            PutLE32(out, 0x73524742);      // "sRGB"
            out.resize(p.headerSize, 0);
        }
    }
    out.insert(out.end(), p.palette.begin(), p.palette.end());
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

inline std::vector<uint8_t> BuildBmp(const BmpPicture& p) {
    std::vector<uint8_t> dib = BuildDib(p, p.height);
    const size_t pixelsAt = 14 + (dib.size() - (p.rle.empty() ? PackRows(p).size() : p.rle.size()));
    std::vector<uint8_t> out{'B', 'M'};
    PutLE32(out, static_cast<uint32_t>(14 + dib.size()));
    PutLE32(out, 0);
    PutLE32(out, static_cast<uint32_t>(pixelsAt));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// A colour table of count random entries (the fourth byte 0, as writers leave it).
inline std::vector<uint8_t> RandomPalette(size_t count, std::mt19937& rng, size_t entryBytes = 4) {
    std::vector<uint8_t> palette;
    for (size_t i = 0; i < count; ++i) {
        for (size_t b = 0; b < 3; ++b) palette.push_back(static_cast<uint8_t>(rng()));
        if (entryBytes == 4) palette.push_back(0);
    }
    return palette;
}

// A picture of random samples; indexes stay below the palette's size.
inline BmpPicture RandomBmp(int32_t width, int32_t height, uint16_t bitCount, std::mt19937& rng) {
    BmpPicture p;
    p.width = width;
    p.height = height;
    p.bitCount = bitCount;
    const uint64_t range = bitCount >= 32 ? uint64_t{1} << 32 : uint64_t{1} << bitCount;
    if (bitCount <= 8) p.palette = RandomPalette(static_cast<size_t>(range), rng);
    for (int64_t i = 0; i < int64_t{width} * p.rows(); ++i)
        p.samples.push_back(static_cast<uint32_t>(rng() % range));
    return p;
}

// Run-length data for index rows (stored order), mixing repeated runs and literal runs, each
// row closed by an end-of-row escape and the picture by the end escape.
inline std::vector<uint8_t> EncodeRle(const std::vector<uint32_t>& indexes, int32_t width,
                                      int32_t rows, bool four) {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < rows; ++y) {
        const uint32_t* row = indexes.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        int32_t x = 0;
        while (x < width) {
            int32_t run = 1;
            // Four-bit runs repeat a pair of nibbles, so a run is a stretch where every other
            // value matches.
            while (x + run < width && run < 255 && row[x + run] == row[x + (four ? run % 2 : 0)])
                ++run;
            if (run >= 3 || width - x < 3) {
                out.push_back(static_cast<uint8_t>(run));
                out.push_back(four ? static_cast<uint8_t>(row[x] << 4 | (run > 1 ? row[x + 1] : 0))
                                   : static_cast<uint8_t>(row[x]));
                x += run;
                continue;
            }
            int32_t literal = std::min(width - x, 255);
            literal = std::min(literal, 40);
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(literal));
            std::vector<uint8_t> data;
            for (int32_t i = 0; i < literal; ++i) {
                if (four) {
                    if (i % 2 == 0) data.push_back(static_cast<uint8_t>(row[x + i] << 4));
                    else data.back() |= static_cast<uint8_t>(row[x + i]);
                } else {
                    data.push_back(static_cast<uint8_t>(row[x + i]));
                }
            }
            if (data.size() % 2) data.push_back(0);
            out.insert(out.end(), data.begin(), data.end());
            x += literal;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

} // namespace velt::test
