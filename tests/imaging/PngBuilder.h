#pragma once
// Writes PNG files for tests from plain samples: any colour type, depth and interlace, with the
// filter type of each row chosen by the test (cycling through all five by default), and every
// chunk under the test's control so that damaged files are easy to make.
#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

namespace velt::test {

struct PngPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 8;
    uint8_t colourType = 6;
    bool interlaced = false;
    // Samples per pixel in PNG order (grey / RGB / palette index, then alpha), row by row.
    std::vector<uint16_t> samples;
    std::vector<uint8_t> palette;      // PLTE body, empty for none
    std::vector<uint8_t> transparency; // tRNS body, empty for none

    int channels() const {
        switch (colourType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
        }
    }
    uint16_t& at(uint32_t x, uint32_t y, int c) {
        return samples[(static_cast<size_t>(y) * width + x) * static_cast<size_t>(channels()) +
                       static_cast<size_t>(c)];
    }
};

inline void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// Appends a chunk; crcDelta is added to the correct CRC (0 keeps it right).
inline void AppendChunk(std::vector<uint8_t>& out, const char* type,
                        const std::vector<uint8_t>& body, uint32_t crcDelta = 0) {
    PutBE32(out, static_cast<uint32_t>(body.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(body.size() + 4));
    PutBE32(out, static_cast<uint32_t>(crc) + crcDelta);
}

inline std::vector<uint8_t> Signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }

inline std::vector<uint8_t> HeaderBody(uint32_t width, uint32_t height, uint8_t depth,
                                       uint8_t colourType, bool interlaced) {
    std::vector<uint8_t> body;
    PutBE32(body, width);
    PutBE32(body, height);
    body.insert(body.end(), {depth, colourType, 0, 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
    return body;
}

inline std::vector<uint8_t> Compress(const std::vector<uint8_t>& raw, int level = 9) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level);
    out.resize(size);
    return out;
}

inline int PaethPredict(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Filters one packed row against the previous one.
inline std::vector<uint8_t> FilterRow(int type, const std::vector<uint8_t>& row,
                                      const std::vector<uint8_t>& prior, size_t unit) {
    std::vector<uint8_t> out(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        int a = i >= unit ? row[i - unit] : 0, b = prior[i], c = i >= unit ? prior[i - unit] : 0;
        int predicted = 0;
        switch (type) {
        case 1: predicted = a; break;
        case 2: predicted = b; break;
        case 3: predicted = (a + b) / 2; break;
        case 4: predicted = PaethPredict(a, b, c); break;
        }
        out[i] = static_cast<uint8_t>(row[i] - predicted);
    }
    return out;
}

// Scanlines with filter bytes, interlaced into Adam7 passes when asked. filterFor(rowIndex)
// picks each row's filter type; rows are counted across passes.
template <typename FilterChoice>
std::vector<uint8_t> Scanlines(PngPicture& p, FilterChoice filterFor) {
    static const int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}; // x0 y0 dx dy
    const int channels = p.channels();
    const size_t unit = std::max<size_t>(1, p.bitDepth / 8 * static_cast<size_t>(channels));
    std::vector<uint8_t> raw;
    int rowIndex = 0;
    auto emitPass = [&](uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy) {
        if (x0 >= p.width || y0 >= p.height) return;
        uint32_t cols = (p.width - x0 + dx - 1) / dx;
        size_t rowBytes = (static_cast<size_t>(cols) * channels * p.bitDepth + 7) / 8;
        std::vector<uint8_t> prior(rowBytes, 0);
        for (uint32_t y = y0; y < p.height; y += dy) {
            std::vector<uint8_t> row(rowBytes, 0);
            size_t bit = 0;
            for (uint32_t x = x0; x < p.width; x += dx) {
                for (int c = 0; c < channels; ++c) {
                    uint16_t v = p.at(x, y, c);
                    if (p.bitDepth == 16) {
                        row[bit / 8] = static_cast<uint8_t>(v >> 8);
                        row[bit / 8 + 1] = static_cast<uint8_t>(v);
                    } else if (p.bitDepth == 8) {
                        row[bit / 8] = static_cast<uint8_t>(v);
                    } else {
                        row[bit / 8] |= static_cast<uint8_t>(v << (8 - p.bitDepth - bit % 8));
                    }
                    bit += p.bitDepth;
                }
            }
            int type = filterFor(rowIndex++);
            raw.push_back(static_cast<uint8_t>(type));
            std::vector<uint8_t> filtered = type <= 4 ? FilterRow(type, row, prior, unit) : row;
            raw.insert(raw.end(), filtered.begin(), filtered.end());
            prior = row;
        }
    };
    if (p.interlaced) {
        for (auto& pass : kPasses) emitPass(pass[0], pass[1], pass[2], pass[3]);
    } else {
        emitPass(0, 0, 1, 1);
    }
    return raw;
}

inline std::vector<uint8_t> Scanlines(PngPicture& p) {
    return Scanlines(p, [](int row) { return row % 5; });
}

// A complete file: signature, IHDR, PLTE, tRNS, the data split into IDAT chunks of idatSize
// bytes, IEND.
inline std::vector<uint8_t> BuildPng(PngPicture& p, size_t idatSize = 8192) {
    std::vector<uint8_t> out = Signature();
    AppendChunk(out, "IHDR", HeaderBody(p.width, p.height, p.bitDepth, p.colourType, p.interlaced));
    if (!p.palette.empty()) AppendChunk(out, "PLTE", p.palette);
    if (!p.transparency.empty()) AppendChunk(out, "tRNS", p.transparency);
    std::vector<uint8_t> data = Compress(Scanlines(p));
    for (size_t at = 0; at < data.size(); at += idatSize) {
        size_t n = std::min(idatSize, data.size() - at);
        AppendChunk(out, "IDAT",
                    std::vector<uint8_t>(data.begin() + static_cast<long>(at),
                                         data.begin() + static_cast<long>(at + n)));
    }
    AppendChunk(out, "IEND", {});
    return out;
}

} // namespace velt::test
