#pragma once
// Timer objects: any component can own one without a window. While Actif is true, Action is
// raised every Intervalle milliseconds. Every Minuteur shares one platform callback, which finds
// its object through a registry keyed by the platform's timer id (modMinuteur).
#include <cstddef>
#include <cstdint>
#include <functional>

namespace velt {

// The platform's thread timers: SetTimer with no window and the shared callback, and KillTimer.
class TimerPlatform {
public:
    virtual ~TimerPlatform() = default;
    // The new timer's id, or 0 when the platform refused.
    virtual std::uintptr_t SetTimer(std::int32_t milliseconds) = 0;
    virtual void KillTimer(std::uintptr_t id) = 0;
};

class Minuteur {
public:
    explicit Minuteur(TimerPlatform& platform);
    ~Minuteur();
    // The object's address is its identity towards the registry.
    Minuteur(const Minuteur&) = delete;
    Minuteur& operator=(const Minuteur&) = delete;

    bool Actif() const { return m_actif; }
    // True starts a platform timer only from not-true with a positive Intervalle; false kills it.
    // The flag takes the value either way, so Actif can read true with no timer running.
    void Actif(bool value);

    std::int32_t Intervalle() const { return m_intervalle; }
    // Only stored: a running timer keeps its period until Actif goes false and then true.
    void Intervalle(std::int32_t milliseconds) { m_intervalle = milliseconds; }

    // Raised on each tick while Actif is true. The handler may switch Actif or destroy the
    // Minuteur (and its owner).
    std::function<void()> Action;

private:
    friend void FireAction(Minuteur& timer);
    TimerPlatform& m_platform;
    bool m_actif = false;
    std::int32_t m_intervalle = 0;
    std::uintptr_t m_timerId = 0; // 0: no platform timer
};

// Raises Action if Actif is true; the shared callback's way in.
void FireAction(Minuteur& timer);

namespace modMinuteur {

// Adds the entry "M" + id holding the object's address, without owning the object. An id already
// present keeps its first entry.
void RegisterTimer(Minuteur* timer, std::uintptr_t id);
// Removes the first entry holding this address; an absent address changes nothing.
void UnregisterTimer(Minuteur* timer);
// The shared callback, with the platform's four arguments; only the id is used. An id without
// an entry is ignored.
void TimerProc(std::uintptr_t window, std::uint32_t message, std::uintptr_t id, std::uint32_t time);

std::size_t RegisteredCount();

} // namespace modMinuteur

} // namespace velt
