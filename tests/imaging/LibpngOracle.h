#pragma once
// libpng as the reference decoder in tests: a PNG in memory to premultiplied BGRA, laid out
// bottom-up like c32bppDIB. Empty when libpng rejects the file.
#include <cstdint>
#include <span>
#include <vector>

namespace velt::test {

struct OracleImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

OracleImage DecodeWithLibpng(std::span<const uint8_t> file);

} // namespace velt::test
