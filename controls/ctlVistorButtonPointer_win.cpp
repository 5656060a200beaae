// The button's pointer state machine: hover, press and release on its surface and its caption.
#include "controls/ctlVistorButton_win.h"

#include "platform/Units.h"

#include <windowsx.h>

namespace velt {

namespace {

// While the control holds the capture it looks for the pointer this often: with no button down,
// the system sends no moves from over other programs' windows, and a pointer that left that
// way would leave the control lit.
constexpr UINT_PTR kLeaveCheck = 1;
constexpr UINT kLeaveCheckMilliseconds = 100;

std::int16_t ButtonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return 4;
    default: return 1;
    }
}

} // namespace

std::int16_t ctlVistorButton::ButtonMask(WPARAM keys) {
    return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                     ((keys & MK_MBUTTON) ? 4 : 0));
}

std::int16_t ctlVistorButton::ShiftMask(WPARAM keys, bool altDown) {
    return static_cast<std::int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                                     (altDown ? 4 : 0));
}

void ctlVistorButton::OnPointer(UINT message, WPARAM wParam, LPARAM lParam) {
    // What reaches the control's own window is the surface's: the caption's label takes the
    // pointer over its text, and keeps it from a press on it until the last button is up.
    int px = GET_X_LPARAM(lParam), py = GET_Y_LPARAM(lParam);
    if (message == WM_MOUSEMOVE) m_lastPointer = POINT{px, py};
    float x = static_cast<float>(PixelsToTwips(px));
    float y = static_cast<float>(PixelsToTwips(py));
    std::int16_t shift = ShiftMask(wParam, GetKeyState(VK_MENU) < 0);

    switch (message) {
    case WM_MOUSEMOVE: SurfaceMove(ButtonMask(wParam), shift, x, y); return;
    case WM_LBUTTONDBLCLK:
        m_pressedPart = Part::Surface;
        m_doubleClick = true;
        // The second press of a double click: the surface takes it as a plain left press at its
        // corner.
        Press(false, 1, 0, 0, 0);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (m_pressedPart == Part::None) m_doubleClick = false;
        m_pressedPart = Part::Surface;
        Press(false, ButtonOf(message), shift, x, y);
        return;
    default: { // a button up
        bool lastUp = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
        if (lastUp) m_pressedPart = Part::None;
        bool doubleClick = m_doubleClick;
        if (lastUp) m_doubleClick = false;
        if (!Release(false, ButtonOf(message), shift, x, y)) return;
        if (message != WM_LBUTTONUP || doubleClick) return;
        // The surface's own click after a left release over it only lets the mouse go.
        RECT client{};
        GetClientRect(hWnd(), &client);
        if (px >= 0 && py >= 0 && px < client.right && py < client.bottom) ReleaseCapture();
    }
    }
}

void ctlVistorButton::CaptionPointer(const PointerArgs& args) {
    // The caption reports twips from its own corner, which lies between two pixels.
    const int px = lblCaption.Left() + static_cast<int>(args.x);
    const int py = lblCaption.Top() + static_cast<int>(args.y);
    float x = static_cast<float>(PixelsToTwips(px) - m_captionLeft);
    float y = static_cast<float>(PixelsToTwips(py) - m_captionTop);
    switch (args.action) {
    case PointerAction::Move:
        m_lastPointer = POINT{px, py};
        CaptionMove(args.button, args.shift, x, y);
        return;
    case PointerAction::Down:
        if (m_pressedPart == Part::None) m_doubleClick = false;
        m_pressedPart = Part::Caption;
        Press(true, args.button, args.shift, x, y);
        return;
    case PointerAction::Up:
        if (args.held == 0) {
            m_pressedPart = Part::None;
            m_doubleClick = false;
        }
        Release(true, args.button, args.shift, x, y);
        return;
    }
}

void ctlVistorButton::CaptionDblClick() {
    // The caption does not handle a double click's second press; its release comes as usual.
    m_pressedPart = Part::Caption;
    m_doubleClick = true;
}

void ctlVistorButton::CaptionClick() {
    ReleaseCapture();
    Raise(Click);
}

void ctlVistorButton::SurfaceMove(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!Raise(MouseMove, button, shift, x, y)) return;
    Enter();
    if (!Track(Inside(x, y), x, y)) return;
    Raise(MouseMove, button, shift, x, y);
}

void ctlVistorButton::CaptionMove(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!Raise(MouseMove, button, shift, x, y)) return;
    std::shared_ptr<bool> alive = m_alive;
    DoEvents(); // a fade tick or another pointer event may run here
    if (!*alive || !hWnd()) return;
    Enter();
    Track(Inside(x, y), x, y); // the caption's own coordinates against the control's size
}

void ctlVistorButton::Enter() {
    if (m_captured) return;
    m_captured = true;
    SetCapture(hWnd());
    StartTimer(kLeaveCheck, kLeaveCheckMilliseconds);
    m_over = true;
    if (m_useAlphaBlend) MinSz.Actif(true);
    else ShowFace(PicOver);
}

void ctlVistorButton::OnTimer(UINT_PTR id) {
    if (id != kLeaveCheck) return;
    if (!m_captured) {
        StopTimer(kLeaveCheck);
        return;
    }
    if (m_pressed == 1) return; // with a button down the system sends every move
    POINT at{};
    if (!GetCursorPos(&at) || !ScreenToClient(hWnd(), &at)) return;
    if ((at.x == m_lastPointer.x && at.y == m_lastPointer.y) ||
        Inside(static_cast<float>(PixelsToTwips(at.x)), static_cast<float>(PixelsToTwips(at.y))))
        return;
    // The move the system did not send.
    WPARAM keys = (GetKeyState(VK_LBUTTON) < 0 ? MK_LBUTTON : 0) |
                  (GetKeyState(VK_RBUTTON) < 0 ? MK_RBUTTON : 0) |
                  (GetKeyState(VK_MBUTTON) < 0 ? MK_MBUTTON : 0) |
                  (GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) |
                  (GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0);
    OnPointer(WM_MOUSEMOVE, keys,
              MAKELPARAM(static_cast<WORD>(static_cast<short>(at.x)),
                         static_cast<WORD>(static_cast<short>(at.y))));
}

bool ctlVistorButton::Inside(float x, float y) const {
    // In twips, so the pixel just past the right or bottom edge still counts as inside.
    SIZE size = ClientSizePixels();
    return x >= 0 && y >= 0 && x <= PixelsToTwips(size.cx) && y <= PixelsToTwips(size.cy);
}

bool ctlVistorButton::Track(bool inside, float x, float y) {
    if (inside) {
        m_over = true;
        if (m_pressed == 1) ShowFace(PicDown);
        else if (m_useAlphaBlend) MinSz.Actif(true);
        else ShowFace(PicOver);
        return Raise(MouseOver, x, y);
    }
    m_over = false;
    if (m_pressed == 1) {
        ShowFace(PicOver); // still pressed: the capture stays
    } else {
        m_captured = false;
        ReleaseCapture();
        if (m_useAlphaBlend) MinSz.Actif(true);
        else ShowFace(PicUp);
    }
    return Raise(MouseOut);
}

void ctlVistorButton::Press(bool onCaption, std::int16_t button, std::int16_t shift, float x,
                            float y) {
    if (onCaption || !m_panel) {
        MinSz.Actif(false);
        m_pressed = 1;
        ShowFace(PicDown);
    }
    Raise(MouseDown, button, shift, x, y);
}

bool ctlVistorButton::Release(bool onCaption, std::int16_t button, std::int16_t shift, float x,
                              float y) {
    m_pressed = 0;
    m_captured = false;
    ReleaseCapture();
    if (!m_over)
        MinSz.Actif(true); // released outside: fade towards Up, whatever UseAlphaBlend says
    if (m_over && (onCaption || !m_panel)) {
        MinSz.Actif(false);
        m_fadeLevel = 0;
        ShowFace(PicUp);
    }
    POINT at{};
    if (!GetCursorPos(&at) || WindowFromPoint(at) != hWnd()) return true;
    if (!onCaption && !Raise(Click)) return false;
    return Raise(MouseUp, button, shift, x, y);
}

} // namespace velt
