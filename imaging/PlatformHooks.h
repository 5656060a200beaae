#pragma once
// What the portable image code asks of its platform half (the _win files on Windows, the
// _native ones elsewhere).
#include "imaging/BmpParser.h"
#include "imaging/PngParser.h"

namespace velt {

// The platform's PNG loader tried before our own parser (GDI+ when the system offers it).
PngServices::PlatformLoader PlatformPngLoader();

// The platform's picture loader for what our decoders do not read (JPEG, metafiles...), or null.
PictureLoader PlatformPictureLoader();

} // namespace velt
