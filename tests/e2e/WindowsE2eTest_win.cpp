#include "tests/e2e/Menu_win.h"

#include "platform/FileList.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

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
    std::vector<std::pair<int, int>> runs;        // first and last row of each run of other colours
    for (int y = 3; y < client.bottom - 3; ++y) { // inside the menu's frame
        COLORREF seen = testing::ScreenPixel(POINT{origin.x, origin.y + y});
        if (seen == GetSysColor(COLOR_MENU)) continue;
        if (!runs.empty() && runs.back().second == y - 1) runs.back().second = y;
        else runs.emplace_back(y, y);
    }
    // Separators are thin lines. A menu not painted yet shows long runs, and so does an item
    // highlighted under a pointer that the menu opened beneath; the submenu's arrow may follow.
    std::vector<int> thin;
    for (auto [top, bottom] : runs)
        if (bottom - top <= 2) thin.push_back(top);
    if (thin.size() < 2) return false;
    first = thin[0];
    second = thin[1];
    return true;
}

// Picks "About" (which = 0) or "Configure" (which = 1), the two items between the separators.
::testing::AssertionResult ChooseWindowEntry(const Velt& velt, int which) {
    HWND root = OpenTrayMenu(velt);
    if (!root) return ::testing::AssertionFailure() << "the tray menu did not open";
    // Two items lie between the separators. Rows read while the menu is still being drawn can
    // be closer than that, so the same two rows must be seen twice in a row.
    int first = 0, second = 0, lastFirst = -1, lastSecond = -1;
    if (!WaitUntil([&] {
            bool seen = SeparatorRows(root, first, second) && second - first >= 16;
            bool steady = seen && first == lastFirst && second == lastSecond;
            lastFirst = seen ? first : -1;
            lastSecond = seen ? second : -1;
            return steady;
        })) {
        testing::Screenshot("no-separators");
        return ::testing::AssertionFailure() << "no separators seen";
    }
    int itemHeight = (second - first) / 2;
    RECT client{};
    GetClientRect(root, &client);
    POINT at{client.right / 3, first + itemHeight / 2 + itemHeight * which + 2};
    ClientToScreen(root, &at);
    if (!ClickItem(root, at)) {
        testing::Screenshot("choose-failed");
        return ::testing::AssertionFailure() << "never highlighted: separators " << first << ", "
                                             << second << " at " << at.x << ", " << at.y;
    }
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

std::string ReadIniText(const Velt& velt) {
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(velt.Folder() + L"\\Config.ini", bytes);
    return std::string(bytes.begin(), bytes.end());
}

// The program's skins copied into the folder Velt runs from, and removed again.
struct Skins {
    explicit Skins(const Velt& velt) : folder(std::filesystem::path(velt.Folder()) / L"skin") {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::filesystem::path(VELT_ROOT) / "resources/skin"))
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
    }
    ~Skins() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
};

// Clicks a control of the Config page, at its place in twips on the page, which then lies where
// the Appearance page does.
bool ClickOnPage(HWND window, int xTwips, int yTwips) {
    return ClickAt(window, 360 + xTwips, 1080 + yTwips);
}

// Arms a picker and holds a key until the picker has taken it.
bool PickKey(HWND window, int pickerLeftTwips, const wchar_t* key, int virtualKey,
             const Velt& velt) {
    if (!ClickOnPage(window, pickerLeftTwips + 400, 1200 + 120)) return false;
    // Armed: the picker shows the highlight colour.
    POINT probe{(360 + pickerLeftTwips + 60) / 15, (1080 + 1200 + 30) / 15};
    ClientToScreen(window, &probe);
    if (!WaitUntil([&] { return testing::ScreenPixel(probe) == GetSysColor(COLOR_HIGHLIGHT); }))
        return false;
    bool held = testing::HoldKeys(key, {virtualKey});
    bool taken = held && WaitUntil([&] {
                     return testing::ScreenPixel(probe) != GetSysColor(COLOR_HIGHLIGHT);
                 });
    testing::ReleaseKeys(key, {virtualKey});
    (void)velt;
    return taken;
}

TEST(ConfigE2e, NewHotkeyAndEdgeSwitchingTakeEffectAtOnceAfterOk) {
    Velt velt("[Main]\r\nCorner=False\r\n");
    HelperWindows five(Titles(L"Config five", 2));
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(ChooseWindowEntry(velt, 1));
    HWND config = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (config = VeltWindow(velt, L"Configuration")) != nullptr; }));

    ASSERT_TRUE(ClickAt(config, 1920 + 680, 360 + 200)); // "Config"
    ASSERT_TRUE(PickKey(config, 1920, L"ctrl", VK_CONTROL, velt));
    ASSERT_TRUE(PickKey(config, 2880, L"shift", VK_SHIFT, velt));
    ASSERT_TRUE(PickKey(config, 3840, L"w", 'W', velt));
    ASSERT_TRUE(ClickOnPage(config, 3480 + 800, 2280 + 150)); // "Corner Sensitive"
    ASSERT_TRUE(ClickAt(config, 4440 + 680, 5160 + 200));     // "OK"
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(config); }));

    // The keys in the order they were written.
    std::string ini = ReadIniText(velt);
    std::vector<std::size_t> at;
    for (const char* line : {"[Main]", "Corner=True", "Background=\r\n", "[Keys]", "Control0=17",
                             "Shift0=16", "Alt0=87"})
        at.push_back(ini.find(line));
    for (std::size_t i = 0; i < at.size(); ++i) EXPECT_NE(at[i], std::string::npos) << i << ini;
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end())) << ini;

    // The new hotkey shows the overview at once.
    HWND overview = velt.MainWindow();
    ASSERT_TRUE(testing::HoldKeys(L"ctrl shift w", {VK_CONTROL, VK_SHIFT, 'W'}));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    ASSERT_TRUE(testing::ReleaseKeys(L"w shift ctrl", {'W', VK_SHIFT, VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) == FALSE; }));

    // Resting on an edge switches; the switch puts the cursor in the screen's centre.
    SetCursorPos(1023, 300);
    EXPECT_TRUE(five.WaitVisible(Titles(L"Config five", 2), false));
    EXPECT_TRUE(WaitUntil([] { return testing::CursorAt({512, 384}); }));
    SetCursorPos(0, 300);
    EXPECT_TRUE(five.WaitVisible(Titles(L"Config five", 2), true));
    SetCursorPos(512, 384);
}

TEST(ConfigE2e, ASkinChosenAndAppliedStaysAfterCancel) {
    Velt velt;
    Skins copied(velt);
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(ChooseWindowEntry(velt, 1));
    HWND config = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (config = VeltWindow(velt, L"Configuration")) != nullptr; }));

    // The second thumbnail, then "Apply and Save", then "Cancel".
    ASSERT_TRUE(ClickOnPage(config, 1675 + 600, 840 + 500));
    ASSERT_TRUE(ClickAt(config, 3000 + 680, 5160 + 200));
    ASSERT_TRUE(
        WaitUntil([&] { return ReadIniText(velt).find("Background=") != std::string::npos; }));
    std::string applied = ReadIniText(velt);
    std::vector<std::wstring> skins = ListFiles(velt.Folder() + L"\\skin", L"*.png");
    ASSERT_GE(skins.size(), 2u);
    std::string second(skins[1].begin(), skins[1].end());
    EXPECT_NE(applied.find("Background=" + second + "\r\n"), std::string::npos) << applied;
    ASSERT_TRUE(ClickAt(config, 5880 + 680, 5160 + 200));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(config); }));
    EXPECT_EQ(ReadIniText(velt), applied);
}

// What the overview shows near its top left corner while its hotkey is held: the first colour
// there that differs from the desktop's and holds for two looks (the panel is translucent, so
// the screen cannot be compared with what it paints).
COLORREF OverviewCorner(const Velt& velt) {
    HWND overview = velt.MainWindow();
    RECT panel{};
    GetWindowRect(overview, &panel);
    const POINT at{panel.left + 6, panel.top + 6};
    const COLORREF desktop = testing::ScreenPixel(at);
    COLORREF seen = CLR_INVALID;
    if (testing::HoldKeys(L"ctrl shift q", {VK_CONTROL, VK_SHIFT, 'Q'}) &&
        WaitUntil([&] { return IsWindowVisible(overview) != FALSE; })) {
        COLORREF last = CLR_INVALID;
        WaitUntil([&] {
            COLORREF now = testing::ScreenPixel(at);
            bool steady = now != desktop && now == last;
            last = now;
            if (steady) seen = now;
            return steady;
        });
    }
    testing::ReleaseKeys(L"q shift ctrl", {'Q', VK_SHIFT, VK_CONTROL});
    WaitUntil([&] { return IsWindowVisible(overview) == FALSE; });
    return seen;
}

TEST(ConfigE2e, AChosenSkinBecomesTheOverviewsGlassAtOnce) {
    Velt velt(kOverviewHotkey);
    Skins copied(velt);
    ASSERT_TRUE(velt.Start());
    auto choose = [&](int thumbnailLeft) {
        HWND config = nullptr;
        return ChooseWindowEntry(velt, 1) && WaitUntil([&] {
                   return (config = VeltWindow(velt, L"Configuration")) != nullptr;
               }) &&
               ClickOnPage(config, thumbnailLeft + 600, 840 + 500) &&
               ClickAt(config, 4440 + 680, 5160 + 200) && // "OK"
               WaitUntil([&] { return !IsWindow(config); });
    };
    ASSERT_TRUE(choose(360)); // the first skin
    COLORREF first = OverviewCorner(velt);
    ASSERT_NE(first, CLR_INVALID);
    ASSERT_TRUE(choose(2990)); // the third
    COLORREF third = OverviewCorner(velt);
    ASSERT_NE(third, CLR_INVALID);
    EXPECT_NE(first, third);
}

} // namespace
} // namespace velt::e2e
