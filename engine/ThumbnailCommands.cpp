#include "engine/ThumbnailCommands.h"

namespace velt {

void DexIcon_MouseDown(Form1& form, Form1View& view, int Index, int Button) {
    if (Index < 0 || Index >= kSlotCount || view.PromptVisible()) return;
    if (Button == 1) {
        form.GoZorvan(Index);
        return;
    }
    if (Button != 2) return;
    std::wstring& password = form.SlotPasswords[static_cast<size_t>(Index)];
    if (password.empty()) {
        // An empty answer or a cancel leaves the desktop unlocked.
        password = view.InputDialog(L"Lock Desktop!", L"Enter Password to Lock this Desktop");
        return;
    }
    // Only the right old password goes on; a wrong one ends it without a word.
    if (view.InputDialog(L"Locked Desktop!", L"This Desktop is already Locked") != password) return;
    password = view.InputDialog(L"Lock Desktop!", L"Enter the new Password");
}

} // namespace velt
