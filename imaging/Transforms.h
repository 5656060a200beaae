#pragma once
// Pixel work behind the image object's transforms, on premultiplied pixel views so that it runs
// (and is tested) without Windows.
#include "imaging/PixelOps.h"
#include "imaging/SoftwareDraw.h"

#include <cstdint>

namespace velt {

// The side of the square that holds a width x height rectangle turned by any angle: its
// diagonal, rounded. 0 when it would not fit in 31 bits.
int32_t RotatedSquareSide(int32_t width, int32_t height);

// Fills square with the source rectangle scaled to destWidth x destHeight (both positive) and
// turned by angle degrees, clockwise on the screen, about the square's centre. Each square pixel
// is mapped back into the rectangle; those that land outside it are left as they are. The
// nearest pixel is taken, or with highQuality a bilinear mix of the four around the position.
bool RotateIntoSquare(PixelView source, SourceRect src, int32_t destWidth, int32_t destHeight,
                      double angle, bool highQuality, PixelView square);

// The smallest rectangle holding every pixel whose alpha is not 0, trimming only the sides
// whose bit is in method (1 left, 2 top, 4 right, 8 bottom; the others stay at the edge). False
// when a trimmed side finds no such pixel at all.
bool OpaqueBounds(PixelView pixels, int32_t method, SourceRect& bounds);

// Each colour byte c of every pixel with alpha a != 0 becomes a - c: the inverse colour, still
// premultiplied.
void InvertPixels(PixelView pixels);

// Every pixel with alpha != 0 takes the grey value of its stored channels.
void GrayPixels(PixelView pixels, const GrayWeightSet& weights);

} // namespace velt
