#include "imaging/AlphaRegion.h"

#include <algorithm>
#include <new>

namespace velt {

std::vector<RegionRect> AlphaRegionRects(PixelView pixels, int32_t style) {
    std::vector<RegionRect> rects;
    if (pixels.empty() || style < 0 || style > 2) return rects;
    const int32_t width = pixels.width;
    int32_t minX = width, maxX = -1, firstRow = -1, lastRow = -1;
    try {
        for (int32_t y = 0; y < pixels.height; ++y) {
            const uint8_t* row = pixels.Row(y);
            auto visible = [row](int32_t x) { return row[static_cast<size_t>(x) * 4 + 3] != 0; };
            int32_t first = 0;
            while (first < width && !visible(first)) ++first;
            if (first == width) continue;
            int32_t last = width - 1;
            while (!visible(last)) --last;
            if (firstRow < 0) firstRow = y;
            lastRow = y;
            minX = std::min(minX, first);
            maxX = std::max(maxX, last);
            if (style == 1) {
                rects.push_back({first, y, last + 1, y + 1});
            } else if (style == 2) {
                for (int32_t x = first; x <= last;) {
                    int32_t start = x;
                    while (x <= last && visible(x)) ++x;
                    rects.push_back({start, y, x, y + 1});
                    while (x <= last && !visible(x)) ++x;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (style == 0 && firstRow >= 0) rects.push_back({minX, firstRow, maxX + 1, lastRow + 1});
    return rects;
}

} // namespace velt
