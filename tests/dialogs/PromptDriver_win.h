#pragma once
// Drives the modal prompt from a second thread the way a user would: real X key and mouse input
// through xdotool, the cursor through SetCursorPos. The test's own thread sits in InputDialog.
#include "tests/support/Gui_win.h"
#include "tests/support/Process_win.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velt::testing {

inline HWND VisiblePrompt() {
    HWND prompt = FindWindowW(L"VeltForm", nullptr);
    return prompt && IsWindowVisible(prompt) ? prompt : nullptr;
}

inline HWND AnswerBox(HWND prompt) { return FindWindowExW(prompt, nullptr, L"Edit", nullptr); }

// Types text key by key into the prompt's answer box (a space goes as the key "space", so none
// is lost to command-line parsing) and waits until the box holds that many more characters.
inline bool TypeText(HWND prompt, const std::wstring& text) {
    HWND box = AnswerBox(prompt);
    auto length = [box] { return static_cast<size_t>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)); };
    size_t expected = length() + text.size();
    std::wstring keys = L"key --delay 30";
    for (wchar_t c : text) keys += c == L' ' ? std::wstring(L" space") : std::wstring(L" ") + c;
    return Xdotool(keys) && WaitUntil([&] { return length() == expected; });
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

// Brings the cursor over the centre of an image button, as a pointer that enters it, and waits
// until the button has taken the mouse capture: it has seen the pointer come in.
inline bool PointAt(HWND button) {
    RECT r{};
    GetWindowRect(button, &r);
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    return MoveCursor(POINT{x - 3, y}) && MoveCursor(POINT{x, y}) &&
           WaitUntil([&] { return CaptureOfThreadOf(button) == button; });
}

// Clicks the centre of an image button with the left button.
inline bool ClickOn(HWND button) { return PointAt(button) && Xdotool(L"click 1"); }

// Waits for the prompt to have the keyboard in its answer box, runs steps on it, and closes it
// if it is still open well after.
class PromptDriver {
public:
    explicit PromptDriver(std::function<void(HWND prompt)> steps)
        : m_parked(MoveCursor(POINT{5, 5})), m_thread([this, steps = std::move(steps)] {
              HWND prompt = nullptr;
              if (!WaitUntil([&] { return (prompt = VisiblePrompt()) != nullptr; })) return;
              // Keys typed before then would go to whichever window had the keyboard.
              if (WaitUntil([&] { return HasKeyboard(prompt, AnswerBox(prompt)); }) &&
                  WaitUntil([&] { return TakeXFocus(prompt); }))
                  steps(prompt);
              WaitUntil([&] { return !VisiblePrompt() || m_stop; });
              if (VisiblePrompt()) {
                  stuck = true;
                  PostMessageW(prompt, WM_CLOSE, 0, 0);
              }
          }) {}
    ~PromptDriver() {
        m_stop = true;
        Join();
    }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }

    std::atomic<bool> stuck{false};

private:
    // Out of the prompt's way, so that it opens with no button under the pointer.
    bool m_parked;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace velt::testing
