#include "settings/KeyName.h"

namespace velt {

std::wstring KeyName(int code) {
    switch (code) {
    case 1: return L"L-Click";
    case 2: return L"R-Click";
    case 8: return L"Back";
    case 13: return L"Return";
    case 16: return L"Shift";
    case 17: return L"Ctrl";
    case 18: return L"Alt";
    case 27: return L"Escape";
    case 32: return L"Space";
    case 37: return L"Left";
    case 38: return L"Up";
    case 39: return L"Right";
    case 40: return L"Down";
    case 192: return L"`";
    }
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(code));
    if (code >= 112 && code <= 123) return L"F" + std::to_wstring(code - 111);
    return {};
}

} // namespace velt
