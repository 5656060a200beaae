#include "imaging/SoftwareDraw.h"

#include "imaging/PixelOps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace velt {

namespace {

int32_t Magnitude(int32_t value) {
    if (value == INT32_MIN) return INT32_MAX;
    return value < 0 ? -value : value;
}

// Bilinear sampling positions along one axis, in 1/256 steps.
struct Tap {
    int32_t first;
    int32_t second;
    uint32_t weight; // of the second pixel, 0..256
};

// count taps of an axis scaled from size source pixels to scaled pixels (count may be fewer when
// the output is clipped).
void BuildTaps(std::vector<Tap>& taps, int32_t count, int32_t scaled, int32_t origin, int32_t size,
               bool highQuality) {
    taps.resize(static_cast<size_t>(count));
    const double step = static_cast<double>(size) / scaled;
    for (int32_t i = 0; i < count; ++i) {
        double position = i * step;
        int32_t whole = std::min(static_cast<int32_t>(position), size - 1);
        uint32_t weight = 0;
        int32_t next = whole;
        if (highQuality) {
            weight = static_cast<uint32_t>((position - whole) * 256.0);
            // At the last pixel there is no neighbour: the one that exists takes all the weight.
            next = std::min(whole + 1, size - 1);
        }
        taps[static_cast<size_t>(i)] = {origin + whole, origin + next, weight};
    }
}

} // namespace

bool WorkBuffer::Allocate(int32_t w, int32_t h) {
    if (w < 1 || h < 1) return false;
    try {
        bytes.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool ClipSourceRect(SourceRect& rect, int32_t width, int32_t height) {
    if (rect.x < 0) rect.x = 0;
    if (rect.y < 0) rect.y = 0;
    if (rect.x >= width || rect.y >= height) return false;
    rect.width = std::min(rect.width, width - rect.x);
    rect.height = std::min(rect.height, height - rect.y);
    return rect.width > 0 && rect.height > 0;
}

bool MirrorCopy(PixelView source, SourceRect& src, int32_t& destWidth, int32_t& destHeight,
                WorkBuffer* out, const PixelView* target) {
    if (destWidth >= 1 && destHeight >= 1) return true;
    const bool flipX = destWidth < 0;
    const bool flipY = destHeight < 0;
    destWidth = Magnitude(destWidth);
    destHeight = Magnitude(destHeight);
    if (source.empty() || !ClipSourceRect(src, source.width, source.height)) return false;
    PixelView dst;
    if (target) {
        dst = *target;
    } else {
        if (!out || !out->Allocate(src.width, src.height)) return false;
        dst = out->view();
    }
    if (dst.empty()) return false;
    const int32_t w = std::min(src.width, dst.width);
    const int32_t h = std::min(src.height, dst.height);
    for (int32_t y = 0; y < h; ++y) {
        int32_t sy = src.y + (flipY ? src.height - 1 - y : y);
        const uint8_t* from = source.Pixel(src.x, sy);
        uint8_t* to = dst.Row(y);
        if (!flipX) {
            std::memcpy(to, from, static_cast<size_t>(w) * 4);
            continue;
        }
        for (int32_t x = 0; x < w; ++x)
            std::memcpy(to + static_cast<size_t>(x) * 4,
                        from + static_cast<size_t>(src.width - 1 - x) * 4, 4);
    }
    src.x = 0;
    src.y = 0;
    return true;
}

bool ScaleCopy(PixelView source, SourceRect src, int32_t destWidth, int32_t destHeight,
               bool highQuality, WorkBuffer* out, const PixelView* target) {
    destWidth = Magnitude(destWidth);
    destHeight = Magnitude(destHeight);
    if (source.empty()) return false;
    if (src.width == 0) src.width = source.width;
    if (src.height == 0) src.height = source.height;
    if (!ClipSourceRect(src, source.width, source.height)) return false;
    int32_t outWidth = destWidth;
    int32_t outHeight = destHeight;
    if (target) {
        outWidth = std::min(outWidth, target->width);
        outHeight = std::min(outHeight, target->height);
    }
    if (outWidth < 1 || outHeight < 1 || (target && target->empty())) return false;
    PixelView dst;
    if (target) {
        dst = *target;
    } else {
        if (!out || !out->Allocate(outWidth, outHeight)) return false;
        dst = out->view();
    }

    std::vector<Tap> columns;
    std::vector<Tap> rows;
    try {
        BuildTaps(columns, outWidth, destWidth, src.x, src.width, highQuality);
        BuildTaps(rows, outHeight, destHeight, src.y, src.height, highQuality);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int32_t y = 0; y < outHeight; ++y) {
        const Tap& ty = rows[static_cast<size_t>(y)];
        const uint8_t* upper = source.Row(ty.first);
        const uint8_t* lower = source.Row(ty.second);
        uint8_t* to = dst.Row(y);
        for (int32_t x = 0; x < outWidth; ++x, to += 4) {
            const Tap& tx = columns[static_cast<size_t>(x)];
            const uint8_t* a = upper + static_cast<size_t>(tx.first) * 4;
            if (!highQuality) {
                std::memcpy(to, a, 4);
                continue;
            }
            const uint8_t* b = upper + static_cast<size_t>(tx.second) * 4;
            const uint8_t* c = lower + static_cast<size_t>(tx.first) * 4;
            const uint8_t* d = lower + static_cast<size_t>(tx.second) * 4;
            BlendBilinear(a, b, c, d, tx.weight, ty.weight, to);
        }
    }
    return true;
}

void BlendToTarget(PixelView source, int32_t srcX, int32_t srcY, const BlendSurface& dest,
                   int32_t destX, int32_t destY, int32_t width, int32_t height,
                   uint8_t constantAlpha, int32_t grayFormula) {
    if (source.empty() || !dest.bits || dest.width < 1 || dest.height < 1) return;
    // Clip against the destination, then against the source, moving both origins together.
    auto clip = [](int32_t& dst, int32_t& src, int32_t& size, int32_t dstLimit, int32_t srcLimit) {
        int64_t shift = std::max<int64_t>({0, -int64_t{dst}, -int64_t{src}});
        int64_t d = int64_t{dst} + shift, s = int64_t{src} + shift;
        int64_t n = int64_t{size} - shift;
        n = std::min({n, int64_t{dstLimit} - d, int64_t{srcLimit} - s});
        dst = static_cast<int32_t>(std::min<int64_t>(d, INT32_MAX));
        src = static_cast<int32_t>(std::min<int64_t>(s, INT32_MAX));
        size = n > 0 ? static_cast<int32_t>(n) : 0;
    };
    clip(destX, srcX, width, dest.width, source.width);
    clip(destY, srcY, height, dest.height, source.height);
    if (width < 1 || height < 1) return;

    const bool gray = grayFormula != -1;
    const GrayWeightSet weights = GrayWeights(grayFormula);
    const uint32_t k = constantAlpha;
    const int bpp = dest.bytesPerPixel;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = source.Pixel(srcX, srcY + y);
        uint8_t* d = dest.bits + static_cast<size_t>(dest.height - 1 - (destY + y)) * dest.stride +
                     static_cast<size_t>(destX) * static_cast<size_t>(bpp);
        for (int32_t x = 0; x < width; ++x, s += 4, d += bpp) {
            const uint32_t a = s[3];
            if (a == 0) continue;
            uint8_t px[4] = {s[0], s[1], s[2], s[3]};
            if (gray) std::memset(px, GrayValue(s[0], s[1], s[2], weights), 3);
            if (k == 255) {
                if (a == 255) {
                    std::memcpy(d, px, static_cast<size_t>(bpp));
                    continue;
                }
                for (int i = 0; i < bpp; ++i)
                    d[i] = static_cast<uint8_t>(
                        std::min<uint32_t>(255, d[i] * (255 - a) / 255 + px[i]));
                continue;
            }
            const uint32_t keep = 255 - a * k / 255;
            for (int i = 0; i < bpp; ++i)
                d[i] = static_cast<uint8_t>(
                    std::min<uint32_t>(255, (d[i] * keep + px[i] * k) / 255));
        }
    }
}

} // namespace velt
