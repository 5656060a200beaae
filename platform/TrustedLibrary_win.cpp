#include "platform/TrustedLibrary_win.h"

#include <string>

namespace velt {

namespace {

std::wstring ApplicationFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH];
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::wstring(buffer, n) + L"\\";
}

} // namespace

UniqueModule LoadTrustedLibrary(const wchar_t* fileName) {
    if (!fileName || !*fileName) return {};
    const std::wstring name(fileName);
    if (name.find_first_of(L"\\/:") != std::wstring::npos) return {}; // a bare file name only
    for (const std::wstring& folder : {ApplicationFolder(), SystemFolder()}) {
        if (folder.empty()) continue;
        const std::wstring path = folder + name;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        // The library's own imports are looked for beside it first.
        if (HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
            return UniqueModule(module);
    }
    return {};
}

UniqueModule LoadTrustedLibrary(const char* fileName) {
    if (!fileName) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, fileName, -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, fileName, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return LoadTrustedLibrary(wide.c_str());
}

} // namespace velt
