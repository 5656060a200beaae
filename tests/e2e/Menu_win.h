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
// the right of it; returns the root menu window.
inline HWND OpenTrayMenu(const Velt& velt) {
    Keys(L"mousemove 200 200");
    velt.NotifyFromTrayIcon();
    if (!WaitUntil(MenuOpen, std::chrono::seconds(5))) return nullptr;
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

inline void Click(POINT at) {
    Keys(L"mousemove " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y) + L" click 1");
}

// Exit is the root's first item and "Switch to" its last: both sit 8 pixels into the client area.
inline ::testing::AssertionResult ChooseDesktop(const Velt& velt, int number) {
    HWND root = OpenTrayMenu(velt);
    if (!root) return ::testing::AssertionFailure() << "the tray menu did not open";
    RECT client{};
    GetClientRect(root, &client);
    POINT switchTo{client.right / 3, client.bottom - 8};
    ClientToScreen(root, &switchTo);
    Keys(L"mousemove " + std::to_wstring(switchTo.x) + L" " + std::to_wstring(switchTo.y));
    HWND submenu = nullptr;
    if (!WaitUntil(
            [&] {
                for (HWND menu : OpenMenus())
                    if (menu != root) submenu = menu;
                return submenu != nullptr;
            },
            std::chrono::seconds(5)))
        return ::testing::AssertionFailure() << "\"Switch to\" did not open";
    // Wine reports the submenu window visible a moment before it is on screen.
    Sleep(400);
    Click(ItemCentre(submenu, number - 1, 9));
    if (!WaitUntil([] { return !MenuOpen(); }, std::chrono::seconds(5)))
        return ::testing::AssertionFailure() << "the menu stayed open";
    return ::testing::AssertionSuccess();
}

inline bool ChooseExit(const Velt& velt) {
    HWND root = OpenTrayMenu(velt);
    if (!root) return false;
    POINT exit{20, 8};
    ClientToScreen(root, &exit);
    Click(exit);
    return true;
}

} // namespace velt::e2e
