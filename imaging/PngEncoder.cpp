#include "imaging/PngEncoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

namespace velt {

namespace {

// The straight colour of premultiplied colour c under alpha a (index a x 256 + c): c x 255 / a
// rounded up, the one value that premultiplying again (s x a \ 255, as every loader here does)
// turns back into c, so that a picture saved and loaded again keeps its pixels. Colour above its
// alpha, which premultiplied pixels never have, stays at 255.
const uint8_t* UnpremultiplyTable() {
    static const std::array<uint8_t, 65536> table = [] {
        std::array<uint8_t, 65536> t{};
        for (uint32_t a = 1; a < 256; ++a)
            for (uint32_t c = 0; c < 256; ++c)
                t[a * 256 + c] = static_cast<uint8_t>(
                    std::min<uint32_t>(255, (c * 255 + a - 1) / a));
        return t;
    }();
    return table.data();
}

int32_t ValueAt(const uint8_t* p) {
    int32_t value;
    std::memcpy(&value, p, 4); // blue in the low byte, alpha in the high one
    return value;
}

uint8_t AlphaOf(int32_t value, bool alpha) {
    return alpha ? static_cast<uint8_t>(static_cast<uint32_t>(value) >> 24) : 255;
}

// The distinct pixel values, ascending, while there are no more than 256 of them.
bool CollectValues(PixelView pixels, std::vector<int32_t>& values) {
    values.reserve(256);
    const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    const uint8_t* p = pixels.bits;
    int32_t last = ValueAt(p);
    values.push_back(last);
    for (size_t i = 1; i < count; ++i) {
        const int32_t value = ValueAt(p + i * 4);
        if (value == last) continue; // runs of one colour are common
        last = value;
        auto at = std::lower_bound(values.begin(), values.end(), value);
        if (at != values.end() && *at == value) continue;
        if (values.size() == 256) return false;
        values.insert(at, value);
    }
    return true;
}

bool ChooseGreyOrIndexed(std::vector<int32_t>&& values, bool alpha, PngLayout& layout) {
    size_t nonOpaque = 0;
    int32_t translucent = 0;
    bool allGrey = true;
    for (int32_t value : values) {
        const auto v = static_cast<uint32_t>(value);
        if ((v & 0xFF) != ((v >> 8) & 0xFF) || (v & 0xFF) != ((v >> 16) & 0xFF)) allGrey = false;
        if (AlphaOf(value, alpha) != 255) {
            ++nonOpaque;
            translucent = value;
        }
    }
    layout.bytesPerPixel = 1;
    if (allGrey && (nonOpaque == 0 || (nonOpaque == 1 && AlphaOf(translucent, alpha) == 0))) {
        layout.colourType = pngGrey;
        if (!alpha) return true;
        // The key is the lowest level no opaque pixel uses; with as many levels to choose from as
        // there are values, only a picture without transparent pixels can use them all.
        bool used[256] = {};
        for (int32_t value : values)
            if (AlphaOf(value, alpha) == 255) used[value & 0xFF] = true;
        for (size_t level = 0; level < values.size(); ++level) {
            if (used[level]) continue;
            layout.hasKey = true;
            layout.key[0] = static_cast<uint8_t>(level);
            layout.transparency = {0, static_cast<uint8_t>(level)};
            break;
        }
        return true;
    }

    // Translucent entries first, so that tRNS stops at the first opaque one; the opaque ones
    // fill the palette from its end.
    layout.colourType = pngIndexed;
    const size_t n = values.size();
    layout.paletteIndex.resize(n);
    layout.palette.resize(n * 3);
    layout.transparency.resize(nonOpaque);
    size_t front = 0, back = n - 1;
    const uint8_t* unpremultiply = UnpremultiplyTable();
    for (size_t i = 0; i < n; ++i) {
        const auto v = static_cast<uint32_t>(values[i]);
        const uint8_t a = AlphaOf(values[i], alpha);
        const size_t entry = nonOpaque == 0 ? i : (a != 255 ? front++ : back--);
        layout.paletteIndex[i] = static_cast<uint8_t>(entry);
        uint8_t* rgb = &layout.palette[entry * 3];
        const uint8_t blue = v & 0xFF, green = (v >> 8) & 0xFF, red = (v >> 16) & 0xFF;
        if (a == 255) {
            rgb[0] = red, rgb[1] = green, rgb[2] = blue;
        } else {
            layout.transparency[entry] = a;
            const uint8_t* row = unpremultiply + a * 256;
            rgb[0] = row[red], rgb[1] = row[green], rgb[2] = row[blue]; // all 0 for a = 0
        }
    }
    layout.values = std::move(values);
    return true;
}

void ChooseTruecolour(PixelView pixels, bool alpha, PngLayout& layout) {
    layout.colourType = pngTruecolour;
    layout.bytesPerPixel = 3;
    if (!alpha) return;
    // Only opaque and clear pixels: a colour key may do instead of an alpha channel.
    static constexpr uint32_t kAlphaMask = 0xFF000000u;
    bool seen[3][256] = {};
    const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    const uint8_t* p = pixels.bits;
    for (size_t i = 0; i < count; ++i, p += 4) {
        const auto v = static_cast<uint32_t>(ValueAt(p));
        if ((v & kAlphaMask) == kAlphaMask) {
            seen[0][p[0]] = seen[1][p[1]] = seen[2][p[2]] = true;
        } else if (v != 0) {
            layout.colourType = pngTruecolourAlpha;
            layout.bytesPerPixel = 4;
            return;
        }
    }
    // A grey v, v, v that some channel never takes cannot be any opaque pixel's colour.
    for (int channel = 0; channel < 3; ++channel) {
        for (int level = 0; level < 256; ++level) {
            if (seen[channel][level]) continue;
            const auto v = static_cast<uint8_t>(level);
            layout.hasKey = true;
            layout.key[0] = layout.key[1] = layout.key[2] = v;
            layout.transparency = {0, v, 0, v, 0, v};
            return;
        }
    }
    layout.colourType = pngTruecolourAlpha;
    layout.bytesPerPixel = 4;
}

uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

} // namespace

PngLayout ChoosePngLayout(PixelView pixels, bool alpha) {
    PngLayout layout;
    if (pixels.empty()) return layout;
    std::vector<int32_t> values;
    if (CollectValues(pixels, values) && ChooseGreyOrIndexed(std::move(values), alpha, layout))
        return layout;
    ChooseTruecolour(pixels, alpha, layout);
    return layout;
}

void LayoutRow(const PngLayout& layout, PixelView pixels, bool alpha, int32_t y, uint8_t* out) {
    const uint8_t* p = pixels.Row(y);
    const int32_t width = pixels.width;
    switch (layout.colourType) {
    case pngGrey:
        for (int32_t x = 0; x < width; ++x, p += 4)
            out[x] = alpha && layout.hasKey && p[3] == 0 ? layout.key[0] : p[0];
        break;
    case pngTruecolour:
        for (int32_t x = 0; x < width; ++x, p += 4, out += 3) {
            const bool keyed = alpha && layout.hasKey && p[3] == 0;
            out[0] = keyed ? layout.key[0] : p[2];
            out[1] = keyed ? layout.key[1] : p[1];
            out[2] = keyed ? layout.key[2] : p[0];
        }
        break;
    case pngTruecolourAlpha: {
        const uint8_t* unpremultiply = UnpremultiplyTable();
        for (int32_t x = 0; x < width; ++x, p += 4, out += 4) {
            const uint8_t a = p[3];
            if (a == 255) {
                out[0] = p[2], out[1] = p[1], out[2] = p[0];
            } else {
                const uint8_t* row = unpremultiply + a * 256;
                out[0] = row[p[2]], out[1] = row[p[1]], out[2] = row[p[0]];
            }
            out[3] = a;
        }
        break;
    }
    case pngIndexed: {
        // Every pixel value is in the table; a miss (which cannot happen) would write entry 0.
        auto entryOf = [&layout](int32_t value) {
            auto at = std::lower_bound(layout.values.begin(), layout.values.end(), value);
            return at == layout.values.end() || *at != value
                       ? uint8_t{0}
                       : layout.paletteIndex[static_cast<size_t>(at - layout.values.begin())];
        };
        int32_t previous = ValueAt(p);
        uint8_t index = entryOf(previous);
        for (int32_t x = 0; x < width; ++x, p += 4) {
            const int32_t value = ValueAt(p);
            if (value != previous) {
                previous = value;
                index = entryOf(value);
            }
            out[x] = index;
        }
        break;
    }
    default: break;
    }
}

uint8_t FilterForChoice(int32_t choice, uint8_t colourType) {
    if (choice >= 1 && choice <= 5) return static_cast<uint8_t>(choice - 1);
    if (choice == 6) return pngFilterAdaptive;
    const bool truecolour = colourType == pngTruecolour || colourType == pngTruecolourAlpha;
    return truecolour ? pngFilterPaeth : pngFilterNone;
}

void FilterRow(uint8_t filter, const uint8_t* row, const uint8_t* prior, size_t length, size_t bpp,
               uint8_t* out) {
    const size_t lead = std::min(bpp, length);
    switch (filter) {
    case pngFilterSub:
        std::memcpy(out, row, lead);
        for (size_t i = lead; i < length; ++i) out[i] = static_cast<uint8_t>(row[i] - row[i - bpp]);
        break;
    case pngFilterUp:
        for (size_t i = 0; i < length; ++i) out[i] = static_cast<uint8_t>(row[i] - prior[i]);
        break;
    case pngFilterAverage:
        for (size_t i = 0; i < lead; ++i) out[i] = static_cast<uint8_t>(row[i] - (prior[i] >> 1));
        for (size_t i = lead; i < length; ++i)
            out[i] = static_cast<uint8_t>(row[i] - ((row[i - bpp] + prior[i]) >> 1));
        break;
    case pngFilterPaeth:
        for (size_t i = 0; i < lead; ++i) out[i] = static_cast<uint8_t>(row[i] - prior[i]);
        for (size_t i = lead; i < length; ++i)
            out[i] = static_cast<uint8_t>(row[i] - Paeth(row[i - bpp], prior[i], prior[i - bpp]));
        break;
    default: std::memcpy(out, row, length); break;
    }
}

uint8_t AdaptiveFilter(const uint8_t* row, const uint8_t* prior, size_t length, size_t bpp,
                       bool topRow) {
    uint64_t best = 254 * static_cast<uint64_t>(length);
    uint8_t chosen = pngFilterNone;
    const size_t lead = std::min(bpp, length);
    // A filter's cost is the sum of |byte - predictor|; it is dropped once it passes the best
    // so far (checked every few bytes: the sum only grows, so the outcome is the same).
    auto attempt = [&](uint8_t filter, auto predictor) {
        uint64_t sum = 0;
        for (size_t i = 0; i < length; ++i) {
            sum += static_cast<uint64_t>(
                std::abs(static_cast<int>(row[i]) - static_cast<int>(predictor(i))));
            if ((i & 15) == 15 && sum > best) return;
        }
        if (sum > best) return;
        best = sum == 0 ? 1 : sum;
        chosen = filter;
    };
    attempt(pngFilterNone, [](size_t) { return 0; });
    attempt(pngFilterSub, [&](size_t i) { return i < lead ? 0 : row[i - bpp]; });
    if (topRow) return chosen;
    attempt(pngFilterUp, [&](size_t i) { return prior[i]; });
    attempt(pngFilterAverage,
            [&](size_t i) { return ((i < lead ? 0 : row[i - bpp]) + prior[i]) >> 1; });
    attempt(pngFilterPaeth, [&](size_t i) {
        return i < lead ? prior[i] : Paeth(row[i - bpp], prior[i], prior[i - bpp]);
    });
    return chosen;
}

bool FilteredImage(const PngLayout& layout, PixelView pixels, bool alpha, int32_t filterChoice,
                   std::vector<uint8_t>& out) {
    if (pixels.empty()) return false;
    const size_t length = static_cast<size_t>(pixels.width) * layout.bytesPerPixel;
    const size_t stride = length + 1;
    std::vector<uint8_t> rows;
    try {
        out.resize(stride * static_cast<size_t>(pixels.height));
        rows.assign(length * 2, 0);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    uint8_t* current = rows.data();
    uint8_t* prior = rows.data() + length; // zeros above the top row
    const uint8_t fixed = FilterForChoice(filterChoice, layout.colourType);
    for (int32_t y = 0; y < pixels.height; ++y) {
        LayoutRow(layout, pixels, alpha, y, current);
        const uint8_t filter = fixed == pngFilterAdaptive
                                   ? AdaptiveFilter(current, prior, length, layout.bytesPerPixel,
                                                    y == 0)
                                   : fixed;
        uint8_t* to = out.data() + static_cast<size_t>(y) * stride;
        to[0] = filter;
        FilterRow(filter, current, prior, length, layout.bytesPerPixel, to + 1);
        std::swap(current, prior);
    }
    return true;
}

} // namespace velt
