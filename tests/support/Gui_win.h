#pragma once
// What a GUI test asks of the system: this thread's messages, the cursor, pixels on windows and
// on the screen, the keyboard focus and the mouse capture of another thread.
#include "platform/Win32_win.h"
#include "tests/support/Wait.h"

namespace velt::testing {

// Dispatches this thread's messages until holds() is true; false when the deadline passed first.
bool PumpUntil(std::chrono::milliseconds deadline, const std::function<bool()>& holds);
bool PumpUntil(const std::function<bool()>& holds);

bool CursorAt(POINT at);
// Moves the cursor and waits until it has stayed there: under Wine the cursor reaches its place
// through the X server, and a late report of an earlier place can still move it back.
bool MoveCursor(POINT at);

// What the window shows at (x, y) of its client area, asked of the window (WM_PRINTCLIENT).
COLORREF PrintedPixel(HWND window, int x, int y);
// What the screen shows at (x, y).
COLORREF ScreenPixel(POINT at);
// Each colour channel within tolerance.
bool Near(COLORREF a, COLORREF b, int tolerance);

// The keyboard focus and the mouse capture of the thread that owns window (0 when none).
HWND FocusOfThreadOf(HWND window);
HWND CaptureOfThreadOf(HWND window);
// True when window is the foreground window and the keyboard focus is in it or in focus.
bool HasKeyboard(HWND window, HWND focus = nullptr);

} // namespace velt::testing
