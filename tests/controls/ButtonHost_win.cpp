#include "tests/controls/ButtonHost_win.h"

#include <algorithm>
#include <cstdlib>

namespace velt::testing {

UniqueBitmap SolidBitmap(int width, int height, COLORREF colour) {
    UniqueBitmap bitmap = CreateSurfaceBitmap(width, height);
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    Selected selected(dc.get(), bitmap.get());
    RECT all{0, 0, width, height};
    SetBkColor(dc.get(), colour);
    ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    return bitmap;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    Selected selected(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

COLORREF Blended(COLORREF source, COLORREF destination, int alpha) {
    auto mix = [&](int s, int d) { return (s * alpha + d * (255 - alpha) + 127) / 255; };
    return RGB(mix(GetRValue(source), GetRValue(destination)),
               mix(GetGValue(source), GetGValue(destination)),
               mix(GetBValue(source), GetBValue(destination)));
}

ButtonHost::ButtonHost() {
    static const UniqueBrush background(CreateSolidBrush(kHostColour));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = background.get();
    wc.lpszClassName = L"VeltButtonTestHost";
    RegisterClassW(&wc);
    m_window.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"",
                                   WS_POPUP | WS_VISIBLE, kHostAt.x, kHostAt.y, 300, 200, nullptr,
                                   nullptr, wc.hInstance, nullptr));
    UpdateWindow(m_window.get());
    // The cursor away from the host, and the moves that brought it there gone, so that only
    // the test's own messages reach the button.
    MoveCursor(POINT{700, 600});
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void ButtonHost::Place(ctlVistorButton& button) {
    button.Create(m_window.get(), kButtonAt.x * 15, kButtonAt.y * 15);
    button.Caption(L"");
    UniqueBitmap up = SolidBitmap(kFaceWidth, kFaceHeight, kUp);
    UniqueBitmap over = SolidBitmap(kFaceWidth, kFaceHeight, kOver);
    UniqueBitmap down = SolidBitmap(kFaceWidth, kFaceHeight, kDown);
    button.ImgUp(up.get());
    button.ImgOver(over.get());
    button.ImgDown(down.get());
    button.DoFadeOut();
    button.Click = [this] { log.push_back("Click"); };
    button.MouseDown = [this](std::int16_t&, std::int16_t&, float&, float&) {
        log.push_back("Down");
    };
    button.MouseMove = [this](std::int16_t&, std::int16_t&, float&, float&) {
        log.push_back("Move");
    };
    button.MouseUp = [this](std::int16_t&, std::int16_t&, float&, float&) { log.push_back("Up"); };
    button.MouseOver = [this](float&, float&) { log.push_back("Over"); };
    button.MouseOut = [this] { log.push_back("Out"); };
}

POINT ButtonHost::ScreenOf(int x, int y) const {
    return POINT{kHostAt.x + kButtonAt.x + x, kHostAt.y + kButtonAt.y + y};
}

namespace {

LPARAM At(int x, int y) {
    return static_cast<LPARAM>(static_cast<WORD>(static_cast<short>(x))) |
           (static_cast<LPARAM>(static_cast<WORD>(static_cast<short>(y))) << 16);
}

} // namespace

void ButtonHost::Move(ctlVistorButton& button, int x, int y, WPARAM keys) {
    SendMessageW(button.hWnd(), WM_MOUSEMOVE, keys, At(x, y));
}

void ButtonHost::Press(ctlVistorButton& button, int x, int y, UINT message) {
    SendMessageW(button.hWnd(), message, message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                 At(x, y));
}

void ButtonHost::Release(ctlVistorButton& button, int x, int y, UINT message) {
    MoveCursor(ScreenOf(x, y));
    SendMessageW(button.hWnd(), message, 0, At(x, y));
}

} // namespace velt::testing
