#include "platform/Numbers.h"

#include <cwctype>

namespace velt {

bool ParseInt16(std::wstring_view text, std::int16_t& value) {
    size_t at = 0;
    while (at < text.size() && std::iswspace(text[at])) ++at;
    size_t end = text.size();
    while (end > at && std::iswspace(text[end - 1])) --end;
    bool negative = false;
    if (at < end && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
    if (at == end) return false;
    long number = 0;
    for (; at < end; ++at) {
        if (text[at] < L'0' || text[at] > L'9') return false;
        number = number * 10 + (text[at] - L'0');
        if (number > 32768) return false; // stops long digit runs from overflowing
    }
    if (negative) number = -number;
    if (number < -32768 || number > 32767) return false;
    value = static_cast<std::int16_t>(number);
    return true;
}

} // namespace velt
