#pragma once
// The alpha image control's arithmetic: how its properties normalise values, what size an image
// is drawn at, where it sits in the control, the packed flag word, and the shape that takes hits.
#include "imaging/AlphaRegion.h"

#include <cstdint>
#include <vector>

namespace velt {

// The packed flag word ("Props" when persisted). Bits 2 and 16 are never set.
enum AlphaImageFlag : std::int32_t {
    kFlagStretchQuality = 1,
    kFlagAutoSize = 4,
    kFlagAutoRedraw = 8,
    kFlagCacheInUse = 32, // run time only: the control-size cache exists
    kFlagInversed = 64,
};
inline constexpr std::int32_t kFlagsNew = kFlagStretchQuality | kFlagAutoSize;
inline constexpr std::int32_t kFlagsAbsent = kFlagStretchQuality; // persisted without the key

// Non-zero v becomes |v| mod 100 with 0 read as 100; 0 stays 0. 150 -> 50, -30 -> 30, 200 -> 100.
std::int32_t NormalizeOpacity(std::int64_t value);
// v mod 360, keeping the sign: 370 -> 10, -30 -> -30.
std::int32_t NormalizeRotation(std::int32_t value);

// round(sqrt(w² + h²)), halves to even.
std::int32_t Diagonal(std::int32_t width, std::int32_t height);

struct ScaleRequest {
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;
    std::int32_t method = 0;       // 0 fit, 1 stretch, 2 fit without enlarging, 3 actual, 4 fixed
    std::int32_t desiredWidth = 0; // already replaced by the control's size when below 1
    std::int32_t desiredHeight = 0;
    bool rotated = false;
    std::int32_t drawnWidth = 0; // what method 4 gives
    std::int32_t drawnHeight = 0;
};

// The drawn size for request; rounding to nearest, halves to even.
void ImageScales(const ScaleRequest& request, std::int32_t& width, std::int32_t& height);

struct ImagePlacement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t diagonal = 0; // side of the square a rotated image turns in
    bool unscaled = false;     // drawn at the image's own size
};

// Where an image drawn at drawnWidth x drawnHeight sits in a control of controlWidth x
// controlHeight. A rotated layout centres the square of its diagonal, which may stick out on
// every side (negative offsets), except with scale method 4.
ImagePlacement PlaceImage(std::int32_t controlWidth, std::int32_t controlHeight,
                          std::int32_t drawnWidth, std::int32_t drawnHeight,
                          std::int32_t imageWidth, std::int32_t imageHeight, bool rotated,
                          std::int32_t scaleMethod);

// The points that count as hits: a rectangle, or the rectangles of a region (rows top to bottom).
class HitShape {
public:
    void SetRect(const RegionRect& rect);
    void SetRegion(std::vector<RegionRect> rects); // an empty list hits nowhere
    void DropRegion() {
        m_region.clear();
        m_hasRegion = false;
    }
    bool HasRegion() const { return m_hasRegion; }
    const RegionRect& Rect() const { return m_rect; }
    const std::vector<RegionRect>& Region() const { return m_region; }
    // The smallest rectangle around the region; empty without one.
    RegionRect RegionBox() const;
    // Inside the region when there is one, else inside the rectangle. Right and bottom edges
    // are outside.
    bool Contains(std::int32_t x, std::int32_t y) const;

private:
    RegionRect m_rect{0, 0, 0, 0};
    std::vector<RegionRect> m_region;
    bool m_hasRegion = false;
};

// One step of a fade from opacity towards final by step (signed percent): the next opacity and
// whether the fade is finished (the finish sets exactly final).
struct FadeStepResult {
    std::int32_t opacity;
    bool finished;
};
FadeStepResult NextFadeStep(std::int32_t opacity, std::int32_t step, std::int32_t final);

// A colour value: one with the top bit set is a system colour, index in its low byte.
inline bool IsSystemColour(std::uint32_t colour) { return (colour & 0x80000000u) != 0; }

// Scale-mode numbers of the container's unit, and pixels converted to it (96 dots an inch).
double PixelsToUnit(double pixels, std::int32_t scaleMode);

} // namespace velt
