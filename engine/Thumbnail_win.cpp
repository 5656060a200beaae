#include "engine/Thumbnail_win.h"

#include "platform/Handles_win.h"

namespace velt {

namespace {

constexpr COLORREF kBlank = RGB(247, 248, 251); // never captured yet

} // namespace

bool Thumbnail::Create(HWND parent, int index) {
    RegisterWindowClass({L"VeltThumbnail", CS_DBLCLKS, nullptr});
    return Window::Create({L"VeltThumbnail", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                           0, 0, parent, static_cast<UINT_PTR>(100 + index)});
}

SIZE Thumbnail::PictureSize() const {
    RECT outer = WindowRectPixels();
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void Thumbnail::OnResize() {
    SIZE size = PictureSize();
    if (size.cx <= 0 || size.cy <= 0 ||
        (size.cx == m_picture.Width() && size.cy == m_picture.Height()))
        return;
    // Blank where it grows; what was drawn stays where the old and new sizes overlap.
    c32bppDIB resized;
    resized.ManageOwnDC(true);
    if (!resized.InitializeDIB(size.cx, size.cy)) return;
    HDC dc = resized.LoadDIBinDC(true);
    if (!dc) return;
    RECT all{0, 0, size.cx, size.cy};
    SetBkColor(dc, kBlank);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    if (HDC old = m_picture.BitsPointer() ? m_picture.LoadDIBinDC(true) : nullptr)
        BitBlt(dc, 0, 0, m_picture.Width(), m_picture.Height(), old, 0, 0, SRCCOPY);
    if (!m_picture.InitializeDIB(size.cx, size.cy)) return;
    BitBlt(m_picture.LoadDIBinDC(true), 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
}

void Thumbnail::Draw(const std::function<void(HDC, SIZE)>& draw) {
    HDC dc = m_picture.BitsPointer() ? m_picture.LoadDIBinDC(true) : nullptr;
    if (!dc) return;
    draw(dc, SIZE{m_picture.Width(), m_picture.Height()});
    InvalidateRect(hWnd(), nullptr, FALSE);
}

void Thumbnail::SetBorder(bool border) {
    if (!hWnd() || HasBorder() == border) return;
    LONG_PTR style = GetWindowLongPtrW(hWnd(), GWL_STYLE);
    SetWindowLongPtrW(hWnd(), GWL_STYLE, border ? style | WS_BORDER : style & ~WS_BORDER);
    SetWindowPos(hWnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(hWnd(), nullptr, FALSE);
}

bool Thumbnail::HasBorder() const {
    return hWnd() && (GetWindowLongPtrW(hWnd(), GWL_STYLE) & WS_BORDER);
}

LRESULT Thumbnail::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    int button = 0;
    switch (message) {
    case WM_LBUTTONDOWN: button = 1; break;
    case WM_LBUTTONDBLCLK: return 0; // a double click's second press is its DblClick, no press
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: button = 2; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: button = 4; break;
    }
    if (button) {
        // A copy: the handler may switch desktops, run a prompt, or end the program.
        if (auto handler = MouseDown) handler(button);
        return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
}

void Thumbnail::OnPaint(HDC dc) {
    // With a border the client area is smaller: the picture is cut, as a bordered picture box is.
    RECT client{};
    GetClientRect(hWnd(), &client);
    if (HDC picture = m_picture.BitsPointer() ? m_picture.LoadDIBinDC(true) : nullptr)
        BitBlt(dc, 0, 0, client.right, client.bottom, picture, 0, 0, SRCCOPY);
}

} // namespace velt
