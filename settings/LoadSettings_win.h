#pragma once
// Config.ini beside the executable, read into the settings record.
#include "settings/Settings.h"

#include <functional>
#include <string>

namespace velt {

// Reloads TheSettings() from Config.ini beside the executable, then hands the new "Switch to"
// caption and the skin path to whoever registered for them.
void LoadSettings();

struct SettingsTargets {
    std::function<void(const std::wstring& caption)> switchCaption;
    std::function<void(const std::wstring& skinPath)> skin;
};
void SetSettingsTargets(SettingsTargets targets);

} // namespace velt
