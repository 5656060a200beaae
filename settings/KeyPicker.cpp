#include "settings/KeyPicker.h"

#include "platform/Numbers.h"
#include "settings/KeyName.h"

namespace velt {

std::optional<std::int16_t> ScanKeys(const KeyStateReader& keyState) {
    std::optional<std::int16_t> found;
    // The scan never stops early, so keys that went down in the same tick leave the highest.
    for (int code = kFirstCapturedCode; code <= kLastCapturedCode; ++code)
        if (keyState(code) < 0) found = static_cast<std::int16_t>(code);
    return found;
}

bool KeyPicker::Arm() {
    if (m_armed) return false;
    m_armed = true;
    return true;
}

bool KeyPicker::Tick(const KeyStateReader& keyState) {
    if (!m_armed) return false;
    std::optional<std::int16_t> code = ScanKeys(keyState);
    if (!code) return false;
    m_armed = false;
    Store(*code);
    return true;
}

bool KeyPicker::Setkey(std::wstring_view code) {
    std::int16_t value = 0;
    if (!ParseInt16(code, value)) return false;
    Store(value);
    return true;
}

bool KeyPicker::GetKey(std::int16_t& code) const { return ParseInt16(m_tag, code); }

void KeyPicker::Store(std::int16_t code) {
    m_caption = KeyName(code);
    m_tag = std::to_wstring(code);
}

} // namespace velt
