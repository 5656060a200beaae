// The PNG property store of cPNGwriter: how texts, keywords, dates and numbers are accepted.
#include "imaging/PngWriter.h"

#include "imaging/AnsiText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>

namespace velt {

namespace {

constexpr std::wstring_view kKeywords[cPNGwriter::kStandardTexts] = {
    L"Title",    L"Author",     L"Description", L"Copyright", L"Creation Time",
    L"Software", L"Disclaimer", L"Warning",     L"Source",    L"Comment"};
constexpr size_t kTimeSlot = cPNGwriter::kStandardTexts;
constexpr size_t kMaxTextLength = 32700;
constexpr size_t kMaxKeywordLength = 79;
constexpr uint32_t kKnownIds = 0x3FFF;

// The slot of a standard text id (one bit of 1 ... 512), or -1.
int SlotOf(int32_t id) {
    for (int slot = 0; slot < cPNGwriter::kStandardTexts; ++slot)
        if (id == (1 << slot)) return slot;
    return -1;
}

wchar_t FoldCase(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<wchar_t>(c + 32);
    return c;
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

// At most 32700 characters, line ends as LF; a value with any other control character is
// dropped whole, so that no chunk carries one.
std::wstring NormaliseText(std::wstring_view value) {
    value = value.substr(0, std::min(value.size(), kMaxTextLength));
    std::wstring text;
    text.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        wchar_t c = value[i];
        if (c == L'\r') {
            if (i + 1 < value.size() && value[i + 1] == L'\n') ++i;
            c = L'\n';
        }
        if (c < 32 && c != L'\t' && c != L'\n') return {};
        text.push_back(c);
    }
    return text;
}

// A caption as a PNG keyword: no more than 79 characters, no spaces at the ends or two in a
// row, only printable Latin-1 in the code page. No-break spaces count as spaces before the
// spaces are tidied, so that none of them survives as a leading or doubled space.
bool NormaliseKeyword(std::wstring_view caption, std::wstring& keyword) {
    keyword.assign(caption.substr(0, std::min(caption.size(), kMaxKeywordLength)));
    std::replace(keyword.begin(), keyword.end(), wchar_t{0xA0}, L' ');
    const size_t first = keyword.find_first_not_of(L' ');
    if (first == std::wstring::npos) return false;
    keyword = keyword.substr(first, keyword.find_last_not_of(L' ') - first + 1);
    keyword.erase(std::unique(keyword.begin(), keyword.end(),
                              [](wchar_t a, wchar_t b) { return a == L' ' && b == L' '; }),
                  keyword.end());
    const std::string bytes = ToAnsi(keyword);
    return !bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](char ch) {
        const auto b = static_cast<uint8_t>(ch);
        return (b >= 32 && b <= 126) || b >= 161;
    });
}

// The standard id a keyword names, or 0.
int32_t StandardIdNamed(std::wstring_view keyword) {
    for (int slot = 0; slot < cPNGwriter::kStandardTexts; ++slot)
        if (SameIgnoringCase(keyword, kKeywords[slot])) return 1 << slot;
    return 0;
}

std::wstring FormatDate(const PngDate& d) {
    wchar_t text[40];
    std::swprintf(text, 40, L"%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute, d.second);
    return text;
}

bool ValidDate(const PngDate& d) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12) return false;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day >= 1 && d.day <= days && d.hour >= 0 && d.hour < 24 && d.minute >= 0 &&
           d.minute < 60 && d.second >= 0 && d.second < 60;
}

// "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS" ('/' and 'T' also accepted).
bool ParseDate(std::wstring_view text, PngDate& date) {
    const std::wstring s(text);
    PngDate d{};
    d.hour = d.minute = d.second = 0;
    wchar_t dateSeparator = 0, dateSeparator2 = 0, timeSeparator = 0;
    int used = 0;
    const int fields = std::swscanf(s.c_str(), L"%4d%lc%2d%lc%2d%n", &d.year, &dateSeparator,
                                    &d.month, &dateSeparator2, &d.day, &used);
    if (fields != 5 || (dateSeparator != L'-' && dateSeparator != L'/') ||
        dateSeparator2 != dateSeparator)
        return false;
    std::wstring_view rest = text.substr(static_cast<size_t>(used));
    if (!rest.empty()) {
        if (rest[0] != L' ' && rest[0] != L'T') return false;
        const std::wstring time(rest.substr(1));
        int timeUsed = 0;
        wchar_t secondSeparator = 0;
        int n = std::swscanf(time.c_str(), L"%2d%lc%2d%n%lc%2d%n", &d.hour, &timeSeparator,
                             &d.minute, &timeUsed, &secondSeparator, &d.second, &timeUsed);
        if (n < 3 || timeSeparator != L':' || (n >= 4 && (n != 5 || secondSeparator != L':')) ||
            static_cast<size_t>(timeUsed) != time.size())
            return false;
    }
    if (!ValidDate(d)) return false;
    date = d;
    return true;
}

bool ToText(const PngPropertyValue& value, std::wstring& text) {
    if (const auto* s = std::get_if<std::wstring>(&value)) {
        text = *s;
    } else if (const auto* i = std::get_if<int32_t>(&value)) {
        text = std::to_wstring(*i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        if (!std::isfinite(*d)) return false;
        wchar_t buffer[64];
        std::swprintf(buffer, 64, L"%.15g", *d);
        text = buffer;
    } else if (const auto* date = std::get_if<PngDate>(&value)) {
        text = FormatDate(*date);
    } else {
        return false; // null
    }
    return true;
}

bool ToLong(const PngPropertyValue& value, int32_t& number) {
    double d;
    if (const auto* i = std::get_if<int32_t>(&value)) {
        number = *i;
        return true;
    } else if (const auto* real = std::get_if<double>(&value)) {
        d = *real;
    } else if (const auto* s = std::get_if<std::wstring>(&value)) {
        const std::wstring text(*s);
        wchar_t* end = nullptr;
        d = std::wcstod(text.c_str(), &end);
        while (end && *end == L' ') ++end;
        if (text.empty() || !end || *end != 0) return false;
    } else {
        return false;
    }
    d = std::nearbyint(d); // halves to even
    if (!(d >= INT32_MIN && d <= INT32_MAX)) return false;
    number = static_cast<int32_t>(d);
    return true;
}

} // namespace

std::wstring_view StandardKeyword(int32_t id) {
    const int slot = SlotOf(id);
    return slot < 0 ? std::wstring_view{} : kKeywords[slot];
}

PngDate cPNGwriter::ModifiedTime() const {
    PngDate date;
    if (m_setMask & pngModifiedTime) ParseDate(m_texts[kTimeSlot], date);
    return date;
}

bool cPNGwriter::SetProperty(int32_t id, const PngPropertyValue& value, std::wstring_view caption) {
    if (id <= 0 || (static_cast<uint32_t>(id) & ~kKnownIds) || (id & (id - 1))) return false;
    if (id == pngCustomText) {
        std::wstring keyword, text;
        if (!NormaliseKeyword(caption, keyword)) return false;
        if (int32_t standard = StandardIdNamed(keyword)) return SetProperty(standard, value);
        if (!ToText(value, text)) return false;
        text = NormaliseText(text);
        auto same = std::find_if(m_custom.begin(), m_custom.end(), [&](const CustomText& entry) {
            return SameIgnoringCase(entry.keyword, keyword);
        });
        if (same != m_custom.end()) same->text = std::move(text);
        else m_custom.push_back({std::move(keyword), std::move(text)});
    } else if (id == pngModifiedTime) {
        PngDate date;
        if (const auto* given = std::get_if<PngDate>(&value)) date = *given;
        else if (const auto* text = std::get_if<std::wstring>(&value);
                 !text || !ParseDate(*text, date))
            return false;
        if (!ValidDate(date)) return false;
        m_texts[kTimeSlot] = FormatDate(date);
    } else if (id == pngBackground || id == pngFilter) {
        int32_t number;
        if (!ToLong(value, number)) return false;
        if (id == pngBackground) m_background = static_cast<uint32_t>(number) & 0xFFFFFF;
        else m_filter = number;
    } else {
        std::wstring text;
        if (!ToText(value, text)) return false;
        m_texts[static_cast<size_t>(SlotOf(id))] = NormaliseText(text);
    }
    m_setMask |= static_cast<uint32_t>(id);
    return true;
}

bool cPNGwriter::RemoveProperty(int32_t id, std::wstring_view caption) {
    if (id <= 0 || (static_cast<uint32_t>(id) & ~kKnownIds) || (id & (id - 1))) return false;
    if (id == pngCustomText) {
        std::wstring keyword;
        if (!NormaliseKeyword(caption, keyword)) return false;
        if (int32_t standard = StandardIdNamed(keyword)) return RemoveProperty(standard);
        // Removal matches the keyword exactly, letter case included.
        auto same = std::find_if(m_custom.begin(), m_custom.end(),
                                 [&](const CustomText& entry) { return entry.keyword == keyword; });
        if (same == m_custom.end()) return false;
        *same = std::move(m_custom.back());
        m_custom.pop_back();
        if (m_custom.empty()) m_setMask &= ~uint32_t{pngCustomText};
        return true;
    }
    if (!(m_setMask & static_cast<uint32_t>(id))) return false;
    m_setMask &= ~static_cast<uint32_t>(id);
    if (id == pngModifiedTime) m_texts[kTimeSlot].clear();
    else if (id == pngBackground) m_background = 0;
    else if (id == pngFilter) m_filter = 0;
    else m_texts[static_cast<size_t>(SlotOf(id))].clear();
    return true;
}

PngPropertyValue cPNGwriter::GetProperty(int32_t id, std::wstring_view caption) const {
    if (id == pngCustomText) {
        std::wstring keyword;
        if (!NormaliseKeyword(caption, keyword)) return std::wstring{};
        if (int32_t standard = StandardIdNamed(keyword)) return GetProperty(standard);
        for (const CustomText& entry : m_custom)
            if (SameIgnoringCase(entry.keyword, keyword)) return entry.text;
        return std::wstring{};
    }
    if (id == pngModifiedTime) return ModifiedTime();
    if (id == pngBackground)
        return (m_setMask & pngBackground) ? static_cast<int32_t>(m_background) : -1;
    if (id == pngFilter) return m_filter;
    const int slot = SlotOf(id);
    if (slot < 0) return std::monostate{};
    return m_texts[static_cast<size_t>(slot)];
}

} // namespace velt
