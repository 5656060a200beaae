#pragma once
// The window manager as the engine sees it: other programs' top-level windows, keys, the cursor
// and the screen. Win32Desktop implements it over user32; the tests use an in-memory fake.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velt {

// A top-level window handle as a plain number, so that portable code can hold and compare it.
using WindowId = std::uintptr_t;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Virtual-key codes the engine reads.
inline constexpr int kVkLeftButton = 0x01;
inline constexpr int kVkRightButton = 0x02;
inline constexpr int kVkMenu = 0x12;

// The top of a window's chain of parents and owners; parentOf gives 0 at the top. The bound
// only guards against a chain that changes while it is walked.
template <typename Handle, typename ParentOf>
Handle TopOfParentChain(Handle window, ParentOf parentOf) {
    for (int depth = 0; window && depth < 256; ++depth) {
        Handle parent = parentOf(window);
        if (!parent) break;
        window = parent;
    }
    return window;
}

class Desktop {
public:
    virtual ~Desktop() = default;

    // Visits every top-level window, front to back; stops early when visit returns false.
    virtual void EnumWindows(const std::function<bool(WindowId)>& visit) = 0;
    virtual bool IsWindowVisible(WindowId window) = 0;
    virtual bool IsIconic(WindowId window) = 0;
    // The window's title read into a buffer of bufferChars characters (so at most bufferChars - 1).
    virtual std::wstring WindowTitle(WindowId window, int bufferChars) = 0;
    virtual void ShowWindow(WindowId window, bool show) = 0;
    virtual bool GetWindowRect(WindowId window, Rect& rect) = 0;
    // Moves without resizing and raises to the top of the non-topmost windows.
    virtual void MoveToTop(WindowId window, Point position) = 0;
    // Parent of a child window or owner of an owned pop-up; 0 at the top.
    virtual WindowId GetParent(WindowId window) = 0;
    virtual WindowId WindowFromPoint(Point point) = 0;
    virtual WindowId TaskbarWindow() = 0;
    // True while the key is down wherever the keyboard focus is; code 0 is never down.
    virtual bool IsKeyDown(int virtualKey) = 0;
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(Point point) = 0;
    // The primary screen in pixels.
    virtual Size ScreenSize() = 0;

    // Whether a handle still names a window, and whose it is: its process (0 when gone) and its
    // class name (empty when gone).
    virtual bool IsWindow(WindowId) { return false; }
    virtual std::uint32_t WindowProcessId(WindowId) { return 0; }
    virtual std::wstring WindowClassName(WindowId) { return {}; }
    // True when the mouse buttons are swapped: the primary button is then the right one.
    virtual bool MouseButtonsSwapped() { return false; }
    // Gives window the keyboard focus; false when that could not be done (the window is gone or
    // hidden, its program does not answer, or the system refused).
    virtual bool Activate(WindowId) { return false; }
    // The shell's window behind all others, which takes the focus when no window is left; 0
    // when there is none.
    virtual WindowId ShellWindow() { return 0; }
    // The digits 1 to 9 pressed while Alt was down since the last call, oldest first, each press
    // once; empty where presses are not recorded, and the poll then sees only keys held.
    virtual std::vector<int> TakeAltDigitPresses() { return {}; }
};

} // namespace velt
