#pragma once
// Small platform helpers shared by the decoders and the image object.
#include "platform/Handles_win.h"
#include "platform/Stream_win.h"

#include <cstdint>
#include <span>

#include <ocidl.h>

namespace velt {

// Whether the library (from the application's or the system folder) exists and exports the
// entry point (loaded and freed again).
bool DllHasFunction(const wchar_t* library, const char* function);

// A standard picture of bytes the system picture loader reads (bitmap, JPEG, icon,
// metafile...), or null; bytes that fail PlatformLoaderMayRead never reach the loader. The
// caller owns the reference.
IPicture* ArrayToPicture(std::span<const uint8_t> bytes);

// A standard picture over handle (PICTYPE_BITMAP, PICTYPE_ICON...), or null. With
// takeOwnership the picture destroys the handle when it is released.
IPicture* HandleToPicture(HANDLE handle, int16_t pictureType, bool takeOwnership = true);

} // namespace velt
