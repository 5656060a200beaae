#include "tests/e2e/Harness_win.h"

#include "platform/Files.h"

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

Velt::Velt(const std::string& configIni) : m_folder(FreshFolder()) {
    CopyFileW(Widen(VELT_EXE).c_str(), (m_folder + L"\\Velt.exe").c_str(), FALSE);
    if (!configIni.empty()) {
        std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(configIni.data()),
                                            configIni.size());
        WriteWholeFile(m_folder + L"\\Config.ini", {&bytes, 1});
    }
}

Velt::~Velt() {
    if (m_process.Started() && m_process.ExitCode() == STILL_ACTIVE && !Close()) m_process.Kill();
    DeleteFileW((m_folder + L"\\Config.ini").c_str());
    DeleteFileW((m_folder + L"\\Velt.exe").c_str());
    for (const std::wstring& skin : m_skins) DeleteFileW((m_folder + L"\\skin\\" + skin).c_str());
    RemoveDirectoryW((m_folder + L"\\skin").c_str());
    RemoveDirectoryW(m_folder.c_str());
}

bool Velt::Start() {
    m_process = Process(L"\"" + m_folder + L"\\Velt.exe\"", m_folder);
    // Start-up shows the window before the message loop begins; waiting for the loop first
    // means that a hidden window is one a poll has hidden, not one that was never shown yet.
    return m_process.Started() && m_process.WaitForIdle() && WaitUntil([&] {
               HWND main = MainWindow();
               return main && !IsWindowVisible(main) && IsWindow(TrayReceiver());
           });
}

bool Velt::AddSkin(const std::wstring& name, COLORREF colour) {
    constexpr int kSide = 64;
    constexpr std::uint32_t kPixels = kSide * kSide * 3; // rows of 192 bytes: no padding
    std::vector<std::uint8_t> file(54 + kPixels, 0);
    auto put = [&](size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + static_cast<size_t>(i)] = (value >> (8 * i)) & 0xFF;
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<std::uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, kSide, 4);
    put(22, kSide, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, kPixels, 4);
    for (size_t at = 54; at < file.size(); at += 3) {
        file[at] = GetBValue(colour);
        file[at + 1] = GetGValue(colour);
        file[at + 2] = GetRValue(colour);
    }
    CreateDirectoryW((m_folder + L"\\skin").c_str(), nullptr);
    std::span<const std::uint8_t> bytes(file);
    m_skins.push_back(name);
    return WriteWholeFile(m_folder + L"\\skin\\" + name, {&bytes, 1});
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

bool Velt::SeePolls(int count) {
    HWND overview = MainWindow();
    for (int seen = 0; seen < count; seen += 2) {
        if (!testing::HoldKeys(L"ctrl shift q", {VK_CONTROL, VK_SHIFT, 'Q'}) ||
            !WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }))
            return false;
        if (!testing::ReleaseKeys(L"q shift ctrl", {'Q', VK_SHIFT, VK_CONTROL}) ||
            !WaitUntil([&] { return IsWindowVisible(overview) == FALSE; }))
            return false;
    }
    return true;
}

bool Velt::Close() {
    HWND main = MainWindow();
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    return m_process.WaitForExit();
}

HelperWindows::HelperWindows(const std::vector<std::wstring>& titles, bool minimized) {
    std::wstring line = L"\"" + Widen(HELPER_EXE) + L"\"";
    if (minimized) line += L" --minimized";
    for (const std::wstring& title : titles) line += L" \"" + title + L"\"";
    m_process = Process(line);
    WaitVisible(titles, true);
}

HWND HelperWindows::Find(const std::wstring& title) const {
    return FindWindowW(L"VeltTestHelper", title.c_str());
}

bool HelperWindows::Visible(const std::wstring& title) const {
    HWND window = Find(title);
    return window && IsWindowVisible(window);
}

bool HelperWindows::WaitVisible(const std::vector<std::wstring>& titles, bool visible) const {
    return WaitUntil([&] {
        for (const std::wstring& title : titles)
            if (Visible(title) != visible) return false;
        return true;
    });
}

std::vector<std::wstring> Titles(const std::wstring& stem, int count) {
    std::vector<std::wstring> titles;
    for (int i = 1; i <= count; ++i) titles.push_back(stem + L" " + std::to_wstring(i));
    return titles;
}

} // namespace velt::e2e
