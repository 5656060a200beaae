#include "tests/e2e/Menu_win.h"

#include <gtest/gtest.h>

namespace velt::e2e {
namespace {

int CountVeltWindows() {
    int count = 0;
    for (HWND w = FindWindowW(L"VeltForm1", nullptr); w;
         w = FindWindowExW(nullptr, w, L"VeltForm1", nullptr))
        ++count;
    return count;
}

TEST(Lifecycle, ASecondInstanceLeavesNoTrace) {
    Velt velt;
    ASSERT_TRUE(velt.Start());
    HWND first = velt.MainWindow();
    Process second;
    ASSERT_TRUE(velt.StartAnother(second));
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(CountVeltWindows(), 1);
    EXPECT_EQ(velt.MainWindow(), first);
}

TEST(Lifecycle, StartsWithoutOrWithABrokenConfig) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xff);
    for (const std::string& config :
         {std::string(), std::string(" "), binary,
          "[Main]\r\nCorner=" + std::string(300, 'T') + "\r\nBackground=" + std::string(300, 'b') +
              "\r\n[Keys]\r\nControl0=99999999999999999999\r\nShift0=-70000\r\nAlt0=abc\r\n"}) {
        Velt velt(config);
        ASSERT_TRUE(velt.Start());
        EXPECT_TRUE(velt.Close());
    }
}

TEST(Lifecycle, ThePointerPassingOverTheTrayIconOpensTheMenu) {
    Velt velt;
    ASSERT_TRUE(velt.Start());
    RECT taskbar{};
    ASSERT_TRUE(GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &taskbar));
    // Velt's is the only icon in the notification area, at the taskbar's right end.
    int x = taskbar.right - 11, y = (taskbar.top + taskbar.bottom) / 2;
    Xdotool(L"mousemove " + std::to_wstring(x - 1) + L" " + std::to_wstring(y) + L" mousemove " +
            std::to_wstring(x) + L" " + std::to_wstring(y));
    EXPECT_TRUE(WaitUntil(MenuOpen));
    Xdotool(L"mousemove 300 200 click 1");
    EXPECT_TRUE(WaitUntil([] { return !MenuOpen(); }));
}

TEST(Lifecycle, MenuEntriesSwitchDesktopsAndWindowsStayWithTheirDesktop) {
    Velt velt(kOverviewHotkey);
    HelperWindows five(Titles(L"On five", 3));
    ASSERT_TRUE(velt.Start());

    ASSERT_TRUE(ChooseDesktop(velt, 3));
    EXPECT_TRUE(five.WaitVisible(Titles(L"On five", 3), false));

    HelperWindows three(Titles(L"On three", 2));
    ASSERT_TRUE(velt.SeePolls(1)); // a poll has listed them on desktop 3
    ASSERT_TRUE(ChooseDesktop(velt, 5));
    EXPECT_TRUE(five.WaitVisible(Titles(L"On five", 3), true));
    EXPECT_TRUE(three.WaitVisible(Titles(L"On three", 2), false));

    ASSERT_TRUE(ChooseDesktop(velt, 3));
    EXPECT_TRUE(three.WaitVisible(Titles(L"On three", 2), true));
    EXPECT_TRUE(five.WaitVisible(Titles(L"On five", 3), false));
}

TEST(Lifecycle, ClosingVeltShowsEveryDesktopsWindowsAgain) {
    Velt velt(kOverviewHotkey);
    HelperWindows five(Titles(L"Closing five", 2));
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(ChooseDesktop(velt, 1));
    ASSERT_TRUE(five.WaitVisible(Titles(L"Closing five", 2), false));
    HelperWindows one(Titles(L"Closing one", 2));
    ASSERT_TRUE(velt.SeePolls(1)); // a poll has listed them on desktop 1
    ASSERT_TRUE(ChooseDesktop(velt, 9));
    ASSERT_TRUE(one.WaitVisible(Titles(L"Closing one", 2), false));

    ASSERT_TRUE(velt.Close());
    EXPECT_TRUE(five.WaitVisible(Titles(L"Closing five", 2), true));
    EXPECT_TRUE(one.WaitVisible(Titles(L"Closing one", 2), true));
}

TEST(Lifecycle, ExitFromTheMenuEndsVeltAndShowsTheWindows) {
    Velt velt;
    HelperWindows five(Titles(L"Exit five", 2));
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(ChooseDesktop(velt, 7));
    ASSERT_TRUE(five.WaitVisible(Titles(L"Exit five", 2), false));

    ASSERT_TRUE(ChooseExit(velt));
    EXPECT_TRUE(velt.process().WaitForExit());
    EXPECT_TRUE(five.WaitVisible(Titles(L"Exit five", 2), true));
}

} // namespace
} // namespace velt::e2e
