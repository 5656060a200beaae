#pragma once
// FrmPass: the password prompt's window, built from its definition. It is hidden except while
// InputDialog runs.
#include "controls/ctlVistorButton_win.h"
#include "platform/Form_win.h"

namespace velt {

class FrmPass final : public Form {
public:
    // Builds the window and its controls on first use; false when that is impossible.
    bool Load();

    Label Label1;
    TextBox Text1;
    ctlVistorButton Btn2;             // OK
    ctlVistorButton ctlVistorButton1; // Cancel

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Btn2_Click();
    void ctlVistorButton1_Click();
};

} // namespace velt
