#pragma once
// What a test asks of the helper program's windows.
#include "platform/Win32_win.h"

namespace velt::e2e {

// Posted: the helper stops answering until kWakeEventName is set (two minutes at most).
inline constexpr UINT kHangMessage = WM_APP + 1;
inline constexpr wchar_t kWakeEventName[] = L"VeltTestHelperWake";

} // namespace velt::e2e
