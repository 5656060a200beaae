#include "platform/Menu_win.h"

#include <vector>

namespace velt {

namespace {

std::wstring ItemCaption(HMENU menu, UINT item, bool byPosition) {
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu, item, byPosition, &info)) return {};
    std::vector<wchar_t> text(info.cch + 1);
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoW(menu, item, byPosition, &info)) return {};
    return std::wstring(text.data(), info.cch);
}

void SetItemCaption(HMENU menu, UINT item, bool byPosition, const std::wstring& caption) {
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    SetMenuItemInfoW(menu, item, byPosition, &info);
}

} // namespace

Menu::Menu() : m_menu(CreatePopupMenu()) {}

void Menu::Append(UINT id, const std::wstring& caption) {
    AppendMenuW(m_menu.get(), MF_STRING, id, caption.c_str());
}

void Menu::AppendSeparator() { AppendMenuW(m_menu.get(), MF_SEPARATOR, 0, nullptr); }

void Menu::AppendSubmenu(Menu&& submenu, const std::wstring& caption) {
    if (AppendMenuW(m_menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()),
                    caption.c_str()))
        submenu.m_menu.release();
}

void Menu::SetCaption(UINT id, const std::wstring& caption) {
    SetItemCaption(m_menu.get(), id, false, caption);
}

void Menu::SetCaptionAt(UINT position, const std::wstring& caption) {
    SetItemCaption(m_menu.get(), position, true, caption);
}

std::wstring Menu::Caption(UINT id) const { return ItemCaption(m_menu.get(), id, false); }

std::wstring Menu::CaptionAt(UINT position) const {
    return ItemCaption(m_menu.get(), position, true);
}

void Menu::SetChecked(UINT id, bool checked) {
    CheckMenuItem(m_menu.get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool Menu::IsChecked(UINT id) const {
    UINT state = GetMenuState(m_menu.get(), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

int Menu::ItemCount() const { return GetMenuItemCount(m_menu.get()); }

UINT Menu::PopupAtCursor(HWND owner) const {
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere; the
    // WM_NULL afterwards makes the next click on the tray icon work the first time.
    SetForegroundWindow(owner);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(m_menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    return chosen;
}

} // namespace velt
