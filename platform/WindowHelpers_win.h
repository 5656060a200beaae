#pragma once
// Small questions and orders about windows, our own and other programs'.
#include "platform/Win32_win.h"

#include <string>

namespace velt {

// A window's text read into a buffer of bufferChars characters (so at most bufferChars - 1).
std::wstring ReadWindowText(HWND window, int bufferChars);
std::wstring WindowText(HWND window); // all of it

std::wstring GetWindowTitle(HWND window);     // at most 254 characters
std::wstring GetWindowTitleLong(HWND window); // at most 1023 characters

// Walks up parents and owners to the top; leaves the result in window and returns it as decimal
// text.
std::wstring TopLevelWindowOf(HWND& window);

HWND WindowUnderCursor();
HWND TaskbarWindow(); // 0 on a system without one

// The window's small or big icon, from the window or its class; 0 when it has none. A window that
// does not answer costs at most a second per message asked.
HICON GetWindowIcon(HWND window);
// Draws GetWindowIcon 16 x 16 at (x, y). The icon belongs to the window and is left alone.
void DrawWindowIcon(HDC dc, HWND window, int x, int y);

void MakeTopmost(HWND window); // always on top, not moved, not resized, not activated

// 0 after making the window layered with that constant alpha; 1 for an alpha outside 0..255
// (nothing done); 2 when the system lacks layered windows.
int SetWindowAlpha(HWND window, int alpha);

} // namespace velt
