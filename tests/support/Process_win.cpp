#include "tests/support/Process_win.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace velt::testing {

Process::Process(std::wstring commandLine, const std::wstring& folder, const wchar_t* application) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return;
    UniqueHandle thread(info.hThread);
    m_process.reset(info.hProcess);
    m_started = true;
    m_id = info.dwProcessId;
}

bool Process::WaitForIdle(std::chrono::milliseconds deadline) const {
    return m_process &&
           WaitForInputIdle(m_process.get(), static_cast<DWORD>(deadline.count())) == 0;
}

bool Process::WaitForExit(std::chrono::milliseconds deadline) const {
    return m_process && WaitForSingleObject(m_process.get(),
                                            static_cast<DWORD>(deadline.count())) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process) GetExitCodeProcess(m_process.get(), &code);
    return code;
}

void Process::Kill() {
    if (!m_process || ExitCode() != STILL_ACTIVE) return;
    TerminateProcess(m_process.get(), 1);
    WaitForExit();
}

bool RunUnix(const std::wstring& command, std::chrono::milliseconds deadline) {
    // Wine cannot wait on a Unix process: the shell leaves the command's status in a file when
    // it is done, renamed into place so that it is never seen half written.
    static std::atomic<int> counter{0};
    std::wstring marker = L"/tmp/velt-unix-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
    std::wstring windowsMarker = L"Z:" + marker;
    Process shell(L"sh -c \"" + command + L"; echo $? >" + marker + L".part && mv " + marker +
                      L".part " + marker + L"\"",
                  L"", L"Z:\\bin\\sh");
    if (!shell.Started()) return false;
    if (!WaitUntil(deadline, [&] {
            return GetFileAttributesW(windowsMarker.c_str()) != INVALID_FILE_ATTRIBUTES;
        }))
        return false;
    char status[8] = {};
    DWORD read = 0;
    UniqueFile file(CreateFileW(windowsMarker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) ReadFile(file.get(), status, sizeof(status) - 1, &read, nullptr);
    file.reset();
    DeleteFileW(windowsMarker.c_str());
    return status[0] == '0' && (status[1] == '\n' || status[1] == '\0');
}

bool Xdotool(const std::wstring& arguments) { return RunUnix(L"xdotool " + arguments); }

bool TakeXFocus(HWND window) {
    auto id = reinterpret_cast<std::uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
    if (!id) return true;
    std::wstring x = std::to_wstring(id);
    std::wstring hasFocus = L"[ $(xdotool getwindowfocus) = " + x + L" ]";
    return RunUnix(hasFocus) || (RunUnix(L"xdotool windowfocus --sync " + x) && RunUnix(hasFocus));
}

void Screenshot(const char* name) {
    const char* folder = std::getenv("VELT_SHOT_DIR");
    if (!folder) return;
    std::string path = std::string(folder) + "/" + name + ".png";
    RunUnix(L"import -window root " + std::wstring(path.begin(), path.end()));
}

} // namespace velt::testing
