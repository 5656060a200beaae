#pragma once
// The rectangles that cover an image's pixels whose alpha is not 0, as a window region needs
// them: style 0 one bounding box, 1 one span per row, 2 one rectangle per run of pixels.
#include "imaging/PixelOps.h"

#include <cstdint>
#include <vector>

namespace velt {

struct RegionRect {
    int32_t left, top, right, bottom; // y from the top of the picture
};

// Rows top to bottom, left to right within a row. Empty when no pixel is visible.
std::vector<RegionRect> AlphaRegionRects(PixelView pixels, int32_t style);

} // namespace velt
