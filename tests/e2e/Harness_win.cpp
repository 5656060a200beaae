#include "tests/e2e/Harness_win.h"

#include <thread>
#include <utility>

namespace velt::e2e {

namespace {

std::wstring Widen(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length - 1 : 0), L'\0');
    if (length > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    return wide;
}

std::wstring FreshFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"velt-e2e-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void Keys(const std::wstring& xdotoolArguments) {
    // Wine cannot wait on a Unix process, so the shell leaves a marker file when xdotool is done.
    static int counter = 0;
    std::wstring marker = L"/tmp/velt-xdotool-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
    std::wstring windowsMarker = L"Z:" + marker;
    Process shell(L"sh -c \"xdotool " + xdotoolArguments + L"; touch " + marker + L"\"", L"");
    if (!shell.Started()) return;
    WaitUntil([&] { return GetFileAttributesW(windowsMarker.c_str()) != INVALID_FILE_ATTRIBUTES; },
              std::chrono::seconds(10));
    DeleteFileW(windowsMarker.c_str());
}

Process::Process(const std::wstring& commandLine, const std::wstring& folder) {
    std::wstring line = commandLine;
    // A bare "sh" is the shell of the machine Wine runs on.
    std::wstring application;
    if (line.rfind(L"sh ", 0) == 0) application = L"Z:\\bin\\sh";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                       nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                       &startup, &info)) {
        CloseHandle(info.hThread);
        m_process = info.hProcess;
        m_id = info.dwProcessId;
    }
}

Process::~Process() {
    if (m_process) CloseHandle(m_process);
}

Process::Process(Process&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)), m_id(std::exchange(other.m_id, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (m_process) CloseHandle(m_process);
        m_process = std::exchange(other.m_process, nullptr);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

bool Process::WaitForExit(std::chrono::milliseconds timeout) {
    return m_process &&
           WaitForSingleObject(m_process, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process) GetExitCodeProcess(m_process, &code);
    return code;
}

void Process::Kill() {
    if (m_process && ExitCode() == STILL_ACTIVE) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
}

Velt::Velt(const std::string& configIni) : m_folder(FreshFolder()) {
    CopyFileW(Widen(VELT_EXE).c_str(), (m_folder + L"\\Velt.exe").c_str(), FALSE);
    if (!configIni.empty()) {
        HANDLE ini = CreateFileW((m_folder + L"\\Config.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        if (ini != INVALID_HANDLE_VALUE) {
            WriteFile(ini, configIni.data(), static_cast<DWORD>(configIni.size()), &written,
                      nullptr);
            CloseHandle(ini);
        }
    }
}

Velt::~Velt() {
    if (m_process.Started() && m_process.ExitCode() == STILL_ACTIVE && !Close()) m_process.Kill();
    DeleteFileW((m_folder + L"\\Config.ini").c_str());
    DeleteFileW((m_folder + L"\\Velt.exe").c_str());
    RemoveDirectoryW(m_folder.c_str());
}

bool Velt::Start() {
    m_process = Process(L"\"" + m_folder + L"\\Velt.exe\"", m_folder);
    // Started: the main window was shown once at the end of start-up and a poll has hidden it.
    // Its tray receiver and timers exist from then on.
    auto settled = [&] {
        HWND main = MainWindow();
        return main && !IsWindowVisible(main) && IsWindow(TrayReceiver());
    };
    if (!m_process.Started() || !WaitUntil(settled, std::chrono::seconds(20))) return false;
    Sleep(500); // the window may have been caught between creation and its first showing
    return WaitUntil(settled, std::chrono::seconds(5));
}

bool Velt::StartAnother(Process& second) {
    second = Process(L"\"" + m_folder + L"\\Velt.exe\"", m_folder);
    return second.Started();
}

HWND Velt::MainWindow() const {
    // Another test's Velt may still be ending: look for this process's window among all of them.
    for (HWND main = FindWindowW(L"VeltForm1", nullptr); main;
         main = FindWindowExW(nullptr, main, L"VeltForm1", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(main, &owner);
        if (owner == m_process.Id()) return main;
    }
    return nullptr;
}

HWND Velt::TrayReceiver() const {
    HWND main = MainWindow();
    return main ? FindWindowExW(main, nullptr, L"VeltTrayReceiver", nullptr) : nullptr;
}

void Velt::NotifyFromTrayIcon() const {
    PostMessageW(TrayReceiver(), WM_MOUSEMOVE, 1, WM_MOUSEMOVE);
}

bool Velt::Close() {
    HWND main = MainWindow();
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    return m_process.WaitForExit(std::chrono::seconds(10));
}

HelperWindows::HelperWindows(const std::vector<std::wstring>& titles, bool minimized) {
    std::wstring line = L"\"" + Widen(HELPER_EXE) + L"\"";
    if (minimized) line += L" --minimized";
    for (const std::wstring& title : titles) line += L" \"" + title + L"\"";
    m_process = Process(line, L"");
    WaitUntil(
        [&] {
            for (const std::wstring& title : titles)
                if (!Find(title)) return false;
            return true;
        },
        std::chrono::seconds(10));
}

HWND HelperWindows::Find(const std::wstring& title) const {
    return FindWindowW(L"VeltTestHelper", title.c_str());
}

bool HelperWindows::Visible(const std::wstring& title) const {
    HWND window = Find(title);
    return window && IsWindowVisible(window);
}

bool HelperWindows::WaitVisible(const std::vector<std::wstring>& titles, bool visible,
                                std::chrono::milliseconds timeout) const {
    return WaitUntil(
        [&] {
            for (const std::wstring& title : titles)
                if (Visible(title) != visible) return false;
            return true;
        },
        timeout);
}

std::vector<std::wstring> Titles(const std::wstring& stem, int count) {
    std::vector<std::wstring> titles;
    for (int i = 1; i <= count; ++i) titles.push_back(stem + L" " + std::to_wstring(i));
    return titles;
}

} // namespace velt::e2e
