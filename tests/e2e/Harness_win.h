#pragma once
// Drives the real Velt.exe under Wine: starts it from a folder of its own with a Config.ini of
// the test's choosing, starts helper windows in another process, types real keys through X and
// waits for what should follow.
#include "platform/Win32_win.h"
#include "tests/support/Gui_win.h"
#include "tests/support/Process_win.h"

#include <chrono>
#include <string>
#include <vector>

namespace velt::e2e {

using testing::HoldKeys;
using testing::Process;
using testing::ReleaseKeys;
using testing::WaitUntil;
using testing::Xdotool;

// The overview hotkey Ctrl+Shift+Q, for a Config.ini.
inline constexpr const char* kOverviewHotkey = "[Keys]\r\nControl0=17\r\nShift0=16\r\nAlt0=81\r\n";

// A copy of Velt in a fresh folder, with configIni written beside it (none when empty).
class Velt {
public:
    explicit Velt(const std::string& configIni = {});
    ~Velt(); // closes Velt if it still runs
    Velt(const Velt&) = delete;
    Velt& operator=(const Velt&) = delete;
    // Starts it and waits until it has settled: its window shown once at the end of start-up and
    // hidden again by a poll.
    bool Start();
    bool StartAnother(Process& second); // a second copy from the same folder
    // A skin in the skin folder beside it: a 64 x 64 bitmap file of one colour.
    bool AddSkin(const std::wstring& name, COLORREF colour);

    HWND MainWindow() const; // the overview window, 0 when Velt does not run
    HWND TrayReceiver() const;
    // What the shell does when the pointer passes over the icon; the menu opens at the cursor.
    void NotifyFromTrayIcon() const;
    // Waits until the poll has certainly run count more times, holding and letting go the
    // overview hotkey (kOverviewHotkey must be in the Config.ini): the overview shows or hides
    // on a poll that has seen the keys, so each change is one more poll. Each of those polls
    // has first listed the windows on screen.
    bool SeePolls(int count);
    bool Close(); // WM_CLOSE, as any window close; true when the process ended
    Process& process() { return m_process; }
    const std::wstring& Folder() const { return m_folder; }

private:
    std::wstring m_folder;
    std::vector<std::wstring> m_skins;
    Process m_process;
};

// Helper windows in a process of their own; each title must be unique on the desktop. Velt sees
// them on its next poll.
class HelperWindows {
public:
    // Returns once every window is on screen.
    explicit HelperWindows(const std::vector<std::wstring>& titles, bool minimized = false);
    ~HelperWindows() { m_process.Kill(); }
    HelperWindows(const HelperWindows&) = delete;
    HelperWindows& operator=(const HelperWindows&) = delete;
    HWND Find(const std::wstring& title) const;
    bool Visible(const std::wstring& title) const;
    // Waits until every listed window has the given visibility.
    bool WaitVisible(const std::vector<std::wstring>& titles, bool visible) const;

private:
    Process m_process;
};

std::vector<std::wstring> Titles(const std::wstring& stem, int count);

} // namespace velt::e2e
