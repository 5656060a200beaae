#include "engine/OverviewLayout.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(OverviewLayout, DesignedPanelOnAFullHdScreen) {
    OverviewLayout layout = LayOutOverview(4935, 3840, 4935, 3840, 1920 * 15, 1080 * 15);
    EXPECT_DOUBLE_EQ(layout.windowLeft, 14400 - 2467.5);
    EXPECT_DOUBLE_EQ(layout.windowTop, 8100 - 1920);

    const auto& t = layout.thumbnails;
    EXPECT_DOUBLE_EQ(t[4].width, 1233.75);
    EXPECT_DOUBLE_EQ(t[4].height, 960);
    EXPECT_DOUBLE_EQ(t[4].left, 2467.5 - 617); // 616.875 rounds to 617
    EXPECT_DOUBLE_EQ(t[4].top, 1920 - 480);
    // Columns and rows 240 twips apart; margins of about 377 and 240.
    const double columns[3] = {376.75, 1850.5, 3324.25};
    const double rows[3] = {240, 1440, 2640};
    for (int i = 0; i < 9; ++i) {
        EXPECT_DOUBLE_EQ(t[i].left, columns[i % 3]) << i;
        EXPECT_DOUBLE_EQ(t[i].top, rows[i / 3]) << i;
    }
}

TEST(OverviewLayout, PointerFillsHalfOfEachGap) {
    TwipsRect frame = PointerAround(TwipsRect{1000, 500, 1233.75, 960});
    EXPECT_DOUBLE_EQ(frame.left, 880);
    EXPECT_DOUBLE_EQ(frame.top, 380);
    EXPECT_DOUBLE_EQ(frame.width, 1473.75);
    EXPECT_DOUBLE_EQ(frame.height, 1200);
}

} // namespace
} // namespace velt
