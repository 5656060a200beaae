#pragma once
// Other programs for a test: Windows programs started and waited for, and programs of the
// machine Wine runs on (xdotool for real X input, ImageMagick for screenshots).
#include "platform/Handles_win.h"
#include "tests/support/Wait.h"

#include <initializer_list>
#include <string>

namespace velt::testing {

class Process {
public:
    Process() = default;
    // Starts the command line in folder (the test's own when empty).
    explicit Process(std::wstring commandLine, const std::wstring& folder = {},
                     const wchar_t* application = nullptr);

    // Wine starts a program of the machine it runs on without a handle to wait on.
    bool Started() const { return m_started; }
    DWORD Id() const { return m_id; }
    // True once the program waits for input in its message loop with nothing left to handle.
    bool WaitForIdle(std::chrono::milliseconds deadline = kPatience) const;
    bool WaitForExit(std::chrono::milliseconds deadline = kPatience) const;
    DWORD ExitCode() const; // STILL_ACTIVE while it runs
    void Kill();            // ends it when it still runs, and waits until it has

private:
    UniqueHandle m_process;
    DWORD m_id = 0;
    bool m_started = false;
};

// Runs a command line of the machine Wine runs on through its /bin/sh and waits until it has
// ended; true when it ended with status 0.
bool RunUnix(const std::wstring& command, std::chrono::milliseconds deadline = kPatience);

// Real X input, e.g. Xdotool(L"keydown alt 3"); returns once xdotool has sent it all. The
// program under test sees it later: a test waits for its effect.
bool Xdotool(const std::wstring& arguments);

// Under Wine each top-level window has an X window of its own, and the X server sends keys to
// the one with the X input focus, which does not always follow the foreground window (the
// taskbar can keep it). Gives window's X window the focus; true once it has it, or when the
// window has no X window of its own.
bool TakeXFocus(HWND window);

// Holds keys down as real X input, e.g. HoldKeys(L"alt 5", {VK_MENU, '5'}), and waits until
// Wine reports every one of the virtual keys down, as a program polling the keyboard then sees
// them. The keys go to the Wine desktop's own X window, which nothing hides.
bool HoldKeys(const std::wstring& keys, std::initializer_list<int> virtualKeys);
// Lets keys go (in the order given) and waits until Wine reports the virtual keys up.
bool ReleaseKeys(const std::wstring& keys, std::initializer_list<int> virtualKeys);

// A picture of the screen in the folder VELT_SHOT_DIR names, for the eye; nothing without it.
void Screenshot(const char* name);

} // namespace velt::testing
