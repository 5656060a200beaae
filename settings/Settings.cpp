#include "settings/Settings.h"

#include "platform/Numbers.h"
#include "settings/KeyName.h"

namespace velt {

std::wstring SwitchToCaption(const KeyCombo& hotkey) {
    return L"Switch to -- " + KeyName(hotkey.Control) + L"+" + KeyName(hotkey.Shift) + L"+" +
           KeyName(hotkey.Alt);
}

void ReadSettings(const IniRead& read, Settings& settings) {
    settings.CornerSensitive = read(L"Main", L"Corner") == L"True";
    for (int slot = 0; slot < 4; ++slot) {
        std::wstring number = std::to_wstring(slot);
        KeyCombo& keys = settings.Hotkeys[static_cast<size_t>(slot)];
        ParseInt16(read(L"Keys", L"Control" + number), keys.Control);
        ParseInt16(read(L"Keys", L"Shift" + number), keys.Shift);
        ParseInt16(read(L"Keys", L"Alt" + number), keys.Alt);
    }
}

std::wstring SkinPath(const std::wstring& appFolder, const std::wstring& background) {
    return appFolder + L"\\skin\\" + background;
}

} // namespace velt
