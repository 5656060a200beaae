#include "dialogs/FrmPass_win.h"

#include "platform/Resources_win.h"
#include "platform/WindowHelpers_win.h"

namespace velt {

std::wstring FrmPass::InputDialog(const std::wstring& caption, const std::wstring& prompt,
                                  HWND owner) {
    if (Visible() || !Load()) return {}; // one prompt at a time
    SetCaption(caption);
    Label1.SetCaption(prompt);
    Text1.SetText(L"");
    DialogResult.clear();
    SetWindowLongPtrW(hWnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    MakeTopmost(hWnd());
    CentreOnScreen();
    ShowModal(owner);
    return DialogResult;
}

bool FrmPass::Load() {
    if (hWnd()) return true;
    std::optional<ControlDefinition> definition = LoadWindowDefinition(L"FrmPass");
    if (!definition ||
        !CreateFromDefinition(*definition, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME))
        return false;
    auto place = [&](auto& control, const wchar_t* name) {
        if (const ControlDefinition* placed = definition->Find(name))
            control.Create(hWnd(), *placed);
    };
    place(Label1, L"Label1");
    place(Text1, L"Text1");
    place(Btn2, L"Btn2");
    place(ctlVistorButton1, L"ctlVistorButton1");
    Btn2.Click = [this] { Btn2_Click(); };
    ctlVistorButton1.Click = [this] { ctlVistorButton1_Click(); };
    return true;
}

void FrmPass::Btn2_Click() {
    DialogResult = Text1.Text();
    Hide();
}

void FrmPass::ctlVistorButton1_Click() {
    DialogResult.clear();
    Hide();
}

LRESULT FrmPass::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && Text1.hWnd()) SetFocus(Text1.hWnd());
        return 0;
    case WM_COMMAND:
        // The modal loop turns Enter into IDOK and Escape into IDCANCEL. Only Enter in the
        // answer box means anything: it accepts, as OK does.
        if (LOWORD(wParam) == IDOK && GetFocus() == Text1.hWnd()) Btn2_Click();
        return 0;
    case WM_CLOSE: // the close box: no answer
        DialogResult.clear();
        Hide();
        return 0;
    }
    return Form::OnMessage(message, wParam, lParam);
}

} // namespace velt
