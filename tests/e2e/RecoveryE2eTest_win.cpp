// What Velt gives back and keeps doing when things go wrong: windows left hidden by a Velt that
// was killed, a program that stops answering.
#include "engine/RecoveryRecord.h"
#include "platform/Files.h"
#include "tests/e2e/HelperControl_win.h"
#include "tests/e2e/Menu_win.h"
#include "tests/e2e/Overview_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <shellapi.h>
#include <shlobj.h>

namespace velt::e2e {
namespace {

std::wstring RecordPath(const Velt& velt) { return velt.Folder() + L"\\HiddenWindows.txt"; }

// Where Velt writes its record when the file beside it cannot be replaced, as when the test is
// reading that file at the moment.
std::wstring FallbackPath() {
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) return L"";
    return std::wstring(local) + L"\\Velt\\HiddenWindows.txt";
}

// The record Velt wrote last, "" when there is none. A file that has just replaced the record
// cannot be opened until Velt lets it go: a failed read is tried again, never taken as empty.
std::string ReadRecord(const Velt& velt) {
    std::filesystem::path newest = NewestFile({RecordPath(velt), FallbackPath()});
    std::vector<std::uint8_t> bytes;
    if (!newest.empty())
        WaitUntil([&] {
            bytes.clear();
            return ReadWholeFile(newest, bytes) || !FileExists(newest);
        });
    return std::string(bytes.begin(), bytes.end());
}

bool WriteText(const std::wstring& path, const std::string& text) {
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                        text.size());
    return WriteWholeFile(path, {&bytes, 1});
}

RecoveryEntry EntryFor(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return RecoveryEntry{reinterpret_cast<WindowId>(window), process, L"VeltTestHelper"};
}

// Holds Alt+digit until switched() holds (the poll reads keys as they are at each tick), then
// lets the keys go.
bool AltDigit(char digit, const std::function<bool()>& switched) {
    std::wstring key(1, static_cast<wchar_t>(digit));
    bool held = HoldKeys(L"alt " + key, {VK_MENU, digit});
    bool done = held && switched();
    bool released = ReleaseKeys(key + L" alt", {digit, VK_MENU});
    EXPECT_TRUE(released) << "Alt+" << digit << " still held after the switch";
    return released && done;
}

std::vector<WindowId> RecordedWindows(const Velt& velt) {
    std::string text = ReadRecord(velt);
    std::vector<RecoveryEntry> entries;
    ParseRecoveryRecord({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, entries);
    std::vector<WindowId> windows;
    for (const RecoveryEntry& entry : entries) windows.push_back(entry.window);
    return windows;
}

bool Recorded(const Velt& velt, HWND window) {
    std::vector<WindowId> windows = RecordedWindows(velt);
    return std::find(windows.begin(), windows.end(), reinterpret_cast<WindowId>(window)) !=
           windows.end();
}

TEST(Recovery, AKilledVeltsHiddenWindowsComeBackAtTheNextStartALockedDesktopsStayHidden) {
    Velt velt(kOverviewHotkey);
    HelperWindows five(Titles(L"Kept five", 2));
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(AltDigit('3', [&] { return five.WaitVisible(Titles(L"Kept five", 2), false); }));
    HelperWindows three(Titles(L"Kept three", 2));
    ASSERT_TRUE(velt.SeePolls(1)); // a poll has listed them on desktop 3
    ASSERT_TRUE(AltDigit('1', [&] { return three.WaitVisible(Titles(L"Kept three", 2), false); }));
    HelperWindows one({L"Locked one"});
    ASSERT_TRUE(velt.SeePolls(1));
    ASSERT_TRUE(AltDigit('7', [&] { return one.WaitVisible({L"Locked one"}, false); }));
    EXPECT_TRUE(WaitUntil([&] { return Recorded(velt, one.Find(L"Locked one")); }));

    // Desktop 1 locked from the overview: its window leaves the record, its password never
    // enters it.
    const std::string password = "Sesame4711";
    HWND overview = velt.MainWindow();
    ASSERT_TRUE(HoldOverviewKeys());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(overview) != FALSE; }));
    ASSERT_TRUE(ClickThumbnail(overview, 0, 3));
    ASSERT_TRUE(WaitUntil([&] { return testing::VisiblePrompt() != nullptr; }));
    ASSERT_TRUE(ReleaseOverviewKeys());
    ASSERT_TRUE(AnswerPrompt(L"Lock Desktop!", std::wstring(password.begin(), password.end())));
    EXPECT_TRUE(WaitUntil([&] { return !Recorded(velt, one.Find(L"Locked one")); }));
    EXPECT_EQ(RecordedWindows(velt).size(), 4u);
    std::string record = ReadRecord(velt);
    std::string wide;
    for (char c : password) wide += {c, '\0'};
    EXPECT_EQ(record.find(password), std::string::npos);
    EXPECT_EQ(record.find(wide), std::string::npos);

    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = velt.TrayReceiver();
    icon.uID = 1;
    velt.process().Kill();                // TerminateProcess: no exit of its own runs
    Shell_NotifyIconW(NIM_DELETE, &icon); // the icon a killed program leaves in the tray
    EXPECT_TRUE(five.WaitVisible(Titles(L"Kept five", 2), false));
    EXPECT_TRUE(three.WaitVisible(Titles(L"Kept three", 2), false));

    ASSERT_TRUE(velt.Start());
    EXPECT_TRUE(five.WaitVisible(Titles(L"Kept five", 2), true));
    EXPECT_TRUE(three.WaitVisible(Titles(L"Kept three", 2), true));
    // As the normal exit does, a locked desktop's windows stay hidden.
    ASSERT_TRUE(velt.SeePolls(2));
    EXPECT_FALSE(one.Visible(L"Locked one"));
    // All the others are on the desktop Velt starts on now; a normal exit leaves no record.
    ASSERT_TRUE(velt.Close());
    EXPECT_FALSE(FileExists(RecordPath(velt)));
}

TEST(Recovery, OnlyWindowsMatchingEveryFieldOfAnIntactRecordAreShown) {
    HelperWindows windows({L"Matching", L"Other process", L"Other class", L"Damaged"});
    for (const wchar_t* title : {L"Matching", L"Other process", L"Other class", L"Damaged"})
        ShowWindow(windows.Find(title), SW_HIDE);
    RecoveryEntry otherProcess = EntryFor(windows.Find(L"Other process"));
    ++otherProcess.processId;
    RecoveryEntry otherClass = EntryFor(windows.Find(L"Other class"));
    otherClass.className = L"SomeoneElsesClass";
    std::vector<RecoveryEntry> record{EntryFor(windows.Find(L"Matching")), otherProcess,
                                      otherClass};

    Velt velt;
    ASSERT_TRUE(WriteText(RecordPath(velt), FormatRecoveryRecord(record)));
    ASSERT_TRUE(velt.Start());
    EXPECT_TRUE(windows.WaitVisible({L"Matching"}, true));
    EXPECT_FALSE(windows.Visible(L"Other process") || windows.Visible(L"Other class"));
    ASSERT_TRUE(velt.Close());

    std::string damaged = FormatRecoveryRecord(std::vector{EntryFor(windows.Find(L"Damaged"))});
    // Every field still matches; only the header's checksum no longer agrees with the lines.
    size_t checksumEnd = damaged.find('\n');
    damaged[checksumEnd - 1] = damaged[checksumEnd - 1] == '0' ? '1' : '0';
    ASSERT_TRUE(WriteText(RecordPath(velt), damaged));
    ASSERT_TRUE(velt.Start());
    EXPECT_TRUE(WaitUntil([&] { return ReadRecord(velt) != damaged; }));
    EXPECT_FALSE(windows.Visible(L"Damaged"));
}

// A helper window whose program stops answering on request, and is woken at the end.
class Hung : public ::testing::Test {
protected:
    void TearDown() override { SetEvent(m_wake.get()); }
    bool Hang(HWND window) {
        PostMessageW(window, kHangMessage, 0, 0);
        return WaitUntil([&] {
            DWORD_PTR result = 0;
            return !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result);
        });
    }
    // Wakes the program and waits until it has caught up: the shows and hides queued for it while
    // it did not answer come before the question, so it answers once its window is settled.
    bool Wake(HWND window) {
        SetEvent(m_wake.get());
        return WaitUntil([&] {
            DWORD_PTR result = 0;
            return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) != 0;
        });
    }
    UniqueHandle m_wake{CreateEventW(nullptr, TRUE, FALSE, kWakeEventName)};
};

TEST_F(Hung, AWindowThatStopsAnsweringStallsNoSwitchNorTheMenu) {
    Velt velt;
    HelperWindows fine(Titles(L"Fine five", 2));
    HelperWindows stuck({L"Stuck five"});
    ASSERT_TRUE(velt.Start());
    ASSERT_TRUE(Hang(stuck.Find(L"Stuck five")));

    EXPECT_TRUE(AltDigit('3', [&] { return fine.WaitVisible(Titles(L"Fine five", 2), false); }));
    // The menu opens and its next switch works, and so does the next Alt+digit.
    ASSERT_TRUE(ChooseDesktop(velt, 5));
    EXPECT_TRUE(fine.WaitVisible(Titles(L"Fine five", 2), true));
    EXPECT_TRUE(AltDigit('3', [&] { return fine.WaitVisible(Titles(L"Fine five", 2), false); }));

    // Once its program answers again the stuck window follows its desktop.
    ASSERT_TRUE(Wake(stuck.Find(L"Stuck five")));
    EXPECT_TRUE(stuck.WaitVisible({L"Stuck five"}, false));
    // Catching up on the shows queued for it does not take the focus from where the user is.
    EXPECT_NE(GetForegroundWindow(), stuck.Find(L"Stuck five"));
    EXPECT_TRUE(AltDigit('5', [&] { return stuck.WaitVisible({L"Stuck five"}, true); }))
        << "desktop 5 shown: " << fine.Visible(L"Fine five 1")
        << "; windows recorded hidden: " << RecordedWindows(velt).size()
        << " (stuck among them: " << Recorded(velt, stuck.Find(L"Stuck five")) << ")";
}

} // namespace
} // namespace velt::e2e
