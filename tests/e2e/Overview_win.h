#pragma once
// The overview seen from outside: shown by holding its hotkey (kOverviewHotkey in the Config.ini),
// thumbnails clicked with real clicks, Velt's prompts answered by typing.
#include "platform/WindowHelpers_win.h"
#include "tests/dialogs/PromptDriver_win.h"
#include "tests/e2e/Harness_win.h"

#include <string>

namespace velt::e2e {

inline bool HoldOverviewKeys() { return HoldKeys(L"ctrl shift q", {VK_CONTROL, VK_SHIFT, 'Q'}); }
inline bool ReleaseOverviewKeys() {
    return ReleaseKeys(L"q shift ctrl", {'Q', VK_SHIFT, VK_CONTROL});
}

inline POINT CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Clicks thumbnail slot of the overview with xdotool's button (1 left, 3 right), once the poll
// has bordered it: Velt has seen the pointer over that thumbnail and no other.
inline bool ClickThumbnail(HWND overview, int slot, int button) {
    HWND thumbnail = GetDlgItem(overview, 100 + slot);
    return thumbnail && testing::MoveCursor(CentreOf(thumbnail)) &&
           WaitUntil([&] { return (GetWindowLongPtrW(thumbnail, GWL_STYLE) & WS_BORDER) != 0; }) &&
           Xdotool(L"click " + std::to_wstring(button));
}

// Waits for the prompt with that caption, types the answer and presses Enter; true once the
// prompt has closed.
inline bool AnswerPrompt(const std::wstring& caption, const std::wstring& answer) {
    HWND prompt = nullptr;
    if (!WaitUntil([&] {
            prompt = testing::VisiblePrompt();
            return prompt && WindowText(prompt) == caption;
        }))
        return false;
    if (!WaitUntil([&] { return testing::HasKeyboard(prompt, testing::AnswerBox(prompt)); }) ||
        !WaitUntil([&] { return testing::TakeXFocus(prompt); }))
        return false;
    if (!answer.empty() && !testing::TypeText(prompt, answer)) return false;
    return Xdotool(L"key Return") && WaitUntil([&] { return !testing::VisiblePrompt(); });
}

} // namespace velt::e2e
