#include "imaging/PngRows.h"

#include "imaging/PixelOps.h"

#include <cstdlib>
#include <cstring>

namespace velt {

namespace {

inline uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
    int p = a + b - c;
    int pa = std::abs(p - a);
    int pb = std::abs(p - b);
    int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

inline void Store(uint8_t* dst, uint32_t blue, uint32_t green, uint32_t red, uint32_t alpha) {
    dst[0] = static_cast<uint8_t>(MulDiv255(blue, alpha));
    dst[1] = static_cast<uint8_t>(MulDiv255(green, alpha));
    dst[2] = static_cast<uint8_t>(MulDiv255(red, alpha));
    dst[3] = static_cast<uint8_t>(alpha);
}

template <int Depth>
void ConvertIndexed(const uint8_t* src, uint8_t* dst, size_t count, size_t step, const RowFormat& f) {
    step *= 4;
    if constexpr (Depth == 8) {
        for (size_t i = 0; i < count; ++i, dst += step) std::memcpy(dst, f.lookup[src[i]], 4);
    } else {
        // Narrow samples are packed from the high bits of each byte.
        constexpr unsigned kPerByte = 8 / Depth;
        constexpr unsigned kMask = (1u << Depth) - 1;
        for (size_t i = 0; i < count; ++i, dst += step) {
            unsigned shift = (kPerByte - 1 - static_cast<unsigned>(i % kPerByte)) * Depth;
            unsigned index = (src[i / kPerByte] >> shift) & kMask;
            std::memcpy(dst, f.lookup[index], 4);
        }
    }
}

void ConvertGray16(const uint8_t* src, uint8_t* dst, size_t count, size_t step, const RowFormat& f) {
    step *= 4;
    for (size_t i = 0; i < count; ++i, src += 2, dst += step) {
        uint8_t g = src[0];
        uint32_t a = f.hasKey && g == f.key[0] ? 0 : 255;
        Store(dst, g, g, g, a);
    }
}

template <size_t Stride>
void ConvertGrayAlpha(const uint8_t* src, uint8_t* dst, size_t count, size_t step, const RowFormat&) {
    step *= 4;
    for (size_t i = 0; i < count; ++i, src += Stride, dst += step) {
        uint8_t g = src[0];
        Store(dst, g, g, g, src[Stride / 2]);
    }
}

template <size_t Stride>
void ConvertRgb(const uint8_t* src, uint8_t* dst, size_t count, size_t step, const RowFormat& f) {
    constexpr size_t kSample = Stride / 3;
    step *= 4;
    for (size_t i = 0; i < count; ++i, src += Stride, dst += step) {
        uint8_t r = src[0], g = src[kSample], b = src[2 * kSample];
        bool keyed = f.hasKey && r == f.key[0] && g == f.key[1] && b == f.key[2];
        if (keyed) {
            std::memset(dst, 0, 4);
        } else {
            dst[0] = b;
            dst[1] = g;
            dst[2] = r;
            dst[3] = 255;
        }
    }
}

template <size_t Stride>
void ConvertRgba(const uint8_t* src, uint8_t* dst, size_t count, size_t step, const RowFormat&) {
    constexpr size_t kSample = Stride / 4;
    step *= 4;
    for (size_t i = 0; i < count; ++i, src += Stride, dst += step) {
        uint32_t a = src[3 * kSample];
        if (a == 255) {
            dst[0] = src[2 * kSample];
            dst[1] = src[kSample];
            dst[2] = src[0];
            dst[3] = 255;
        } else {
            Store(dst, src[2 * kSample], src[kSample], src[0], a);
        }
    }
}

} // namespace

bool UnfilterRow(uint8_t filterType, uint8_t* row, const uint8_t* prior, size_t rowBytes,
                 size_t unit) {
    switch (filterType) {
    case 0: return true;
    case 1:
        for (size_t i = unit; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - unit]);
        return true;
    case 2:
        for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
        return true;
    case 3: {
        size_t first = unit < rowBytes ? unit : rowBytes;
        for (size_t i = 0; i < first; ++i) row[i] = static_cast<uint8_t>(row[i] + (prior[i] >> 1));
        for (size_t i = unit; i < rowBytes; ++i)
            row[i] = static_cast<uint8_t>(row[i] + ((row[i - unit] + prior[i]) >> 1));
        return true;
    }
    case 4: {
        size_t first = unit < rowBytes ? unit : rowBytes;
        for (size_t i = 0; i < first; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
        for (size_t i = unit; i < rowBytes; ++i)
            row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - unit], prior[i], prior[i - unit]));
        return true;
    }
    default: return false;
    }
}

ConvertRowFn SelectRowConverter(uint8_t colourType, uint8_t bitDepth) {
    switch (colourType) {
    case 0:
        switch (bitDepth) {
        case 1: return ConvertIndexed<1>;
        case 2: return ConvertIndexed<2>;
        case 4: return ConvertIndexed<4>;
        case 8: return ConvertIndexed<8>;
        case 16: return ConvertGray16;
        }
        return nullptr;
    case 3:
        switch (bitDepth) {
        case 1: return ConvertIndexed<1>;
        case 2: return ConvertIndexed<2>;
        case 4: return ConvertIndexed<4>;
        case 8: return ConvertIndexed<8>;
        }
        return nullptr;
    case 2: return bitDepth == 8 ? ConvertRgb<3> : bitDepth == 16 ? ConvertRgb<6> : nullptr;
    case 4: return bitDepth == 8 ? ConvertGrayAlpha<2> : bitDepth == 16 ? ConvertGrayAlpha<4> : nullptr;
    case 6: return bitDepth == 8 ? ConvertRgba<4> : bitDepth == 16 ? ConvertRgba<8> : nullptr;
    }
    return nullptr;
}

} // namespace velt
