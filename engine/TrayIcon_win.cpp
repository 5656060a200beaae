#include "engine/TrayIcon_win.h"

#include <algorithm>

namespace velt {

void TrayIcon::AddTrayIcon(UniqueIcon icon, HWND window, const std::wstring& tip) {
    RemoveTrayIcon();
    m_icon = std::move(icon);
    m_record = NOTIFYICONDATAW{};
    // The first version of the record: the tip field holds 63 characters and a NUL.
    m_record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    m_record.hWnd = window;
    m_record.uID = kTrayIconId;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = kTrayCallbackMessage;
    m_record.hIcon = m_icon.get();
    size_t length = std::min<size_t>(tip.size(), 63);
    std::copy_n(tip.begin(), length, m_record.szTip);
    m_record.szTip[length] = L'\0';
    Shell_NotifyIconW(NIM_ADD, &m_record);
    m_added = true;
}

void TrayIcon::RemoveTrayIcon() {
    if (!m_added) return;
    m_added = false;
    m_icon.reset();
    Shell_NotifyIconW(NIM_DELETE, &m_record);
    m_record.hIcon = nullptr;
}

void TrayIcon::RestoreTrayIcon() {
    if (m_added) Shell_NotifyIconW(NIM_ADD, &m_record);
}

} // namespace velt
