#include "platform/ClickArea_win.h"

#include "platform/Form_win.h"

namespace velt {

namespace {

constexpr wchar_t kClass[] = L"VeltClickArea";

} // namespace

void PaintParentUnder(HWND child, HDC dc) {
    HWND parent = GetParent(child);
    if (!parent) return;
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

bool ClickArea::Create(HWND parent, const ControlDefinition& definition) {
    Tag = definition.properties.ReadText(L"Tag", L"");
    RegisterWindowClass({kClass, 0, nullptr});
    RECT at = PlacementPixels(definition.properties);
    return Window::Create({kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, at.left, at.top,
                           at.right - at.left, at.bottom - at.top, parent});
}

LRESULT ClickArea::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        m_pressed = true;
        SetCapture(hWnd());
        return 0;
    case WM_LBUTTONUP: {
        if (!m_pressed) return 0;
        m_pressed = false;
        ReleaseCapture();
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client{};
        GetClientRect(hWnd(), &client);
        if (PtInRect(&client, at) && Click) {
            std::function<void()> handler = Click; // the handler may destroy the area
            handler();
        }
        return 0;
    }
    case WM_CAPTURECHANGED: m_pressed = false; return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
}

} // namespace velt
