#pragma once
// A window region from an image's alpha channel.
#include "platform/Handles_win.h"

#include <cstdint>

namespace velt {

class c32bppDIB;

// The whole rectangle for an image without alpha; otherwise the visible pixels in the given
// style (0 bounding box, 1 row spans, 2 exact). Empty when nothing is visible.
UniqueRegion BuildAlphaRegion(const c32bppDIB& image, int32_t style);

} // namespace velt
