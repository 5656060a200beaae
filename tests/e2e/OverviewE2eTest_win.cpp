// The overview of the real Velt.exe: its glass, and the mouse on its thumbnails.
#include "tests/e2e/Overview_win.h"

#include <gtest/gtest.h>

namespace velt::e2e {
namespace {

using testing::ScreenPixel;
using testing::VisiblePrompt;

// Velt with a skin of one colour as its glass.
std::string WithGreenGlass() {
    return std::string("[Main]\r\nBackground=green.bmp\r\n") + kOverviewHotkey;
}

TEST(Overview, HoldingTheHotkeyShowsTheGlassBetweenTheThumbnails) {
    Velt velt(WithGreenGlass());
    ASSERT_TRUE(velt.AddSkin(L"green.bmp", RGB(0, 255, 0)));
    ASSERT_TRUE(velt.Start());
    HWND overview = velt.MainWindow();
    ASSERT_TRUE(HoldOverviewKeys());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    // Between thumbnails 0 and 1, and in the margin above the grid.
    RECT zero{}, one{};
    GetWindowRect(GetDlgItem(overview, 100), &zero);
    GetWindowRect(GetDlgItem(overview, 101), &one);
    RECT panel{};
    GetWindowRect(overview, &panel);
    for (POINT at : {POINT{(zero.right + one.left) / 2, (zero.top + zero.bottom) / 2},
                     POINT{(panel.left + panel.right) / 2, panel.top + 3}}) {
        EXPECT_TRUE(WaitUntil([&] {
            COLORREF seen = ScreenPixel(at);
            return GetGValue(seen) > 190 && GetRValue(seen) < 90 && GetBValue(seen) < 90;
        })) << at.x
            << "," << at.y;
    }
    testing::Screenshot("overview-glass");
    EXPECT_TRUE(ReleaseOverviewKeys());
}

TEST(Overview, ALeftClickOnAThumbnailSwitchesToItsDesktop) {
    Velt velt(kOverviewHotkey);
    HelperWindows five(Titles(L"Click five", 2));
    ASSERT_TRUE(velt.Start());
    HWND overview = velt.MainWindow();
    ASSERT_TRUE(HoldOverviewKeys());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    ASSERT_TRUE(ClickThumbnail(overview, 2, 1));
    EXPECT_TRUE(five.WaitVisible(Titles(L"Click five", 2), false));
    ASSERT_TRUE(ClickThumbnail(overview, 4, 1));
    EXPECT_TRUE(five.WaitVisible(Titles(L"Click five", 2), true));
    // The click went to the overview; what is typed next goes to the desktop entered.
    EXPECT_TRUE(WaitUntil([&] {
        HWND front = GetForegroundWindow();
        return front == five.Find(L"Click five 1") || front == five.Find(L"Click five 2");
    }));
    EXPECT_TRUE(IsWindowVisible(overview));
    EXPECT_TRUE(ReleaseOverviewKeys());
}

TEST(Overview, ARightClickLocksADesktopWhosePasswordAloneOpensIt) {
    Velt velt(kOverviewHotkey);
    HelperWindows five(Titles(L"Lock five", 1));
    ASSERT_TRUE(velt.Start());
    HWND overview = velt.MainWindow();
    ASSERT_TRUE(HoldOverviewKeys());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    ASSERT_TRUE(ClickThumbnail(overview, 2, 3));
    ASSERT_TRUE(WaitUntil([&] { return VisiblePrompt() != nullptr; }));
    // The overview waits for the prompt, up and out of the pointer's reach.
    EXPECT_FALSE(IsWindowEnabled(overview));
    ASSERT_TRUE(ReleaseOverviewKeys()); // before typing: the keys would reach the prompt
    EXPECT_TRUE(IsWindowVisible(overview));
    ASSERT_TRUE(AnswerPrompt(L"Lock Desktop!", L"pw"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overview); }));

    // A wrong old password changes nothing and asks nothing more.
    ASSERT_TRUE(HoldOverviewKeys());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    ASSERT_TRUE(ClickThumbnail(overview, 2, 3));
    ASSERT_TRUE(WaitUntil([&] { return VisiblePrompt() != nullptr; }));
    ASSERT_TRUE(ReleaseOverviewKeys());
    ASSERT_TRUE(AnswerPrompt(L"Locked Desktop!", L"wrong"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(overview); }));
    EXPECT_EQ(VisiblePrompt(), nullptr);

    // Alt+3 asks for the password: a wrong one stays, the right one goes.
    ASSERT_TRUE(HoldKeys(L"alt 3", {VK_MENU, '3'}));
    ASSERT_TRUE(WaitUntil([&] { return VisiblePrompt() != nullptr; }));
    ASSERT_TRUE(ReleaseKeys(L"3 alt", {'3', VK_MENU}));
    ASSERT_TRUE(AnswerPrompt(L"Locked Desktop!", L"PW"));
    ASSERT_TRUE(velt.SeePolls(2));
    EXPECT_TRUE(five.Visible(L"Lock five 1"));

    ASSERT_TRUE(HoldKeys(L"alt 3", {VK_MENU, '3'}));
    ASSERT_TRUE(WaitUntil([&] { return VisiblePrompt() != nullptr; }));
    ASSERT_TRUE(ReleaseKeys(L"3 alt", {'3', VK_MENU}));
    ASSERT_TRUE(AnswerPrompt(L"Locked Desktop!", L"pw"));
    EXPECT_TRUE(five.WaitVisible(Titles(L"Lock five", 1), false));
}

} // namespace
} // namespace velt::e2e
