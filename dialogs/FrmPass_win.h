#pragma once
// FrmPass: the modal password prompt, a window built from its definition. It is hidden except
// while InputDialog runs; its owner keeps it, and with it the last answer, for the whole run.
#include "controls/ctlVistorButton_win.h"
#include "platform/Form_win.h"

#include <string>

namespace velt {

class FrmPass final : public Form {
public:
    // Shows the prompt modally and on top; the text typed when the user accepted, exactly as
    // typed, or the empty text when the user cancelled or closed it. An owner stays disabled
    // meanwhile, and the prompt stays above it.
    std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt,
                             HWND owner = nullptr);
    // True while the prompt is on screen; the engine's poll rests meanwhile.
    bool PromptVisible() const { return Visible(); }

    // The answer of the last prompt.
    std::wstring DialogResult;

    Label Label1;
    TextBox Text1;
    ctlVistorButton Btn2;             // OK
    ctlVistorButton ctlVistorButton1; // Cancel

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Builds the window and its controls on first use; false when that is impossible.
    bool Load();
    void Btn2_Click();
    void ctlVistorButton1_Click();
};

} // namespace velt
