#include "tests/support/Gui_win.h"

#include "platform/Handles_win.h"
#include "platform/Surface_win.h"

#include <algorithm>
#include <cstdlib>

namespace velt::testing {

namespace {

GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info{sizeof(info)};
    DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    if (!thread || !GetGUIThreadInfo(thread, &info)) return GUITHREADINFO{sizeof(info)};
    return info;
}

} // namespace

bool PumpUntil(std::chrono::milliseconds deadline, const std::function<bool()>& holds) {
    auto end = std::chrono::steady_clock::now() + deadline;
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (holds()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& holds) { return PumpUntil(kPatience, holds); }

bool CursorAt(POINT at) {
    POINT now{};
    return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
}

bool MoveCursor(POINT at) {
    // Put again on each round: a late report may have moved it after the first.
    return WaitUntil([&] {
        SetCursorPos(at.x, at.y);
        int steady = 0;
        for (; steady < 6 && CursorAt(at); ++steady) Sleep(10);
        return steady == 6;
    });
}

COLORREF PrintedPixel(HWND window, int x, int y) {
    RECT client{};
    if (!GetClientRect(window, &client)) return CLR_INVALID;
    UniqueBitmap frame = CreateSurfaceBitmap(std::max<int>(client.right, x + 1),
                                             std::max<int>(client.bottom, y + 1));
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!frame || !dc) return CLR_INVALID;
    Selected selected(dc.get(), frame.get());
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    return GetPixel(dc.get(), x, y);
}

COLORREF ScreenPixel(POINT at) {
    WindowDC screen(nullptr);
    return screen ? GetPixel(screen.get(), at.x, at.y) : CLR_INVALID;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

HWND FocusOfThreadOf(HWND window) { return ThreadInfoOf(window).hwndFocus; }

HWND CaptureOfThreadOf(HWND window) { return ThreadInfoOf(window).hwndCapture; }

bool HasKeyboard(HWND window, HWND focus) {
    if (!window || GetForegroundWindow() != window) return false;
    HWND focused = FocusOfThreadOf(window);
    return focus ? focused == focus : focused && (focused == window || IsChild(window, focused));
}

} // namespace velt::testing
