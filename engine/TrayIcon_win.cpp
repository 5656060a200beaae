#include "engine/TrayIcon_win.h"

#include <algorithm>

namespace velt {

namespace {

NOTIFYICONDATAW g_record{};
bool g_added = false;

} // namespace

void AddTrayIcon(HICON icon, HWND window, const std::wstring& tip) {
    g_record = NOTIFYICONDATAW{};
    // The first version of the record: the tip field holds 63 characters and a NUL.
    g_record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    g_record.hWnd = window;
    g_record.uID = kTrayIconId;
    g_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_record.uCallbackMessage = kTrayCallbackMessage;
    g_record.hIcon = icon;
    size_t length = std::min<size_t>(tip.size(), 63);
    std::copy_n(tip.begin(), length, g_record.szTip);
    g_record.szTip[length] = L'\0';
    Shell_NotifyIconW(NIM_ADD, &g_record);
    g_added = true;
}

void RemoveTrayIcon() {
    if (!g_added) return;
    g_added = false;
    if (g_record.hIcon) DestroyIcon(g_record.hIcon);
    Shell_NotifyIconW(NIM_DELETE, &g_record);
    g_record.hIcon = nullptr;
}

void RestoreTrayIcon() {
    if (g_added) Shell_NotifyIconW(NIM_ADD, &g_record);
}

const NOTIFYICONDATAW& TrayIconRecord() { return g_record; }

} // namespace velt
