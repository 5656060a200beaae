#include "platform/App_win.h"

#include <vector>

namespace velt {

namespace {

std::wstring ModuleFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(),
                                          static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::wstring AppPath() {
    std::wstring path = ModuleFileName();
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ExeName() {
    std::wstring path = ModuleFileName();
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring ExePath() { return AppPath() + L"\\" + ExeName() + L".exe"; }

SingleInstance::SingleInstance(const wchar_t* name) {
    m_mutex.reset(CreateMutexW(nullptr, FALSE, name));
    m_alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
}

void EndProcess(unsigned exitCode) { ExitProcess(exitCode); }

} // namespace velt
