#pragma once
// The notification-area menu: Exit, About, Configure and "Switch to" with one entry per desktop.
// It is hidden until the tray icon pops it up, and keeps its entries for the whole run: the
// main window owns it.
#include "platform/Menu_win.h"

#include <string>

namespace velt {

class TrayMenu {
public:
    static constexpr UINT kExit = 1;          // mnext
    static constexpr UINT kAbout = 2;         // mnabt
    static constexpr UINT kConfigure = 3;     // mnopt
    static constexpr UINT kDesktopBase = 100; // mdsk(n) is kDesktopBase + n

    TrayMenu();

    // Creates the next desktop entry, mdsk(DesktopEntryCount()).
    void AddDesktopEntry(const std::wstring& caption);
    int DesktopEntryCount() const { return m_desktopEntries; }
    std::wstring DesktopCaption(int index) const;
    void SetDesktopChecked(int index, bool checked);
    bool IsDesktopChecked(int index) const;

    void SetSwitchCaption(const std::wstring& caption); // mnsw
    std::wstring SwitchCaption() const;
    std::wstring Caption(UINT id) const { return m_root.Caption(id); }

    // Pops up root at the cursor; the chosen command, or 0.
    UINT Popup(HWND owner) const { return m_root.PopupAtCursor(owner); }
    HMENU root() const { return m_root.get(); }

private:
    static constexpr UINT kSwitchPosition =
        5; // "Switch to" sits after Exit, -, About, Configure, -
    Menu m_root;
    HMENU m_switchTo = nullptr; // owned by m_root
    int m_desktopEntries = 0;
};

} // namespace velt
