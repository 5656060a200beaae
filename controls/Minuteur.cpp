#include "controls/Minuteur.h"

#include <algorithm>
#include <string>
#include <vector>

namespace velt {

namespace {

struct Entry {
    std::string key; // "M" + decimal timer id
    Minuteur* timer; // borrowed: the object removes its entry before it goes
};

// Created on first use and never destroyed: a tick may arrive while statics are torn down.
std::vector<Entry>& Registry() {
    static auto* registry = new std::vector<Entry>();
    return *registry;
}

std::string KeyOf(std::uintptr_t id) {
    std::string key = "M";
    key += std::to_string(id);
    return key;
}

} // namespace

Minuteur::Minuteur(TimerPlatform& platform) : m_platform(platform) {}

Minuteur::~Minuteur() {
    if (m_timerId >= 1) {
        m_platform.KillTimer(m_timerId);
        modMinuteur::UnregisterTimer(this);
    }
}

void Minuteur::Actif(bool value) {
    if (value) {
        if (!m_actif && m_intervalle > 0) {
            m_timerId = m_platform.SetTimer(m_intervalle);
            if (m_timerId != 0) modMinuteur::RegisterTimer(this, m_timerId);
        }
    } else if (m_actif && m_timerId > 0) {
        m_platform.KillTimer(m_timerId);
        modMinuteur::UnregisterTimer(this);
        m_timerId = 0;
    }
    m_actif = value;
}

void FireAction(Minuteur& timer) {
    if (!timer.m_actif) return;
    // A copy: the handler may destroy the Minuteur, and with it the stored function.
    std::function<void()> action = timer.Action;
    if (action) action();
}

namespace modMinuteur {

void RegisterTimer(Minuteur* timer, std::uintptr_t id) {
    std::string key = KeyOf(id);
    auto& registry = Registry();
    bool taken = std::any_of(registry.begin(), registry.end(),
                             [&](const Entry& entry) { return entry.key == key; });
    if (!taken) registry.push_back({std::move(key), timer});
}

void UnregisterTimer(Minuteur* timer) {
    auto& registry = Registry();
    auto found = std::find_if(registry.begin(), registry.end(),
                              [&](const Entry& entry) { return entry.timer == timer; });
    if (found != registry.end()) registry.erase(found);
}

void TimerProc(std::uintptr_t, std::uint32_t, std::uintptr_t id, std::uint32_t) {
    std::string key = KeyOf(id);
    Minuteur* timer = nullptr;
    for (const Entry& entry : Registry())
        if (entry.key == key) {
            timer = entry.timer;
            break;
        }
    if (!timer) return; // a tick of a timer already killed, or of someone else's
    // Nothing of the object or the registry is touched after this: the handler may have
    // switched the timer off or destroyed its owner.
    FireAction(*timer);
}

std::size_t RegisteredCount() { return Registry().size(); }

} // namespace modMinuteur

} // namespace velt
