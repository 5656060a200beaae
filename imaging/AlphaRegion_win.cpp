#include "imaging/AlphaRegion_win.h"

#include "imaging/AlphaRegion.h"
#include "imaging/c32bppDIB.h"

#include <cstring>
#include <span>
#include <vector>

namespace velt {

namespace {

// Regions refused as one piece are built from runs of this many rectangles.
constexpr size_t kChunk = 2000;

UniqueRegion RegionFrom(std::span<const RegionRect> rects, int32_t width) {
    const size_t n = rects.size();
    std::vector<uint8_t> data;
    try {
        data.resize(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
    } catch (const std::bad_alloc&) {
        return {};
    }
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(n);
    header.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
    header.rcBound = {0, rects.front().top, width, rects.back().bottom};
    std::memcpy(data.data(), &header, sizeof header);
    for (size_t i = 0; i < n; ++i) {
        RECT r{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
        std::memcpy(data.data() + sizeof header + i * sizeof(RECT), &r, sizeof r);
    }
    return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                        reinterpret_cast<const RGNDATA*>(data.data())));
}

UniqueRegion RegionInChunks(std::span<const RegionRect> rects, int32_t width) {
    UniqueRegion combined;
    // Consecutive chunks share their boundary rectangle.
    for (size_t start = 0; start < rects.size(); start += kChunk) {
        size_t count = std::min(kChunk + 1, rects.size() - start);
        UniqueRegion part = RegionFrom(rects.subspan(start, count), width);
        if (!part) return {};
        if (!combined) {
            combined = std::move(part);
        } else if (CombineRgn(combined.get(), combined.get(), part.get(), RGN_OR) == ERROR) {
            return {};
        }
    }
    return combined;
}

} // namespace

UniqueRegion BuildAlphaRegion(const c32bppDIB& image, int32_t style) {
    if (!image.Alpha()) return UniqueRegion(CreateRectRgn(0, 0, image.Width(), image.Height()));
    if (image.Width() < 1 || image.Height() < 1) return {};
    std::vector<RegionRect> rects = AlphaRegionRects(image.Pixels(), style);
    if (rects.empty()) return {};
    if (style == 0) {
        const RegionRect& r = rects.front();
        return UniqueRegion(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    }
    UniqueRegion region = RegionFrom(rects, image.Width());
    if (!region && rects.size() > kChunk) region = RegionInChunks(rects, image.Width());
    return region;
}

} // namespace velt
