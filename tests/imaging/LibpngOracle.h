#pragma once
// libpng as the reference decoder in tests: a PNG in memory to premultiplied BGRA, laid out
// bottom-up like c32bppDIB. Empty when libpng rejects the file.
#include <cstdint>
#include <span>
#include <vector>

#include <png.h>

namespace velt::test {

struct OracleImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

OracleImage DecodeWithLibpng(std::span<const uint8_t> file);

// After png_read_info: every format expanded to 8-bit BGRA (straight alpha), interlacing undone.
inline void ExpandToBgra(png_structp png, png_infop info) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

} // namespace velt::test
