#pragma once
// KeyControl: shows one key as text and picks a new one. A click arms it (highlight colours);
// while armed it looks at the keys every 10 ms and takes the highest code it finds down. The
// control always has its label's size, 855 x 255 twips.
#include "platform/Handles_win.h"
#include "platform/WindowDefinition.h"
#include "platform/Window_win.h"
#include "settings/KeyPicker.h"

#include <cstdint>
#include <string>

namespace velt {

class KeyControl final : public Window {
public:
    KeyControl(); // reads the keys with GetKeyState
    explicit KeyControl(KeyStateReader keyState);

    // Creates the control as a child of parent where its definition places it.
    bool Create(HWND parent, const ControlDefinition& definition);
    bool Create(HWND parent, int leftTwips, int topTwips);

    // Shows the key a text names by its code and stores it; false, keeping what was shown, when
    // the text is not a 16-bit number.
    bool Setkey(std::wstring_view code);
    // The stored code; false when none was ever stored.
    bool GetKey(std::int16_t& code) const { return m_picker.GetKey(code); }
    std::wstring Caption() const { return m_picker.Caption(); }
    bool Armed() const { return m_picker.Armed(); }

    static constexpr int kWidthTwips = 855;
    static constexpr int kHeightTwips = 255;
    static constexpr UINT kTickMilliseconds = 10;

protected:
    void OnTimer(UINT_PTR id) override;
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void lbl_Click();

    KeyPicker m_picker;
    KeyStateReader m_keyState;
    UniqueFont m_font;
    bool m_pressed = false; // the left button went down on the label
};

} // namespace velt
