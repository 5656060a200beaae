#include "controls/Minuteur_win.h"
#include "platform/Win32_win.h"

#include <gtest/gtest.h>

#include <memory>

namespace velt {
namespace {

// Runs the message loop for about that long, as the program's own loop would.
void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
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
    Pump(600);
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
    Pump(500);
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
    Sleep(100); // a tick is due and waiting in the queue
    m.reset();
    Pump(200);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 0u);
}

} // namespace
} // namespace velt
