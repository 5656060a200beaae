#pragma once
// Measures: windows are designed in twips, 15 to a pixel at the 96 DPI the program assumes.
#include <cmath>

namespace velt {

inline constexpr int kTwipsPerPixel = 15;

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
inline int RoundHalfEven(double value) {
    double whole = std::floor(value);
    double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<int>(whole);
}

inline int TwipsToPixels(double twips) { return RoundHalfEven(twips / kTwipsPerPixel); }
inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

} // namespace velt
