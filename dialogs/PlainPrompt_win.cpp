// A plain modal prompt with a masked answer box, OK and Cancel.
#include "dialogs/InputDialog.h"

#include "platform/Units.h"
#include "platform/Window.h"
#include "platform/WindowHelpers.h"

namespace velt {

namespace {

constexpr int kCancelId = 1002; // not IDCANCEL: Escape in the box must not cancel

class PlainPrompt final : public Window {
public:
    bool Ensure() {
        if (hWnd()) return true;
        RegisterWindowClass({L"VeltPrompt", CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE)});
        return Create({L"VeltPrompt", L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 0});
    }
    void Prepare(const std::wstring& caption, const std::wstring& prompt) {
        SetCaption(caption);
        SetWindowTextW(m_label, prompt.c_str());
        SetWindowTextW(m_text, L"");
        SetClientSizeTwips(4410, 1515);
        CentreOnScreen();
        SetFocus(m_text);
    }

protected:
    void OnLoad() override {
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        m_label = Child(L"STATIC", 0, 240, 120, 3975, 375, 0);
        m_text = Child(L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, 240, 600, 3975,
                       285, 0);
        SendMessageW(m_text, EM_SETPASSWORDCHAR, L'*', 0);
        HWND ok = Child(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 480, 960, 1635, 315, IDOK);
        HWND cancel = Child(L"BUTTON", WS_TABSTOP, 2400, 960, 1635, 315, kCancelId);
        SetWindowTextW(ok, L"OK");
        SetWindowTextW(cancel, L"Cancel");
        for (HWND child : {m_label, m_text, ok, cancel})
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            DialogResult() = Text();
            Hide();
            return 0;
        }
        if ((message == WM_COMMAND && LOWORD(wParam) == kCancelId) || message == WM_CLOSE) {
            DialogResult().clear();
            Hide();
            return 0;
        }
        return Window::OnMessage(message, wParam, lParam);
    }

private:
    HWND Child(const wchar_t* className, DWORD style, int x, int y, int width, int height, int id) {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, TwipsToPixels(x), TwipsToPixels(y),
                               TwipsToPixels(width), TwipsToPixels(height), hWnd(), reinterpret_cast<HMENU>(INT_PTR{id}),
                               GetModuleHandleW(nullptr), nullptr);
    }
    std::wstring Text() const {
        int length = GetWindowTextLengthW(m_text);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        int copied = GetWindowTextW(m_text, text.data(), length + 1);
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }

    HWND m_label = nullptr;
    HWND m_text = nullptr;
};

PlainPrompt& Prompt() {
    static PlainPrompt prompt;
    return prompt;
}

} // namespace

std::wstring& DialogResult() {
    static std::wstring result;
    return result;
}

bool PromptVisible() { return Prompt().Visible(); }

std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt) {
    PlainPrompt& window = Prompt();
    if (window.Visible() || !window.Ensure()) return {}; // one prompt at a time
    window.Prepare(caption, prompt);
    DialogResult().clear();
    MakeTopmost(window.hWnd());
    window.ShowModal(nullptr);
    return DialogResult();
}

} // namespace velt
