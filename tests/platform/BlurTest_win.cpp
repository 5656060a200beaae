#include "platform/Blur_win.h"
#include "platform/Surface_win.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

// Black on the left half, white on the right.
void PaintEdge(Surface& surface) {
    ASSERT_TRUE(surface.Resize(20, 10, RGB(0, 0, 0)));
    RECT right{10, 0, 20, 10};
    FillRect(surface.dc(), &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

TEST(Blur, TheLibrarySoftensAnEdgeInPlace) {
    BlurLibrary library(L"DesktopsManager.dll");
    ASSERT_TRUE(library.Loaded());
    Surface surface;
    PaintEdge(surface);
    library.BlurInPlace(surface.dc(), 20, 10);
    int nearEdge = GetRValue(GetPixel(surface.dc(), 9, 5));
    EXPECT_GT(nearEdge, 20);
    EXPECT_LT(nearEdge, 235);
    EXPECT_EQ(GetPixel(surface.dc(), 0, 0), RGB(0, 0, 0)); // far from the edge nothing moves
    EXPECT_EQ(GetPixel(surface.dc(), 19, 9), RGB(255, 255, 255));

    BlurInPlace(surface.dc(), 20, 10, 7, 7); // the program's binding finds the same library
    EXPECT_GT(GetRValue(GetPixel(surface.dc(), 8, 5)), 0);
}

TEST(Blur, WithoutTheLibraryNothingHappens) {
    BlurLibrary missing(L"NoSuchBlurLibrary.dll");
    EXPECT_FALSE(missing.Loaded());
    Surface surface;
    PaintEdge(surface);
    missing.BlurInPlace(surface.dc(), 20, 10);
    EXPECT_EQ(GetPixel(surface.dc(), 9, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(surface.dc(), 10, 5), RGB(255, 255, 255));
}

} // namespace
} // namespace velt
