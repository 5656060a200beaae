#pragma once
// Where the overview's parts go, in twips: the panel centred on the screen, nine thumbnails a
// quarter of its size in a 3 x 3 grid 240 twips apart, and the frame 120 twips around one.
#include <array>

namespace velt {

struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

inline constexpr int kOverviewClientWidth = 4935; // as designed, twips
inline constexpr int kOverviewClientHeight = 3840;
inline constexpr double kThumbnailGap = 240;
inline constexpr double kPointerMargin = 120;

struct OverviewLayout {
    double windowLeft = 0;
    double windowTop = 0;
    std::array<TwipsRect, 9> thumbnails{};
};

// width/height: client area; outerWidth/outerHeight: the window; screen sizes in twips.
OverviewLayout LayOutOverview(double width, double height, double outerWidth, double outerHeight,
                              double screenWidth, double screenHeight);

// The frame around a thumbnail.
TwipsRect PointerAround(const TwipsRect& thumbnail);

} // namespace velt
