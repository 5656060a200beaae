#include "controls/KeyControl_win.h"

#include "platform/ClickArea_win.h"
#include "platform/Form_win.h"
#include "platform/Units.h"

namespace velt {

namespace {

constexpr wchar_t kClass[] = L"VeltKeyControl";
constexpr UINT_PTR kTimer1 = 1;

std::int16_t SystemKeyState(int code) { return GetKeyState(code); }

} // namespace

KeyControl::KeyControl() : KeyControl(&SystemKeyState) {}

KeyControl::KeyControl(KeyStateReader keyState) : m_keyState(std::move(keyState)) {}

bool KeyControl::Create(HWND parent, const ControlDefinition& definition) {
    return Create(parent, definition.properties.ReadInteger(L"Left", 0),
                  definition.properties.ReadInteger(L"Top", 0));
}

bool KeyControl::Create(HWND parent, int leftTwips, int topTwips) {
    if (hWnd()) return true;
    PropertyBag font; // Arial 9, the defaults
    m_font = CreateDefinedFont(font);
    RegisterWindowClass({kClass, 0, nullptr});
    return Window::Create({kClass, L"", WS_CHILD | WS_VISIBLE, 0, TwipsToPixels(leftTwips),
                           TwipsToPixels(topTwips), TwipsToPixels(kWidthTwips),
                           TwipsToPixels(kHeightTwips), parent});
}

bool KeyControl::Setkey(std::wstring_view code) {
    if (!m_picker.Setkey(code)) return false;
    Refresh();
    return true;
}

void KeyControl::lbl_Click() {
    if (!m_picker.Arm()) return; // already armed: the capture runs on
    Refresh();
    StartTimer(kTimer1, kTickMilliseconds);
}

void KeyControl::OnTimer(UINT_PTR id) {
    if (id != kTimer1) return;
    if (!m_picker.Armed()) {
        StopTimer(kTimer1);
        return;
    }
    if (m_picker.Tick(m_keyState)) {
        StopTimer(kTimer1);
        Refresh();
    }
}

void KeyControl::OnPaint(HDC dc) {
    RECT client{};
    GetClientRect(hWnd(), &client);
    const bool armed = m_picker.Armed();
    if (armed) FillRect(dc, &client, GetSysColorBrush(COLOR_HIGHLIGHT));
    else PaintParentUnder(hWnd(), dc); // the label is transparent when idle
    Selected useFont(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, armed ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
    std::wstring caption = m_picker.Caption();
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT KeyControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING: {
        // Whatever size the host asks for, the control keeps its label's.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        pos->cx = TwipsToPixels(kWidthTwips);
        pos->cy = TwipsToPixels(kHeightTwips);
        return 0;
    }
    case WM_LBUTTONDOWN: m_pressed = true; return 0;
    case WM_LBUTTONUP:
        // A click is a press and a release on the label; arming on the press would capture the
        // button still held as "L-Click" at once.
        if (m_pressed) {
            m_pressed = false;
            lbl_Click();
        }
        return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
}

} // namespace velt
