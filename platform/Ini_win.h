#pragma once
// One value at a time from and to an INI file.
#include <string>

namespace velt {

// The value, or the empty text for a missing file, section or key; cut to 254 characters.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& file);

// Clears the file's read-only, hidden and system flags first. Non-zero on success.
int WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
             const std::wstring& file);

} // namespace velt
