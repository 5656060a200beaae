#pragma once
#include <cstdint>
#include <string>

namespace velt {

// The short name shown for a virtual-key code; empty for codes without one (0 included).
std::wstring KeyName(int code);

} // namespace velt
