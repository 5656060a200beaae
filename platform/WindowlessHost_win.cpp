#include "platform/WindowlessHost_win.h"

#include "platform/Window_win.h"

#include <algorithm>

namespace velt {

namespace {

std::int16_t ButtonsHeld(WPARAM keys) {
    std::int16_t buttons = 0;
    if (keys & MK_LBUTTON) buttons |= 1;
    if (keys & MK_RBUTTON) buttons |= 2;
    if (keys & MK_MBUTTON) buttons |= 4;
    return buttons;
}

std::int16_t ShiftKeys(WPARAM keys) {
    std::int16_t shift = 0;
    if (keys & MK_SHIFT) shift |= 1;
    if (keys & MK_CONTROL) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4; // mouse messages do not carry Alt
    return shift;
}

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// MousePointer numbers as controls name them, to the system's cursors.
const wchar_t* SystemCursor(std::uintptr_t pointer) {
    switch (pointer) {
    case 1: return IDC_ARROW;
    case 2: return IDC_CROSS;
    case 3: return IDC_IBEAM;
    case 4: return IDC_ICON;
    case 5: return IDC_SIZEALL;
    case 6: return IDC_SIZENESW;
    case 7: return IDC_SIZENS;
    case 8: return IDC_SIZENWSE;
    case 9: return IDC_SIZEWE;
    case 10: return IDC_UPARROW;
    case 11: return IDC_WAIT;
    case 12: return IDC_NO;
    case 13: return IDC_APPSTARTING;
    case 14: return IDC_HELP;
    case 15: return IDC_SIZEALL;
    default: return nullptr; // the container's own, and custom icons the host does not draw
    }
}

RECT BoundsOf(const WindowlessControl& control) {
    const Rect& b = control.Bounds();
    return RECT{b.left, b.top, b.right, b.bottom};
}

} // namespace

WindowlessHost::~WindowlessHost() {
    *m_alive = false;
    const std::vector<WindowlessControl*> controls = m_controls;
    m_controls.clear();
    m_captured = nullptr;
    for (WindowlessControl* control : controls) {
        control->ContainerShown(false);
        control->SetSite(nullptr);
    }
}

std::uintptr_t WindowlessHost::ContainerWindow() const {
    return reinterpret_cast<std::uintptr_t>(m_container.hWnd());
}

bool WindowlessHost::Holds(const WindowlessControl* control) const {
    return std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end();
}

void WindowlessHost::Add(WindowlessControl& control, int left, int top, int width, int height) {
    if (control.Site() && control.Site() != this) control.Site()->RemoveControl(control);
    std::erase(m_controls, &control);
    control.SetSite(this);
    m_controls.push_back(&control);
    control.Move(left, top, width, height);
    HWND window = m_container.hWnd();
    control.ContainerShown(window && (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE));
}

void WindowlessHost::ZOrder(WindowlessControl& control, bool toTop) {
    if (!Holds(&control)) return;
    std::erase(m_controls, &control);
    if (toTop) m_controls.push_back(&control);
    else m_controls.insert(m_controls.begin(), &control);
    control.Invalidate();
}

void WindowlessHost::RemoveControl(WindowlessControl& control) {
    if (!Holds(&control)) return;
    std::erase(m_controls, &control);
    control.SetSite(nullptr);
    HWND window = m_container.hWnd();
    if (window && control.Visible()) {
        RECT bounds = BoundsOf(control);
        InvalidateRect(window, &bounds, TRUE);
    }
    if (m_captured == &control) {
        m_captured = nullptr;
        m_buttonsDown = 0;
        if (window && GetCapture() == window) ReleaseCapture();
    }
}

void WindowlessHost::InvalidateControl(const WindowlessControl& control, const Rect& area) {
    HWND window = m_container.hWnd();
    if (!window) return;
    RECT bounds = BoundsOf(control);
    RECT wanted{area.left + bounds.left, area.top + bounds.top, area.right + bounds.left,
                area.bottom + bounds.top};
    RECT dirty{};
    // Transparent controls: what lies beneath is drawn again first.
    if (IntersectRect(&dirty, &wanted, &bounds)) InvalidateRect(window, &dirty, TRUE);
}

void WindowlessHost::PaintControls(HDC dc, const RECT& area) {
    const std::vector<WindowlessControl*> controls = m_controls;
    std::shared_ptr<bool> alive = m_alive;
    for (WindowlessControl* control : controls) {
        if (!*alive) return;
        if (!Holds(control) || !control->Visible()) continue;
        RECT bounds = BoundsOf(*control), clip{};
        if (!IntersectRect(&clip, &bounds, &area)) continue;
        const int saved = SaveDC(dc);
        if (!saved) continue;
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        control->Paint(dc);
        RestoreDC(dc, saved);
    }
}

WindowlessControl* WindowlessHost::ControlAt(int x, int y) {
    const std::vector<WindowlessControl*> controls = m_controls;
    std::shared_ptr<bool> alive = m_alive;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        WindowlessControl* control = *it;
        if (!Holds(control) || !control->Visible() || !control->TakesPointer()) continue;
        const Rect& b = control->Bounds();
        if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) continue;
        const bool hit = control->HitTest(static_cast<float>(x - b.left),
                                          static_cast<float>(y - b.top));
        if (!*alive) return nullptr;
        // A handler run by the query may have removed the control.
        if (hit && Holds(control)) return control;
    }
    return nullptr;
}

void WindowlessHost::TellShown(bool shown) {
    const std::vector<WindowlessControl*> controls = m_controls;
    std::shared_ptr<bool> alive = m_alive;
    for (WindowlessControl* control : controls) {
        if (!*alive) return;
        if (Holds(control)) control->ContainerShown(shown);
    }
}

bool WindowlessHost::Pointer(PointerAction action, std::int16_t button, WPARAM keys, POINT at) {
    WindowlessControl* target = m_captured ? m_captured : ControlAt(at.x, at.y);
    if (!target) return false;
    std::shared_ptr<bool> alive = m_alive;
    if (action == PointerAction::Down && !m_captured) {
        m_captured = target;
        m_buttonsDown = 0;
        m_doubleClicking = false;
        SetCapture(m_container.hWnd());
    }
    if (action == PointerAction::Down && m_captured == target) m_buttonsDown |= button;
    PointerArgs args;
    args.action = action;
    args.button = action == PointerAction::Move ? ButtonsHeld(keys) : button;
    args.held = ButtonsHeld(keys);
    args.shift = ShiftKeys(keys);
    args.x = static_cast<float>(at.x - target->Left());
    args.y = static_cast<float>(at.y - target->Top());
    const bool pressed = action == PointerAction::Up && m_captured == target;
    const bool doubleClicking = m_doubleClicking;
    target->OnPointer(args);
    if (!*alive || !pressed) return true;

    // The control may have let the capture go itself: the release still ends its press.
    m_buttonsDown &= static_cast<std::int16_t>(~button);
    if (m_buttonsDown == 0 || m_captured != target) {
        m_captured = nullptr;
        m_buttonsDown = 0;
        m_doubleClicking = false;
        if (GetCapture() == m_container.hWnd()) ReleaseCapture();
    }
    if (button != 1 || doubleClicking || !Holds(target)) return true;
    if (ControlAt(at.x, at.y) == target && *alive && Holds(target)) target->OnClick();
    return true;
}

bool WindowlessHost::DoubleClick(std::int16_t button, POINT at) {
    WindowlessControl* target = m_captured ? m_captured : ControlAt(at.x, at.y);
    if (!target) return false;
    if (!m_captured) {
        m_captured = target;
        m_buttonsDown = 0;
        SetCapture(m_container.hWnd());
    }
    m_buttonsDown |= button;
    m_doubleClicking = true;
    target->OnDblClick();
    return true;
}

bool WindowlessHost::SetCursorOver() {
    POINT at{};
    if (!GetCursorPos(&at) || !ScreenToClient(m_container.hWnd(), &at)) return false;
    WindowlessControl* control = m_captured ? m_captured : ControlAt(at.x, at.y);
    if (!control) return false;
    const wchar_t* cursor = SystemCursor(control->CursorOver());
    if (!cursor) return false;
    SetCursor(LoadCursorW(nullptr, cursor));
    return true;
}

bool WindowlessHost::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND window = m_container.hWnd();
    if (!window) return false;
    result = 0;
    switch (message) {
    case WM_MOUSEMOVE: return Pointer(PointerAction::Move, 0, wParam, PointOf(lParam));
    case WM_LBUTTONDOWN: return Pointer(PointerAction::Down, 1, wParam, PointOf(lParam));
    case WM_RBUTTONDOWN: return Pointer(PointerAction::Down, 2, wParam, PointOf(lParam));
    case WM_MBUTTONDOWN: return Pointer(PointerAction::Down, 4, wParam, PointOf(lParam));
    case WM_LBUTTONUP: return Pointer(PointerAction::Up, 1, wParam, PointOf(lParam));
    case WM_RBUTTONUP: return Pointer(PointerAction::Up, 2, wParam, PointOf(lParam));
    case WM_MBUTTONUP: return Pointer(PointerAction::Up, 4, wParam, PointOf(lParam));
    case WM_LBUTTONDBLCLK: return DoubleClick(1, PointOf(lParam));
    // Only the left button double-clicks; a quick second press of another is a press.
    case WM_RBUTTONDBLCLK: return Pointer(PointerAction::Down, 2, wParam, PointOf(lParam));
    case WM_MBUTTONDBLCLK: return Pointer(PointerAction::Down, 4, wParam, PointOf(lParam));
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT) return false;
        if (!SetCursorOver()) return false;
        result = TRUE;
        return true;
    case WM_CAPTURECHANGED:
        // Taken away (a menu, another window): the pressed control hears nothing more.
        if (reinterpret_cast<HWND>(lParam) != window) {
            m_captured = nullptr;
            m_buttonsDown = 0;
        }
        return false;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos->flags & SWP_SHOWWINDOW) TellShown(true);
        if (pos->flags & SWP_HIDEWINDOW) TellShown(false);
        return false; // the container still gets its moves and sizes
    }
    case WM_DESTROY:
        // Controls stop their timers while the window still exists.
        TellShown(false);
        return false;
    }
    return false;
}

} // namespace velt
