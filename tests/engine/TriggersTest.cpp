#include "tests/engine/EngineFixture.h"

namespace velt::testing {
namespace {

class Triggers : public EngineTest {
protected:
    Triggers() { settings.CornerSensitive = true; }
    // Rests the cursor at (x, y) for polls ticks.
    void Rest(int x, int y, int polls) {
        desktop.cursor = Point{x, y};
        for (int i = 0; i < polls; ++i) Poll();
    }
};

TEST_F(Triggers, TheEleventhPollOnAnEdgeSwitchesAndCentresTheCursor) {
    Rest(500, 0, 10);
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_EQ(form.EdgeDwell, 10);
    Rest(500, 0, 1);
    EXPECT_EQ(form.CurrentSlot, 1);
    EXPECT_EQ(desktop.cursor, (Point{960, 540}));
    EXPECT_EQ(form.EdgeDwell, 10); // the switch itself does not reset it
    Rest(960, 540, 1);
    EXPECT_EQ(form.EdgeDwell, 0);
}

TEST_F(Triggers, LeavingTheEdgeForOnePollRestartsTheCount) {
    Rest(0, 500, 9);
    Rest(500, 500, 1);
    Rest(0, 500, 10);
    EXPECT_EQ(form.CurrentSlot, 4);
    Rest(0, 500, 1);
    EXPECT_EQ(form.CurrentSlot, 3);
}

TEST_F(Triggers, MovingBetweenActiveEdgesKeepsCounting) {
    Rest(0, 500, 5);
    Rest(500, 1079, 5);
    EXPECT_EQ(form.EdgeDwell, 10);
    Rest(1919, 500, 1); // right edge, whichever edge started the count
    EXPECT_EQ(form.CurrentSlot, 5);
}

TEST_F(Triggers, EdgesAreTwoPixelsWide) {
    struct Case {
        Point at;
        bool active;
    };
    for (Case c : {Case{{500, 0}, true},
                   {{500, 1}, true},
                   {{500, 2}, false},
                   {{0, 500}, true},
                   {{1, 500}, true},
                   {{2, 500}, false},
                   {{500, 1078}, true},
                   {{500, 1079}, true},
                   {{500, 1077}, false},
                   {{1918, 500}, true},
                   {{1917, 500}, false}}) {
        form.EdgeDwell = 0;
        Rest(c.at.x, c.at.y, 1);
        EXPECT_EQ(form.EdgeDwell, c.active ? 1 : 0) << c.at.x << "," << c.at.y;
    }
}

TEST_F(Triggers, CornersFollowTheRuleOrder) {
    struct Case {
        Point corner;
        int from;
        int to;
    };
    // Top before left, left before bottom, bottom before right; an edge out of the grid gives way.
    for (Case c : {Case{{0, 0}, 4, 1},
                   {{0, 1079}, 4, 3},
                   {{1919, 1079}, 4, 7},
                   {{1919, 0}, 4, 1},
                   {{0, 0}, 1, 0},
                   {{0, 0}, 3, 0},
                   {{1919, 0}, 0, 1},
                   {{1919, 1079}, 8, -1},
                   {{1919, 1079}, 2, 5},
                   {{0, 1079}, 6, -1}}) {
        form.CurrentSlot = c.from;
        form.EdgeDwell = kDwellLimit;
        Rest(c.corner.x, c.corner.y, 1);
        EXPECT_EQ(form.CurrentSlot, c.to < 0 ? c.from : c.to)
            << c.from << " at " << c.corner.x << "," << c.corner.y;
    }
}

TEST_F(Triggers, EdgesLeadingOutOfTheGridDoNothing) {
    struct Case {
        int slot;
        Point at;
    };
    for (Case c : {Case{0, {500, 0}},
                   {1, {500, 0}},
                   {2, {500, 0}},
                   {0, {0, 500}},
                   {3, {0, 500}},
                   {6, {0, 500}},
                   {6, {500, 1079}},
                   {7, {500, 1079}},
                   {8, {500, 1079}},
                   {2, {1919, 500}},
                   {5, {1919, 500}},
                   {8, {1919, 500}}}) {
        form.CurrentSlot = c.slot;
        form.EdgeDwell = 0;
        Rest(c.at.x, c.at.y, 12);
        EXPECT_EQ(form.CurrentSlot, c.slot);
        EXPECT_EQ(form.EdgeDwell, 0);
    }
}

TEST_F(Triggers, EdgesRestWhenCornerSensitivityIsOff) {
    settings.CornerSensitive = false;
    Rest(500, 0, 30);
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_EQ(form.EdgeDwell, 0);
}

TEST_F(Triggers, TheHeldWindowIsCarriedToItsTopLevel) {
    WindowId held = desktop.Add(L"Held by its title bar");
    WindowId child = desktop.Add(L"", false);
    desktop.windows[child].parent = held;
    WindowId other = desktop.Add(L"Stays");
    desktop.windowUnderCursor = child;
    desktop.keysDown = {kVkLeftButton};
    Rest(1919, 300, 11);
    EXPECT_EQ(form.CurrentSlot, 5);
    EXPECT_EQ(form.Dex[5], std::vector<WindowId>{held});
    EXPECT_TRUE(desktop.Visible(held));
    EXPECT_FALSE(desktop.Visible(other));
    EXPECT_EQ(desktop.lastPointAsked, (Point{1919, 300}));
}

TEST_F(Triggers, UntitledWindowsTheTaskbarAndVeltAreNeverCarried) {
    WindowId background = desktop.Add(L"");
    desktop.taskbar = desktop.Add(L"Start");
    view.handle = desktop.Add(L"Velt");
    desktop.keysDown = {kVkLeftButton};
    for (WindowId under : {background, desktop.taskbar, view.handle}) {
        desktop.windowUnderCursor = under;
        form.CurrentSlot = 4;
        form.EdgeDwell = kDwellLimit;
        Rest(1919, 300, 1);
        ASSERT_EQ(form.CurrentSlot, 5);
        EXPECT_TRUE(form.Dex[5].empty());
    }
}

TEST_F(Triggers, WithoutTheButtonNothingIsCarried) {
    desktop.windowUnderCursor = desktop.Add(L"Under the cursor");
    Rest(1919, 300, 11);
    EXPECT_EQ(form.CurrentSlot, 5);
    EXPECT_TRUE(form.Dex[5].empty());
}

TEST_F(Triggers, CursorGoesToTheCentreRoundedHalfToEven) {
    desktop.screen = Size{1025, 769};
    Rest(1024, 300, 11);
    EXPECT_EQ(desktop.cursorMoves.back(), (Point{512, 384}));
}

TEST_F(Triggers, AltDigitSwitchesOnceWhileHeld) {
    desktop.keysDown = {kVkMenu, '3'};
    Poll();
    EXPECT_EQ(form.CurrentSlot, 2);
    view.log.clear();
    Poll();
    Poll();
    EXPECT_EQ(form.CurrentSlot, 2);
    EXPECT_TRUE(view.log.empty());
}

TEST_F(Triggers, AltWithTheCurrentDigitOrADigitAloneDoesNothing) {
    desktop.keysDown = {kVkMenu, '5'};
    Poll();
    desktop.keysDown = {'7'};
    Poll();
    desktop.keysDown = {kVkMenu, 0x67}; // numeric pad 7
    Poll();
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_TRUE(view.log.empty());
}

TEST_F(Triggers, DigitsAreTestedInOrderEachSwitchFinishing) {
    desktop.keysDown = {kVkMenu, '2', '8'};
    Poll();
    EXPECT_EQ(form.CurrentSlot, 7);
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), L"Pointer 1"), 1);
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), L"Pointer 7"), 1);
}

TEST_F(Triggers, PressesMadeBetweenTicksActOnceEachInTheOrderMade) {
    desktop.presses = {3, 8, 3};
    Poll();
    EXPECT_EQ(form.CurrentSlot, 2);
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), L"Pointer 2"), 2);
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), L"Pointer 7"), 1);
    view.log.clear();
    Poll();
    EXPECT_TRUE(view.log.empty());
    desktop.presses = {0, 10, -1}; // never a digit of a desktop
    Poll();
    EXPECT_TRUE(view.log.empty());
}

TEST_F(Triggers, APressStillHeldAtTheTickActsOnce) {
    form.SlotPasswords[6] = L"pw";
    view.answer = L"wrong";
    desktop.presses = {7};
    desktop.keysDown = {kVkMenu, '7'};
    Poll();
    EXPECT_EQ(view.log,
              std::vector<std::wstring>{L"InputDialog Locked Desktop! / Enter Password to Unlock"});
}

TEST_F(Triggers, PressesMadeWhileThePromptIsUpAreDropped) {
    view.promptVisible = true;
    desktop.presses = {2};
    Poll();
    view.promptVisible = false;
    Poll();
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_TRUE(desktop.presses.empty());
}

TEST_F(Triggers, OverviewShowsExactlyWhileTheHotkeyIsHeld) {
    settings.Hotkeys[0] = KeyCombo{16, 17, 81};
    desktop.keysDown = {16, 17, 81};
    Poll();
    EXPECT_EQ(view.log,
              (std::vector<std::wstring>{L"Iconize 4", L"MakeTopmost", L"BlurBkg", L"Show"}));
    Poll();
    EXPECT_EQ(view.log.size(), 4u);
    EXPECT_GE(view.hoverRuns, 1);
    desktop.keysDown = {16, 81};
    Poll();
    EXPECT_EQ(view.log.back(), L"Hide");
}

TEST_F(Triggers, AHotkeyWithAnUnsetKeyNeverFires) {
    settings.Hotkeys[0] = KeyCombo{16, 0, 81};
    desktop.keysDown = {16, 81, 0};
    Poll();
    EXPECT_FALSE(view.visible);
    EXPECT_TRUE(view.log.empty());
}

TEST_F(Triggers, OnlyTheFirstHotkeySlotIsRead) {
    for (size_t slot = 1; slot < 4; ++slot) settings.Hotkeys[slot] = KeyCombo{16, 17, 81};
    desktop.keysDown = {16, 17, 81};
    Poll();
    EXPECT_FALSE(view.visible);
}

TEST_F(Triggers, NothingActsWhileThePromptIsOpen) {
    settings.Hotkeys[0] = KeyCombo{16, 17, 81};
    form.SlotPasswords[6] = L"pw";
    view.answer = L"wrong";
    view.onPrompt = [&] {
        // While the prompt is up the poll keeps ticking and must not act.
        view.promptVisible = true;
        desktop.keysDown = {kVkMenu, '2', 16, 17, 81};
        desktop.cursor = Point{0, 500};
        for (int i = 0; i < 20; ++i) Poll();
        view.promptVisible = false;
        desktop.keysDown.clear();
        desktop.cursor = Point{960, 540};
    };
    desktop.keysDown = {kVkMenu, '7'};
    Poll();
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_EQ(form.EdgeDwell, 0);
    EXPECT_EQ(view.log,
              std::vector<std::wstring>{L"InputDialog Locked Desktop! / Enter Password to Unlock"});
}

TEST_F(Triggers, ASwitchFromThePollIsNotRepeatedByTicksItLetsRun) {
    view.onDoEvents = [&] { Poll(); }; // a tick arriving while the switch lets events run
    desktop.cursor = Point{1919, 500};
    form.EdgeDwell = kDwellLimit;
    Poll();
    EXPECT_EQ(form.CurrentSlot, 5);
}

TEST_F(Triggers, RefreshesTheThumbnailOnlyWhileTheOverviewIsUp) {
    form.Timer2_Timer();
    EXPECT_TRUE(view.log.empty());
    view.visible = true;
    form.Timer2_Timer();
    EXPECT_EQ(view.log, std::vector<std::wstring>{L"Iconize 4"});
}

} // namespace
} // namespace velt::testing
