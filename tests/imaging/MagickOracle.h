#pragma once
// ImageMagick's convert as an independent decoder in tests: a picture file in memory to straight
// RGBA, top row first. Empty when convert refuses the file (or is missing).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velt::test {

struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba; // straight alpha, top row first
    bool empty() const { return rgba.empty(); }
};

// extension names the format for convert ("bmp", "ico", "gif"); frame picks the icon entry or
// the GIF frame.
RgbaImage DecodeWithMagick(std::span<const uint8_t> file, const std::string& extension,
                           int frame = 0);

// The oracle's picture as c32bppDIB keeps pixels: premultiplied BGRA, bottom row first.
std::vector<uint8_t> AsImagePixels(const RgbaImage& image);

} // namespace velt::test
