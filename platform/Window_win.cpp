#include "platform/Window_win.h"

#include "platform/Handles_win.h"
#include "platform/Units.h"
#include "platform/WindowHelpers_win.h"
#include "platform/WindowlessHost_win.h"

namespace velt {

bool RegisterWindowClass(const WindowClassSpec& spec) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(instance, spec.name, &existing)) return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = spec.style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = spec.background;
    wc.hIcon = spec.icon;
    wc.lpszClassName = spec.name;
    return RegisterClassExW(&wc) != 0;
}

Window::Window() = default;

Window::~Window() { Unload(); }

bool Window::HasWindowless() const { return m_windowless && !m_windowless->Controls().empty(); }

WindowlessHost& Window::Windowless() {
    if (!m_windowless) m_windowless = std::make_unique<WindowlessHost>(*this);
    return *m_windowless;
}

bool Window::Create(const WindowSpec& spec) {
    if (m_hwnd) return true;
    // The object attaches itself at WM_NCCREATE (lpParam carries it) and loads at WM_CREATE.
    CreateWindowExW(spec.exStyle, spec.className, spec.caption.c_str(), spec.style, spec.x, spec.y,
                    spec.width, spec.height, spec.parent, reinterpret_cast<HMENU>(spec.childId),
                    GetModuleHandleW(nullptr), this);
    return m_hwnd != nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* owner = static_cast<Window*>(created->lpCreateParams);
        if (owner) {
            owner->m_hwnd = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        }
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The object outlives its native window: detach so that nothing reaches it any more.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        LRESULT routed = 0;
        if (self->m_windowless && self->m_windowless->Route(message, wParam, lParam, routed))
            return routed;
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through user32: the handler's step is skipped, the system's runs.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnLoad(); return 0;
    case WM_SIZE: OnResize(); break;
    case WM_DESTROY: OnUnload(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_ERASEBKGND:
        if (DrawsItself()) return 1;
        break;
    case WM_PAINT:
        if (DrawsItself() || HasWindowless()) {
            PaintDC paint(m_hwnd);
            PaintLayers(paint.get(), paint.area());
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (DrawsItself() || HasWindowless()) {
            auto dc = reinterpret_cast<HDC>(wParam);
            if (DrawsItself()) OnPaint(dc);
            else if (lParam & PRF_ERASEBKGND) SendMessageW(m_hwnd, WM_ERASEBKGND, wParam, 0);
            RECT client{};
            GetClientRect(m_hwnd, &client);
            if (m_windowless) m_windowless->PaintControls(dc, client);
            if (DrawsItself()) OnPaintOver(dc);
            return 0;
        }
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void Window::PaintLayers(HDC dc, const RECT& area) {
    if (!HasWindowless()) {
        OnPaint(dc);
        OnPaintOver(dc);
        return;
    }
    // Composed off screen and shown at once, so that no control is ever seen half drawn or
    // missing over the window's own picture (a fade repaints many times a second).
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    UniqueMemoryDC compose(CreateCompatibleDC(dc));
    UniqueBitmap frame(CreateCompatibleBitmap(dc, width, height));
    HDC target = compose && frame ? compose.get() : dc;
    Selected selected(compose.get(), frame.get());
    if (target != dc) SetViewportOrgEx(target, -area.left, -area.top, nullptr);
    if (DrawsItself()) OnPaint(target);
    else SendMessageW(m_hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target), 0);
    m_windowless->PaintControls(target, area);
    if (DrawsItself()) OnPaintOver(target);
    if (target != dc)
        BitBlt(dc, area.left, area.top, width, height, target, area.left, area.top, SRCCOPY);
}

void Window::Show() {
    if (m_hwnd) ShowWindow(m_hwnd, SW_SHOW);
}

void Window::Hide() {
    if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
}

bool Window::Visible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

void Window::ShowModal(HWND owner) {
    if (!m_hwnd) return;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    Show();
    SetForegroundWindow(m_hwnd);
    MSG msg;
    while (m_hwnd && IsWindowVisible(m_hwnd)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave the quit for the outer loop
            break;
        }
        if (got < 0) break;
        if (m_hwnd && IsDialogMessageW(m_hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
}

void Window::Unload() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

void Window::SetCaption(const std::wstring& caption) {
    if (m_hwnd) SetWindowTextW(m_hwnd, caption.c_str());
}

std::wstring Window::Caption() const { return m_hwnd ? WindowText(m_hwnd) : std::wstring(); }

void Window::Move(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    if (!m_hwnd) return;
    MoveWindow(m_hwnd, TwipsToPixels(leftTwips), TwipsToPixels(topTwips), TwipsToPixels(widthTwips),
               TwipsToPixels(heightTwips), TRUE);
}

void Window::SetClientSizeTwips(int widthTwips, int heightTwips) {
    if (!m_hwnd) return;
    RECT rect{0, 0, TwipsToPixels(widthTwips), TwipsToPixels(heightTwips)};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE)));
    SetWindowPos(m_hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Window::WindowRectPixels() const {
    RECT rect{};
    if (m_hwnd) GetWindowRect(m_hwnd, &rect);
    return rect;
}

SIZE Window::ClientSizePixels() const {
    RECT rect{};
    if (m_hwnd) GetClientRect(m_hwnd, &rect);
    return SIZE{rect.right, rect.bottom};
}

void Window::CentreOnScreen() {
    RECT rect = WindowRectPixels();
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = RoundHalfEven(GetSystemMetrics(SM_CXSCREEN) / 2.0 - width / 2.0);
    int y = RoundHalfEven(GetSystemMetrics(SM_CYSCREEN) / 2.0 - height / 2.0);
    if (m_hwnd)
        SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ZOrder() {
    if (m_hwnd)
        SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Window::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (m_hwnd) SetTimer(m_hwnd, id, milliseconds, nullptr);
}

void Window::StopTimer(UINT_PTR id) {
    if (m_hwnd) KillTimer(m_hwnd, id);
}

void Window::Refresh() {
    if (!m_hwnd) return;
    InvalidateRect(m_hwnd, nullptr, FALSE);
    UpdateWindow(m_hwnd);
}

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace velt
