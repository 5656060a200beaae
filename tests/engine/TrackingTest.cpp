#include "tests/engine/EngineFixture.h"

namespace velt::testing {
namespace {

using Tracking = EngineTest;

TEST_F(Tracking, ListsVisibleWindowsInZOrderIncludingUntitledOwnedAndMinimized) {
    WindowId editor = desktop.Add(L"Editor");
    WindowId untitled = desktop.Add(L"");
    WindowId dialog = desktop.Add(L"Find");
    desktop.windows[dialog].parent = editor;
    WindowId minimized = desktop.Add(L"Mail");
    desktop.windows[minimized].iconic = true;
    desktop.Add(L"Hidden", false);

    EXPECT_EQ(form.RefreshWindowList(form.Dex[4]), 4);
    EXPECT_EQ(form.Dex[4], (std::vector<WindowId>{editor, untitled, dialog, minimized}));
}

TEST_F(Tracking, NeverListsTheShellDesktopTheTaskbarOrItself) {
    desktop.Add(L"Program Manager");
    desktop.Add(L"PROGRAM MANAGER");
    desktop.Add(L"program manager");
    desktop.taskbar = desktop.Add(L"");
    view.handle = desktop.Add(L"");
    WindowId kept = desktop.Add(L"Program Manager 2");

    form.RefreshWindowList(form.Dex[4]);
    EXPECT_EQ(form.Dex[4], std::vector<WindowId>{kept});
}

TEST_F(Tracking, ListIsRebuiltFromScratchEachPoll) {
    WindowId a = desktop.Add(L"A");
    WindowId b = desktop.Add(L"B");
    Poll();
    EXPECT_EQ(Current(), (std::vector<WindowId>{a, b}));

    desktop.Close(a);
    desktop.windows[b].visible = false; // its program hid it, e.g. into the tray
    WindowId c = desktop.Add(L"C");
    Poll();
    EXPECT_EQ(Current(), std::vector<WindowId>{c});
}

TEST_F(Tracking, PollDoesNothingWhilePromptIsOpen) {
    desktop.Add(L"A");
    view.promptVisible = true;
    Poll();
    EXPECT_TRUE(Current().empty());
    EXPECT_EQ(desktop.enumPasses, 0);
}

TEST_F(Tracking, RefineKeepsOnlyTitledOrdinaryWindows) {
    WindowId titled = desktop.Add(L"Editor");
    WindowId untitled = desktop.Add(L"");
    desktop.taskbar = desktop.Add(L"Taskbar with a title");
    view.handle = desktop.Add(L"Velt");

    for (WindowId cleared :
         {untitled, desktop.taskbar, view.handle, WindowId{0}, WindowId{0xdead}}) {
        WindowId window = cleared;
        form.refine(window);
        EXPECT_EQ(window, 0u);
    }
    WindowId window = titled;
    form.refine(window);
    EXPECT_EQ(window, titled);
}

TEST_F(Tracking, WindowOpenedOnADesktopStaysWithIt) {
    Poll();
    form.GoZorvan(1);
    WindowId opened = desktop.Add(L"Opened on desktop 2");
    Poll();
    form.GoZorvan(4);
    EXPECT_FALSE(desktop.Visible(opened));
    form.GoZorvan(1);
    EXPECT_TRUE(desktop.Visible(opened));
}

TEST_F(Tracking, WindowShownAgainByItsProgramJoinsTheCurrentDesktopToo) {
    WindowId a = desktop.Add(L"A");
    Poll();
    form.GoZorvan(0);
    desktop.windows[a].visible = true; // its program showed it again
    Poll();
    EXPECT_EQ(Current(), std::vector<WindowId>{a});
    EXPECT_EQ(form.Dex[4], std::vector<WindowId>{a});
}

} // namespace
} // namespace velt::testing
