#pragma once
// Popup menus: items with captions and check marks, submenus, shown at the cursor.
#include "platform/Handles_win.h"

#include <string>

namespace velt {

class Menu {
public:
    Menu();
    HMENU get() const { return m_menu.get(); }

    void Append(UINT id, const std::wstring& caption);
    void AppendSeparator();
    // The submenu's native menu then belongs to this one and is destroyed with it.
    void AppendSubmenu(Menu&& submenu, const std::wstring& caption);

    void SetCaption(UINT id, const std::wstring& caption);
    void SetCaptionAt(UINT position, const std::wstring& caption);
    std::wstring Caption(UINT id) const;
    std::wstring CaptionAt(UINT position) const;
    void SetChecked(UINT id, bool checked);
    bool IsChecked(UINT id) const;
    int ItemCount() const;

    // Shows the menu at the cursor for owner and blocks until it closes; the chosen item's id,
    // or 0 when nothing was chosen.
    UINT PopupAtCursor(HWND owner) const;

private:
    UniqueMenu m_menu;
};

} // namespace velt
