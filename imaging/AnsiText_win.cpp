#include "imaging/AnsiText.h"

#include "platform/Win32_win.h"

#include <climits>

namespace velt {

std::string ToAnsi(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX / 2) return {};
    const int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace velt
