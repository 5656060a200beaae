#pragma once
// Writes icon and cursor files for tests: bitmap entries (colour bits and an AND mask) and PNG
// entries, with the directory fields under the test's control.
#include "BmpBuilder.h"

#include <cstdint>
#include <random>
#include <vector>

namespace velt::test {

struct IcoEntry {
    uint8_t width = 0; // directory bytes: 0 means 256
    uint8_t height = 0;
    uint8_t colourCount = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    std::vector<uint8_t> data;
    // When set, written instead of the real size and offset.
    int64_t bytesInResource = -1;
    int64_t imageOffset = -1;
};

// A bitmap entry: the colour picture (height = the picture's rows) and a mask of 0/1 samples in
// stored order (bottom row first); an empty mask is all clear.
inline IcoEntry BitmapEntry(const BmpPicture& colour, std::vector<uint32_t> mask = {}) {
    IcoEntry e;
    e.width = static_cast<uint8_t>(colour.width);
    e.height = static_cast<uint8_t>(colour.rows());
    e.bitCount = colour.bitCount;
    e.colourCount = colour.bitCount < 8 ? static_cast<uint8_t>(1u << colour.bitCount) : 0;
    e.data = BuildDib(colour, colour.rows() * 2);
    BmpPicture maskPicture;
    maskPicture.width = colour.width;
    maskPicture.height = colour.rows();
    maskPicture.bitCount = 1;
    maskPicture.samples = mask.empty()
                              ? std::vector<uint32_t>(static_cast<size_t>(colour.width) *
                                                          static_cast<size_t>(colour.rows()),
                                                      0)
                              : mask;
    std::vector<uint8_t> bits = PackRows(maskPicture);
    e.data.insert(e.data.end(), bits.begin(), bits.end());
    return e;
}

inline std::vector<uint32_t> RandomMask(int32_t width, int32_t height, std::mt19937& rng) {
    std::vector<uint32_t> mask;
    for (int64_t i = 0; i < int64_t{width} * height; ++i) mask.push_back(rng() % 3 == 0 ? 1 : 0);
    return mask;
}

inline std::vector<uint8_t> BuildIco(const std::vector<IcoEntry>& entries, uint16_t type = 1) {
    std::vector<uint8_t> out;
    PutLE16(out, 0);
    PutLE16(out, type);
    PutLE16(out, static_cast<uint32_t>(entries.size()));
    size_t offset = 6 + 16 * entries.size();
    for (const IcoEntry& e : entries) {
        out.push_back(e.width);
        out.push_back(e.height);
        out.push_back(e.colourCount);
        out.push_back(0);
        PutLE16(out, e.planes);
        PutLE16(out, e.bitCount);
        PutLE32(out, static_cast<uint32_t>(e.bytesInResource >= 0
                                               ? e.bytesInResource
                                               : static_cast<int64_t>(e.data.size())));
        PutLE32(out, static_cast<uint32_t>(e.imageOffset >= 0 ? e.imageOffset
                                                              : static_cast<int64_t>(offset)));
        offset += e.data.size();
    }
    for (const IcoEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

} // namespace velt::test
