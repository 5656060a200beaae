#include "imaging/PixelOps.h"

#include "imaging/ImageTypes.h"

#include <cmath>

namespace velt {

namespace {

enum class AlphaState { Premultiplied, ColourUnderZero, NotPremultiplied };

AlphaState ScanAlpha(PixelView pixels, uint64_t& zeroCount, uint64_t& opaqueCount) {
    AlphaState state = AlphaState::Premultiplied;
    for (int32_t row = 0; row < pixels.height; ++row) {
        const uint8_t* p = pixels.bits + static_cast<size_t>(row) * pixels.rowBytes();
        for (int32_t x = 0; x < pixels.width; ++x, p += 4) {
            uint8_t a = p[3];
            if (a == 0) {
                if (state == AlphaState::Premultiplied && (p[0] | p[1] | p[2]))
                    state = AlphaState::ColourUnderZero;
                ++zeroCount;
            } else if (a == 255) {
                if (state == AlphaState::ColourUnderZero) return AlphaState::NotPremultiplied;
                ++opaqueCount;
            } else if (state == AlphaState::ColourUnderZero || p[0] > a || p[1] > a || p[2] > a) {
                return AlphaState::NotPremultiplied;
            }
        }
    }
    return state;
}

void Premultiply(PixelView pixels) {
    size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    uint8_t* p = pixels.bits;
    for (size_t i = 0; i < count; ++i, p += 4) {
        uint32_t a = p[3];
        if (a == 255) continue;
        p[0] = static_cast<uint8_t>(MulDiv255(p[0], a));
        p[1] = static_cast<uint8_t>(MulDiv255(p[1], a));
        p[2] = static_cast<uint8_t>(MulDiv255(p[2], a));
    }
}

void MakeOpaque(PixelView pixels) {
    size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    for (size_t i = 0; i < count; ++i) pixels.bits[i * 4 + 3] = 255;
}

} // namespace

bool ClassifyAlpha(PixelView pixels, bool premultiply, int32_t& imageType) {
    if (pixels.empty()) return false;
    if (imageType != itNone) {
        uint64_t zeroCount = 0;
        uint64_t opaqueCount = 0;
        AlphaState state = ScanAlpha(pixels, zeroCount, opaqueCount);
        uint64_t total = static_cast<uint64_t>(pixels.width) * static_cast<uint64_t>(pixels.height);
        // A scan that stopped early has counted fewer than all pixels, so it always uses alpha.
        if (zeroCount != total && opaqueCount != total) {
            if (state == AlphaState::Premultiplied) {
                imageType = itBitmapPremultiplied;
            } else {
                imageType = itBitmapAlpha;
                if (premultiply) Premultiply(pixels);
            }
            return true;
        }
    }
    // All transparent or all opaque: the channel carries nothing, so the picture shows opaque.
    if (premultiply) MakeOpaque(pixels);
    imageType = itBitmap;
    return false;
}

GrayWeightSet GrayWeights(int32_t formula) {
    switch (formula) {
    case -1: return {1.0f, 1.0f, 1.0f};
    case 1: return {0.213f, 0.715f, 0.072f};
    case 2: return {0.333f, 0.334f, 0.333f};
    case 3: return {0.8f, 0.1f, 0.1f};
    case 4: return {0.1f, 0.8f, 0.1f};
    case 5: return {0.1f, 0.1f, 0.8f};
    case 6: return {0.45f, 0.45f, 0.1f};
    case 7: return {0.1f, 0.45f, 0.45f};
    default: return {0.299f, 0.587f, 0.114f};
    }
}

uint8_t GrayValue(uint8_t blue, uint8_t green, uint8_t red, const GrayWeightSet& weights) {
    float sum = static_cast<float>(blue) * weights.blue +
                static_cast<float>(green) * weights.green + static_cast<float>(red) * weights.red;
    long rounded = std::lrint(255.0f * sum); // the default rounding mode sends halves to even
    long gray = rounded / 255;
    if (gray < 0) return 0;
    return static_cast<uint8_t>(gray > 255 ? 255 : gray);
}

int32_t RowBytes(int32_t bitsPerPixel, int32_t width) {
    if (bitsPerPixel < 0 || width < 0) return 0;
    int64_t bits = static_cast<int64_t>(bitsPerPixel) * width;
    if (bits > 0x7FFFFFE0) return 0;
    int64_t bytes = (bits + 31) / 32 * 4;
    return bytes > 0x7FFFFFE0 ? 0 : static_cast<int32_t>(bytes);
}

int32_t SwapLong(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    v = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
    return static_cast<int32_t>(v);
}

} // namespace velt
