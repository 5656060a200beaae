#include "platform/DesktopsManager/BoxBlur.h"

#include <gtest/gtest.h>

#include <vector>

namespace velt {
namespace {

TEST(BoxBlur, UniformPicturesStayUniform) {
    std::vector<std::uint32_t> pixels(7 * 5, 0x80A0C0E0u);
    BoxBlur(pixels, 7, 5, 2, 3);
    for (std::uint32_t pixel : pixels) EXPECT_EQ(pixel, 0x80A0C0E0u);
}

TEST(BoxBlur, AnImpulseSpreadsSymmetricallyAndKeepsItsWeight) {
    const int size = 21;
    std::vector<std::uint32_t> pixels(size * size, 0);
    pixels[10 * size + 10] = 0x00FF0000u; // red only, in the middle
    BoxBlur(pixels, size, size, 1, 1);
    auto red = [&](int x, int y) {
        return (pixels[static_cast<size_t>(y * size + x)] >> 16) & 0xFF;
    };
    EXPECT_EQ(red(10, 10), red(9, 9));
    EXPECT_EQ(red(11, 10), red(10, 9));
    EXPECT_GT(red(10, 10), 0u);
    EXPECT_EQ(red(12, 10), 0u);                          // radius 1, one pass
    EXPECT_EQ(pixels[10 * size + 10] & 0xFF00FFFFu, 0u); // other bytes untouched
    unsigned total = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) total += red(x, y);
    EXPECT_NEAR(static_cast<int>(total), 255, 9); // rounding per pixel only
}

TEST(BoxBlur, EdgesRepeatAndBadSizesDoNothing) {
    std::vector<std::uint32_t> line = {0, 0, 0, 90};
    BoxBlur(line, 4, 1, 1, 1);
    EXPECT_EQ(line[3], 60u); // (0 + 90 + 90) / 3: the edge pixel repeats
    EXPECT_EQ(line[0], 0u);

    std::vector<std::uint32_t> pixels = {1, 2, 3};
    BoxBlur(pixels, 2, 2, 1, 1); // sizes do not match the span
    BoxBlur(pixels, 3, 1, 0, 1);
    BoxBlur(pixels, 0, 0, 1, 1);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{1, 2, 3}));
    std::vector<std::uint32_t> one = {77};
    BoxBlur(one, 1, 1, 5, 3);
    EXPECT_EQ(one[0], 77u);
}

} // namespace
} // namespace velt
