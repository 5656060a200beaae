#include "dialogs/TrayMenu_win.h"

namespace velt {

TrayMenu::TrayMenu() {
    m_root.Append(kExit, L"Exit");
    m_root.AppendSeparator();
    m_root.Append(kAbout, L"About : [Created by Brenlow]");
    m_root.Append(kConfigure, L"Configure");
    m_root.AppendSeparator();
    Menu switchTo;
    m_switchTo = switchTo.get();
    m_root.AppendSubmenu(std::move(switchTo), L"Switch to");
    AddDesktopEntry(L"Desktop 1 -- (Alt + 1)");
}

void TrayMenu::AddDesktopEntry(const std::wstring& caption) {
    if (AppendMenuW(m_switchTo, MF_STRING, kDesktopBase + m_desktopEntries, caption.c_str()))
        ++m_desktopEntries;
}

std::wstring TrayMenu::DesktopCaption(int index) const {
    return m_root.Caption(kDesktopBase + index);
}

void TrayMenu::SetDesktopChecked(int index, bool checked) {
    m_root.SetChecked(kDesktopBase + index, checked);
}

bool TrayMenu::IsDesktopChecked(int index) const { return m_root.IsChecked(kDesktopBase + index); }

void TrayMenu::SetSwitchCaption(const std::wstring& caption) {
    m_root.SetCaptionAt(kSwitchPosition, caption);
}

std::wstring TrayMenu::SwitchCaption() const { return m_root.CaptionAt(kSwitchPosition); }

} // namespace velt
