#pragma once
// Pixel arithmetic shared by the image object, the decoders and the software drawing path.
// Pixels are premultiplied blue-green-red-alpha; rows are 4 × width bytes, stored bottom-up.
#include <cstddef>
#include <cstdint>

namespace velt {

// c × a \ 255, truncating, exact for c and a in 0..255.
constexpr uint32_t MulDiv255(uint32_t c, uint32_t a) { return (c * a * 0x8081u) >> 23; }

// One pixel between four neighbours (a b over c d), weights in 256ths towards b and towards d.
inline void BlendBilinear(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                          uint32_t wx, uint32_t wy, uint8_t* to) {
    const uint32_t wa = (256 - wx) * (256 - wy), wb = wx * (256 - wy);
    const uint32_t wc = (256 - wx) * wy, wd = wx * wy;
    for (int i = 0; i < 4; ++i)
        to[i] = static_cast<uint8_t>((a[i] * wa + b[i] * wb + c[i] * wc + d[i] * wd + 32768) >> 16);
}

// A window on pixel memory laid out like the image: 4 × width bytes a row, bottom row first.
struct PixelView {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;

    bool empty() const { return !bits || width < 1 || height < 1; }
    size_t rowBytes() const { return static_cast<size_t>(width) * 4; }
    // y counts from the top of the picture.
    uint8_t* Row(int32_t y) const {
        return bits + static_cast<size_t>(height - 1 - y) * rowBytes();
    }
    uint8_t* Pixel(int32_t x, int32_t y) const { return Row(y) + static_cast<size_t>(x) * 4; }
};

// Decides whether raw 32-bit pixels use their alpha channel and whether it is premultiplied.
// imageType -1 on entry means "alpha not used" without a scan. Otherwise it becomes
// itBitmapPremultiplied, itBitmapAlpha (pixels premultiplied here when premultiply is set) or
// itBitmap (alpha forced to 255 when premultiply is set). Returns whether alpha is used.
bool ClassifyAlpha(PixelView pixels, bool premultiply, int32_t& imageType);

struct GrayWeightSet {
    float red;
    float green;
    float blue;
};

// The weights of a grey formula; -1 is "no conversion" (all 1.0), unknown codes are formula 0.
GrayWeightSet GrayWeights(int32_t formula);

// round(255 × (b × wB + g × wG + r × wR)) \ 255 in single precision, halves to even.
uint8_t GrayValue(uint8_t blue, uint8_t green, uint8_t red, const GrayWeightSet& weights);

// Bytes in one row of a bitmap padded to 32 bits; 0 when the size would not fit in 31 bits.
int32_t RowBytes(int32_t bitsPerPixel, int32_t width);

// The four bytes of a 32-bit value reversed.
int32_t SwapLong(int32_t value);

} // namespace velt
