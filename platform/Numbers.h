#pragma once
// Numbers written as text.
#include <cstdint>
#include <string_view>

namespace velt {

// A whole decimal number in the 16-bit signed range, spaces around allowed. False for anything
// else (empty, not a number, out of range), leaving value untouched.
bool ParseInt16(std::wstring_view text, std::int16_t& value);

} // namespace velt
