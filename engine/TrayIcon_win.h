#pragma once
// The notification-area icon: the program's only permanent sign on screen.
#include "platform/Win32_win.h"

#include <shellapi.h>
#include <string>

namespace velt {

inline constexpr UINT kTrayCallbackMessage = 512; // arrives as a mouse move on the callback window
inline constexpr UINT kTrayIconId = 1;

// Adds the icon; the record is kept until RemoveTrayIcon. The icon handle becomes the record's.
void AddTrayIcon(HICON icon, HWND window, const std::wstring& tip);
// Destroys the icon and deletes it from the notification area; a second call does nothing.
void RemoveTrayIcon();
// Adds the recorded icon again, for when the taskbar was restarted and lost it.
void RestoreTrayIcon();
// The record as it was last filled, for inspection.
const NOTIFYICONDATAW& TrayIconRecord();

} // namespace velt
