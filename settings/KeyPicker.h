#pragma once
// What the hotkey picker (KeyControl) knows without a window: the key it shows, whether it is
// armed, and the capture rule of each tick while it is armed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace velt {

// The codes a capture looks at, in this order: mouse buttons through F9.
inline constexpr int kFirstCapturedCode = 0;
inline constexpr int kLastCapturedCode = 120;

// The platform's answer for one virtual key, as GetKeyState gives it: negative while it is down.
using KeyStateReader = std::function<std::int16_t(int code)>;

// Every code from 0 to 120 is asked, in ascending order; the highest one down wins. Nothing when
// none is down.
std::optional<std::int16_t> ScanKeys(const KeyStateReader& keyState);

class KeyPicker {
public:
    // The caption shown, "None" until a code is set or captured.
    const std::wstring& Caption() const { return m_caption; }
    bool Armed() const { return m_armed; }

    // A click: arms an idle picker and returns true; an armed one stays as it is.
    bool Arm();
    // One capture tick of an armed picker: true when a key was captured, which disarms it.
    bool Tick(const KeyStateReader& keyState);

    // Shows and stores the code a text holds; false, keeping what was shown, when the text is not
    // a 16-bit number. Works armed or not and leaves a capture running.
    bool Setkey(std::wstring_view code);
    // The stored code; false when none was ever stored.
    bool GetKey(std::int16_t& code) const;

private:
    void Store(std::int16_t code);

    std::wstring m_caption = L"None";
    std::wstring m_tag; // the stored code as decimal text; empty until the first one
    bool m_armed = false;
};

} // namespace velt
