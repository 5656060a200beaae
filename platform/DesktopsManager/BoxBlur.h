#pragma once
// The blur of DesktopsManager.dll: repeated box blurs over 32-bit pixels, which approach a
// Gaussian blur. Every byte of a pixel (blue, green, red, alpha) is blurred on its own; pixels
// beyond the edges repeat the edge pixel.
#include <cstdint>
#include <span>

namespace velt {

inline constexpr int kDefaultBlurRadius = 2;
inline constexpr int kBlurPasses = 3;

// Blurs width x height pixels, row after row, in place. Does nothing when the sizes do not match
// the span or the radius is not positive.
void BoxBlur(std::span<std::uint32_t> pixels, int width, int height, int radius, int passes);

} // namespace velt
