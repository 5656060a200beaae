#pragma once
// COM streams over bytes of our own, for the system's picture loaders.
#include "platform/Win32_win.h"

#include <cstdint>
#include <span>

#include <objidl.h>

namespace velt {

// A movable global memory block holding a copy of bytes, wrapped in a stream that frees it and
// is exactly as long as the bytes; null when memory runs out. The caller owns the reference.
IStream* StreamOverCopy(std::span<const std::uint8_t> bytes);

} // namespace velt
