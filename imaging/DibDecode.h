#pragma once
// The pixel rows of a device-independent bitmap (the body of a .bmp file and of an icon entry)
// turned into 32-bit pixels: 1, 4 and 8 bits with a colour table, 16 bits (5-5-5 or bit
// fields), 24, 32 (plain or bit fields), RLE8 and RLE4, bottom-up or top-down. Colours come out
// as the system's bitmap calls give them, so a picture looks the same whichever path read it.
#include "imaging/PixelOps.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velt {

enum DibCompression : uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitfields = 3,
};

struct DibHeader {
    uint32_t headerSize = 0; // 12 for the old core header, else 40 or more
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t coloursUsed = 0;
    uint32_t masks[3] = {};            // red, green, blue of 16- and 32-bit pixels
    uint32_t maskBytesAfterHeader = 0; // 12 when bit-field masks follow a 40-byte header

    bool core() const { return headerSize == 12; }
    // Entries of the colour table the pixels may use (0 above 8 bits).
    uint32_t PaletteEntries() const;
    uint32_t PaletteEntryBytes() const { return core() ? 3 : 4; }
    int32_t Rows() const { return height < 0 ? -height : height; }
};

// Reads and checks the header at the start of bytes (and the masks that follow a 40-byte header).
// False for a header, depth or compression this decoder does not read.
bool ReadDibHeader(std::span<const uint8_t> bytes, DibHeader& header);

// Bytes the pixel rows of an uncompressed image take, or 0 when that does not fit in 31 bits.
uint64_t DibPixelBytes(const DibHeader& header);

// Writes the picture into out, which must be width × |height|. palette holds the colour table
// (indexes past its end read as black). Colour bytes are blue, green, red; the fourth byte is the
// source pixel's fourth byte for 32-bit pixels and 255 for every other depth. Pixels that a
// run-length stream skips or never reaches are black. False when uncompressed rows are missing.
bool DecodeDibPixels(const DibHeader& header, std::span<const uint8_t> palette,
                     std::span<const uint8_t> bits, PixelView out);

} // namespace velt
