#include "dialogs/TrayMenu_win.h"
#include "engine/MainWindow_win.h"
#include "engine/TrayIcon_win.h"
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

TEST_F(MainWindowTest, StartsWithNineDesktopEntriesTheFifthCheckedAndTheIcon) {
    ASSERT_TRUE(main.Start());
    const TrayMenu& menu = TheTrayMenu();
    ASSERT_EQ(menu.DesktopEntryCount(), 9);
    for (int n = 0; n < 9; ++n) {
        std::wstring number = std::to_wstring(n + 1);
        EXPECT_EQ(menu.DesktopCaption(n), L"Desktop " + number + L" -- (Alt + " + number + L")");
        EXPECT_EQ(menu.IsDesktopChecked(n), n == 4) << n;
    }
    EXPECT_EQ(menu.Caption(TrayMenu::kExit), L"Exit");
    EXPECT_EQ(menu.Caption(TrayMenu::kAbout), L"About : [Created by Brenlow]");
    EXPECT_EQ(menu.Caption(TrayMenu::kConfigure), L"Configure");
    EXPECT_EQ(menu.SwitchCaption(), L"Switch to -- ++"); // no Config.ini beside the test
    EXPECT_EQ(main.Engine().CurrentSlot, 4);

    const NOTIFYICONDATAW& icon = TrayIconRecord();
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

TEST_F(MainWindowTest, UnloadingRunsTheShutdown) {
    ASSERT_TRUE(main.Create());
    WindowId elsewhere = desktop.Add(L"On desktop 1", false);
    main.Engine().Dex[0] = {elsewhere};
    main.Unload();
    EXPECT_TRUE(desktop.Visible(elsewhere));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(TrayIcon, VeltsIconComesFromItsExecutable) {
    std::string path = VELT_EXE;
    UniqueIcon icon(AssociatedIcon(std::wstring(path.begin(), path.end())));
    EXPECT_TRUE(icon);
}

TEST(TrayIcon, TheTipIsCutToItsField) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    AddTrayIcon(nullptr, window, std::wstring(100, L'x') + L"tail");
    EXPECT_EQ(std::wstring(TrayIconRecord().szTip), std::wstring(63, L'x'));
    RemoveTrayIcon();
    RemoveTrayIcon(); // a second removal does nothing
    DestroyWindow(window);
}

} // namespace
} // namespace velt
