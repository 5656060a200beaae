#include "platform/Form_win.h"

#include "platform/Units.h"
#include "platform/WindowHelpers_win.h"

namespace velt {

namespace {

constexpr wchar_t kFormClass[] = L"VeltForm";
constexpr std::int32_t kCentreScreen = 2;

HWND CreateChild(HWND parent, const wchar_t* className, DWORD style, const PropertyBag& properties,
                 const std::wstring& text, HFONT font) {
    RECT at = PlacementPixels(properties);
    HWND child = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left,
                                 at.top, at.right - at.left, at.bottom - at.top, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

} // namespace

bool Form::OpenOrFront(const std::function<bool()>& load) {
    if (!hWnd()) {
        if (!load()) return false;
        Show();
    } else {
        ShowWindow(hWnd(), SW_SHOWNORMAL);
    }
    SetForegroundWindow(hWnd());
    return true;
}

bool Form::CreateFromDefinition(const ControlDefinition& definition, DWORD style, DWORD exStyle) {
    const PropertyBag& properties = definition.properties;
    m_backColor = static_cast<COLORREF>(properties.ReadInteger(
        L"BackColor", static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE))));
    m_background.reset(CreateSolidBrush(m_backColor));
    RegisterWindowClass({kFormClass, CS_DBLCLKS, nullptr});
    if (!Create({kFormClass, properties.ReadText(L"Caption", definition.name), style, exStyle, 0, 0,
                 0, 0}))
        return false;
    SetClientSizeTwips(properties.ReadInteger(L"ClientWidth", 4800),
                       properties.ReadInteger(L"ClientHeight", 3600));
    if (properties.ReadInteger(L"StartUpPosition", kCentreScreen) == kCentreScreen)
        CentreOnScreen();
    return true;
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hWnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, m_background.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        // A label keeps its ForeColor in its user data, which static controls leave alone.
        SetTextColor(dc, static_cast<COLORREF>(
                             GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA)));
        SetBkColor(dc, m_backColor);
        return reinterpret_cast<LRESULT>(m_background.get());
    }
    }
    return Window::OnMessage(message, wParam, lParam);
}

RECT PlacementPixels(const PropertyBag& properties) {
    int left = TwipsToPixels(properties.ReadInteger(L"Left", 0));
    int top = TwipsToPixels(properties.ReadInteger(L"Top", 0));
    return RECT{left, top, left + TwipsToPixels(properties.ReadInteger(L"Width", 0)),
                top + TwipsToPixels(properties.ReadInteger(L"Height", 0))};
}

UniqueFont CreateDefinedFont(const PropertyBag& properties) {
    int points = properties.ReadInteger(L"FontSize", 9);
    std::wstring face = properties.ReadText(L"FontName", L"Arial");
    LOGFONTW font{};
    font.lfHeight = -MulDiv(points, 96, 72); // the 96 DPI the program assumes
    font.lfWeight = properties.ReadBoolean(L"FontBold", false) ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

bool Label::Create(HWND parent, const ControlDefinition& definition) {
    const PropertyBag& properties = definition.properties;
    m_font = CreateDefinedFont(properties);
    m_window = CreateChild(parent, L"STATIC", SS_LEFT | SS_NOPREFIX, properties,
                           properties.ReadText(L"Caption", definition.name), m_font.get());
    if (m_window)
        SetWindowLongPtrW(m_window, GWLP_USERDATA, properties.ReadInteger(L"ForeColor", 0));
    return m_window != nullptr;
}

void Label::SetCaption(const std::wstring& caption) {
    if (m_window) SetWindowTextW(m_window, caption.c_str());
}

std::wstring Label::Caption() const { return WindowText(m_window); }

bool TextBox::Create(HWND parent, const ControlDefinition& definition) {
    const PropertyBag& properties = definition.properties;
    m_font = CreateDefinedFont(properties);
    std::wstring mask = properties.ReadText(L"PasswordChar", L"");
    DWORD style = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | (mask.empty() ? 0 : ES_PASSWORD);
    m_window = CreateChild(parent, L"EDIT", style, properties, properties.ReadText(L"Text", L""),
                           m_font.get());
    if (m_window && !mask.empty()) SendMessageW(m_window, EM_SETPASSWORDCHAR, mask[0], 0);
    return m_window != nullptr;
}

void TextBox::SetText(const std::wstring& text) {
    if (m_window) SetWindowTextW(m_window, text.c_str());
}

std::wstring TextBox::Text() const { return WindowText(m_window); }

} // namespace velt
