#pragma once
// Thread timers in memory: ids are handed out as the platform would, and a test delivers ticks
// through the shared callback.
#include "controls/Minuteur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velt::testing {

class FakeTimers final : public TimerPlatform {
public:
    struct Timer {
        std::uintptr_t id;
        std::int32_t milliseconds;
    };

    std::uintptr_t SetTimer(std::int32_t milliseconds) override {
        ++setCalls;
        if (refuse) return 0;
        running.push_back({m_nextId, milliseconds});
        return m_nextId++;
    }
    void KillTimer(std::uintptr_t id) override {
        ++killCalls;
        std::erase_if(running, [&](const Timer& timer) { return timer.id == id; });
    }

    // One tick of every running timer, as the message loop would deliver them.
    void TickAll() {
        std::vector<Timer> due = running;
        for (const Timer& timer : due) Tick(timer.id);
    }
    static void Tick(std::uintptr_t id) { modMinuteur::TimerProc(0, 0x113, id, 0); }

    std::uintptr_t LastId() const { return running.empty() ? 0 : running.back().id; }

    std::vector<Timer> running;
    int setCalls = 0;
    int killCalls = 0;
    bool refuse = false;

private:
    std::uintptr_t m_nextId = 13;
};

} // namespace velt::testing
