#include "controls/Minuteur.h"
#include "tests/controls/FakeTimers.h"

#include <gtest/gtest.h>

#include <memory>

namespace velt::testing {
namespace {

class MinuteurTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(modMinuteur::RegisteredCount(), 0u); }
    FakeTimers timers;
};

TEST_F(MinuteurTest, TrueStartsOneTimerWithTheIntervalAndFalseKillsIt) {
    Minuteur m(timers);
    int ticks = 0;
    m.Action = [&] { ++ticks; };
    m.Intervalle(40);
    m.Actif(true);
    m.Actif(true);
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running[0].milliseconds, 40);
    EXPECT_EQ(timers.setCalls, 1);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 1u);

    timers.TickAll();
    timers.TickAll();
    EXPECT_EQ(ticks, 2);

    m.Actif(false);
    EXPECT_FALSE(m.Actif());
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(modMinuteur::RegisteredCount(), 0u);
}

TEST_F(MinuteurTest, ArmedWithoutTimerStaysSilentUntilRestarted) {
    Minuteur m(timers);
    int ticks = 0;
    m.Action = [&] { ++ticks; };
    m.Actif(true); // Intervalle 0
    EXPECT_TRUE(m.Actif());
    m.Intervalle(40);
    m.Actif(true);
    EXPECT_EQ(timers.setCalls, 0);
    timers.TickAll();
    EXPECT_EQ(ticks, 0);

    m.Actif(false);
    EXPECT_EQ(timers.killCalls, 0); // there was nothing to kill
    m.Actif(true);
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running[0].milliseconds, 40);
}

TEST_F(MinuteurTest, NewIntervalleAppliesOnlyAfterFalseThenTrue) {
    Minuteur m(timers);
    m.Intervalle(40);
    m.Actif(true);
    m.Intervalle(500);
    m.Actif(true);
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running[0].milliseconds, 40);
    m.Actif(false);
    m.Actif(true);
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running[0].milliseconds, 500);
}

TEST_F(MinuteurTest, RefusedTimerLeavesActifTrueAndNothingRegistered) {
    timers.refuse = true;
    Minuteur m(timers);
    int ticks = 0;
    m.Action = [&] { ++ticks; };
    m.Intervalle(40);
    m.Actif(true);
    EXPECT_TRUE(m.Actif());
    EXPECT_EQ(modMinuteur::RegisteredCount(), 0u);
    FakeTimers::Tick(0);
    EXPECT_EQ(ticks, 0);
}

TEST_F(MinuteurTest, HandlerSwitchingItsOwnTimerOffGetsNoFurtherTick) {
    Minuteur m(timers);
    int ticks = 0;
    m.Intervalle(40);
    m.Action = [&] {
        ++ticks;
        m.Actif(false);
    };
    m.Actif(true);
    std::uintptr_t id = timers.LastId();
    FakeTimers::Tick(id);
    FakeTimers::Tick(id); // already queued when the handler ran
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(timers.running.empty());
}

TEST_F(MinuteurTest, HandlerRestartingItsTimerGetsANewOne) {
    Minuteur m(timers);
    int ticks = 0;
    m.Intervalle(40);
    m.Action = [&] {
        ++ticks;
        m.Actif(false);
        m.Actif(true);
    };
    m.Actif(true);
    std::uintptr_t first = timers.LastId();
    FakeTimers::Tick(first);
    std::uintptr_t second = timers.LastId();
    EXPECT_NE(first, second);
    FakeTimers::Tick(first);
    FakeTimers::Tick(second);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 1u);
    m.Actif(false);
}

TEST_F(MinuteurTest, HandlerDestroyingItsOwnerReturnsCleanly) {
    struct Owner {
        explicit Owner(FakeTimers& t) : fade(t) {}
        Minuteur fade;
        int payload[16] = {};
    };
    auto owner = std::make_unique<Owner>(timers);
    int ticks = 0;
    owner->fade.Intervalle(40);
    owner->fade.Action = [&, self = owner.get()] {
        self->payload[0] = 1;
        owner.reset(); // the owner and its Minuteur go while the handler runs
        ++ticks;       // the handler's own captures are still there
    };
    owner->fade.Actif(true);
    std::uintptr_t id = timers.LastId();
    FakeTimers::Tick(id);
    FakeTimers::Tick(id);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(timers.running.empty());
}

TEST_F(MinuteurTest, TwoObjectsEachGetOnlyTheirOwnTicks) {
    Minuteur a(timers), b(timers);
    int ticksA = 0, ticksB = 0;
    a.Action = [&] { ++ticksA; };
    b.Action = [&] { ++ticksB; };
    a.Intervalle(40);
    b.Intervalle(100);
    a.Actif(true);
    std::uintptr_t idA = timers.LastId();
    b.Actif(true);
    std::uintptr_t idB = timers.LastId();
    FakeTimers::Tick(idA);
    FakeTimers::Tick(idA);
    FakeTimers::Tick(idB);
    EXPECT_EQ(ticksA, 2);
    EXPECT_EQ(ticksB, 1);

    a.Actif(false); // b's entry stays
    FakeTimers::Tick(idB);
    EXPECT_EQ(ticksB, 2);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 1u);
    b.Actif(false);
}

TEST_F(MinuteurTest, DestroyedRunningObjectGetsNoLateTick) {
    int ticks = 0;
    std::uintptr_t id = 0;
    {
        Minuteur m(timers);
        m.Action = [&] { ++ticks; };
        m.Intervalle(40);
        m.Actif(true);
        id = timers.LastId();
    }
    EXPECT_TRUE(timers.running.empty());
    FakeTimers::Tick(id); // queued before the object went
    EXPECT_EQ(ticks, 0);
}

TEST_F(MinuteurTest, UnregisteringAnAbsentAddressChangesNothing) {
    Minuteur a(timers), b(timers);
    a.Intervalle(40);
    a.Actif(true);
    modMinuteur::UnregisterTimer(&b);
    EXPECT_EQ(modMinuteur::RegisteredCount(), 1u);
    a.Actif(false);
}

} // namespace
} // namespace velt::testing
