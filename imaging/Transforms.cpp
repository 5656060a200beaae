// Transforms of c32bppDIB that need no platform: size fitting, grey and inverse colours, and the
// pixel work of the software rotation.
#include "imaging/Transforms.h"

#include "imaging/PixelOps.h"

#include "imaging/c32bppDIB.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace velt {

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t FloorToInt32(double value) {
    value = std::floor(value);
    if (!(value >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// Cosine and sine of a turn in degrees. Quarter turns are exact, so that a picture turned by
// 90 degrees maps pixel centres onto pixel centres instead of next to them.
void TurnOf(double degrees, double& cosine, double& sine) {
    const double turn = std::fmod(degrees, 360.0);
    if (std::fmod(turn, 90.0) == 0) {
        static constexpr double kCos[] = {1, 0, -1, 0}, kSin[] = {0, 1, 0, -1};
        const int quarter = (static_cast<int>(turn / 90.0) % 4 + 4) % 4;
        cosine = kCos[quarter];
        sine = kSin[quarter];
        return;
    }
    const double radians = turn * kPi / 180.0;
    cosine = std::cos(radians);
    sine = std::sin(radians);
}

// One axis of a bilinear sample at a position in pixels (centres at half coordinates): the two
// pixels around it, clamped to 0..size-1, and the weight of the second in 1/256 steps.
struct AxisTap {
    int32_t first;
    int32_t second;
    uint32_t weight;
};

AxisTap TapAt(double position, int32_t size) {
    const double centred = position - 0.5;
    const double whole = std::floor(centred);
    const auto weight = static_cast<uint32_t>((centred - whole) * 256.0);
    const auto first = static_cast<int32_t>(whole);
    // Past the first or last pixel only the neighbour that exists takes part.
    return {std::clamp(first, 0, size - 1), std::clamp(first + 1, 0, size - 1), weight};
}

} // namespace

int32_t RotatedSquareSide(int32_t width, int32_t height) {
    const double side = std::round(
        std::hypot(static_cast<double>(width), static_cast<double>(height)));
    return side > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(side);
}

bool RotateIntoSquare(PixelView source, SourceRect src, int32_t destWidth, int32_t destHeight,
                      double angle, bool highQuality, PixelView square) {
    if (source.empty() || square.empty() || destWidth < 1 || destHeight < 1) return false;
    if (!ClipSourceRect(src, source.width, source.height)) return false;
    double cosine, sine;
    TurnOf(angle, cosine, sine);
    const double scaleX = static_cast<double>(src.width) / destWidth;
    const double scaleY = static_cast<double>(src.height) / destHeight;
    const double halfSquareX = square.width / 2.0, halfSquareY = square.height / 2.0;
    const double halfSourceX = src.width / 2.0, halfSourceY = src.height / 2.0;
    for (int32_t y = 0; y < square.height; ++y) {
        const double oy = y + 0.5 - halfSquareY;
        uint8_t* to = square.Row(y);
        for (int32_t x = 0; x < square.width; ++x, to += 4) {
            const double ox = x + 0.5 - halfSquareX;
            // Turned back by the angle, then undone the scaling: a position in the rectangle.
            const double px = (ox * cosine + oy * sine) * scaleX + halfSourceX;
            const double py = (oy * cosine - ox * sine) * scaleY + halfSourceY;
            if (!(px >= 0 && py >= 0 && px < src.width && py < src.height)) continue;
            if (!highQuality) {
                std::memcpy(to,
                            source.Pixel(src.x + static_cast<int32_t>(px),
                                         src.y + static_cast<int32_t>(py)),
                            4);
                continue;
            }
            const AxisTap tx = TapAt(px, src.width), ty = TapAt(py, src.height);
            const uint8_t* upper = source.Row(src.y + ty.first) + static_cast<size_t>(src.x) * 4;
            const uint8_t* lower = source.Row(src.y + ty.second) + static_cast<size_t>(src.x) * 4;
            const uint8_t* a = upper + static_cast<size_t>(tx.first) * 4;
            const uint8_t* b = upper + static_cast<size_t>(tx.second) * 4;
            const uint8_t* c = lower + static_cast<size_t>(tx.first) * 4;
            const uint8_t* d = lower + static_cast<size_t>(tx.second) * 4;
            BlendBilinear(a, b, c, d, tx.weight, ty.weight, to);
        }
    }
    return true;
}

namespace {

bool RowHasAlpha(PixelView pixels, int32_t y, int32_t left, int32_t right) {
    const uint8_t* p = pixels.Pixel(left, y) + 3;
    for (int32_t x = left; x <= right; ++x, p += 4)
        if (*p) return true;
    return false;
}

bool ColumnHasAlpha(PixelView pixels, int32_t x, int32_t top, int32_t bottom) {
    for (int32_t y = top; y <= bottom; ++y)
        if (pixels.Pixel(x, y)[3]) return true;
    return false;
}

} // namespace

bool OpaqueBounds(PixelView pixels, int32_t method, SourceRect& bounds) {
    if (pixels.empty()) return false;
    int32_t left = 0, top = 0, right = pixels.width - 1, bottom = pixels.height - 1;
    if (method & 2) {
        while (top <= bottom && !RowHasAlpha(pixels, top, left, right)) ++top;
        if (top > bottom) return false;
    }
    if (method & 8) {
        while (bottom >= top && !RowHasAlpha(pixels, bottom, left, right)) --bottom;
        if (bottom < top) return false;
    }
    if (method & 1) {
        while (left <= right && !ColumnHasAlpha(pixels, left, top, bottom)) ++left;
        if (left > right) return false;
    }
    if (method & 4) {
        while (right >= left && !ColumnHasAlpha(pixels, right, top, bottom)) --right;
        if (right < left) return false;
    }
    bounds = {left, top, right - left + 1, bottom - top + 1};
    return true;
}

void InvertPixels(PixelView pixels) {
    if (pixels.empty()) return;
    const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    uint8_t* p = pixels.bits;
    for (size_t i = 0; i < count; ++i, p += 4) {
        const uint8_t a = p[3];
        if (a == 0) continue;
        // Colour above alpha breaks premultiplication; it inverts to 0 rather than wrapping.
        for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] < a ? a - p[c] : 0);
    }
}

void GrayPixels(PixelView pixels, const GrayWeightSet& weights) {
    if (pixels.empty()) return;
    const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    uint8_t* p = pixels.bits;
    for (size_t i = 0; i < count; ++i, p += 4) {
        if (p[3] == 0) continue;
        std::memset(p, GrayValue(p[0], p[1], p[2], weights), 3);
    }
}

void c32bppDIB::ScaleImage(int32_t destWidth, int32_t destHeight, int32_t& newWidth,
                           int32_t& newHeight, int32_t ScaleMode) const {
    if (!m_bits) return;
    if (ScaleMode < 0 || ScaleMode > 2) {
        newWidth = m_width;
        newHeight = m_height;
        return;
    }
    if (ScaleMode == 2) {
        newWidth = destWidth;
        newHeight = destHeight;
        return;
    }
    // Single precision throughout, so that sizes come out as the image control has always had them.
    float ratioX = static_cast<float>(destWidth) / static_cast<float>(m_width);
    float ratioY = static_cast<float>(destHeight) / static_cast<float>(m_height);
    if (ScaleMode == 1 && ratioX > 1 && ratioY > 1) ratioX = ratioY = 1;
    const float ratio = std::min(ratioX, ratioY);
    newWidth = FloorToInt32(static_cast<float>(m_width) * ratio);
    newHeight = FloorToInt32(static_cast<float>(m_height) * ratio);
}

bool c32bppDIB::MakeGrayScale(int32_t Formula) {
    if (!m_bits || Formula == -1) return false;
    GrayPixels(Pixels(), GrayWeights(Formula));
    return true;
}

bool c32bppDIB::MakeImageInverse() {
    if (!m_bits) return false;
    InvertPixels(Pixels());
    return true;
}

bool c32bppDIB::Resize(int32_t newWidth, int32_t newHeight) {
    if (!m_bits) return false;
    if (newWidth == 0) newWidth = m_width;
    if (newHeight == 0) newHeight = m_height;
    if (newWidth == m_width && newHeight == m_height) return true;
    if (newWidth == INT32_MIN || newHeight == INT32_MIN) return false;
    const int32_t width = std::abs(newWidth), height = std::abs(newHeight);
    c32bppDIB resized;
    resized.isGDIplusEnabled(isGDIplusEnabled());
    resized.HighQualityInterpolation(m_highQuality);
    if (!resized.InitializeDIB(width, height)) return false;
    resized.m_alpha = m_alpha;
    resized.m_imageType = m_imageType;
    const PixelView target = resized.Pixels();
    SourceRect whole{0, 0, m_width, m_height};
    bool done;
    if (isGDIplusEnabled() && m_highQuality) {
        done = CopyWithGdiplus(resized, newWidth, newHeight);
    } else if (newWidth < 0 || newHeight < 0) {
        // Mirrored in place when the size stays, else mirrored first and then resampled.
        int32_t w = newWidth, h = newHeight;
        WorkBuffer mirrored;
        if (width == m_width && height == m_height)
            done = MirrorCopy(Pixels(), whole, w, h, nullptr, &target);
        else
            done = MirrorCopy(Pixels(), whole, w, h, &mirrored, nullptr) &&
                   ScaleCopy(mirrored.view(), whole, w, h, m_highQuality, nullptr, &target);
    } else if (!isAlphaBlendFriendly() || m_highQuality) {
        done = ScaleCopy(Pixels(), whole, width, height, m_highQuality, nullptr, &target);
    } else {
        // Systems that cannot AlphaBlend between two DIBs draw this copy another way.
        const uint32_t saved = m_capabilities;
        if ((m_capabilities & cfAlphaBlendNoDibCopy) && (m_capabilities & cfAlphaBlendOn))
            m_capabilities &= ~uint32_t{cfAlphaBlendOn};
        done = CopyWithAlphaBlend(resized, width, height);
        m_capabilities = saved;
    }
    if (!done) return false;
    std::vector<uint8_t> original = std::move(m_originalFormat);
    resized.CopyImageTo(*this);
    if (m_bits) m_originalFormat = std::move(original); // kept with the image they belong to
    return m_bits != nullptr;
}

bool c32bppDIB::TrimImage(bool UpdateDIB, int32_t Method, int32_t& x, int32_t& Y, int32_t& Width,
                          int32_t& Height) {
    if (!m_bits) return false;
    if (!m_alpha) {
        x = Y = 0;
        Width = m_width;
        Height = m_height;
        return true;
    }
    if (Method < 0) return false;
    SourceRect bounds;
    if (!OpaqueBounds(Pixels(), Method == 0 ? 15 : Method, bounds)) {
        x = Y = Width = Height = 0;
        return false;
    }
    x = bounds.x;
    Y = bounds.y;
    Width = bounds.width;
    Height = bounds.height;
    if (!UpdateDIB || (Width == m_width && Height == m_height)) return true;
    c32bppDIB trimmed;
    trimmed.isGDIplusEnabled(isGDIplusEnabled());
    trimmed.HighQualityInterpolation(m_highQuality);
    if (!trimmed.InitializeDIB(Width, Height)) return false;
    for (int32_t row = 0; row < Height; ++row)
        std::memcpy(trimmed.Pixels().Row(row), Pixels().Pixel(x, Y + row),
                    static_cast<size_t>(Width) * 4);
    trimmed.m_alpha = m_alpha;
    trimmed.m_imageType = m_imageType;
    std::vector<uint8_t> original = std::move(m_originalFormat);
    trimmed.CopyImageTo(*this);
    if (m_bits) m_originalFormat = std::move(original); // kept with the image they belong to
    x = Y = 0;
    return true;
}

} // namespace velt
