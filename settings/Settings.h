#pragma once
// The settings record and how Config.ini turns into it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace velt {

// Three virtual-key codes; 0 means no key. The names are positions, not keys: shown in the order
// Control, Shift, Alt.
struct KeyCombo {
    std::int16_t Shift = 0;
    std::int16_t Control = 0;
    std::int16_t Alt = 0;
};

struct Settings {
    std::array<KeyCombo, 4> Hotkeys{}; // 0 is the overview hotkey; 1 to 3 are kept, never used
    bool CornerSensitive = false;      // switch desktops on resting at a screen edge
};

// "Switch to -- " and the hotkey's three key names joined by "+".
std::wstring SwitchToCaption(const KeyCombo& hotkey);

// Reads Main/Corner and the twelve Keys values through read(section, key) into settings: only the
// exact text "True" is true; a value that does not parse leaves its field as it was.
using IniRead = std::function<std::wstring(const std::wstring& section, const std::wstring& key)>;
void ReadSettings(const IniRead& read, Settings& settings);

// The skin image for a folder and a stored name: folder + "\skin\" + name.
std::wstring SkinPath(const std::wstring& appFolder, const std::wstring& background);

} // namespace velt
