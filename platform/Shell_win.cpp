#include "platform/Shell_win.h"

#include "platform/Handles_win.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace velt {

std::wstring ExplorerCommandLine(const std::wstring& target) {
    return L"explorer.exe \"" + target + L"\"";
}

void OpenWithExplorer(const std::wstring& target) {
    std::wstring commandLine = ExplorerCommandLine(target);
    STARTUPINFOW startup{sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        UniqueHandle thread(process.hThread);
        UniqueHandle owned(process.hProcess);
    }
}

bool PathExists(const std::wstring& path) {
    if (path.find(L'\\') == std::wstring::npos) return true;
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

UniqueIcon AssociatedIcon(const std::wstring& file) { return AssociatedIcon(file, 0); }

UniqueIcon AssociatedIcon(const std::wstring& file, WORD index) {
    // The call may write the path of the file it took the icon from into the buffer.
    std::vector<wchar_t> path(file.begin(), file.end());
    path.resize(std::max<size_t>(path.size() + 1, MAX_PATH), L'\0');
    return UniqueIcon(ExtractAssociatedIconW(GetModuleHandleW(nullptr), path.data(), &index));
}

} // namespace velt
