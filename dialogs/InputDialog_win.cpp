#include "dialogs/InputDialog_win.h"

#include "dialogs/FrmPass_win.h"
#include "platform/WindowHelpers_win.h"

namespace velt {

namespace {

FrmPass& ThePrompt() {
    static FrmPass prompt;
    return prompt;
}

} // namespace

std::wstring& DialogResult() {
    static std::wstring result;
    return result;
}

bool PromptVisible() { return ThePrompt().Visible(); }

std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt) {
    FrmPass& window = ThePrompt();
    if (window.Visible() || !window.Load()) return {}; // one prompt at a time
    window.SetCaption(caption);
    window.Label1.SetCaption(prompt);
    window.Text1.SetText(L"");
    DialogResult().clear();
    MakeTopmost(window.hWnd());
    window.CentreOnScreen();
    window.ShowModal(nullptr);
    return DialogResult();
}

} // namespace velt
