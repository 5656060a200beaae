#include "imaging/AnsiText.h"

namespace velt {

std::string ToAnsi(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(c >= 0 && c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

} // namespace velt
