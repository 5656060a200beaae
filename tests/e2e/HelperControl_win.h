#pragma once
// What a test asks of the helper program's windows.
#include "platform/Win32_win.h"

namespace velt::e2e {

// Posted: the helper stops answering until kWakeEventName is set (two minutes at most).
inline constexpr UINT kHangMessage = WM_APP + 1;
inline constexpr wchar_t kWakeEventName[] = L"VeltTestHelperWake";
// Sent: answers how many presses of the digits 1 to 9 the helper's windows have received.
inline constexpr UINT kDigitCountMessage = WM_APP + 2;

} // namespace velt::e2e
