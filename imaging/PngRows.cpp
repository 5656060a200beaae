#include "imaging/PngRows.h"

#include "imaging/PixelOps.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velt {

namespace {

#if defined(__SSE2__)
// Whole pixels of 3 or 4 bytes, one pixel per step in the low lanes of a register. The Sub,
// Average and Paeth filters depend on the pixel to the left, so pixels go one at a time, but
// each pixel's bytes are done together.
template <size_t Unit>
inline __m128i LoadPixel(const uint8_t* p) {
    uint32_t v = 0;
    std::memcpy(&v, p, Unit);
    return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <size_t Unit>
inline void StorePixel(uint8_t* p, __m128i v) {
    uint32_t bits = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    std::memcpy(p, &bits, Unit);
}

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <size_t Unit>
void SubPixels(uint8_t* row, size_t rowBytes) {
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + Unit <= rowBytes; i += Unit) {
        left = _mm_add_epi8(LoadPixel<Unit>(row + i), left);
        StorePixel<Unit>(row + i, left);
    }
}

template <size_t Unit>
void AveragePixels(uint8_t* row, const uint8_t* prior, size_t rowBytes) {
    const __m128i one = _mm_set1_epi8(1);
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + Unit <= rowBytes; i += Unit) {
        __m128i up = LoadPixel<Unit>(prior + i);
        // (a + b) >> 1 from the rounding-up average.
        __m128i average = _mm_sub_epi8(_mm_avg_epu8(left, up),
                                       _mm_and_si128(_mm_xor_si128(left, up), one));
        left = _mm_add_epi8(LoadPixel<Unit>(row + i), average);
        StorePixel<Unit>(row + i, left);
    }
}

template <size_t Unit>
void PaethPixels(uint8_t* row, const uint8_t* prior, size_t rowBytes) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero; // left and upper left, widened to 16 bits
    for (size_t i = 0; i + Unit <= rowBytes; i += Unit) {
        __m128i b = _mm_unpacklo_epi8(LoadPixel<Unit>(prior + i), zero);
        __m128i pa = Abs16(_mm_sub_epi16(b, c)); // |p - a| = |b - c|
        __m128i pb = Abs16(_mm_sub_epi16(a, c)); // |p - b| = |a - c|
        __m128i pc = Abs16(_mm_add_epi16(_mm_sub_epi16(a, c), _mm_sub_epi16(b, c)));
        __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        // Ties go to a, then b: the same order as the scalar rule.
        __m128i predictor = Select(_mm_cmpeq_epi16(pb, smallest), b, c);
        predictor = Select(_mm_cmpeq_epi16(pa, smallest), a, predictor);
        __m128i x = _mm_add_epi8(LoadPixel<Unit>(row + i), _mm_packus_epi16(predictor, zero));
        StorePixel<Unit>(row + i, x);
        a = _mm_unpacklo_epi8(x, zero);
        c = b;
    }
}

// 8-bit RGBA to premultiplied BGRA, four pixels at a time.
size_t ConvertRgbaBlock(const uint8_t* src, uint8_t* dst, size_t count) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i divide = _mm_set1_epi16(static_cast<short>(0x8081));
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    size_t i = 0;
    for (; i + 4 <= count; i += 4, src += 16, dst += 16) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        __m128i halves[2] = {_mm_unpacklo_epi8(pixels, zero), _mm_unpackhi_epi8(pixels, zero)};
        for (__m128i& h : halves) {
            __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(h, 0xFF), 0xFF);
            // c * a / 255 exactly: (x * 0x8081) >> 23, as a high multiply and a shift.
            __m128i scaled = _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(h, alpha), divide), 7);
            scaled = Select(alphaLanes, h, scaled);
            // RGBA to BGRA.
            h = _mm_shufflehi_epi16(_mm_shufflelo_epi16(scaled, _MM_SHUFFLE(3, 0, 1, 2)),
                                    _MM_SHUFFLE(3, 0, 1, 2));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(halves[0], halves[1]));
    }
    return i;
}
#endif

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
void ConvertIndexed(const uint8_t* src, uint8_t* dst, size_t count, size_t step,
                    const RowFormat& f) {
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

void ConvertGray16(const uint8_t* src, uint8_t* dst, size_t count, size_t step,
                   const RowFormat& f) {
    step *= 4;
    for (size_t i = 0; i < count; ++i, src += 2, dst += step) {
        uint8_t g = src[0];
        uint32_t a = f.hasKey && g == f.key[0] ? 0 : 255;
        Store(dst, g, g, g, a);
    }
}

template <size_t Stride>
void ConvertGrayAlpha(const uint8_t* src, uint8_t* dst, size_t count, size_t step,
                      const RowFormat&) {
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
    size_t i = 0;
#if defined(__SSE2__)
    if (Stride == 4 && step == 1) {
        i = ConvertRgbaBlock(src, dst, count);
        src += i * 4;
        dst += i * 4;
    }
#endif
    step *= 4;
    for (; i < count; ++i, src += Stride, dst += step) {
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

bool UnfilterRow(uint8_t filterType, uint8_t* __restrict row, const uint8_t* __restrict prior,
                 size_t rowBytes, size_t unit) {
#if defined(__SSE2__)
    if (unit == 3 || unit == 4) {
        const bool four = unit == 4;
        switch (filterType) {
        case 1: four ? SubPixels<4>(row, rowBytes) : SubPixels<3>(row, rowBytes); return true;
        case 3:
            four ? AveragePixels<4>(row, prior, rowBytes) : AveragePixels<3>(row, prior, rowBytes);
            return true;
        case 4:
            four ? PaethPixels<4>(row, prior, rowBytes) : PaethPixels<3>(row, prior, rowBytes);
            return true;
        default: break;
        }
    }
#endif
    switch (filterType) {
    case 0: return true;
    case 1:
        for (size_t i = unit; i < rowBytes; ++i)
            row[i] = static_cast<uint8_t>(row[i] + row[i - unit]);
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
    case 4:
        return bitDepth == 8 ? ConvertGrayAlpha<2> : bitDepth == 16 ? ConvertGrayAlpha<4> : nullptr;
    case 6: return bitDepth == 8 ? ConvertRgba<4> : bitDepth == 16 ? ConvertRgba<8> : nullptr;
    }
    return nullptr;
}

} // namespace velt
