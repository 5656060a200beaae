#include "controls/KeyControl_win.h"
#include "tests/controls/ButtonHost_win.h"

#include <gtest/gtest.h>

#include <set>

namespace velt::testing {
namespace {

// Keys held down as the picker's key reader sees them.
struct FakeKeys {
    std::set<int> down;
    int asked = 0;
    std::int16_t State(int code) {
        ++asked;
        return down.count(code) ? static_cast<std::int16_t>(0x8000) : 0;
    }
};

class KeyControlTest : public ::testing::Test {
protected:
    void Click() {
        SendMessageW(picker.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(picker.hWnd(), WM_LBUTTONUP, 0, 0);
    }
    // Lets the picker's timer run until it disarms.
    bool Captured() {
        return PumpUntil([&] { return !picker.Armed(); });
    }

    FakeKeys keys;
    ButtonHost host; // a plain window to place the picker on
    KeyControl picker{[this](int code) { return keys.State(code); }};
};

TEST_F(KeyControlTest, StartsAtNoneWithoutACodeAndKeepsItsLabelsSize) {
    ASSERT_TRUE(picker.Create(host.hWnd(), 300, 150));
    EXPECT_EQ(picker.Caption(), L"None");
    std::int16_t code = 7;
    EXPECT_FALSE(picker.GetKey(code));

    SetWindowPos(picker.hWnd(), nullptr, 0, 0, 200, 90, SWP_NOMOVE | SWP_NOZORDER);
    RECT r{};
    GetWindowRect(picker.hWnd(), &r);
    EXPECT_EQ(r.right - r.left, 57); // 855 x 255 twips
    EXPECT_EQ(r.bottom - r.top, 17);
}

TEST_F(KeyControlTest, AClickArmsWithHighlightAndTheHighestCodeOfATickWins) {
    ASSERT_TRUE(picker.Create(host.hWnd(), 300, 150));
    COLORREF idle = PrintedPixel(picker.hWnd(), 1, 1);
    EXPECT_TRUE(Near(idle, kHostColour, 0)); // transparent over its container

    SendMessageW(picker.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(picker.Armed()); // the press alone does not arm: its button would be taken
    SendMessageW(picker.hWnd(), WM_LBUTTONUP, 0, 0);
    ASSERT_TRUE(picker.Armed());
    EXPECT_EQ(PrintedPixel(picker.hWnd(), 1, 1), GetSysColor(COLOR_HIGHLIGHT));

    keys.down = {16, 83}; // Shift and S seen in the same tick
    ASSERT_TRUE(Captured());
    EXPECT_EQ(picker.Caption(), L"S");
    std::int16_t code = 0;
    ASSERT_TRUE(picker.GetKey(code));
    EXPECT_EQ(code, 83);
    EXPECT_TRUE(Near(PrintedPixel(picker.hWnd(), 1, 1), kHostColour, 0));

    // Idle again: no more asking.
    int asked = keys.asked;
    PumpUntil(std::chrono::milliseconds(100), [] { return false; });
    EXPECT_EQ(keys.asked, asked);
}

TEST_F(KeyControlTest, ClickingAnArmedPickerCapturesTheButtonStillDown) {
    ASSERT_TRUE(picker.Create(host.hWnd(), 300, 150));
    Click();
    ASSERT_TRUE(picker.Armed());
    keys.down = {1}; // the second click's button, held at the next tick
    SendMessageW(picker.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(picker.Armed());
    ASSERT_TRUE(Captured());
    EXPECT_EQ(picker.Caption(), L"L-Click");
}

TEST_F(KeyControlTest, SetkeyTakesOnlySixteenBitNumbersAndLeavesACaptureRunning) {
    ASSERT_TRUE(picker.Create(host.hWnd(), 300, 150));
    EXPECT_TRUE(picker.Setkey(L"192"));
    EXPECT_EQ(picker.Caption(), L"`");
    EXPECT_FALSE(picker.Setkey(L"Ctrl"));
    EXPECT_FALSE(picker.Setkey(L"70000"));
    EXPECT_FALSE(picker.Setkey(L""));
    EXPECT_EQ(picker.Caption(), L"`");
    std::int16_t code = 0;
    ASSERT_TRUE(picker.GetKey(code));
    EXPECT_EQ(code, 192);

    Click();
    EXPECT_TRUE(picker.Setkey(L"17"));
    EXPECT_TRUE(picker.Armed());
    keys.down = {18};
    ASSERT_TRUE(Captured());
    EXPECT_EQ(picker.Caption(), L"Alt");
}

} // namespace
} // namespace velt::testing
