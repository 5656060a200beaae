#pragma once
// Codes an image reports about where its pixels came from, and the capability bits that say
// which drawing services the running system allows. The values are fixed: callers store them.
#include <cstdint>

namespace velt {

enum ImageTypeCode : int32_t {
    itNone = -1,
    itBlank = 0,
    itBitmap = 1,
    itMetafile = 2,
    itIcon = 3,
    itEnhMetafile = 4,
    itCursor = 5,
    itBitmapAlpha = 6,
    itBitmapPremultiplied = 7,
    itIconAlpha = 8,
    itGIF = 9,
    itPNG = 10,
    itIconPNG = 11,
    itCursorAlpha = 12,
    itCheckerBoard = 64,
};

enum CapabilityFlag : uint32_t {
    cfAlphaBlendOn = 1,
    cfGdiPlusOn = 2,
    cfAlphaBlendUsable = 8,
    cfAlphaBlendNoDibCopy = 16,
    cfNoGdiPlus = 32,
};

} // namespace velt
