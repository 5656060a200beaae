// Another program's windows for Velt to manage: one top-level window per title on the command
// line, laid out in a cascade. Runs until all its windows are closed or its time is up (a minute
// unless --seconds says otherwise).
//   e2e-helper.exe [--minimized] [--seconds N] TITLE...
// Its windows answer the tests' messages (HelperControl_win.h): one makes the program stop
// answering until the test wakes it, one asks how many digit keys its windows received.
#include "platform/Handles_win.h"
#include "tests/e2e/HelperControl_win.h"

#include <string>

namespace {

int g_open = 0;
int g_digits = 0;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && --g_open == 0) PostQuitMessage(0);
    bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    bool repeat = (lParam & (1 << 30)) != 0;
    if (keyDown && !repeat && wParam >= '1' && wParam <= '9') ++g_digits;
    if (message == velt::e2e::kDigitCountMessage) return g_digits;
    if (message == velt::e2e::kHangMessage) {
        // Stops answering, as a program stuck in a long computation does, until the test wakes it.
        velt::UniqueHandle wake(OpenEventW(SYNCHRONIZE, FALSE, velt::e2e::kWakeEventName));
        if (wake) WaitForSingleObject(wake.get(), 120000);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VeltTestHelper";
    RegisterClassW(&wc);

    int show = SW_SHOWNOACTIVATE;
    UINT seconds = 60;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--minimized") {
            show = SW_SHOWMINNOACTIVE;
            continue;
        }
        if (std::wstring(argv[i]) == L"--seconds" && i + 1 < argc) {
            seconds = static_cast<UINT>(_wtoi(argv[++i]));
            continue;
        }
        int step = (g_open % 20) * 12;
        HWND window = CreateWindowExW(0, L"VeltTestHelper", argv[i], WS_OVERLAPPEDWINDOW, 60 + step,
                                      40 + step, 320, 200, nullptr, nullptr, wc.hInstance, nullptr);
        if (!window) continue;
        ++g_open;
        ShowWindow(window, show);
    }
    SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG msg;
    while (g_open > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
