#include "settings/LoadSettings_win.h"
#include "platform/App_win.h"
#include "platform/Ini_win.h"

namespace velt {

namespace {

SettingsTargets& Targets() {
    static SettingsTargets targets;
    return targets;
}

} // namespace

void SetSettingsTargets(SettingsTargets targets) { Targets() = std::move(targets); }

void LoadSettings() {
    std::wstring folder = AppPath();
    std::wstring file = folder + L"\\Config.ini";
    std::wstring skin = SkinPath(folder, ReadIni(L"Main", L"Background", file));
    Settings& settings = TheSettings();
    ReadSettings([&](const std::wstring& section,
                     const std::wstring& key) { return ReadIni(section, key, file); },
                 settings);
    if (Targets().switchCaption) Targets().switchCaption(SwitchToCaption(settings.Hotkeys[0]));
    if (Targets().skin) Targets().skin(skin);
}

} // namespace velt
