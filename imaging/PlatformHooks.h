#pragma once
// What the portable image code asks of its platform half (c32bppDIB_win.cpp on Windows,
// c32bppDIB_native.cpp elsewhere).
#include "imaging/PngParser.h"

namespace velt {

// The platform's PNG loader tried before our own parser (GDI+ when the system offers it).
PngServices::PlatformLoader PlatformPngLoader();

} // namespace velt
