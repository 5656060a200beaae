#pragma once
// Row work of the PNG decoder: undoing the five filters and turning unfiltered rows into
// premultiplied BGRA pixels. Shared by interlaced passes and whole images.
#include <cstddef>
#include <cstdint>

namespace velt {

// Undoes filter type filterType (0..4) on row in place. prior is the unfiltered row above (all
// zeros for the first row of an image or pass); unit is the byte distance to the pixel on the
// left. Returns false, leaving the row as it is, for a filter type above 4.
bool UnfilterRow(uint8_t filterType, uint8_t* row, const uint8_t* prior, size_t rowBytes,
                 size_t unit);

struct RowFormat {
    uint8_t colourType = 0;
    uint8_t bitDepth = 0;
    // Final premultiplied BGRA colour for each palette index or grey sample (depths up to 8).
    uint8_t lookup[256][4] = {};
    // Transparent colour for grey and RGB images: the high bytes at depth 16, else the samples.
    bool hasKey = false;
    uint8_t key[3] = {};
};

// Converts count pixels of an unfiltered row into dst, advancing dst by step pixels each time.
using ConvertRowFn = void (*)(const uint8_t* src, uint8_t* dst, size_t count, size_t step,
                              const RowFormat& format);

// The converter for a colour type and bit depth, or nullptr for a combination PNG does not allow.
ConvertRowFn SelectRowConverter(uint8_t colourType, uint8_t bitDepth);

} // namespace velt
