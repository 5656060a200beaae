#include "tests/engine/EngineFixture.h"

#include <algorithm>

namespace velt::testing {
namespace {

using Switching = EngineTest;

TEST_F(Switching, TheCurrentSlotIsANoOpEvenWhenLocked) {
    form.SlotPasswords[4] = L"secret";
    form.GoZorvan(4);
    EXPECT_TRUE(view.log.empty());
    EXPECT_TRUE(desktop.shows.empty());
}

TEST_F(Switching, StepsRunInOrderAndTheOverviewHidesAtTheEnd) {
    form.GoZorvan(7);
    EXPECT_EQ(view.log, (std::vector<std::wstring>{L"Pointer 7", L"Show", L"Iconize 4", L"ZOrder",
                                                   L"DoEvents", L"BlurBkg", L"DoEvents", L"Hide"}));
    EXPECT_EQ(form.CurrentSlot, 7);
    EXPECT_FALSE(view.visible);
}

TEST_F(Switching, ExactlyTheNewSlotsMenuEntryIsChecked) {
    for (int target : {0, 8, 3, 4}) {
        form.GoZorvan(target);
        EXPECT_EQ(view.CheckedCount(), 1);
        EXPECT_TRUE(view.checks[static_cast<size_t>(target)]);
    }
}

TEST_F(Switching, ShowsTargetInReverseOrderThenHidesTheSlotLeft) {
    WindowId a = desktop.Add(L"A"), b = desktop.Add(L"B");
    WindowId x = desktop.Add(L"X", false), y = desktop.Add(L"Y", false);
    form.Dex[4] = {a, b};
    form.Dex[2] = {x, y};
    form.GoZorvan(2);
    EXPECT_EQ(desktop.shows, (std::vector<ShowCall>{{y, true}, {x, true}, {b, false}, {a, false}}));
}

TEST_F(Switching, AWindowListedInBothSlotsEndsHidden) {
    WindowId shared = desktop.Add(L"Shared");
    form.Dex[4] = {shared};
    form.Dex[1] = {shared};
    form.GoZorvan(1);
    EXPECT_FALSE(desktop.Visible(shared));
}

TEST_F(Switching, CarriedWindowStaysVisibleMovesListsAndIsCentred) {
    WindowId stay = desktop.Add(L"Stay");
    WindowId carried = desktop.Add(L"Carried");
    desktop.windows[carried].rect = Rect{10, 20, 411, 321}; // 401 x 301
    WindowId waiting = desktop.Add(L"Waiting", false);
    form.Dex[4] = {carried, stay};
    form.Dex[5] = {waiting};

    form.GoZorvan(5, carried);

    EXPECT_TRUE(desktop.Visible(carried));
    EXPECT_EQ(std::count(desktop.shows.begin(), desktop.shows.end(), ShowCall{carried, false}), 0);
    EXPECT_EQ(form.Dex[4], std::vector<WindowId>{stay});
    EXPECT_EQ(form.Dex[5], (std::vector<WindowId>{waiting, carried}));
    // (1920 - 401) / 2 = 759.5 and (1080 - 301) / 2 = 389.5, halves to even.
    EXPECT_EQ(desktop.windows[carried].rect.left, 760);
    EXPECT_EQ(desktop.windows[carried].rect.top, 390);
    EXPECT_EQ(desktop.zOrder.front(), carried);
}

TEST_F(Switching, TheFocusGoesToTheFrontmostWindowOfTheDesktopEnteredThatTakesIt) {
    WindowId left = desktop.Add(L"Left");
    WindowId minimized = desktop.Add(L"Minimized", false);
    WindowId refusing = desktop.Add(L"Refusing", false);
    WindowId back = desktop.Add(L"Back", false);
    WindowId front = desktop.Add(L"Front", false);
    desktop.windows[minimized].iconic = true;
    desktop.refusesFocus.insert(refusing);
    desktop.foreground = left;
    form.Dex[4] = {left};
    // Listed in another order than the screen's: the screen's order decides.
    form.Dex[2] = {back, front, refusing, minimized};
    desktop.zOrder = {left, minimized, refusing, front, back};

    form.GoZorvan(2);
    EXPECT_EQ(desktop.foreground, front);
    EXPECT_EQ(desktop.activations, (std::vector<WindowId>{refusing, front}));

    // A carried window is in front, so it keeps the focus.
    WindowId carried = front;
    form.GoZorvan(5, carried);
    EXPECT_EQ(desktop.foreground, carried);
}

TEST_F(Switching, AnEmptyDesktopOrOneOfMinimizedWindowsGivesTheFocusToTheShell) {
    desktop.shell = desktop.Add(L"Program Manager");
    WindowId here = desktop.Add(L"Here");
    WindowId minimized = desktop.Add(L"Minimized", false);
    desktop.windows[minimized].iconic = true;
    form.Dex[4] = {here};
    form.Dex[0] = {minimized};
    form.GoZorvan(0);
    EXPECT_EQ(desktop.foreground, desktop.shell);
    form.GoZorvan(8);
    EXPECT_EQ(desktop.activations, (std::vector<WindowId>{desktop.shell, desktop.shell}));
}

TEST_F(Switching, LockedSlotWithWrongOrEmptyAnswerChangesNothing) {
    WindowId here = desktop.Add(L"Here");
    form.Dex[4] = {here};
    form.SlotPasswords[6] = L"Open Sesame";
    for (std::wstring wrong : {L"", L"open sesame", L"Open Sesame ", L"Open"}) {
        view.log.clear();
        view.answer = wrong;
        form.GoZorvan(6);
        EXPECT_EQ(view.log, std::vector<std::wstring>{
                                L"InputDialog Locked Desktop! / Enter Password to Unlock"});
        EXPECT_EQ(form.CurrentSlot, 4);
        EXPECT_TRUE(desktop.shows.empty());
    }
}

TEST_F(Switching, LockedSlotOpensWithTheRightAnswerAndAsksAgainNextTime) {
    form.SlotPasswords[6] = L" two words ";
    view.answer = L" two words ";
    form.GoZorvan(6);
    EXPECT_EQ(form.CurrentSlot, 6);
    form.GoZorvan(4);
    view.log.clear();
    view.answer = L"";
    form.GoZorvan(6);
    EXPECT_EQ(form.CurrentSlot, 4);
    EXPECT_EQ(view.log.size(), 1u);
    EXPECT_EQ(form.SlotPasswords[6], L" two words ");
}

TEST_F(Switching, HeldOverviewHotkeyLeavesTheOverviewUp) {
    settings.Hotkeys[0] = KeyCombo{16, 17, 65};
    desktop.keysDown = {16, 17, 65};
    form.GoZorvan(3);
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.pointer, 3);
}

TEST_F(Switching, StaleHandlesArePassedOnHarmlessly) {
    form.Dex[4] = {0xdead0};
    form.Dex[0] = {0xbeef0};
    form.GoZorvan(0);
    EXPECT_EQ(form.CurrentSlot, 0);
    EXPECT_EQ(desktop.shows.size(), 2u);
}

TEST_F(Switching, ARequestRepeatedWhileEventsRunIsIgnored) {
    int nested = 0;
    view.onDoEvents = [&] {
        if (nested++ == 0) form.GoZorvan(2); // a key still held asks again
    };
    form.GoZorvan(2);
    EXPECT_EQ(form.CurrentSlot, 2);
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), L"Show"), 1);
}

} // namespace
} // namespace velt::testing
