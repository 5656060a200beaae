#pragma once
// The image side of the PNG writer: which colour type an image is written in, its palette and
// transparency, and its rows in that layout, filtered.
#include "imaging/PixelOps.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velt {

enum PngColourType : uint8_t {
    pngGrey = 0,
    pngTruecolour = 2,
    pngIndexed = 3,
    pngTruecolourAlpha = 6
};

struct PngLayout {
    uint8_t colourType = pngTruecolourAlpha;
    size_t bytesPerPixel = 4;
    // Indexed: red, green, blue of each entry.
    std::vector<uint8_t> palette;
    // The tRNS chunk's data: palette alphas, or the key as 16-bit samples; empty for none.
    std::vector<uint8_t> transparency;
    // What transparent pixels are written as: a grey level (key[0]) or a colour.
    bool hasKey = false;
    uint8_t key[3] = {};
    // Indexed: the distinct stored pixel values in ascending order (as signed 32-bit numbers)
    // and the palette entry of each.
    std::vector<int32_t> values;
    std::vector<uint8_t> paletteIndex;
};

// The layout the image is written in. alpha is the image's Alpha flag: without it every pixel
// counts as opaque.
PngLayout ChoosePngLayout(PixelView pixels, bool alpha);

// Row y (from the top) in the layout's bytes: width x bytesPerPixel bytes into out.
void LayoutRow(const PngLayout& layout, PixelView pixels, bool alpha, int32_t y, uint8_t* out);

enum PngFilter : uint8_t {
    pngFilterNone,
    pngFilterSub,
    pngFilterUp,
    pngFilterAverage,
    pngFilterPaeth
};

// The filter every row gets for a filter choice (1..5 name one; 0 and anything else but 6 mean
// Paeth for truecolour and None for grey and palettes); 6 (adaptive) gives pngFilterAdaptive.
constexpr uint8_t pngFilterAdaptive = 0xFF;
uint8_t FilterForChoice(int32_t choice, uint8_t colourType);

// Filters one row: out[i] = row[i] - predictor. prior is the unfiltered row above (zeros for
// the top row); bpp the distance to the left neighbour.
void FilterRow(uint8_t filter, const uint8_t* row, const uint8_t* prior, size_t length, size_t bpp,
               uint8_t* out);

// The filter the adaptive rule picks for a row: the one whose bytes differ least from their
// predictors (as plain numbers, not modulo 256), later filters winning ties; only None and Sub
// on the top row.
uint8_t AdaptiveFilter(const uint8_t* row, const uint8_t* prior, size_t length, size_t bpp,
                       bool topRow);

// Every row from the top, each its filter byte and its filtered bytes. False when the memory
// cannot be had.
bool FilteredImage(const PngLayout& layout, PixelView pixels, bool alpha, int32_t filterChoice,
                   std::vector<uint8_t>& out);

} // namespace velt
