#include "platform/Surface_win.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

COLORREF PixelOf(const Surface& surface, int x, int y) { return GetPixel(surface.dc(), x, y); }

// A surface painted in two colours: left half left, right half right.
void Paint(Surface& surface, int width, int height, COLORREF left, COLORREF right) {
    ASSERT_TRUE(surface.Resize(width, height, left));
    RECT half{width / 2, 0, width, height};
    SetBkColor(surface.dc(), right);
    ExtTextOutW(surface.dc(), 0, 0, ETO_OPAQUE, &half, nullptr, 0, nullptr);
}

TEST(Surface, ResizeKeepsTheOverlapAndFillsTheRest) {
    Surface surface;
    Paint(surface, 4, 4, RGB(9, 9, 9), RGB(9, 9, 9));
    ASSERT_TRUE(surface.Resize(6, 2, RGB(250, 0, 0)));
    EXPECT_EQ(PixelOf(surface, 3, 1), RGB(9, 9, 9));
    EXPECT_EQ(PixelOf(surface, 5, 1), RGB(250, 0, 0));
}

} // namespace
} // namespace velt
