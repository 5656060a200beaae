#include "imaging/AlphaImageMath.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

TEST(AlphaImageMath, OpacityAndRotationNormalise) {
    const std::pair<std::int64_t, std::int32_t> opacities[] = {
        {0, 0},     {100, 100}, {150, 50},   {-30, 30},
        {200, 100}, {99, 99},   {-100, 100}, {INT32_MIN, 48}};
    for (auto [in, out] : opacities) EXPECT_EQ(NormalizeOpacity(in), out) << in;
    EXPECT_EQ(NormalizeRotation(370), 10);
    EXPECT_EQ(NormalizeRotation(-30), -30);
    EXPECT_EQ(NormalizeRotation(-725), -5);
    EXPECT_EQ(NormalizeRotation(360), 0);
}

struct ScaleCase {
    std::int32_t imageWidth, imageHeight, method, desiredWidth, desiredHeight;
    bool rotated;
    std::int32_t width, height;
};

TEST(AlphaImageMath, ImageScalesForEveryMethodAndRotation) {
    const ScaleCase cases[] = {
        // 40 x 30 in 100 x 50: fit enlarges, stretch fills, fit-without-enlarging keeps it.
        {40, 30, 0, 100, 50, false, 67, 50},
        {40, 30, 1, 100, 50, false, 100, 50},
        {40, 30, 2, 100, 50, false, 40, 30},
        {40, 30, 3, 100, 50, false, 40, 30},
        {40, 30, 2, 20, 20, false, 20, 15},
        // Turned, the picture must fit with its diagonal (here 50).
        {40, 30, 0, 100, 50, true, 40, 30},
        {40, 30, 1, 100, 50, true, 80, 30},
        {40, 30, 3, 100, 50, true, 40, 30},
        {40, 30, 0, 200, 200, true, 160, 120},
        {40, 30, 2, 200, 200, true, 40, 30},
        {40, 30, 2, 20, 20, true, 16, 12},
        {3, 4, 1, 10, 10, true, 6, 8},
        // Halves go to the even neighbour: 1.25 x 2 = 2.5 -> 2.
        {4, 2, 0, 5, 5, false, 5, 2},
        {4, 6, 0, 5, 100, false, 5, 8}, // 1.25 x 6 = 7.5 -> 8
        // Methods above 4 are 4, which keeps the drawn size.
        {40, 30, 9, 100, 50, false, 11, 7},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.imageWidth << "x" << c.imageHeight << " m" << c.method << " in "
                     << c.desiredWidth << "x" << c.desiredHeight << (c.rotated ? " turned" : ""));
        ScaleRequest request{c.imageWidth,    c.imageHeight, c.method, c.desiredWidth,
                             c.desiredHeight, c.rotated,     11,       7};
        std::int32_t width = -1, height = -1;
        ImageScales(request, width, height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

TEST(AlphaImageMath, PlacementCentresAndTruncatesTowardsZero) {
    ImagePlacement p = PlaceImage(100, 50, 67, 50, 40, 30, false, 0);
    EXPECT_EQ(p.left, 16);
    EXPECT_EQ(p.top, 0);
    EXPECT_FALSE(p.unscaled);
    p = PlaceImage(100, 50, 120, 60, 120, 60, false, 0); // larger than the control: pinned at 0
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_TRUE(p.unscaled);
    // Turned: the square of the diagonal (51 for 45 x 24) may stick out; -21 / 2 is -10.
    p = PlaceImage(30, 30, 45, 24, 45, 24, true, 0);
    EXPECT_EQ(p.diagonal, 51);
    EXPECT_EQ(p.left, -10);
    EXPECT_EQ(p.top, -10);
    EXPECT_FALSE(p.unscaled);
    // Method 4 places the drawn rectangle itself, never outside.
    p = PlaceImage(100, 30, 40, 50, 40, 50, true, 4);
    EXPECT_EQ(p.left, 30);
    EXPECT_EQ(p.top, 0);
}

TEST(AlphaImageMath, HitShapesAreHalfOpen) {
    HitShape shape;
    shape.SetRect({2, 3, 5, 6});
    EXPECT_TRUE(shape.Contains(2, 3));
    EXPECT_TRUE(shape.Contains(4, 5));
    EXPECT_FALSE(shape.Contains(5, 5));
    EXPECT_FALSE(shape.Contains(4, 6));
    shape.SetRegion({{1, 0, 3, 1}, {0, 1, 1, 2}, {4, 1, 6, 2}, {2, 4, 3, 5}});
    EXPECT_TRUE(shape.Contains(1, 0));
    EXPECT_FALSE(shape.Contains(3, 0));
    EXPECT_TRUE(shape.Contains(5, 1));
    EXPECT_FALSE(shape.Contains(2, 1));
    EXPECT_FALSE(shape.Contains(2, 3)); // a row without a rectangle
    EXPECT_TRUE(shape.Contains(2, 4));
    EXPECT_FALSE(shape.Contains(3, 3)); // the rectangle is ignored while there is a region
    RegionRect box = shape.RegionBox();
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 6);
    EXPECT_EQ(box.bottom, 5);
    shape.SetRegion({});
    EXPECT_FALSE(shape.Contains(0, 0));
    shape.DropRegion();
    EXPECT_TRUE(shape.Contains(3, 4));
}

TEST(AlphaImageMath, FadeStepsFinishOnOrPastTheTarget) {
    EXPECT_EQ(NextFadeStep(100, -10, 80).opacity, 90);
    EXPECT_FALSE(NextFadeStep(100, -10, 80).finished);
    FadeStepResult last = NextFadeStep(90, -10, 80);
    EXPECT_TRUE(last.finished);
    EXPECT_EQ(last.opacity, 80);
    last = NextFadeStep(85, -10, 80); // would pass it: ends exactly on it
    EXPECT_TRUE(last.finished);
    EXPECT_EQ(last.opacity, 80);
    EXPECT_EQ(NextFadeStep(30, 20, 60).opacity, 50);
    last = NextFadeStep(50, 20, 60);
    EXPECT_TRUE(last.finished);
    EXPECT_EQ(last.opacity, 60);
    last = NextFadeStep(5, -30, 0);
    EXPECT_TRUE(last.finished);
    EXPECT_EQ(last.opacity, 0);
}

TEST(AlphaImageMath, PixelsInTheContainersUnit) {
    EXPECT_DOUBLE_EQ(PixelsToUnit(2, 1), 30);
    EXPECT_DOUBLE_EQ(PixelsToUnit(2, 3), 2);
    EXPECT_DOUBLE_EQ(PixelsToUnit(96, 5), 1);
    EXPECT_DOUBLE_EQ(PixelsToUnit(4, 2), 3);
    EXPECT_DOUBLE_EQ(PixelsToUnit(2, 9), 30); // no unit of its own: the containers' twips
    EXPECT_TRUE(IsSystemColour(0x8000000F));
    EXPECT_FALSE(IsSystemColour(0x00FFFFFF));
}

} // namespace
} // namespace velt
