#pragma once
// Config.ini beside the executable, read into a settings record.
#include "settings/Settings.h"

#include <functional>
#include <string>

namespace velt {

// Who shows what the settings decide beyond the record: the "Switch to" caption and the skin.
struct SettingsTargets {
    std::function<void(const std::wstring& caption)> switchCaption;
    std::function<void(const std::wstring& skinPath)> skin;
};

// Reloads settings from Config.ini beside the executable, then hands the new "Switch to"
// caption and the skin path to the targets.
void LoadSettings(Settings& settings, const SettingsTargets& targets);

} // namespace velt
