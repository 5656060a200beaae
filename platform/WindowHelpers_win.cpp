#include "platform/WindowHelpers_win.h"

#include "platform/Desktop.h"

namespace velt {

std::wstring ReadWindowText(HWND window, int bufferChars) {
    if (bufferChars <= 0) return {};
    std::wstring text(static_cast<size_t>(bufferChars), L'\0');
    int copied = GetWindowTextW(window, text.data(), bufferChars);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    return length > 0 ? ReadWindowText(window, length + 1) : std::wstring();
}

std::wstring GetWindowTitle(HWND window) { return ReadWindowText(window, 255); }

std::wstring GetWindowTitleLong(HWND window) { return ReadWindowText(window, 1024); }

std::wstring TopLevelWindowOf(HWND& window) {
    window = TopOfParentChain(window, [](HWND child) { return GetParent(child); });
    return std::to_wstring(reinterpret_cast<UINT_PTR>(window));
}

HWND WindowUnderCursor() {
    POINT at{};
    if (!GetCursorPos(&at)) return nullptr;
    return WindowFromPoint(at);
}

HWND TaskbarWindow() { return FindWindowW(L"Shell_traywnd", L""); }

HICON GetWindowIcon(HWND window) {
    // A window that lets one question time out is not asked again: its class icons need no
    // answer, and a hung program would otherwise cost a second per question.
    bool answers = true;
    auto ask = [&](UINT message, WPARAM wParam) {
        DWORD_PTR icon = 0;
        answers = answers &&
                  SendMessageTimeoutW(window, message, wParam, 0, SMTO_NORMAL, 1000, &icon) != 0;
        return answers ? reinterpret_cast<HICON>(icon) : nullptr;
    };
    if (HICON icon = ask(WM_GETICON, ICON_SMALL)) return icon;
    if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM))) return icon;
    if (HICON icon = ask(WM_GETICON, ICON_BIG)) return icon;
    if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON))) return icon;
    return ask(WM_QUERYDRAGICON, 0);
}

void DrawWindowIcon(HDC dc, HWND window, int x, int y) {
    HICON icon = GetWindowIcon(window);
    if (icon) DrawIconEx(dc, x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
}

void MakeTopmost(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int SetWindowAlpha(HWND window, int alpha) {
    if (alpha < 0 || alpha > 255) return 1;
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto setLayered = user32 ? reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                   GetProcAddress(user32, "SetLayeredWindowAttributes")))
                             : nullptr;
    if (!setLayered) return 2;
    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    setLayered(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    return 0;
}

} // namespace velt
