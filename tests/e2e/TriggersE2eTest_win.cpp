#include "platform/WindowHelpers_win.h"
#include "tests/e2e/Harness_win.h"
#include "tests/e2e/HelperControl_win.h"
#include "tests/e2e/Menu_win.h"

#include <gtest/gtest.h>

namespace velt::e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kCornersOn = "[Main]\r\nCorner=True\r\n";

TEST(Triggers, AltDigitHidesAndShowsDesktops) {
    Velt velt;
    HelperWindows five(Titles(L"Alt five", 2));
    ASSERT_TRUE(velt.Start());

    ASSERT_TRUE(HoldKeys(L"alt 3", {VK_MENU, '3'}));
    EXPECT_TRUE(five.WaitVisible(Titles(L"Alt five", 2), false));
    ASSERT_TRUE(ReleaseKeys(L"3 alt", {'3', VK_MENU}));
    HelperWindows three(Titles(L"Alt three", 1));

    ASSERT_TRUE(HoldKeys(L"alt 5", {VK_MENU, '5'}));
    EXPECT_TRUE(five.WaitVisible(Titles(L"Alt five", 2), true));
    EXPECT_TRUE(three.WaitVisible(Titles(L"Alt three", 1), false));
    EXPECT_TRUE(ReleaseKeys(L"5 alt", {'5', VK_MENU}));
}

// True once the foreground window is one of titles, on screen.
bool ForegroundIsOneOf(const HelperWindows& windows, const std::vector<std::wstring>& titles) {
    return WaitUntil([&] {
        HWND front = GetForegroundWindow();
        for (const std::wstring& title : titles)
            if (front == windows.Find(title) && IsWindowVisible(front)) return true;
        return false;
    });
}

TEST(Triggers, AfterASwitchTheFocusIsOnAWindowOfTheDesktopEntered) {
    Velt velt(kOverviewHotkey);
    // The helpers never take the focus themselves.
    HelperWindows five(Titles(L"Focus five", 2));
    ASSERT_TRUE(velt.Start());
    SetForegroundWindow(five.Find(L"Focus five 1"));
    ASSERT_TRUE(HoldKeys(L"alt 3", {VK_MENU, '3'}));
    EXPECT_TRUE(five.WaitVisible(Titles(L"Focus five", 2), false));
    // Nothing is left on desktop 3: the shell has the focus.
    HWND shell = GetShellWindow() ? GetShellWindow() : TaskbarWindow();
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == shell; }));
    ASSERT_TRUE(ReleaseKeys(L"3 alt", {'3', VK_MENU}));
    HelperWindows three(Titles(L"Focus three", 2));
    ASSERT_TRUE(velt.SeePolls(1));

    auto entered = [&](int number) -> std::pair<const HelperWindows&, std::vector<std::wstring>> {
        if (number == 5) return {five, Titles(L"Focus five", 2)};
        return {three, Titles(L"Focus three", 2)};
    };
    for (int number : {5, 3}) {
        auto [windows, titles] = entered(number);
        char digit = static_cast<char>('0' + number);
        std::wstring key(1, static_cast<wchar_t>(digit));
        ASSERT_TRUE(HoldKeys(L"alt " + key, {VK_MENU, digit}));
        EXPECT_TRUE(windows.WaitVisible(titles, true));
        EXPECT_TRUE(ForegroundIsOneOf(windows, titles)) << "Alt+" << digit;
        ASSERT_TRUE(ReleaseKeys(key + L" alt", {digit, VK_MENU}));
    }
    // The menu took the focus to Velt while it was open; the switch gives it on.
    for (int number : {5, 3}) {
        auto [windows, titles] = entered(number);
        ASSERT_TRUE(ChooseDesktop(velt, number));
        EXPECT_TRUE(windows.WaitVisible(titles, true));
        EXPECT_TRUE(ForegroundIsOneOf(windows, titles)) << "Desktop " << number;
    }
}

// Alt+digit with the digit down for 40 ms, shorter than a poll, typed to the X focus window.
bool TapAltDigit(char digit) {
    std::wstring key(1, static_cast<wchar_t>(digit));
    return Xdotool(L"keydown alt keydown " + key + L" sleep 0.04 keyup " + key + L" keyup alt");
}

DWORD_PTR DigitsReceived(HWND window) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(window, kDigitCountMessage, 0, 0, SMTO_NORMAL, 5000, &count);
    return count;
}

TEST(Triggers, QuickTapsSwitchOnceEachAndTheFocusedProgramStillGetsTheirKeys) {
    Velt velt(kOverviewHotkey);
    HelperWindows five({L"Tap five"});
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(HoldKeys(L"alt 3", {VK_MENU, '3'}));
    ASSERT_TRUE(five.WaitVisible({L"Tap five"}, false));
    ASSERT_TRUE(ReleaseKeys(L"3 alt", {'3', VK_MENU}));
    HelperWindows three({L"Tap three"});
    ASSERT_TRUE(velt.SeePolls(1));

    HWND fiveWindow = five.Find(L"Tap five");
    HWND threeWindow = three.Find(L"Tap three");
    constexpr int kTaps = 20;
    for (int tap = 0; tap < kTaps; ++tap) {
        bool toFive = tap % 2 == 0;
        HWND shown = toFive ? threeWindow : fiveWindow;
        HWND entered = toFive ? fiveWindow : threeWindow;
        SetForegroundWindow(shown);
        ASSERT_TRUE(WaitUntil([&] {
            return testing::HasKeyboard(shown) && testing::TakeXFocus(shown);
        })) << "tap "
            << tap;
        ASSERT_TRUE(TapAltDigit(toFive ? '5' : '3'));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(entered) && !IsWindowVisible(shown); }))
            << "tap " << tap;
    }
    // No tap acts again later: more polls leave the last desktop entered on screen.
    ASSERT_TRUE(velt.SeePolls(2));
    EXPECT_TRUE(IsWindowVisible(threeWindow));
    EXPECT_FALSE(IsWindowVisible(fiveWindow));
    EXPECT_EQ(DigitsReceived(fiveWindow) + DigitsReceived(threeWindow), DWORD_PTR{kTaps});
}

TEST(Triggers, RestingOnAnEdgeSwitchesAfterASecondAndCentresTheCursor) {
    Velt velt(kCornersOn);
    HelperWindows five(Titles(L"Edge five", 2));
    ASSERT_TRUE(velt.Start());

    auto arrived = std::chrono::steady_clock::now();
    SetCursorPos(1023, 300);
    ASSERT_TRUE(five.WaitVisible(Titles(L"Edge five", 2), false));
    auto waited = std::chrono::steady_clock::now() - arrived;
    EXPECT_GE(waited, 900ms); // the dwell; a busy machine may only make it longer
    POINT cursor{};
    ASSERT_TRUE(WaitUntil([&] {
        GetCursorPos(&cursor);
        return cursor.x == 512 && cursor.y == 384;
    })) << cursor.x
        << "," << cursor.y;

    SetCursorPos(0, 300); // back to the left, into desktop 5
    EXPECT_TRUE(five.WaitVisible(Titles(L"Edge five", 2), true));
    SetCursorPos(512, 384);
}

TEST(Triggers, EdgesDoNothingUnlessCornerIsExactlyTrue) {
    Velt velt(std::string("[Main]\r\nCorner=true\r\n") + kOverviewHotkey);
    HelperWindows five(Titles(L"Lower five", 1));
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(testing::MoveCursor(POINT{1023, 300}));
    // Ten polls on an edge switch on the next one when corners are on.
    ASSERT_TRUE(velt.SeePolls(12));
    EXPECT_TRUE(five.Visible(L"Lower five 1"));
    SetCursorPos(512, 384);
}

TEST(Triggers, AWindowHeldByItsTitleBarIsCarriedAcrossTheEdge) {
    Velt velt(kCornersOn);
    HelperWindows windows({L"Carried", L"Left behind"});
    HWND carried = windows.Find(L"Carried");
    ASSERT_TRUE(velt.Start());
    // Drag the window until its title bar reaches the right edge, and keep holding it there.
    SetWindowPos(carried, nullptr, 800, 100, 320, 200, SWP_NOZORDER);
    Xdotool(L"mousemove 1022 110 mousedown 1");

    EXPECT_TRUE(windows.WaitVisible({L"Left behind"}, false));
    Xdotool(L"mouseup 1");
    EXPECT_TRUE(windows.Visible(L"Carried"));

    // It belongs to desktop 6 now: going back to 5 leaves it there.
    SetCursorPos(512, 384);
    ASSERT_TRUE(HoldKeys(L"alt 5", {VK_MENU, '5'}));
    EXPECT_TRUE(windows.WaitVisible({L"Left behind"}, true));
    EXPECT_TRUE(windows.WaitVisible({L"Carried"}, false));
    EXPECT_TRUE(ReleaseKeys(L"5 alt", {'5', VK_MENU}));
}

TEST(Triggers, TheOverviewShowsWhileItsHotkeyIsHeld) {
    Velt velt(kOverviewHotkey);
    ASSERT_TRUE(velt.Start());
    HWND overview = velt.MainWindow();

    ASSERT_TRUE(HoldKeys(L"ctrl shift q", {VK_CONTROL, VK_SHIFT, 'Q'}));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    EXPECT_TRUE(GetWindowLongPtrW(overview, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongPtrW(overview, GWL_EXSTYLE) & WS_EX_TOPMOST);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(overview, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    RECT rect{};
    GetWindowRect(overview, &rect);
    EXPECT_NEAR((rect.left + rect.right) / 2.0, 512, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2.0, 384, 1);
    // Polls that see the hotkey still held border the thumbnail under the cursor.
    for (int slot : {0, 8}) {
        HWND thumbnail = GetDlgItem(overview, 100 + slot);
        RECT at{};
        GetWindowRect(thumbnail, &at);
        ASSERT_TRUE(testing::MoveCursor(POINT{(at.left + at.right) / 2, (at.top + at.bottom) / 2}));
        EXPECT_TRUE(WaitUntil([&] { return GetWindowLongPtrW(thumbnail, GWL_STYLE) & WS_BORDER; }));
    }
    EXPECT_TRUE(IsWindowVisible(overview));
    EXPECT_NE(GetForegroundWindow(), overview); // looked at, never typed into

    ASSERT_TRUE(ReleaseKeys(L"q", {'Q'}));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overview); }));
    EXPECT_TRUE(ReleaseKeys(L"shift ctrl", {VK_SHIFT, VK_CONTROL}));
}

} // namespace
} // namespace velt::e2e
