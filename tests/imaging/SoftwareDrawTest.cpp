#include "imaging/SoftwareDraw.h"
#include "imaging/AlphaRegion.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velt {
namespace {

// A 3 x 2 picture whose pixel values tell where they came from: blue = x, green = y.
WorkBuffer Numbered(int32_t width = 3, int32_t height = 2) {
    WorkBuffer b;
    b.Allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = b.view().Pixel(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[3] = 255;
        }
    return b;
}

TEST(MirrorCopy, FlipsOnlyTheNegativeAxes) {
    WorkBuffer source = Numbered();
    struct Case {
        int32_t w, h;
        bool flipX, flipY;
    };
    for (Case c : {Case{-3, 2, true, false}, Case{3, -2, false, true}, Case{-3, -2, true, true}}) {
        SourceRect src{0, 0, 3, 2};
        int32_t w = c.w, h = c.h;
        WorkBuffer out;
        ASSERT_TRUE(MirrorCopy(source.view(), src, w, h, &out, nullptr));
        EXPECT_EQ(w, 3);
        EXPECT_EQ(h, 2);
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 3; ++x) {
                const uint8_t* p = out.view().Pixel(x, y);
                EXPECT_EQ(p[0], c.flipX ? 2 - x : x);
                EXPECT_EQ(p[1], c.flipY ? 1 - y : y);
            }
    }
    SourceRect src{1, 0, 2, 2};
    int32_t w = 5, h = 5;
    WorkBuffer untouched;
    EXPECT_TRUE(MirrorCopy(source.view(), src, w, h, &untouched, nullptr));
    EXPECT_TRUE(untouched.bytes.empty());
    EXPECT_EQ(src.x, 1);
}

TEST(ScaleCopy, NearestPixelDoublesAndHalves) {
    WorkBuffer source = Numbered(4, 2);
    WorkBuffer out;
    ASSERT_TRUE(ScaleCopy(source.view(), {0, 0, 4, 2}, 8, 4, false, &out, nullptr));
    EXPECT_EQ(out.view().Pixel(5, 3)[0], 2);
    EXPECT_EQ(out.view().Pixel(5, 3)[1], 1);
    ASSERT_TRUE(ScaleCopy(source.view(), {0, 0, 4, 2}, 2, 1, false, &out, nullptr));
    EXPECT_EQ(out.view().Pixel(1, 0)[0], 2);
    WorkBuffer target = Numbered(2, 2);
    PixelView view = target.view();
    ASSERT_TRUE(ScaleCopy(source.view(), {2, 0, 2, 2}, 6, 6, false, nullptr, &view)); // clipped
    EXPECT_EQ(view.Pixel(1, 1)[0], 2);
    EXPECT_FALSE(ScaleCopy(source.view(), {0, 0, 4, 2}, 0, 3, false, &out, nullptr));
}

TEST(ScaleCopy, BilinearMixesNeighboursAndKeepsTheLastPixelWhole) {
    WorkBuffer source;
    source.Allocate(2, 1);
    uint8_t* a = source.view().Pixel(0, 0);
    uint8_t* b = source.view().Pixel(1, 0);
    a[0] = 0, a[3] = 255;
    b[0] = 200, b[3] = 255;
    WorkBuffer out;
    ASSERT_TRUE(ScaleCopy(source.view(), {0, 0, 2, 1}, 4, 1, true, &out, nullptr));
    EXPECT_EQ(out.view().Pixel(0, 0)[0], 0);
    EXPECT_EQ(out.view().Pixel(1, 0)[0], 100);
    EXPECT_EQ(out.view().Pixel(2, 0)[0], 200);
    EXPECT_EQ(out.view().Pixel(3, 0)[0], 200); // no darkening past the edge
    EXPECT_EQ(out.view().Pixel(3, 0)[3], 255);
}

TEST(BlendToTarget, OpaqueHalfAndTransparentSourcePixels) {
    WorkBuffer source;
    source.Allocate(3, 1);
    const uint8_t opaque[] = {10, 20, 30, 255}, half[] = {50, 50, 50, 128}, clear[] = {0, 0, 0, 0};
    std::memcpy(source.view().Pixel(0, 0), opaque, 4);
    std::memcpy(source.view().Pixel(1, 0), half, 4);
    std::memcpy(source.view().Pixel(2, 0), clear, 4);

    std::vector<uint8_t> rgb(12, 200); // one 24-bit row of three pixels, padded to 12 bytes
    BlendSurface surface{rgb.data(), 3, 1, 12, 3};
    BlendToTarget(source.view(), 0, 0, surface, 0, 0, 3, 1, 255, -1);
    EXPECT_EQ(rgb[0], 10);
    EXPECT_EQ(rgb[3], 200 * (255 - 128) / 255 + 50); // destination still partly visible
    EXPECT_EQ(rgb[6], 200);                          // transparent never changes it

    std::vector<uint8_t> argb(12, 200);
    BlendSurface image{argb.data(), 3, 1, 12, 4};
    BlendToTarget(source.view(), 0, 0, image, 0, 0, 3, 1, 127, -1);
    uint32_t keep = 255 - 255 * 127 / 255;
    EXPECT_EQ(argb[0], (200 * keep + 10 * 127) / 255);
    EXPECT_EQ(argb[3], (200 * keep + 255 * 127) / 255); // alpha byte composes too
}

TEST(BlendToTarget, ClipsAgainstBothSidesAndTurnsGrey) {
    WorkBuffer source = Numbered(3, 2);
    for (int32_t x = 0; x < 3; ++x) source.view().Pixel(x, 0)[2] = 255;
    std::vector<uint8_t> dest(2 * 8, 7);
    BlendSurface surface{dest.data(), 2, 2, 8, 4};
    BlendToTarget(source.view(), 0, 0, surface, -1, 1, 3, 2, 255, 3);
    // Source (1, 0) and (2, 0) land on the destination's bottom row; its top row is untouched.
    const uint8_t expected[] = {204, 204, 204, 255, 204, 204, 204, 255};
    EXPECT_EQ(0, std::memcmp(dest.data(), expected, 8));
    EXPECT_EQ(dest[8], 7);
    EXPECT_EQ(dest[15], 7);
}

bool Is(const RegionRect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

TEST(AlphaRegionRects, StylesOverRunsOnSeveralRows) {
    // Rows from the top: ".##.#", ".....", "#...#".
    WorkBuffer image;
    image.Allocate(5, 3);
    for (auto [x, y] : {std::pair{1, 0}, {2, 0}, {4, 0}, {0, 2}, {4, 2}})
        image.view().Pixel(x, y)[3] = 9;
    std::vector<RegionRect> exact = AlphaRegionRects(image.view(), 2);
    ASSERT_EQ(exact.size(), 4u);
    EXPECT_TRUE(Is(exact[0], 1, 0, 3, 1));
    EXPECT_TRUE(Is(exact[1], 4, 0, 5, 1));
    EXPECT_TRUE(Is(exact[2], 0, 2, 1, 3));
    EXPECT_TRUE(Is(exact[3], 4, 2, 5, 3));
    std::vector<RegionRect> spans = AlphaRegionRects(image.view(), 1);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_TRUE(Is(spans[0], 1, 0, 5, 1));
    EXPECT_TRUE(Is(spans[1], 0, 2, 5, 3));
    std::vector<RegionRect> box = AlphaRegionRects(image.view(), 0);
    ASSERT_EQ(box.size(), 1u);
    EXPECT_TRUE(Is(box[0], 0, 0, 5, 3));
    EXPECT_TRUE(AlphaRegionRects(image.view(), 3).empty());
    WorkBuffer clear;
    clear.Allocate(4, 4);
    for (int style = 0; style < 3; ++style)
        EXPECT_TRUE(AlphaRegionRects(clear.view(), style).empty());
}

} // namespace
} // namespace velt
