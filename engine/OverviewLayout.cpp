#include "engine/OverviewLayout.h"

#include "platform/Units.h"

namespace velt {

OverviewLayout LayOutOverview(double width, double height, double outerWidth, double outerHeight,
                              double screenWidth, double screenHeight) {
    OverviewLayout layout;
    layout.windowLeft = screenWidth / 2 - outerWidth / 2;
    layout.windowTop = screenHeight / 2 - outerHeight / 2;

    // Half the window's size over four, as whole twips: the centre thumbnail's offset.
    int hx = RoundHalfEven(outerWidth / 8);
    int hy = RoundHalfEven(outerHeight / 8);
    auto& t = layout.thumbnails;
    for (TwipsRect& thumbnail : t) {
        thumbnail.width = width / 4;
        thumbnail.height = height / 4;
    }
    t[4].left = width / 2 - hx;
    t[4].top = height / 2 - hy;
    t[0].left = t[4].left - t[0].width - kThumbnailGap;
    t[0].top = t[4].top - t[0].height - kThumbnailGap;
    t[8].left = t[4].left + t[0].width + kThumbnailGap;
    t[8].top = t[4].top + t[0].height + kThumbnailGap;
    t[3].left = t[6].left = t[0].left;
    t[1].left = t[7].left = t[4].left;
    t[2].left = t[5].left = t[8].left;
    t[1].top = t[2].top = t[0].top;
    t[3].top = t[5].top = t[4].top;
    t[6].top = t[7].top = t[8].top;
    return layout;
}

TwipsRect PointerAround(const TwipsRect& thumbnail) {
    return TwipsRect{thumbnail.left - kPointerMargin, thumbnail.top - kPointerMargin,
                     thumbnail.width + 2 * kPointerMargin, thumbnail.height + 2 * kPointerMargin};
}

} // namespace velt
