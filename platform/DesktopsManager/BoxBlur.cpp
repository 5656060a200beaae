#include "platform/DesktopsManager/BoxBlur.h"

#include <algorithm>
#include <vector>

namespace velt {

namespace {

// One box pass along a line of count pixels, step apart, through a copy of the line.
void BlurLine(std::uint32_t* first, int count, int step, int radius,
              std::vector<std::uint32_t>& line) {
    line.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        line[static_cast<std::size_t>(i)] = first[static_cast<std::ptrdiff_t>(i) * step];
    auto at = [&](int i) { return line[static_cast<std::size_t>(std::clamp(i, 0, count - 1))]; };
    int sums[4] = {};
    auto add = [&](std::uint32_t pixel, int sign) {
        for (int c = 0; c < 4; ++c) sums[c] += sign * static_cast<int>((pixel >> (8 * c)) & 0xFF);
    };
    for (int k = -radius; k <= radius; ++k) add(at(k), 1);
    const int span = 2 * radius + 1;
    for (int i = 0; i < count; ++i) {
        std::uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c)
            pixel |= static_cast<std::uint32_t>((sums[c] + span / 2) / span) << (8 * c);
        first[static_cast<std::ptrdiff_t>(i) * step] = pixel;
        add(at(i - radius), -1);
        add(at(i + radius + 1), 1);
    }
}

} // namespace

void BoxBlur(std::span<std::uint32_t> pixels, int width, int height, int radius, int passes) {
    if (width <= 0 || height <= 0 || radius <= 0) return;
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return;
    std::vector<std::uint32_t> line;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y)
            BlurLine(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                     width, 1, radius, line);
        for (int x = 0; x < width; ++x) BlurLine(pixels.data() + x, height, width, radius, line);
    }
}

} // namespace velt
