#include "settings/LoadSettings_win.h"

#include "platform/App_win.h"
#include "platform/Ini_win.h"

namespace velt {

void LoadSettings(Settings& settings, const SettingsTargets& targets) {
    std::wstring folder = AppPath();
    std::wstring file = folder + L"\\Config.ini";
    std::wstring skin = SkinPath(folder, ReadIni(L"Main", L"Background", file));
    ReadSettings([&](const std::wstring& section,
                     const std::wstring& key) { return ReadIni(section, key, file); },
                 settings);
    if (targets.switchCaption) targets.switchCaption(SwitchToCaption(settings.Hotkeys[0]));
    if (targets.skin) targets.skin(skin);
}

} // namespace velt
