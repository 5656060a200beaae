#include "platform/Handles_win.h"
#include "platform/Ini_win.h"
#include "platform/Shell_win.h"
#include "platform/WindowHelpers_win.h"
#include "tests/support/Wait.h"

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

// A window of a thread of its own that answers icon questions, and that can be made to stop
// answering until it is woken.
class IconWindow : public ::testing::Test {
protected:
    static constexpr UINT kHang = WM_APP + 1;
    static inline HICON s_answer = nullptr;
    static inline HANDLE s_wake = nullptr;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kHang) WaitForSingleObject(s_wake, 60000);
        if (message == WM_GETICON || message == WM_QUERYDRAGICON)
            return reinterpret_cast<LRESULT>(s_answer);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static DWORD WINAPI Run(void* created) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VeltIconTest";
        wc.hIconSm = LoadIconW(nullptr, IDI_WARNING);
        RegisterClassExW(&wc);
        *static_cast<HWND*>(created) = CreateWindowExW(0, L"VeltIconTest", L"", WS_POPUP, 0, 0, 10,
                                                       10, nullptr, nullptr, wc.hInstance, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return 0;
    }
    void SetUp() override {
        s_wake = m_wake.get();
        m_thread.reset(CreateThread(nullptr, 0, Run, &m_window, 0, &m_threadId));
        ASSERT_TRUE(testing::WaitUntil([&] { return IsWindow(m_window) != FALSE; }));
    }
    void TearDown() override {
        SetEvent(m_wake.get());
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread.get(), 10000);
    }
    UniqueHandle m_wake{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle m_thread;
    DWORD m_threadId = 0;
    HWND m_window = nullptr;
};

TEST_F(IconWindow, TheWindowsOwnIconComesFirstThenItsClassIcon) {
    s_answer = LoadIconW(nullptr, IDI_QUESTION);
    EXPECT_EQ(GetWindowIcon(m_window), s_answer);
    s_answer = nullptr;
    EXPECT_EQ(GetWindowIcon(m_window), LoadIconW(nullptr, IDI_WARNING));
}

TEST_F(IconWindow, AWindowThatDoesNotAnswerGivesItsClassIcon) {
    s_answer = LoadIconW(nullptr, IDI_QUESTION);
    PostMessageW(m_window, kHang, 0, 0);
    ASSERT_TRUE(testing::WaitUntil([&] {
        DWORD_PTR ignored = 0;
        return !SendMessageTimeoutW(m_window, WM_NULL, 0, 0, SMTO_NORMAL, 50, &ignored);
    }));
    EXPECT_EQ(GetWindowIcon(m_window), LoadIconW(nullptr, IDI_WARNING));
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
