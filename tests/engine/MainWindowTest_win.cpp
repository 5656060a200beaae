#include "engine/MainWindow_win.h"
#include "platform/Shell_win.h"
#include "tests/support/FakeDesktop.h"

#include <gtest/gtest.h>

namespace velt {
namespace {

// Start-up and shutdown of the real main window, in this process, against a fake desktop so that
// no window of the test machine is touched.
class MainWindowTest : public ::testing::Test {
protected:
    testing::FakeDesktop desktop;
    MainWindow main{desktop};
};

void ExpectNineEntriesWithOneChecked(const TrayMenu& menu, int checked) {
    ASSERT_EQ(menu.DesktopEntryCount(), 9);
    for (int n = 0; n < 9; ++n) {
        std::wstring number = std::to_wstring(n + 1);
        EXPECT_EQ(menu.DesktopCaption(n), L"Desktop " + number + L" -- (Alt + " + number + L")");
        EXPECT_EQ(menu.IsDesktopChecked(n), n == checked) << n;
    }
}

TEST_F(MainWindowTest, StartsWithNineDesktopEntriesTheFifthCheckedAndTheIcon) {
    ASSERT_TRUE(main.Start());
    const TrayMenu& menu = main.Menu();
    ExpectNineEntriesWithOneChecked(menu, 4);
    EXPECT_EQ(menu.Caption(TrayMenu::kExit), L"Exit");
    EXPECT_EQ(menu.Caption(TrayMenu::kAbout), L"About : [Created by Brenlow]");
    EXPECT_EQ(menu.Caption(TrayMenu::kConfigure), L"Configure");
    EXPECT_EQ(menu.SwitchCaption(), L"Switch to -- ++"); // no Config.ini beside the test
    EXPECT_EQ(main.Engine().CurrentSlot, 4);

    const NOTIFYICONDATAW& icon = main.Icon().TrayIconRecord();
    EXPECT_EQ(icon.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(icon.uID, 1u);
    EXPECT_EQ(icon.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(icon.uCallbackMessage, 512u);
    EXPECT_STREQ(icon.szTip, L"Velt : Click for Options");
    EXPECT_TRUE(GetWindowLongPtrW(main.hWnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongPtrW(main.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Switching keeps the menu's one check on the current desktop.
    main.Engine().GoZorvan(2);
    for (int n = 0; n < 9; ++n) EXPECT_EQ(menu.IsDesktopChecked(n), n == 2) << n;
    main.Engine().GoZorvan(4);
}

// (The icon a second start replaces is released: TrayIcon.AddingAgainReleasesTheFirstIcon.)
TEST_F(MainWindowTest, StartingAgainKeepsOneSetOfEntries) {
    ASSERT_TRUE(main.Start());
    ASSERT_TRUE(main.Start());
    ExpectNineEntriesWithOneChecked(main.Menu(), 4);
    EXPECT_STREQ(main.Icon().TrayIconRecord().szTip, L"Velt : Click for Options");

    // A second main window in the same process has menus of its own.
    MainWindow other(desktop);
    ASSERT_TRUE(other.Start());
    ExpectNineEntriesWithOneChecked(other.Menu(), 4);
}

TEST_F(MainWindowTest, UnloadingRunsTheShutdown) {
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        // another main window's shutdown, earlier in this thread
    }
    ASSERT_TRUE(main.Create());
    WindowId elsewhere = desktop.Add(L"On desktop 1", false);
    main.Engine().Dex[0] = {elsewhere};
    main.Unload();
    EXPECT_TRUE(desktop.Visible(elsewhere));
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(TrayIcon, VeltsIconComesFromItsExecutable) {
    std::string path = VELT_EXE;
    UniqueIcon icon = AssociatedIcon(std::wstring(path.begin(), path.end()));
    EXPECT_TRUE(icon);
}

TEST(TrayIcon, TheTipIsCutToItsField) {
    UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        nullptr, nullptr));
    TrayIcon tray;
    tray.AddTrayIcon(UniqueIcon(), window.get(), std::wstring(100, L'x') + L"tail");
    EXPECT_EQ(std::wstring(tray.TrayIconRecord().szTip), std::wstring(63, L'x'));
    tray.RemoveTrayIcon();
    tray.RemoveTrayIcon(); // a second removal does nothing
}

TEST(TrayIcon, AddingAgainReleasesTheFirstIcon) {
    UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        nullptr, nullptr));
    std::string path = VELT_EXE;
    std::wstring exe(path.begin(), path.end());
    TrayIcon tray;
    UniqueIcon first = AssociatedIcon(exe);
    HICON firstHandle = first.get();
    ASSERT_TRUE(firstHandle);
    tray.AddTrayIcon(std::move(first), window.get(), L"first");
    tray.AddTrayIcon(AssociatedIcon(exe), window.get(), L"second");
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(firstHandle, &info));
    EXPECT_STREQ(tray.TrayIconRecord().szTip, L"second");
    HICON secondHandle = tray.TrayIconRecord().hIcon;
    tray.RemoveTrayIcon();
    EXPECT_FALSE(GetIconInfo(secondHandle, &info));
}

} // namespace
} // namespace velt
