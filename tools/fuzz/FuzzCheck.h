#pragma once
// What every decoder fuzz target checks of an image it made: the pixels are all readable (so
// that the sanitizers see every byte written) and premultiplied, no colour above its alpha.
#include "imaging/c32bppDIB.h"

#include <cstddef>
#include <cstdint>

inline void CheckImage(const velt::c32bppDIB& host) {
    const uint8_t* bits = host.BitsPointer();
    if (!bits) return;
    const size_t bytes = static_cast<size_t>(host.scanWidth()) * static_cast<size_t>(host.Height());
    size_t ok = 0;
    for (size_t i = 0; i < bytes; i += 4)
        ok += bits[i + 3] >= bits[i] && bits[i + 3] >= bits[i + 1] && bits[i + 3] >= bits[i + 2];
    if (ok != bytes / 4) __builtin_trap();
}
