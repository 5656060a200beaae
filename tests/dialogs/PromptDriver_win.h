#pragma once
// Drives the modal prompt from a second thread the way a user would: real X key and mouse input
// through xdotool, the cursor through SetCursorPos. The test's own thread sits in InputDialog.
#include "platform/Win32_win.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velt::testing {

// Starts xdotool with these arguments. Wine does not wait for a Unix program: the input it
// sends arrives later, in order, so a test waits for its effect instead.
inline bool Xdotool(const std::wstring& arguments) {
    std::wstring commandLine = L"Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Polls until done() holds, for at most a few seconds.
template <typename Done>
bool WaitFor(Done done, int milliseconds = 5000) {
    for (int waited = 0; !done(); waited += 20) {
        if (waited >= milliseconds) return false;
        Sleep(20);
    }
    return true;
}

// Types text key by key into the prompt's answer box (a space goes as the key "space", so none
// is lost to command-line parsing) and waits until the box holds that many more characters.
inline bool TypeText(HWND prompt, const std::wstring& text) {
    HWND box = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
    auto length = [box] { return static_cast<size_t>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)); };
    size_t expected = length() + text.size();
    std::wstring keys = L"key --delay 30";
    for (wchar_t c : text) keys += c == L' ' ? std::wstring(L" space") : std::wstring(L" ") + c;
    return Xdotool(keys) && WaitFor([&] { return length() == expected; });
}

inline HWND VisiblePrompt() {
    HWND prompt = FindWindowW(L"VeltForm", nullptr);
    return prompt && IsWindowVisible(prompt) ? prompt : nullptr;
}

// The prompt's children of one class, left to right.
inline std::vector<HWND> Children(HWND prompt, const wchar_t* className) {
    std::vector<HWND> found;
    for (HWND child = FindWindowExW(prompt, nullptr, className, nullptr); child;
         child = FindWindowExW(prompt, child, className, nullptr))
        found.push_back(child);
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return found;
}

// Brings the cursor over the centre of a window, as a pointer that enters it.
inline void PointAt(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    SetCursorPos(x - 3, y);
    Sleep(150);
    SetCursorPos(x, y);
    Sleep(300);
}

// Clicks the centre of a window with the left button.
inline void ClickOn(HWND window) {
    PointAt(window);
    Xdotool(L"click 1");
}

// The pixel a window shows at (x, y), asked of the window itself.
inline COLORREF PrintedPixel(HWND window, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, x + 1, y + 1);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixel;
}

// Waits for the prompt, runs steps on it, and closes it if it is still open well after.
class PromptDriver {
public:
    explicit PromptDriver(std::function<void(HWND prompt)> steps)
        : m_parked(ParkCursor()), m_thread([this, steps = std::move(steps)] {
              HWND prompt = nullptr;
              for (int i = 0; i < 200 && !(prompt = VisiblePrompt()); ++i) Sleep(50);
              if (!prompt) return;
              Sleep(300); // let the window take the focus
              steps(prompt);
              for (int i = 0; i < 200 && VisiblePrompt() && !m_stop; ++i) Sleep(50);
              if (VisiblePrompt()) {
                  stuck = true;
                  PostMessageW(prompt, WM_CLOSE, 0, 0);
              }
          }) {}
    ~PromptDriver() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }

    std::atomic<bool> stuck{false};

private:
    // Out of the prompt's way, so that it opens with no button under the pointer.
    static bool ParkCursor() {
        SetCursorPos(5, 5);
        return WaitFor([] {
            POINT at{};
            GetCursorPos(&at);
            return at.x == 5 && at.y == 5;
        });
    }

    bool m_parked;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace velt::testing
