#pragma once
// Drives the real Velt.exe under Wine: starts it from a folder of its own with a Config.ini of
// the test's choosing, starts helper windows in another process, types real keys through X and
// waits for what should follow.
#include "platform/Win32_win.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace velt::e2e {

// Runs until done() or the timeout; false on timeout. Polls every 20 ms.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Real X key input, e.g. Keys(L"keydown alt 3").
void Keys(const std::wstring& xdotoolArguments);

class Process {
public:
    Process() = default;
    Process(const std::wstring& commandLine, const std::wstring& folder);
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_process != nullptr; }
    DWORD Id() const { return m_id; }
    bool WaitForExit(std::chrono::milliseconds timeout);
    DWORD ExitCode() const;
    void Kill();

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// A copy of Velt in a fresh folder, with configIni written beside it (none when empty).
class Velt {
public:
    explicit Velt(const std::string& configIni = {});
    ~Velt(); // closes Velt if it still runs
    bool Start();
    bool StartAnother(Process& second); // a second copy from the same folder

    HWND MainWindow() const; // the overview window, 0 when Velt does not run
    HWND TrayReceiver() const;
    // What the shell does when the pointer passes over the icon; the menu opens at the cursor.
    void NotifyFromTrayIcon() const;
    bool Close(); // WM_CLOSE, as any window close; true when the process ended
    Process& process() { return m_process; }
    const std::wstring& Folder() const { return m_folder; }

private:
    std::wstring m_folder;
    Process m_process;
};

// Helper windows in a process of their own; each title must be unique on the desktop.
class HelperWindows {
public:
    explicit HelperWindows(const std::vector<std::wstring>& titles, bool minimized = false);
    ~HelperWindows() { m_process.Kill(); }
    HelperWindows(const HelperWindows&) = delete;
    HelperWindows& operator=(const HelperWindows&) = delete;
    HWND Find(const std::wstring& title) const;
    bool Visible(const std::wstring& title) const;
    // Waits until every listed window has the given visibility.
    bool WaitVisible(const std::vector<std::wstring>& titles, bool visible,
                     std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

private:
    Process m_process;
};

std::vector<std::wstring> Titles(const std::wstring& stem, int count);

} // namespace velt::e2e
