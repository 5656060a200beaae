#include "controls/Minuteur_win.h"
#include "platform/Win32_win.h"
#include "tests/support/Gui_win.h"

#include <gtest/gtest.h>

#include <memory>

namespace velt {
namespace {

// Another timer of the same period, ticking a few times as a sign that the message loop has
// run long enough for a timer that was not stopped to tick too.
void PumpWhileAWitnessTicks(int ticks) {
    Minuteur witness(SystemTimers());
    int seen = 0;
    witness.Intervalle(20);
    witness.Action = [&] { ++seen; };
    witness.Actif(true);
    testing::PumpUntil([&] { return seen >= ticks; });
}

TEST(MinuteurOnSystemTimers, TicksWhileActifAndStopsWhenSwitchedOffInsideAction) {
    Minuteur m(SystemTimers());
    int ticks = 0;
    m.Intervalle(20);
    m.Action = [&] {
        if (++ticks == 3) m.Actif(false);
    };
    m.Actif(true);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 1u);
    testing::PumpUntil([&] { return !m.Actif(); });
    PumpWhileAWitnessTicks(3);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(m.Actif());
    EXPECT_EQ(modMinuteur::RegisteredCount(), 0u);
}

TEST(MinuteurOnSystemTimers, TwoObjectsTickSideBySide) {
    Minuteur fast(SystemTimers()), slow(SystemTimers());
    int fastTicks = 0, slowTicks = 0;
    fast.Action = [&] { ++fastTicks; };
    slow.Action = [&] { ++slowTicks; };
    fast.Intervalle(20);
    slow.Intervalle(150);
    fast.Actif(true);
    slow.Actif(true);
    testing::PumpUntil([&] { return slowTicks >= 2; });
    fast.Actif(false);
    slow.Actif(false);
    EXPECT_GT(fastTicks, slowTicks);
    EXPECT_GE(slowTicks, 1);
}

TEST(MinuteurOnSystemTimers, ADestroyedRunningObjectGetsNoLateTick) {
    int ticks = 0;
    auto m = std::make_unique<Minuteur>(SystemTimers());
    m->Intervalle(20);
    m->Action = [&] { ++ticks; };
    m->Actif(true);
    MSG due;
    ASSERT_TRUE(testing::WaitUntil(
        [&] { return PeekMessageW(&due, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE; }));
    m.reset();
    PumpWhileAWitnessTicks(3);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 0u);
}

} // namespace
} // namespace velt
