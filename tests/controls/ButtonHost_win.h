#pragma once
// A topmost window on screen holding one image button, with plain coloured faces, for tests that
// drive the button with synthesized mouse messages.
#include "controls/ctlVistorButton_win.h"
#include "tests/controls/FakeTimers.h"
#include "tests/support/Gui_win.h"

#include <string>
#include <vector>

namespace velt::testing {

inline constexpr COLORREF kUp = RGB(200, 0, 0);
inline constexpr COLORREF kOver = RGB(0, 200, 0);
inline constexpr COLORREF kDown = RGB(0, 0, 200);
inline constexpr COLORREF kHostColour = RGB(40, 80, 160);
inline constexpr POINT kHostAt{100, 100};
inline constexpr POINT kButtonAt{20, 20}; // in the host, pixels
inline constexpr int kFaceWidth = 40;
inline constexpr int kFaceHeight = 20;

UniqueBitmap SolidBitmap(int width, int height, COLORREF colour);

// What the control shows at (x, y).
inline COLORREF Shown(const ctlVistorButton& button, int x, int y) {
    return PrintedPixel(button.hWnd(), x, y);
}
// The pixel at (x, y) of a bitmap.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);

// One blend step of AlphaBlend with constant alpha, colour by colour.
COLORREF Blended(COLORREF source, COLORREF destination, int alpha);

class ButtonHost {
public:
    ButtonHost();
    ButtonHost(const ButtonHost&) = delete;
    ButtonHost& operator=(const ButtonHost&) = delete;

    // Creates the button with the three plain faces, no caption, showing Up; logs its events.
    void Place(ctlVistorButton& button);
    HWND hWnd() const { return m_window.get(); }

    // Mouse messages in the button's client pixels. A release puts the cursor at the same place
    // first, as the button asks the screen which window is under it.
    void Move(ctlVistorButton& button, int x, int y, WPARAM keys = 0);
    void Press(ctlVistorButton& button, int x, int y, UINT message = WM_LBUTTONDOWN);
    void Release(ctlVistorButton& button, int x, int y, UINT message = WM_LBUTTONUP);
    POINT ScreenOf(int x, int y) const; // a button pixel on the screen

    std::vector<std::string> log;

private:
    UniqueWindow m_window;
};

} // namespace velt::testing
