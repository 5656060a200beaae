#include "platform/Handles_win.h"
#include "platform/Ini_win.h"
#include "platform/Shell_win.h"
#include "platform/WindowHelpers_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velt {
namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    return path;
}

TEST(Ini, MissingFileSectionOrKeyReadsEmpty) {
    std::wstring file = TempFile(L"velt-ini-missing.ini");
    EXPECT_EQ(ReadIni(L"Main", L"Corner", file), L"");
    ASSERT_NE(WriteIni(L"Main", L"Corner", L"True", file), 0);
    EXPECT_EQ(ReadIni(L"Main", L"Other", file), L"");
    EXPECT_EQ(ReadIni(L"Keys", L"Corner", file), L"");
    EXPECT_EQ(ReadIni(L"main", L"CORNER", file), L"True");
    DeleteFileW(file.c_str());
}

TEST(Ini, LongValuesComeBackCutTo254) {
    std::wstring file = TempFile(L"velt-ini-long.ini");
    std::wstring value(300, L'x');
    value[253] = L'y';
    ASSERT_NE(WriteIni(L"Main", L"Background", value, file), 0);
    std::wstring read = ReadIni(L"Main", L"Background", file);
    EXPECT_EQ(read.size(), 254u);
    EXPECT_EQ(read.back(), L'y');
    DeleteFileW(file.c_str());
}

TEST(Ini, WritesThroughReadOnlyAndHiddenFlags) {
    std::wstring file = TempFile(L"velt-ini-readonly.ini");
    ASSERT_NE(WriteIni(L"Main", L"Corner", L"False", file), 0);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_NE(WriteIni(L"Main", L"Corner", L"True", file), 0);
    EXPECT_EQ(ReadIni(L"Main", L"Corner", file), L"True");
    EXPECT_FALSE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    DeleteFileW(file.c_str());
}

class OwnWindows : public ::testing::Test {
protected:
    HWND Make(const wchar_t* className, DWORD style, HWND parent, const wchar_t* title = L"Test") {
        HWND window = CreateWindowExW(0, className, title, style, 10, 10, 200, 100, parent, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (window && !parent) m_topLevel.emplace_back(window);
        return window;
    }
    ~OwnWindows() override {
        while (!m_topLevel.empty()) m_topLevel.pop_back(); // owned ones before their owners
    }

private:
    std::vector<UniqueWindow> m_topLevel;
};

TEST_F(OwnWindows, TopLevelOfAButtonIsItsDialogOrTheDialogsOwner) {
    HWND owner = Make(L"STATIC", WS_OVERLAPPEDWINDOW, nullptr);
    HWND dialog = Make(L"STATIC", WS_OVERLAPPEDWINDOW, nullptr);
    HWND button = Make(L"BUTTON", WS_CHILD, dialog);
    HWND window = button;
    EXPECT_EQ(TopLevelWindowOf(window), std::to_wstring(reinterpret_cast<UINT_PTR>(dialog)));
    EXPECT_EQ(window, dialog);

    UniqueWindow popup(CreateWindowExW(0, L"STATIC", L"Owned", WS_POPUP, 0, 0, 50, 50, owner,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
    HWND inner = Make(L"BUTTON", WS_CHILD, popup.get());
    window = inner;
    TopLevelWindowOf(window);
    EXPECT_EQ(window, owner);
}

TEST_F(OwnWindows, WindowAlphaAcceptsOnlyByteValues) {
    HWND window = Make(L"STATIC", WS_POPUP, nullptr);
    EXPECT_EQ(SetWindowAlpha(window, 256), 1);
    EXPECT_EQ(SetWindowAlpha(window, -1), 1);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);

    EXPECT_EQ(SetWindowAlpha(window, 200), 0);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
}

TEST_F(OwnWindows, TitlesAreCutToTheirBuffers) {
    std::wstring longTitle(2000, L'a');
    HWND window = Make(L"STATIC", WS_POPUP, nullptr, longTitle.c_str());
    EXPECT_EQ(GetWindowTitle(window).size(), 254u);
    EXPECT_EQ(GetWindowTitleLong(window).size(), 1023u);
    HWND named = Make(L"STATIC", WS_POPUP, nullptr, L"Ünïcödé ✓");
    EXPECT_EQ(GetWindowTitle(named), L"Ünïcödé ✓");
}

TEST_F(OwnWindows, TopmostKeepsPositionAndSize) {
    HWND window = Make(L"STATIC", WS_POPUP, nullptr);
    RECT before{}, after{};
    GetWindowRect(window, &before);
    MakeTopmost(window);
    GetWindowRect(window, &after);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(Shell, TheTaskbarIsFound) { EXPECT_NE(TaskbarWindow(), nullptr); }

TEST(Shell, PathsWithoutABackslashAreNotChecked) {
    EXPECT_TRUE(PathExists(L"no-such-file.dll"));
    EXPECT_TRUE(PathExists(L"shell32.dll,3"));
    EXPECT_FALSE(PathExists(L"C:\\no\\such\\file.dll"));
    EXPECT_FALSE(PathExists(L"C:\\windows\\system32\\shell32.dll,3"));
    EXPECT_TRUE(PathExists(L"C:\\windows\\system32\\shell32.dll"));
}

TEST(Shell, ExplorerGetsTheTargetAsOneQuotedArgument) {
    EXPECT_EQ(ExplorerCommandLine(L"C:\\Program Files\\Velt"),
              L"explorer.exe \"C:\\Program Files\\Velt\"");
    EXPECT_EQ(ExplorerCommandLine(L"mailto:someone@example.org"),
              L"explorer.exe \"mailto:someone@example.org\"");
}

} // namespace
} // namespace velt
