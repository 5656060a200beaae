#include "settings/Settings.h"

#include "settings/KeyName.h"

#include <cwctype>

namespace velt {

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

bool ParseInt16(std::wstring_view text, std::int16_t& value) {
    size_t at = 0;
    while (at < text.size() && std::iswspace(text[at])) ++at;
    size_t end = text.size();
    while (end > at && std::iswspace(text[end - 1])) --end;
    bool negative = false;
    if (at < end && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
    if (at == end) return false;
    long number = 0;
    for (; at < end; ++at) {
        if (text[at] < L'0' || text[at] > L'9') return false;
        number = number * 10 + (text[at] - L'0');
        if (number > 32768) return false; // stops long digit runs from overflowing
    }
    if (negative) number = -number;
    if (number < -32768 || number > 32767) return false;
    value = static_cast<std::int16_t>(number);
    return true;
}

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
