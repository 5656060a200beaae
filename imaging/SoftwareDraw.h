#pragma once
// The software drawing path: mirroring, resampling and composing premultiplied pixels where the
// system's AlphaBlend cannot (mirrored or grey drawing, high-quality stretching).
#include "imaging/PixelOps.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velt {

// Pixels produced on the way to the destination, laid out like an image.
struct WorkBuffer {
    std::vector<uint8_t> bytes;
    int32_t width = 0;
    int32_t height = 0;

    bool Allocate(int32_t w, int32_t h); // zero-filled; false when it cannot be had
    PixelView view() { return {bytes.data(), width, height}; }
};

struct SourceRect {
    int32_t x = 0;
    int32_t y = 0; // from the top
    int32_t width = 0;
    int32_t height = 0;
};

// Clips rect to an image of width x height; false when nothing is left.
bool ClipSourceRect(SourceRect& rect, int32_t width, int32_t height);

// Copies the source rectangle flipped on every axis whose destination size is negative, into
// out (sized like the rectangle) or straight into target (clipped to it). Afterwards the
// rectangle starts at 0, 0 and both sizes are positive. Nothing to do when neither is negative.
bool MirrorCopy(PixelView source, SourceRect& src, int32_t& destWidth, int32_t& destHeight,
                WorkBuffer* out, const PixelView* target);

// Resamples the source rectangle to destWidth x destHeight (absolute values): nearest pixel, or
// a bilinear mix of four when highQuality. Writes out (a new buffer) or target's pixels,
// clipped to target. False when the output would be empty.
bool ScaleCopy(PixelView source, SourceRect src, int32_t destWidth, int32_t destHeight,
               bool highQuality, WorkBuffer* out, const PixelView* target);

// Destination pixels for composing: 3 bytes (colour only) or 4 a pixel, rows of stride bytes
// stored bottom-up.
struct BlendSurface {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;
    int bytesPerPixel = 4;
};

// Composes width x height source pixels from (srcX, srcY) onto dest at (destX, destY), clipped
// to both, with constant alpha (0..255) and a grey formula (-1 for none).
void BlendToTarget(PixelView source, int32_t srcX, int32_t srcY, const BlendSurface& dest,
                   int32_t destX, int32_t destY, int32_t width, int32_t height,
                   uint8_t constantAlpha, int32_t grayFormula);

} // namespace velt
