#include "imaging/HoverPlatform.h"
#include "imaging/aicAlphaImage.h"

#include <algorithm>
#include <vector>

namespace velt::AlphaImageTimers {

namespace {

struct Entry {
    std::uintptr_t id;
    aicAlphaImage* control; // borrowed: a control removes its entries before it goes
    Kind kind;
};

// Created on first use and never destroyed: a tick may arrive while statics are torn down.
std::vector<Entry>& Table() {
    static auto* table = new std::vector<Entry>();
    return *table;
}

std::vector<aicAlphaImage*>& Live() {
    static auto* live = new std::vector<aicAlphaImage*>();
    return *live;
}

} // namespace

void Register(std::uintptr_t id, aicAlphaImage* control, Kind kind) {
    auto& table = Table();
    auto found = std::find_if(table.begin(), table.end(),
                              [id](const Entry& e) { return e.id == id; });
    if (found != table.end()) *found = {id, control, kind};
    else table.push_back({id, control, kind});
}

void Unregister(std::uintptr_t id) {
    std::erase_if(Table(), [id](const Entry& e) { return e.id == id; });
}

void Tick(std::uintptr_t id) {
    aicAlphaImage* control = nullptr;
    Kind kind = Kind::HoverPoll;
    for (const Entry& entry : Table())
        if (entry.id == id) {
            control = entry.control;
            kind = entry.kind;
            break;
        }
    if (!control) return; // a tick of a timer already killed, or of a control already gone
    // Nothing of the table is touched after this: the handlers may destroy the control.
    if (kind == Kind::HoverPoll) control->HoverPoll();
    else control->FadeStep();
}

std::size_t Count() { return Table().size(); }

void AddLive(aicAlphaImage* control) { Live().push_back(control); }

void RemoveLive(aicAlphaImage* control) { std::erase(Live(), control); }

aicAlphaImage* FindLive(std::uintptr_t identity) {
    for (aicAlphaImage* control : Live())
        if (reinterpret_cast<std::uintptr_t>(control) == identity) return control;
    return nullptr;
}

} // namespace velt::AlphaImageTimers
