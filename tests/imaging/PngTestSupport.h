#pragma once
// Shared by the PNG decoder tests: random pictures of any format, and decoding through our
// parser with or without zlib.
#include "PngBuilder.h"

#include "imaging/PngParser.h"
#include "imaging/ZlibBinding.h"
#include "imaging/c32bppDIB.h"

#include <random>
#include <span>

namespace velt::test {

struct PngFormat {
    uint8_t colourType;
    uint8_t bitDepth;
};

// Every colour type and depth PNG allows.
inline constexpr PngFormat kAllFormats[] = {{0, 1}, {0, 2},  {0, 4},  {0, 8}, {0, 16},
                                            {2, 8}, {2, 16}, {3, 1},  {3, 2}, {3, 4},
                                            {3, 8}, {4, 8},  {4, 16}, {6, 8}, {6, 16}};

// Random samples; with transparency a colour key that several pixels match, or for palettes a
// tRNS shorter than the palette. 16-bit samples repeat their high byte in the low byte, so
// matching the key's high bytes and matching it exactly are the same thing.
inline PngPicture RandomPicture(PngFormat f, bool interlaced, bool transparency, uint32_t width,
                                uint32_t height, std::mt19937& rng) {
    PngPicture p;
    p.width = width;
    p.height = height;
    p.bitDepth = f.bitDepth;
    p.colourType = f.colourType;
    p.interlaced = interlaced;
    const size_t count = static_cast<size_t>(width) * height * static_cast<size_t>(p.channels());
    uint32_t levels = f.colourType == 3 ? std::min(1u << f.bitDepth, 200u)
                                        : 1u << std::min<int>(f.bitDepth, 8);
    for (size_t i = 0; i < count; ++i) {
        uint16_t v = static_cast<uint16_t>(rng() % levels);
        p.samples.push_back(f.bitDepth == 16 ? static_cast<uint16_t>(v * 257) : v);
    }
    if (f.colourType == 3) {
        for (uint32_t i = 0; i < levels * 3; ++i) p.palette.push_back(static_cast<uint8_t>(rng()));
        if (transparency) {
            for (uint32_t i = 0; i < levels / 2 + 1; ++i)
                p.transparency.push_back(static_cast<uint8_t>(rng()));
            p.transparency[0] = 0;
        }
    } else if (transparency && (f.colourType == 0 || f.colourType == 2)) {
        const int channels = p.channels();
        for (int c = 0; c < channels; ++c) {
            uint16_t key = p.at(0, 0, c);
            p.transparency.push_back(static_cast<uint8_t>(key >> 8));
            p.transparency.push_back(static_cast<uint8_t>(key));
        }
        for (uint32_t i = 0; i < width * height / 4; ++i) {
            uint32_t x = rng() % width, y = rng() % height;
            for (int c = 0; c < channels; ++c) p.at(x, y, c) = p.at(0, 0, c);
        }
    }
    return p;
}

// Decodes with our parser; zlib or our own inflater, no platform loader.
inline bool DecodeOurs(std::span<const uint8_t> file, c32bppDIB& host, bool withZlib) {
    static ZlibLibrary zlib;
    PngServices services;
    services.zlib = withZlib ? zlib.api() : nullptr;
    cPNGparser parser(services);
    return parser.LoadStream(file, host);
}

inline std::vector<uint8_t> PixelsOf(const c32bppDIB& image) {
    const uint8_t* bits = image.BitsPointer();
    if (!bits) return {};
    return {bits,
            bits + static_cast<size_t>(image.scanWidth()) * static_cast<size_t>(image.Height())};
}

} // namespace velt::test
