#include "platform/Ini_win.h"

#include "platform/Win32_win.h"

namespace velt {

std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& file) {
    wchar_t buffer[255] = {};
    DWORD copied = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer, 255,
                                            file.c_str());
    return std::wstring(buffer, copied);
}

int WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
             const std::wstring& file) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL); // may not exist yet: fine
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

} // namespace velt
