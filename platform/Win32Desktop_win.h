#pragma once
// The desktop of the running Windows session.
#include "platform/AltDigitHook_win.h"
#include "platform/Desktop.h"
#include "platform/Win32_win.h"

#include <cstdint>
#include <map>

namespace velt {

class Win32Desktop final : public Desktop {
public:
    void EnumWindows(const std::function<bool(WindowId)>& visit) override;
    bool IsWindowVisible(WindowId window) override;
    bool IsIconic(WindowId window) override;
    std::wstring WindowTitle(WindowId window, int bufferChars) override;
    void ShowWindow(WindowId window, bool show) override;
    bool GetWindowRect(WindowId window, Rect& rect) override;
    void MoveToTop(WindowId window, Point position) override;
    WindowId GetParent(WindowId window) override;
    WindowId WindowFromPoint(Point point) override;
    WindowId TaskbarWindow() override;
    bool IsKeyDown(int virtualKey) override;
    Point GetCursorPos() override;
    void SetCursorPos(Point point) override;
    Size ScreenSize() override;
    bool IsWindow(WindowId window) override;
    std::uint32_t WindowProcessId(WindowId window) override;
    std::wstring WindowClassName(WindowId window) override;
    bool MouseButtonsSwapped() override;
    bool Activate(WindowId window) override;
    WindowId ShellWindow() override;
    std::vector<int> TakeAltDigitPresses() override { return m_presses.Take(); }
    // Begins seeing Alt+digit presses between polls; false when the system refused.
    bool RecordAltDigitPresses() { return m_presses.Start(); }

private:
    // Whether the thread of window answers messages now. Each thread is asked at most once in a
    // short while, so a switch pays for one question per program, not per window.
    bool Answers(HWND window, DWORD thread);

    struct Verdict {
        bool answers = false;
        std::uint64_t askedAt = 0;
    };
    std::map<DWORD, Verdict> m_verdicts;
    AltDigitHook m_presses;
};

} // namespace velt
