#pragma once
// A check of .bmp bytes before the platform's picture loader reads them: the loader trusts the
// sizes in the header, so every one of them is checked against the bytes that are really there.
#include <cstdint>
#include <span>

namespace velt {

// True when the bytes start with "BM" whatever follows: they must then pass BmpIsComplete.
bool LooksLikeBmp(std::span<const std::uint8_t> bytes);

// True for an uncompressed (or bit-field) bitmap, 1 to 32 bits a pixel, at most 16384 pixels a
// side, whose headers, palette and every row lie inside the bytes.
bool BmpIsComplete(std::span<const std::uint8_t> bytes);

} // namespace velt
