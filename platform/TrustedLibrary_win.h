#pragma once
// Optional libraries (zlib, GDI+) are loaded by full path from the application's folder, then
// the system folder, never through the default search order: a library of the same name planted
// in the current folder (or anywhere on the path) is never picked up.
#include "platform/Handles_win.h"

namespace velt {

// The library file name (no folder) from the application's folder, else the system folder;
// empty when neither has it.
UniqueModule LoadTrustedLibrary(const wchar_t* fileName);
UniqueModule LoadTrustedLibrary(const char* fileName);

} // namespace velt
