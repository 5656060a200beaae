#include "tests/support/Process_win.h"

#include "platform/Files.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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
    std::vector<std::uint8_t> status;
    bool read = ReadWholeFile(windowsMarker, status);
    DeleteFileW(windowsMarker.c_str());
    return read && !status.empty() && status[0] == '0' && (status.size() == 1 || status[1] == '\n');
}

bool Xdotool(const std::wstring& arguments) { return RunUnix(L"xdotool " + arguments); }

bool TakeXFocus(HWND window) {
    auto id = reinterpret_cast<std::uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
    if (!id) return true;
    std::wstring x = std::to_wstring(id);
    std::wstring hasFocus = L"[ $(xdotool getwindowfocus) = " + x + L" ]";
    return RunUnix(hasFocus) || (RunUnix(L"xdotool windowfocus --sync " + x) && RunUnix(hasFocus));
}

namespace {

bool KeysAre(std::initializer_list<int> virtualKeys, bool down) {
    for (int key : virtualKeys)
        if (((GetAsyncKeyState(key) & 0x8000) != 0) != down) return false;
    return true;
}

// Tells Wine that keys X already has up are up. A program whose window takes the X focus reads
// the keyboard as it was then, and may apply that after the keys went up elsewhere; X ignores a
// second release of a key it has up, so only Wine's own state can be put right.
void ReleaseInWine(std::initializer_list<int> virtualKeys) {
    std::vector<INPUT> inputs;
    for (int key : virtualKeys) {
        if ((GetAsyncKeyState(key) & 0x8000) == 0) continue;
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(key);
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Sends the keys' change until Wine reports it. Wine reads the keyboard afresh when the X focus
// moves, from the moment the focus moved; another program's window taking the focus just before
// the keys went can reset them, and they go again (a key pressed or let go twice stays so).
bool SendKeys(const std::wstring& change, std::initializer_list<int> virtualKeys, bool down) {
    const auto never = std::chrono::steady_clock::time_point{};
    auto sent = never;
    return WaitUntil([&] {
        if (KeysAre(virtualKeys, down)) return true;
        if (std::chrono::steady_clock::now() - sent > std::chrono::seconds(2)) {
            if (!down && sent != never) ReleaseInWine(virtualKeys);
            TakeXFocus(GetDesktopWindow());
            Xdotool(change);
            sent = std::chrono::steady_clock::now();
        }
        return KeysAre(virtualKeys, down);
    });
}

} // namespace

bool HoldKeys(const std::wstring& keys, std::initializer_list<int> virtualKeys) {
    return SendKeys(L"keydown " + keys, virtualKeys, true);
}

bool ReleaseKeys(const std::wstring& keys, std::initializer_list<int> virtualKeys) {
    return SendKeys(L"keyup " + keys, virtualKeys, false);
}

void Screenshot(const char* name) {
    const char* folder = std::getenv("VELT_SHOT_DIR");
    if (!folder) return;
    std::string path = std::string(folder) + "/" + name + ".png";
    RunUnix(L"import -window root " + std::wstring(path.begin(), path.end()));
}

} // namespace velt::testing
