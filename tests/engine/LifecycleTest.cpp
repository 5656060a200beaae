#include "tests/engine/EngineFixture.h"

namespace velt::testing {
namespace {

using Lifecycle = EngineTest;

TEST_F(Lifecycle, StartsOnTheCentreDesktopWithEveryWindowThere) {
    EXPECT_EQ(form.CurrentSlot, 4);
    WindowId a = desktop.Add(L"A"), b = desktop.Add(L"B");
    Poll();
    EXPECT_EQ(form.Dex[4], (std::vector<WindowId>{a, b}));
}

TEST_F(Lifecycle, ExitShowsUnlockedDesktopsAndLeavesLockedOnesHidden) {
    WindowId here = desktop.Add(L"Here");
    // The others open later, each on its own desktop.
    WindowId open1 = desktop.Add(L"Open 1", false), open2 = desktop.Add(L"Open 2", false);
    WindowId locked1 = desktop.Add(L"Locked 1", false), locked2 = desktop.Add(L"Locked 2", false);
    Poll();
    form.GoZorvan(0);
    desktop.windows[open1].visible = desktop.windows[open2].visible = true;
    Poll();
    form.GoZorvan(2);
    desktop.windows[locked1].visible = desktop.windows[locked2].visible = true;
    Poll();
    form.GoZorvan(4);
    form.SlotPasswords[2] = L"pw";
    form.Dex[0].push_back(0xdead0); // closed meanwhile

    form.Form_Terminate();

    EXPECT_TRUE(desktop.Visible(here));
    EXPECT_TRUE(desktop.Visible(open1) && desktop.Visible(open2));
    EXPECT_FALSE(desktop.Visible(locked1) || desktop.Visible(locked2));
    EXPECT_EQ(view.log.back(), L"RemoveTrayIcon");
}

TEST_F(Lifecycle, TerminatingTwiceHasNoFurtherEffect) {
    form.Dex[1] = {desktop.Add(L"A", false)};
    form.Form_Terminate();
    size_t shows = desktop.shows.size();
    size_t entries = view.log.size();
    form.Form_Terminate();
    EXPECT_EQ(desktop.shows.size(), shows);
    EXPECT_EQ(view.log.size(), entries);
}

} // namespace
} // namespace velt::testing
