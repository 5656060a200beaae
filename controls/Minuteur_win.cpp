// The system's thread timers behind Minuteur: no window, one shared callback.
#include "controls/Minuteur_win.h"

#include "platform/Win32_win.h"

namespace velt {

namespace {

VOID CALLBACK SystemTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time) {
    try {
        modMinuteur::TimerProc(reinterpret_cast<std::uintptr_t>(window), message, id, time);
    } catch (...) {
        // nothing may unwind through user32: this tick is lost, the next one comes
    }
}

class Win32Timers final : public TimerPlatform {
public:
    std::uintptr_t SetTimer(std::int32_t milliseconds) override {
        return ::SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), SystemTimerProc);
    }
    void KillTimer(std::uintptr_t id) override { ::KillTimer(nullptr, id); }
};

} // namespace

TimerPlatform& SystemTimers() {
    // Never destroyed: a Minuteur living in a static may outlast any other static.
    static auto* timers = new Win32Timers();
    return *timers;
}

} // namespace velt
