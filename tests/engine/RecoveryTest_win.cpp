// The record on disk, the exits that remove it (normal, session end, crash), and the main
// window's tray icon and notifications, in this process against a fake desktop.
#include "engine/MainWindow_win.h"
#include "engine/RecoveryFile_win.h"
#include "platform/Files.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace velt {
namespace {

std::wstring TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string Read(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return {};
    return std::string(bytes.begin(), bytes.end());
}

// A main window's shutdown earlier in this thread leaves a quit message, which would end the next
// modal loop at once.
void DropQuitMessages() {
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class RecoveryFileTest : public ::testing::Test {
protected:
    void TearDown() override {
        RemoveFile(primary);
        RemoveFile(fallback);
        RemoveDirectoryW(std::filesystem::path(fallback).parent_path().c_str());
        RemoveDirectoryW((folder + L"\\local").c_str());
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring folder = TempFolder(L"velt-record-");
    std::wstring primary = folder + L"\\HiddenWindows.txt";
    std::wstring fallback = folder + L"\\local\\Velt\\HiddenWindows.txt";
    testing::FakeDesktop desktop;
};

TEST_F(RecoveryFileTest, WritesBesideTheProgramOrElseInTheFallbackAndRemovesBoth) {
    RecoveryFile record(primary, fallback);
    std::vector<RecoveryEntry> entries{{0x40, 9, L"Editor"}};
    record.Write(entries);
    std::vector<RecoveryEntry> back;
    std::string text = Read(primary);
    ASSERT_TRUE(ParseRecoveryRecord(
        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, back));
    EXPECT_EQ(back, entries);
    EXPECT_FALSE(FileExists(fallback));

    // A folder that cannot be written: the fallback, created as needed.
    RecoveryFile elsewhere(folder + L"\\missing\\HiddenWindows.txt", fallback);
    elsewhere.Write(entries);
    EXPECT_TRUE(FileExists(fallback));
    // Nothing else is left in the folders: the new file replaced the old one whole.
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW((folder + L"\\*.tmp").c_str(), &found));
    EXPECT_FALSE(find);

    record.Write({});
    EXPECT_FALSE(FileExists(fallback)); // out of date once the first place works again
    record.Remove();
    EXPECT_FALSE(FileExists(primary));
}

TEST_F(RecoveryFileTest, ALeftoverRecordShowsWhatStillMatchesAndIsRemoved) {
    WindowId hidden = desktop.Add(L"Hidden", false);
    WindowId reused = desktop.Add(L"Reused", false);
    desktop.windows[reused].processId = 5; // the handle now names another program's window
    RecoveryFile record(primary, fallback);
    record.Write(std::vector<RecoveryEntry>{{hidden, 77, L"Helper"}, {reused, 77, L"Helper"}});

    EXPECT_EQ(record.RecoverLeftovers(desktop), (std::vector<WindowId>{hidden}));
    EXPECT_TRUE(desktop.Visible(hidden));
    EXPECT_FALSE(desktop.Visible(reused));
    EXPECT_FALSE(FileExists(primary) || FileExists(fallback));
    EXPECT_TRUE(record.RecoverLeftovers(desktop).empty()); // read once
}

TEST_F(RecoveryFileTest, OfRecordsLeftInBothPlacesOnlyTheLaterIsTrusted) {
    // The first place could not be replaced for a while (another program had it open), or the
    // fallback could not be removed once it could: the older record is out of date.
    for (bool fallbackIsLater : {true, false}) {
        WindowId early = desktop.Add(L"Moved since", false);
        WindowId late = desktop.Add(L"Still hidden", false);
        const std::wstring& earlier = fallbackIsLater ? primary : fallback;
        const std::wstring& later = fallbackIsLater ? fallback : primary;
        RecoveryFile(folder + L"\\missing\\x.txt", fallback)
            .Write(std::vector<RecoveryEntry>{{fallbackIsLater ? late : early, 77, L"Helper"}});
        RecoveryFile(primary, L"")
            .Write(std::vector<RecoveryEntry>{{fallbackIsLater ? early : late, 77, L"Helper"}});
        std::filesystem::last_write_time(earlier, std::filesystem::last_write_time(later) -
                                                      std::chrono::hours(1));

        RecoveryFile record(primary, fallback);
        EXPECT_EQ(record.RecoverLeftovers(desktop), (std::vector<WindowId>{late}))
            << "fallback later: " << fallbackIsLater;
        EXPECT_FALSE(desktop.Visible(early));
        EXPECT_FALSE(FileExists(primary) || FileExists(fallback));
    }
}

TEST_F(RecoveryFileTest, ADamagedRecordShowsNothingAndIsRemoved) {
    WindowId hidden = desktop.Add(L"Hidden", false);
    RecoveryFile record(primary, fallback);
    record.Write(std::vector<RecoveryEntry>{{hidden, 77, L"Helper"}});
    std::string text = Read(primary);
    text.back() = 'X';
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                        text.size());
    ASSERT_TRUE(WriteWholeFile(primary, {&bytes, 1}));
    EXPECT_TRUE(record.RecoverLeftovers(desktop).empty());
    EXPECT_FALSE(desktop.Visible(hidden));
    EXPECT_FALSE(FileExists(primary));
}

// The main window with a record in a folder of its own and one window hidden on desktop 1.
class Exits : public RecoveryFileTest {
protected:
    Exits() {
        DropQuitMessages();
        main.Create();
        main.Engine().SetRecoveryStore(&record);
        main.Engine().Dex[0] = {elsewhere};
        main.Engine().Timer1_Timer(); // writes the record
    }
    void ExpectTheExitRan() {
        EXPECT_TRUE(desktop.Visible(elsewhere));
        EXPECT_FALSE(FileExists(primary));
    }
    RecoveryFile record{primary, fallback};
    WindowId elsewhere = desktop.Add(L"On desktop 1", false);
    MainWindow main{desktop};
};

TEST_F(Exits, TheRecordIsWrittenWhileRunning) {
    EXPECT_NE(Read(primary).find("\n1000 77 Helper\n"), std::string::npos) << Read(primary);
    EXPECT_FALSE(desktop.Visible(elsewhere));
}

TEST_F(Exits, TheSessionEndRunsTheExit) {
    EXPECT_TRUE(SendMessageW(main.hWnd(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_FALSE(desktop.Visible(elsewhere)); // asked, not ended yet
    SendMessageW(main.hWnd(), WM_ENDSESSION, TRUE, 0);
    ExpectTheExitRan();
}

TEST_F(Exits, ASessionEndThatWasCancelledDoesNot) {
    SendMessageW(main.hWnd(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(desktop.Visible(elsewhere));
    EXPECT_TRUE(FileExists(primary));
}

TEST_F(Exits, ACrashRunsTheExit) {
    ExitEngineOnCrash(&main.Engine());
    EXPECT_EQ(EngineCrashFilter(nullptr), EXCEPTION_CONTINUE_SEARCH);
    ExpectTheExitRan();
    ExitEngineOnCrash(nullptr);
}

TEST_F(Exits, UnloadingRunsTheExit) {
    main.Unload();
    ExpectTheExitRan();
}

// The tray icon and its notifications.
class Tray : public ::testing::Test {
protected:
    Tray() { DropQuitMessages(); }
    HWND Receiver() { return FindWindowExW(main.hWnd(), nullptr, L"VeltTrayReceiver", nullptr); }
    NOTIFYICONDATAW IconId() {
        NOTIFYICONDATAW id{};
        id.cbSize = main.Icon().TrayIconRecord().cbSize;
        id.hWnd = main.Icon().TrayIconRecord().hWnd;
        id.uID = main.Icon().TrayIconRecord().uID;
        return id;
    }
    testing::FakeDesktop desktop;
    MainWindow main{desktop};
};

TEST_F(Tray, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    ASSERT_TRUE(main.Start());
    NOTIFYICONDATAW id = IconId();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &id)); // it is there
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &id)); // what a restarted shell has forgotten
    ASSERT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &id));
    SendMessageW(main.hWnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &id));
}

int VisibleMenus() {
    int count = 0;
    for (HWND w = FindWindowW(L"#32768", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr))
        count += IsWindowVisible(w) ? 1 : 0;
    return count;
}

std::atomic<bool> g_closeMenu{false};
void CALLBACK CloseMenuWhenAsked(HWND, UINT, UINT_PTR, DWORD) {
    if (g_closeMenu.exchange(false)) EndMenu();
}

// A notification from another thread, as the shell's comes; true when it was handled within the
// deadline (a menu it opened would hold it until closed).
bool Notify(HWND receiver) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(receiver, kTrayCallbackMessage, kTrayIconId, WM_MOUSEMOVE,
                               SMTO_NORMAL, 3000, &result) != 0;
}

TEST_F(Tray, NotificationsWhileTheMenuIsOpenAreIgnored) {
    ASSERT_TRUE(main.Start());
    HWND receiver = Receiver();
    std::atomic<int> menusAfter{-1};
    std::atomic<bool> handled{false}, done{false};
    std::thread shell([&] {
        if (!testing::WaitUntil([] { return VisibleMenus() == 1; })) return;
        handled = Notify(receiver);
        menusAfter = VisibleMenus();
        g_closeMenu = true;
        done = true;
    });
    UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseMenuWhenAsked);
    PostMessageW(receiver, kTrayCallbackMessage, kTrayIconId, WM_MOUSEMOVE);
    EXPECT_TRUE(testing::PumpUntil([&] { return done && VisibleMenus() == 0; }));
    shell.join();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(handled);
    EXPECT_EQ(menusAfter, 1);
}

TEST_F(Tray, NotificationsWhileThePromptIsOpenAreIgnored) {
    ASSERT_TRUE(main.Start());
    HWND receiver = Receiver();
    std::atomic<bool> handled{false};
    std::atomic<int> menus{-1};
    std::thread shell([&] {
        HWND prompt = nullptr;
        if (!testing::WaitUntil([&] {
                prompt = FindWindowW(L"VeltForm", nullptr);
                return prompt && IsWindowVisible(prompt);
            }))
            return;
        handled = Notify(receiver);
        menus = VisibleMenus();
        PostMessageW(prompt, WM_CLOSE, 0, 0);
    });
    main.InputDialog(L"Locked Desktop!", L"Enter Password to Unlock");
    shell.join();
    EXPECT_TRUE(handled);
    EXPECT_EQ(menus, 0);
}

} // namespace
} // namespace velt
