#pragma once
// The tray menu seen from outside: opened as the shell would, entries picked with real clicks.
// (Under Wine a menu owned by a hidden window gets no keyboard input, so the tests click.)
#include "tests/e2e/Harness_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velt::e2e {

// The open menu windows, the root first.
inline std::vector<HWND> OpenMenus() {
    std::vector<HWND> menus;
    EnumWindows(
        [](HWND w, LPARAM found) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            if (std::wstring(name) == L"#32768" && IsWindowVisible(w))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&menus));
    return menus;
}

inline bool MenuOpen() { return !OpenMenus().empty(); }

// Opens the menu with the cursor at a known place, so that it and its submenu open down and to
// the right of it, clear of the helper windows' cascade from the top left (under Wine a helper
// window can come above the menu and hide it); returns the root menu window.
inline HWND OpenTrayMenu(const Velt& velt) {
    if (!Xdotool(L"mousemove 600 300") || !WaitUntil([] { return testing::CursorAt({600, 300}); }))
        return nullptr;
    velt.NotifyFromTrayIcon();
    if (!WaitUntil(MenuOpen)) return nullptr;
    return OpenMenus().front();
}

// The centre of item index of count equally tall items filling the menu window's client area.
inline POINT ItemCentre(HWND menu, int index, int count) {
    RECT client{};
    GetClientRect(menu, &client);
    POINT origin{0, 0};
    ClientToScreen(menu, &origin);
    int height = client.bottom / count;
    return POINT{origin.x + client.right / 3, origin.y + height * index + height / 2};
}

// True when the screen shows the item at the height of at highlighted, near the menu's right
// edge where no text is: the menu has seen the pointer there and is on screen.
inline bool Highlighted(HWND menu, POINT at) {
    RECT client{};
    GetClientRect(menu, &client);
    POINT edge{client.right - 4, 0};
    ClientToScreen(menu, &edge);
    COLORREF shown = testing::ScreenPixel(POINT{edge.x, at.y});
    return shown == GetSysColor(COLOR_HIGHLIGHT) || shown == GetSysColor(COLOR_MENUHILIGHT);
}

// Points at a menu item and clicks it once the menu shows it highlighted.
inline bool ClickItem(HWND menu, POINT at) {
    return Xdotool(L"mousemove " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y)) &&
           WaitUntil([&] { return Highlighted(menu, at); }) && Xdotool(L"click 1");
}

// Exit is the root's first item and "Switch to" its last: both sit 8 pixels into the client area.
inline ::testing::AssertionResult ChooseDesktop(const Velt& velt, int number) {
    HWND root = OpenTrayMenu(velt);
    if (!root) return ::testing::AssertionFailure() << "the tray menu did not open";
    RECT client{};
    GetClientRect(root, &client);
    POINT switchTo{client.right / 3, client.bottom - 8};
    ClientToScreen(root, &switchTo);
    Xdotool(L"mousemove " + std::to_wstring(switchTo.x) + L" " + std::to_wstring(switchTo.y));
    HWND submenu = nullptr;
    if (!WaitUntil([&] {
            for (HWND menu : OpenMenus())
                if (menu != root) submenu = menu;
            return submenu != nullptr;
        }))
        return ::testing::AssertionFailure() << "\"Switch to\" did not open";
    if (!ClickItem(submenu, ItemCentre(submenu, number - 1, 9)))
        return ::testing::AssertionFailure() << "the item was never highlighted";
    if (!WaitUntil([] { return !MenuOpen(); }))
        return ::testing::AssertionFailure() << "the menu stayed open";
    return ::testing::AssertionSuccess();
}

inline bool ChooseExit(const Velt& velt) {
    HWND root = OpenTrayMenu(velt);
    if (!root) return false;
    POINT exit{20, 8};
    ClientToScreen(root, &exit);
    return ClickItem(root, exit);
}

} // namespace velt::e2e
