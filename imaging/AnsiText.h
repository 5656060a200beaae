#pragma once
// Text as single bytes of the system's ANSI code page (Latin-1 where there is no such code
// page), for the texts stored in files. Characters the code page lacks become '?'.
#include <string>
#include <string_view>

namespace velt {

std::string ToAnsi(std::wstring_view text);

} // namespace velt
