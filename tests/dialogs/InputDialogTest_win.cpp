#include "dialogs/FrmPass_win.h"
#include "dialogs/TrayMenu_win.h"
#include "imaging/c32bppDIB.h"
#include "platform/Resources_win.h"
#include "platform/WindowHelpers_win.h"
#include "tests/dialogs/PromptDriver_win.h"

#include <gtest/gtest.h>

namespace velt::testing {
namespace {

struct Seen {
    std::wstring caption, prompt;
    bool visibleDuring = false;
    bool topmost = false;
    RECT window{}, client{};
    wchar_t passwordChar = 0;
    int length = 0;
    int maskedWidth = 0, starsWidth = -1;
};

TEST(InputDialog, ReturnsTheAnswerExactlyAsTypedWhenEnterIsPressed) {
    FrmPass dialog;
    Seen seen;
    PromptDriver driver([&](HWND prompt) {
        seen.caption = WindowText(prompt);
        seen.visibleDuring = dialog.PromptVisible();
        seen.topmost = (GetWindowLongPtrW(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        GetWindowRect(prompt, &seen.window);
        GetClientRect(prompt, &seen.client);
        seen.prompt = WindowText(FindWindowExW(prompt, nullptr, L"Static", nullptr));
        TypeText(prompt, L"  my secret  ");
        HWND box = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
        seen.passwordChar = static_cast<wchar_t>(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0));
        seen.length = static_cast<int>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0));
        // Where the last character starts, against the width of as many stars before it.
        LRESULT first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
        LRESULT last = SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(seen.length - 1), 0);
        seen.maskedWidth = static_cast<short>(LOWORD(last)) - static_cast<short>(LOWORD(first));
        WindowDC screen(nullptr);
        Selected font(screen.get(), reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        SIZE stars{};
        std::wstring mask(static_cast<size_t>(std::max(seen.length - 1, 0)), L'*');
        GetTextExtentPoint32W(screen.get(), mask.c_str(), static_cast<int>(mask.size()), &stars);
        seen.starsWidth = stars.cx;
        Screenshot("prompt-typed");
        Xdotool(L"key Return");
    });
    std::wstring answer = dialog.InputDialog(L"Locked Desktop!", L"Enter Password to Unlock");
    driver.Join();
    EXPECT_FALSE(driver.stuck);
    EXPECT_EQ(answer, L"  my secret  ");
    EXPECT_EQ(dialog.DialogResult, L"  my secret  ");
    EXPECT_FALSE(dialog.PromptVisible());

    EXPECT_EQ(seen.caption, L"Locked Desktop!");
    EXPECT_EQ(seen.prompt, L"Enter Password to Unlock");
    EXPECT_TRUE(seen.visibleDuring);
    EXPECT_TRUE(seen.topmost);
    EXPECT_EQ(seen.client.right, 294); // 4410 x 1515 twips
    EXPECT_EQ(seen.client.bottom, 101);
    int centreX = (seen.window.left + seen.window.right) / 2;
    int centreY = (seen.window.top + seen.window.bottom) / 2;
    EXPECT_NEAR(centreX, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(centreY, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    EXPECT_EQ(seen.passwordChar, L'*');
    EXPECT_EQ(seen.length, 13);
    EXPECT_EQ(seen.maskedWidth, seen.starsWidth); // one star per character
}

COLORREF FacePixel(const wchar_t* resource, int x, int y) {
    c32bppDIB face;
    face.ManageOwnDC(true);
    std::optional<Bytes> bytes = ResourceBytes(resource);
    if (!bytes || !face.LoadPicture_Stream(*bytes)) return CLR_INVALID;
    return GetPixel(face.LoadDIBinDC(true), x, y);
}

TEST(InputDialog, CancelAfterTypingReturnsTheEmptyTextAndOkFadesWithThePointer) {
    FrmPass dialog;
    // The border, where Up and Over differ most.
    COLORREF up = FacePixel(L"OK_UP", 0, 10), over = FacePixel(L"OK_OVER", 0, 10);
    ASSERT_FALSE(Near(up, over, 30));
    COLORREF upBefore = CLR_INVALID, hovered = CLR_INVALID, left = CLR_INVALID;
    PromptDriver driver([&](HWND prompt) {
        TypeText(prompt, L"secret");
        std::vector<HWND> buttons = Children(prompt, L"VeltImageButton");
        if (buttons.size() != 2) return;
        upBefore = PrintedPixel(buttons[0], 0, 10);
        PointAt(buttons[0]);
        // Thirteen ticks of 40 ms fade it in fully.
        WaitUntil([&] { return Near(hovered = PrintedPixel(buttons[0], 0, 10), over, 4); });
        Screenshot("prompt-hover");
        MoveCursor(POINT{5, 5}); // far away, over another program's window
        // Fading out, each tick blends Up in a little more strongly than the one before.
        WaitUntil([&] { return Near(left = PrintedPixel(buttons[0], 0, 10), up, 6); });
        ClickOn(buttons[1]);
    });
    std::wstring answer = dialog.InputDialog(L"Lock Desktop!",
                                             L"Enter Password to Lock this Desktop");
    driver.Join();
    EXPECT_FALSE(driver.stuck);
    EXPECT_EQ(answer, L"");
    EXPECT_EQ(upBefore, up);
    EXPECT_TRUE(Near(hovered, over, 4)) << std::hex << hovered << ", over " << over;
    // The fade back towards Up converges long before its level reaches 0.
    EXPECT_TRUE(Near(left, up, 6)) << std::hex << left << ", up " << up << ", over " << over;
}

TEST(InputDialog, OkButtonAcceptsAndEscapeDoesNothing) {
    FrmPass dialog;
    PromptDriver driver([&](HWND prompt) {
        TypeText(prompt, L"a b");
        Xdotool(L"key Escape");
        std::vector<HWND> buttons = Children(prompt, L"VeltImageButton");
        if (buttons.size() == 2) ClickOn(buttons[0]);
    });
    std::wstring answer = dialog.InputDialog(L"Lock Desktop!", L"Enter the new Password");
    driver.Join();
    EXPECT_FALSE(driver.stuck);
    EXPECT_EQ(answer, L"a b");
}

TEST(InputDialog, CloseBoxReturnsTheEmptyTextAndTheNextPromptStartsEmpty) {
    FrmPass dialog;
    PromptDriver closing([&](HWND prompt) {
        TypeText(prompt, L"abc");
        PostMessageW(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(dialog.InputDialog(L"Locked Desktop!", L"This Desktop is already Locked"), L"");
    closing.Join();
    EXPECT_FALSE(closing.stuck);

    PromptDriver accepting([&](HWND) {
        Screenshot("prompt-empty");
        Xdotool(L"key Return");
    });
    EXPECT_EQ(dialog.InputDialog(L"Locked Desktop!", L"Enter Password to Unlock"), L"");
    accepting.Join();
    EXPECT_FALSE(accepting.stuck);
}

TEST(InputDialog, TrayMenuKeepsItsEntriesAcrossPrompts) {
    FrmPass dialog;
    TrayMenu menu;
    while (menu.DesktopEntryCount() < 9) {
        std::wstring n = std::to_wstring(menu.DesktopEntryCount() + 1);
        menu.AddDesktopEntry(L"Desktop " + n + L" -- (Alt + " + n + L")");
    }
    menu.SetDesktopChecked(6, true);
    menu.SetSwitchCaption(L"Switch to -- Ctrl + Shift + Z");
    PromptDriver driver([](HWND) { Xdotool(L"key Return"); });
    dialog.InputDialog(L"Locked Desktop!", L"Enter Password to Unlock");
    driver.Join();
    EXPECT_EQ(menu.DesktopEntryCount(), 9);
    EXPECT_EQ(menu.DesktopCaption(8), L"Desktop 9 -- (Alt + 9)");
    EXPECT_TRUE(menu.IsDesktopChecked(6));
    EXPECT_FALSE(menu.IsDesktopChecked(4));
    EXPECT_EQ(menu.SwitchCaption(), L"Switch to -- Ctrl + Shift + Z");
}

} // namespace
} // namespace velt::testing
