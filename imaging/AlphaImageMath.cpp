#include "imaging/AlphaImageMath.h"

#include "platform/Units.h"

#include <algorithm>
#include <cmath>

namespace velt {

std::int32_t NormalizeOpacity(std::int64_t value) {
    if (value == 0) return 0;
    const std::int64_t rest = (value < 0 ? -value : value) % 100;
    return rest == 0 ? 100 : static_cast<std::int32_t>(rest);
}

std::int32_t NormalizeRotation(std::int32_t value) { return value % 360; }

std::int32_t Diagonal(std::int32_t width, std::int32_t height) {
    return RoundHalfEven(std::sqrt(double(width) * width + double(height) * height));
}

void ImageScales(const ScaleRequest& r, std::int32_t& width, std::int32_t& height) {
    const std::int32_t method = std::clamp(r.method, 0, 4);
    if (method == 4) {
        width = r.drawnWidth;
        height = r.drawnHeight;
        return;
    }
    const double w = r.imageWidth, h = r.imageHeight;
    if (w < 1 || h < 1) return;
    if (method == 3) {
        width = r.imageWidth;
        height = r.imageHeight;
        return;
    }
    if (!r.rotated) {
        if (method == 1) {
            width = r.desiredWidth;
            height = r.desiredHeight;
            return;
        }
        double ratio = std::min(r.desiredWidth / w, r.desiredHeight / h);
        if (method == 2) ratio = std::min(ratio, 1.0);
        width = RoundHalfEven(ratio * w);
        height = RoundHalfEven(ratio * h);
        return;
    }
    // Rotated: the image turns inside a square of its diagonal, which must fit.
    const double d = Diagonal(r.imageWidth, r.imageHeight);
    if (method == 1) {
        width = RoundHalfEven(r.desiredWidth * w / d);
        height = RoundHalfEven(r.desiredHeight * h / d);
        return;
    }
    const double m = std::min(r.desiredWidth, r.desiredHeight);
    width = RoundHalfEven(m * w / d);
    height = RoundHalfEven(m * h / d);
    if (method == 2 && (r.imageWidth < width || r.imageHeight < height)) {
        width = r.imageWidth;
        height = r.imageHeight;
    }
}

ImagePlacement PlaceImage(std::int32_t controlWidth, std::int32_t controlHeight,
                          std::int32_t drawnWidth, std::int32_t drawnHeight,
                          std::int32_t imageWidth, std::int32_t imageHeight, bool rotated,
                          std::int32_t scaleMethod) {
    ImagePlacement p;
    if (rotated) {
        p.diagonal = Diagonal(drawnWidth, drawnHeight);
        if (scaleMethod == 4) {
            p.left = std::max(0, (controlWidth - drawnWidth) / 2);
            p.top = std::max(0, (controlHeight - drawnHeight) / 2);
        } else {
            p.left = (controlWidth - p.diagonal) / 2;
            p.top = (controlHeight - p.diagonal) / 2;
        }
        return p;
    }
    p.left = std::max(0, (controlWidth - drawnWidth) / 2);
    p.top = std::max(0, (controlHeight - drawnHeight) / 2);
    p.unscaled = drawnWidth == imageWidth && drawnHeight == imageHeight;
    return p;
}

void HitShape::SetRect(const RegionRect& rect) { m_rect = rect; }

void HitShape::SetRegion(std::vector<RegionRect> rects) {
    m_region = std::move(rects);
    m_hasRegion = true;
}

RegionRect HitShape::RegionBox() const {
    if (m_region.empty()) return {0, 0, 0, 0};
    RegionRect box = m_region.front();
    for (const RegionRect& r : m_region) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

bool HitShape::Contains(std::int32_t x, std::int32_t y) const {
    auto inside = [x, y](const RegionRect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    if (!m_hasRegion) return inside(m_rect);
    // Rows come top to bottom: skip those that end above y.
    auto first = std::partition_point(m_region.begin(), m_region.end(),
                                      [y](const RegionRect& r) { return r.bottom <= y; });
    for (auto it = first; it != m_region.end() && it->top <= y; ++it)
        if (inside(*it)) return true;
    return false;
}

FadeStepResult NextFadeStep(std::int32_t opacity, std::int32_t step, std::int32_t final) {
    const std::int32_t next = opacity + step;
    const bool finished = (step < 0 && final >= next) || (step > 0 && next >= final);
    return {finished ? final : next, finished};
}

double PixelsToUnit(double pixels, std::int32_t scaleMode) {
    switch (scaleMode) {
    case 2: return pixels * 72.0 / 96.0;     // points
    case 3: return pixels;                   // pixels
    case 5: return pixels / 96.0;            // inches
    case 6: return pixels * 25.4 / 96.0;     // millimetres
    case 7: return pixels * 2.54 / 96.0;     // centimetres
    default: return pixels * kTwipsPerPixel; // twips, the unit of every container here
    }
}

} // namespace velt
