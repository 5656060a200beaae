#include "engine/Thumbnail_win.h"

namespace velt {

namespace {

constexpr COLORREF kBlank = RGB(247, 248, 251); // never captured yet

} // namespace

bool Thumbnail::Create(HWND parent, int index) {
    RegisterWindowClass({L"VeltThumbnail", CS_DBLCLKS, nullptr});
    return Window::Create({L"VeltThumbnail", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                           0, parent, static_cast<UINT_PTR>(100 + index)});
}

SIZE Thumbnail::PictureSize() const {
    RECT outer = WindowRectPixels();
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void Thumbnail::Draw(const std::function<void(HDC, SIZE)>& draw) {
    SIZE size = PictureSize();
    if (size.cx <= 0 || size.cy <= 0) return;
    WindowDC screen(nullptr);
    if (!m_picture || size.cx != m_pictureSize.cx || size.cy != m_pictureSize.cy) {
        m_picture.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        m_pictureSize = size;
        if (!m_picture) return;
    }
    UniqueMemoryDC dc(CreateCompatibleDC(screen.get()));
    if (!dc) return;
    Selected picture(dc.get(), m_picture.get());
    draw(dc.get(), size);
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

void Thumbnail::OnPaint(HDC dc) {
    RECT client{};
    GetClientRect(hWnd(), &client);
    if (m_picture) {
        UniqueMemoryDC source(CreateCompatibleDC(dc));
        Selected picture(source.get(), m_picture.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
    } else {
        SetBkColor(dc, kBlank);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    }
}

} // namespace velt
