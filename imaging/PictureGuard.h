#pragma once
// The system's picture loader trusts the sizes inside the files it reads. Bytes from outside
// reach it only when this check passes: bitmaps and icon files must hold everything their
// headers promise, and GIF and PNG never go to it (our own decoders read every one of those,
// so what they refused is damaged). Other formats (JPEG, metafiles) are the loader's to read.
#include <cstdint>
#include <span>

namespace velt {

bool PlatformLoaderMayRead(std::span<const uint8_t> bytes);

} // namespace velt
