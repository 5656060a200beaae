#include "imaging/Transforms.h"
#include "imaging/c32bppDIB.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace velt {
namespace {

using Bgra = std::array<uint8_t, 4>;

Bgra At(PixelView view, int32_t x, int32_t y) {
    Bgra p;
    std::memcpy(p.data(), view.Pixel(x, y), 4);
    return p;
}

void Put(PixelView view, int32_t x, int32_t y, Bgra p) {
    std::memcpy(view.Pixel(x, y), p.data(), 4);
}

// Opaque pixels that tell where they came from: blue = x + 1, green = y + 1.
WorkBuffer Numbered(int32_t width, int32_t height) {
    WorkBuffer b;
    b.Allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            Put(b.view(), x, y, {static_cast<uint8_t>(x + 1), static_cast<uint8_t>(y + 1), 0, 255});
    return b;
}

constexpr Bgra kClear{0, 0, 0, 0};

Bgra From(int32_t x, int32_t y) {
    return {static_cast<uint8_t>(x + 1), static_cast<uint8_t>(y + 1), 0, 255};
}

TEST(ScaleImage, FitsShrinksOrStretches) {
    c32bppDIB image;
    int32_t w = -7, h = -7;
    image.ScaleImage(64, 32, w, h, 0);
    EXPECT_EQ(w, -7); // no image: nothing written
    ASSERT_TRUE(image.InitializeDIB(16, 16));
    struct Case {
        int32_t destW, destH, mode, w, h;
    };
    for (Case c : {Case{64, 32, 1, 16, 16}, Case{64, 32, 0, 32, 32}, Case{64, 32, 2, 64, 32},
                   Case{64, 32, 3, 16, 16}, Case{64, 32, -1, 16, 16}, Case{8, 64, 1, 8, 8},
                   Case{10, 7, 0, 7, 7}, Case{100, 12, 1, 12, 12}}) {
        SCOPED_TRACE(testing::Message() << c.destW << "x" << c.destH << " mode " << c.mode);
        image.ScaleImage(c.destW, c.destH, w, h, c.mode);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
    ASSERT_TRUE(image.InitializeDIB(40, 20));
    image.ScaleImage(10, 10, w, h, 1);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, 5);
    image.ScaleImage(300, 100, w, h, 0); // the height limits
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 100);
    // Ratios in single precision: 7 / 10 is just below 0.7, and 10 of it still makes 7.
    ASSERT_TRUE(image.InitializeDIB(10, 10));
    image.ScaleImage(7, 7, w, h, 0);
    EXPECT_EQ(w, 7);
}

TEST(MakeGrayScale, FormulasOnPremultipliedPixels) {
    c32bppDIB image;
    EXPECT_FALSE(image.MakeGrayScale(0));
    ASSERT_TRUE(image.InitializeDIB(3, 1));
    struct Case {
        int32_t formula;
        uint8_t grey;
    };
    for (Case c : {Case{2, 84}, Case{3, 204}, Case{0, 76}, Case{42, 76}, Case{5, 25}}) {
        SCOPED_TRACE(c.formula);
        image.SetPixel(0, 0, 0x0000FF);      // opaque red
        image.SetPixel(1, 0, 0x0000FF, 128); // half-transparent red: stored red 128
        image.SetPixel(2, 0, 0, 0);
        ASSERT_TRUE(image.MakeGrayScale(c.formula));
        EXPECT_EQ(At(image.Pixels(), 0, 0), (Bgra{c.grey, c.grey, c.grey, 255}));
        const uint8_t half = GrayValue(0, 0, 128, GrayWeights(c.formula));
        EXPECT_EQ(At(image.Pixels(), 1, 0), (Bgra{half, half, half, 128}));
        EXPECT_EQ(At(image.Pixels(), 2, 0), kClear);
    }
    image.SetPixel(0, 0, 0x0000FF);
    EXPECT_FALSE(image.MakeGrayScale(-1));
    EXPECT_EQ(At(image.Pixels(), 0, 0), (Bgra{0, 0, 255, 255}));
}

TEST(MakeImageInverse, InvertsWithinAlpha) {
    c32bppDIB image;
    EXPECT_FALSE(image.MakeImageInverse());
    ASSERT_TRUE(image.InitializeDIB(4, 1));
    image.SetPixel(0, 0, 0xFFFFFF);
    image.SetPixel(1, 0, 0xFFFFFF, 128);
    image.SetPixel(2, 0, 0x1E140A); // blue 30, green 20, red 10
    image.SetPixel(3, 0, 0, 0);
    ASSERT_TRUE(image.MakeImageInverse());
    EXPECT_EQ(At(image.Pixels(), 0, 0), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(At(image.Pixels(), 1, 0), (Bgra{0, 0, 0, 128}));
    EXPECT_EQ(At(image.Pixels(), 2, 0), (Bgra{225, 235, 245, 255}));
    EXPECT_EQ(At(image.Pixels(), 3, 0), kClear);
    ASSERT_TRUE(image.MakeImageInverse()); // twice is the original
    EXPECT_EQ(At(image.Pixels(), 2, 0), (Bgra{30, 20, 10, 255}));
}

TEST(RotatedSquareSide, IsTheRoundedDiagonal) {
    EXPECT_EQ(RotatedSquareSide(3, 4), 5);
    EXPECT_EQ(RotatedSquareSide(1, 1), 1);
    EXPECT_EQ(RotatedSquareSide(2, 3), 4);
    EXPECT_EQ(RotatedSquareSide(INT32_MAX, INT32_MAX), 0);
}

// The square's pixels, top row first, as "where from" labels: From(x, y) or kClear.
std::vector<Bgra> Rotated(PixelView source, SourceRect src, int32_t w, int32_t h, double angle,
                          bool highQuality, int32_t& side) {
    side = RotatedSquareSide(w, h);
    WorkBuffer square;
    square.Allocate(side, side);
    EXPECT_TRUE(RotateIntoSquare(source, src, w, h, angle, highQuality, square.view()));
    std::vector<Bgra> out;
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) out.push_back(At(square.view(), x, y));
    return out;
}

TEST(RotateIntoSquare, QuarterAndHalfTurnsMoveWholePixels) {
    WorkBuffer source = Numbered(4, 2);
    int32_t side = 0;
    // A quarter turn clockwise: the top row becomes the right column of a 2 x 4 block in the
    // middle of the 4 x 4 square.
    std::vector<Bgra> quarter = Rotated(source.view(), {0, 0, 4, 2}, 4, 2, 90, false, side);
    ASSERT_EQ(side, 4);
    for (int32_t y = 0; y < 4; ++y) {
        EXPECT_EQ(quarter[y * 4 + 0], kClear);
        EXPECT_EQ(quarter[y * 4 + 1], From(y, 1));
        EXPECT_EQ(quarter[y * 4 + 2], From(y, 0));
        EXPECT_EQ(quarter[y * 4 + 3], kClear);
    }
    // -270 and 450 are the same turn.
    EXPECT_EQ(Rotated(source.view(), {0, 0, 4, 2}, 4, 2, -270, false, side), quarter);
    EXPECT_EQ(Rotated(source.view(), {0, 0, 4, 2}, 4, 2, 450, false, side), quarter);

    std::vector<Bgra> half = Rotated(source.view(), {0, 0, 4, 2}, 4, 2, 180, false, side);
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(half[0 * 4 + x], kClear);
        EXPECT_EQ(half[1 * 4 + x], From(3 - x, 1));
        EXPECT_EQ(half[2 * 4 + x], From(3 - x, 0));
        EXPECT_EQ(half[3 * 4 + x], kClear);
    }
}

TEST(RotateIntoSquare, ScalesAndTakesOnlyTheSourceRectangle) {
    WorkBuffer source = Numbered(4, 3);
    int32_t side = 0;
    // Pixels (1, 2) and (2, 2) doubled: a 4 x 2 block in the middle of a 4 x 4 square.
    std::vector<Bgra> doubled = Rotated(source.view(), {1, 2, 2, 1}, 4, 2, 0, false, side);
    ASSERT_EQ(side, 4);
    const Bgra expected[4][4] = {{kClear, kClear, kClear, kClear},
                                 {From(1, 2), From(1, 2), From(2, 2), From(2, 2)},
                                 {From(1, 2), From(1, 2), From(2, 2), From(2, 2)},
                                 {kClear, kClear, kClear, kClear}};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(doubled[y * 4 + x], expected[y][x]) << x << "," << y;

    // At 45 degrees the middle of the square is the middle of the picture and the corners, far
    // outside the turned rectangle, stay clear.
    WorkBuffer odd = Numbered(5, 5);
    std::vector<Bgra> turned = Rotated(odd.view(), {0, 0, 5, 5}, 5, 5, 45, false, side);
    ASSERT_EQ(side, 7);
    EXPECT_EQ(turned[3 * 7 + 3], From(2, 2));
    for (int32_t corner : {0, 6, 42, 48}) EXPECT_EQ(turned[corner], kClear);

    WorkBuffer square;
    square.Allocate(4, 4);
    EXPECT_FALSE(RotateIntoSquare(source.view(), {0, 0, 4, 3}, 0, 3, 30, false, square.view()));
    EXPECT_FALSE(RotateIntoSquare(source.view(), {4, 0, 1, 1}, 4, 3, 30, false, square.view()));
}

TEST(RotateIntoSquare, BilinearMixesNeighboursAndHoldsTheEdges) {
    WorkBuffer source;
    source.Allocate(2, 1);
    Put(source.view(), 0, 0, {0, 0, 0, 255});
    Put(source.view(), 1, 0, {200, 100, 0, 255});
    int32_t side = 0;
    std::vector<Bgra> wide = Rotated(source.view(), {0, 0, 2, 1}, 4, 1, 0, true, side);
    ASSERT_EQ(side, 4);
    // Only the second row of the square lies inside the 4 x 1 rectangle.
    const uint8_t blues[] = {0, 50, 150, 200};
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(wide[4 + x][0], blues[x]) << x;
        EXPECT_EQ(wide[4 + x][3], 255) << x; // no transparency drawn in from past the edges
        EXPECT_EQ(wide[x], kClear);
        EXPECT_EQ(wide[8 + x], kClear);
    }
    // A half-transparent neighbour mixes its premultiplied values.
    Put(source.view(), 1, 0, {0, 0, 0, 0});
    std::vector<Bgra> fading = Rotated(source.view(), {0, 0, 2, 1}, 4, 1, 0, true, side);
    EXPECT_EQ(fading[4 + 2][3], (255 * 64 + 128) >> 8); // a quarter of the opaque one
}

// An image whose opaque pixels tell where they came from, like Numbered.
void NumberedImage(c32bppDIB& image, int32_t width, int32_t height) {
    ASSERT_TRUE(image.InitializeDIB(width, height));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) Put(image.Pixels(), x, y, From(x, y));
}

std::vector<uint8_t> Original(const c32bppDIB& image) {
    std::vector<uint8_t> bytes;
    image.GetOrginalFormat(bytes);
    return bytes;
}

TEST(Resize, KeepsMirrorsAndResamples) {
    c32bppDIB image;
    EXPECT_FALSE(image.Resize(4, 4));
    NumberedImage(image, 3, 2);
    DecoderAccess::SetImageType(image, itPNG);
    const std::vector<uint8_t> original{1, 2, 3};
    DecoderAccess::SetOriginalFormat(image, original);
    EXPECT_TRUE(image.Resize(0, 2));
    EXPECT_TRUE(image.Resize(3, 0));
    EXPECT_EQ(At(image.Pixels(), 2, 1), From(2, 1));

    ASSERT_TRUE(image.Resize(-3, 0)); // mirrored left to right
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(At(image.Pixels(), 0, 0), From(2, 0));
    EXPECT_EQ(At(image.Pixels(), 2, 1), From(0, 1));

    ASSERT_TRUE(image.Resize(6, 4)); // each pixel doubled
    EXPECT_EQ(image.Width(), 6);
    EXPECT_EQ(image.Height(), 4);
    EXPECT_EQ(At(image.Pixels(), 5, 3), From(0, 1));
    EXPECT_EQ(At(image.Pixels(), 1, 0), From(2, 0));

    ASSERT_TRUE(image.Resize(-3, -2)); // mirrored both ways and halved: upside down again
    EXPECT_EQ(At(image.Pixels(), 0, 0), From(0, 1));
    EXPECT_EQ(At(image.Pixels(), 2, 1), From(2, 0));
    EXPECT_EQ(image.ImageType(), itPNG);
    EXPECT_TRUE(image.Alpha());
    EXPECT_EQ(Original(image), original);
}

TEST(TrimImage, SidesAsAskedAndTheImageCutWhenWanted) {
    c32bppDIB image;
    int32_t x = -1, y = -1, w = -1, h = -1;
    EXPECT_FALSE(image.TrimImage(false, 0, x, y, w, h));
    ASSERT_TRUE(image.InitializeDIB(5, 4));
    EXPECT_FALSE(image.TrimImage(false, 0, x, y, w, h)); // nothing but transparency
    EXPECT_EQ(x | y | w | h, 0);
    Put(image.Pixels(), 1, 1, From(1, 1));
    Put(image.Pixels(), 3, 2, {0, 0, 0, 1}); // barely visible still counts

    struct Case {
        int32_t method, x, y, w, h;
    };
    for (Case c :
         {Case{0, 1, 1, 3, 2}, Case{15, 1, 1, 3, 2}, Case{2, 0, 1, 5, 3}, Case{8, 0, 0, 5, 3},
          Case{1, 1, 0, 4, 4}, Case{4, 0, 0, 4, 4}, Case{16, 0, 0, 5, 4}}) {
        SCOPED_TRACE(c.method);
        ASSERT_TRUE(image.TrimImage(false, c.method, x, y, w, h));
        EXPECT_EQ((std::array{x, y, w, h}), (std::array{c.x, c.y, c.w, c.h}));
    }
    EXPECT_FALSE(image.TrimImage(false, -1, x, y, w, h));
    EXPECT_EQ(image.Width(), 5);

    DecoderAccess::SetImageType(image, itIconAlpha);
    DecoderAccess::SetOriginalFormat(image, std::vector<uint8_t>{7});
    ASSERT_TRUE(image.TrimImage(true, 0, x, y, w, h));
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{0, 0, 3, 2}));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(At(image.Pixels(), 0, 0), From(1, 1));
    EXPECT_EQ(At(image.Pixels(), 2, 1), (Bgra{0, 0, 0, 1}));
    EXPECT_EQ(image.ImageType(), itIconAlpha);
    EXPECT_EQ(Original(image), std::vector<uint8_t>{7});

    // Without alpha the whole picture counts, transparent or not.
    DecoderAccess::SetAlpha(image, false);
    ASSERT_TRUE(image.TrimImage(true, 0, x, y, w, h));
    EXPECT_EQ((std::array{x, y, w, h}), (std::array{0, 0, 3, 2}));
}

} // namespace
} // namespace velt
