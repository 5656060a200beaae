#include "tests/e2e/Menu_win.h"

#include <gtest/gtest.h>

namespace velt::e2e {
namespace {

using namespace std::chrono_literals;

// The rows of the open root menu where its two separators lie, found on the screen: a separator
// is a line of another colour than the menu's, at the right end where no text reaches.
bool SeparatorRows(HWND menu, int& first, int& second) {
    RECT client{};
    GetClientRect(menu, &client);
    POINT origin{client.right - 12, 0};
    ClientToScreen(menu, &origin);
    std::vector<int> rows;
    for (int y = 3; y < client.bottom - 3; ++y) // inside the menu's frame
        if (COLORREF seen = testing::ScreenPixel(POINT{origin.x, origin.y + y});
            seen != GetSysColor(COLOR_MENU) && seen != GetSysColor(COLOR_HIGHLIGHT) &&
            seen != GetSysColor(COLOR_MENUHILIGHT))
            if (rows.empty() || y > rows.back() + 3) rows.push_back(y);
    if (rows.size() < 2) return false;
    first = rows[0];
    second = rows[1];
    return true;
}

// Picks "About" (which = 0) or "Configure" (which = 1), the two items between the separators.
::testing::AssertionResult ChooseWindowEntry(const Velt& velt, int which) {
    HWND root = OpenTrayMenu(velt);
    if (!root) return ::testing::AssertionFailure() << "the tray menu did not open";
    int first = 0, second = 0;
    if (!WaitUntil([&] { return SeparatorRows(root, first, second); }))
        return ::testing::AssertionFailure() << "no separators seen";
    int itemHeight = (second - first) / 2;
    RECT client{};
    GetClientRect(root, &client);
    POINT at{client.right / 3, first + itemHeight / 2 + itemHeight * which + 2};
    ClientToScreen(root, &at);
    if (!ClickItem(root, at)) return ::testing::AssertionFailure() << "never highlighted";
    return ::testing::AssertionSuccess();
}

HWND VeltWindow(const Velt& velt, const wchar_t* caption) {
    for (HWND w = FindWindowW(L"VeltForm", nullptr); w;
         w = FindWindowExW(nullptr, w, L"VeltForm", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t text[64] = {};
        GetWindowTextW(w, text, 64);
        if (owner == const_cast<Velt&>(velt).process().Id() && IsWindowVisible(w) &&
            (!caption || std::wstring(text) == caption))
            return w;
    }
    return nullptr;
}

std::wstring Caption(HWND window) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

// Clicks at a point of a window's client area given in twips.
bool ClickAt(HWND window, int xTwips, int yTwips) {
    POINT at{xTwips / 15, yTwips / 15};
    ClientToScreen(window, &at);
    return Xdotool(L"mousemove " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y)) &&
           WaitUntil([&] { return testing::CursorAt(at); }) && Xdotool(L"click 1");
}

TEST(AboutE2e, OpensFromTheMenuAndItsZoomChangesTheCaption) {
    Velt velt;
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(ChooseWindowEntry(velt, 0));
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = VeltWindow(velt, L"About Velt")) != nullptr; }));

    RECT before{};
    GetWindowRect(about, &before);
    ASSERT_TRUE(ClickAt(about, 5020 + 900, 1060 + 1600)); // the zoom area
    ASSERT_TRUE(WaitUntil([&] { return Caption(about) == L"About Brenlow"; }));
    RECT after{};
    ASSERT_TRUE(WaitUntil([&] {
        GetWindowRect(about, &after);
        return after.left == 0 && after.top == 0 && after.right - after.left == 1000;
    })) << after.left
        << "," << after.top << " " << after.right - after.left;

    // OK still closes the grown window.
    ASSERT_TRUE(ClickAt(about, 3000 + 800, 5040 + 150));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
}

} // namespace
} // namespace velt::e2e
