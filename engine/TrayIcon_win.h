#pragma once
// The notification-area icon: the program's only permanent sign on screen.
#include "platform/Handles_win.h"

#include <shellapi.h>
#include <string>

namespace velt {

inline constexpr UINT kTrayCallbackMessage = 512; // arrives as a mouse move on the callback window
inline constexpr UINT kTrayIconId = 1;

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { RemoveTrayIcon(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon, which the record keeps until RemoveTrayIcon. An icon added before is
    // removed first, so there is only ever one.
    void AddTrayIcon(UniqueIcon icon, HWND window, const std::wstring& tip);
    // Destroys the icon and deletes it from the notification area; a second call does nothing.
    void RemoveTrayIcon();
    // Adds the recorded icon again, for when the taskbar was restarted and lost it.
    void RestoreTrayIcon();
    // The record as it was last filled, for inspection.
    const NOTIFYICONDATAW& TrayIconRecord() const { return m_record; }

private:
    NOTIFYICONDATAW m_record{};
    UniqueIcon m_icon; // the record's hIcon
    bool m_added = false;
};

} // namespace velt
