#include "settings/RegKeys_win.h"

#include "platform/Handles_win.h"

#include <cstring>

namespace velt {

namespace {

using UniqueKey = Unique<HKEY, RegCloseKey>;

// Standard read rights and all six key-specific rights.
constexpr REGSAM kAccess = 0x2003F;
constexpr DWORD kBufferChars = 1024;

} // namespace

bool RegSetString(HKEY hive, const std::wstring& subkey, const std::wstring& name,
                  const std::wstring& data) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(hive, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                        &opened, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueKey key(opened);
    const std::wstring stored = data.empty() ? std::wstring(L" ") : data;
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(stored.data()),
                          static_cast<DWORD>(stored.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring RegGetValue(HKEY hive, const std::wstring& subkey, const std::wstring& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(hive, subkey.c_str(), 0, kAccess, &opened) != ERROR_SUCCESS) return {};
    UniqueKey key(opened);
    // One character more than the longest data read, for the terminator Wine adds to strings
    // stored without one.
    wchar_t buffer[kBufferChars + 1] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS)
        return {}; // missing, unreadable, or longer than the buffer
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        std::wstring text(buffer, kBufferChars + 1);
        text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
        return text.size() > kBufferChars ? std::wstring() : text;
    }
    case REG_DWORD: {
        std::int32_t number = 0;
        std::memcpy(&number, buffer, sizeof(number));
        return std::to_wstring(number);
    }
    default: return {};
    }
}

bool SystemRunKeys::Write(Scope scope, const std::wstring& data) {
    return RegSetString(Hive(scope), kRunKey, kStartupValueName, data);
}

std::wstring SystemRunKeys::Read(Scope scope) {
    return RegGetValue(Hive(scope), kRunKey, kStartupValueName);
}

} // namespace velt
