#include "platform/Win32Desktop_win.h"

#include "platform/Win32_win.h"
#include "platform/WindowHelpers_win.h"

namespace velt {

namespace {

HWND AsHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId AsId(HWND window) { return reinterpret_cast<WindowId>(window); }

BOOL CALLBACK VisitWindow(HWND window, LPARAM visit) {
    try {
        return (*reinterpret_cast<const std::function<bool(WindowId)>*>(visit))(AsId(window));
    } catch (...) {
        return FALSE; // nothing may unwind through user32: the walk ends here
    }
}

} // namespace

void Win32Desktop::EnumWindows(const std::function<bool(WindowId)>& visit) {
    ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

bool Win32Desktop::IsWindowVisible(WindowId window) { return ::IsWindowVisible(AsHwnd(window)); }

bool Win32Desktop::IsIconic(WindowId window) { return ::IsIconic(AsHwnd(window)); }

std::wstring Win32Desktop::WindowTitle(WindowId window, int bufferChars) {
    return ReadWindowText(AsHwnd(window), bufferChars);
}

void Win32Desktop::ShowWindow(WindowId window, bool show) {
    ::ShowWindow(AsHwnd(window), show ? SW_SHOW : SW_HIDE);
}

bool Win32Desktop::GetWindowRect(WindowId window, Rect& rect) {
    RECT r{};
    if (!::GetWindowRect(AsHwnd(window), &r)) return false;
    rect = Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

void Win32Desktop::MoveToTop(WindowId window, Point position) {
    ::SetWindowPos(AsHwnd(window), HWND_TOP, position.x, position.y, 0, 0,
                   SWP_NOSIZE | SWP_FRAMECHANGED);
}

WindowId Win32Desktop::GetParent(WindowId window) { return AsId(::GetParent(AsHwnd(window))); }

WindowId Win32Desktop::WindowFromPoint(Point point) {
    return AsId(::WindowFromPoint(POINT{point.x, point.y}));
}

WindowId Win32Desktop::TaskbarWindow() { return AsId(velt::TaskbarWindow()); }

bool Win32Desktop::IsKeyDown(int virtualKey) {
    // The asynchronous state: the poll runs while other programs have the keyboard focus.
    return virtualKey != 0 && (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

Point Win32Desktop::GetCursorPos() {
    POINT at{};
    ::GetCursorPos(&at);
    return Point{at.x, at.y};
}

void Win32Desktop::SetCursorPos(Point point) { ::SetCursorPos(point.x, point.y); }

Size Win32Desktop::ScreenSize() {
    return Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

} // namespace velt
