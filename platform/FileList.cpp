#include "platform/FileList.h"

#include <cwctype>
#include <system_error>

namespace velt {

namespace {

bool SameLetter(wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); }

// Wildcard match with the usual back-tracking on the last "*".
bool MatchOne(std::wstring_view name, std::wstring_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t star = std::wstring_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || SameLetter(pattern[p], name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = n;
        } else if (star != std::wstring_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

} // namespace

bool MatchesPattern(std::wstring_view name, std::wstring_view patterns) {
    while (true) {
        std::size_t end = patterns.find(L';');
        std::wstring_view pattern = patterns.substr(0, end);
        while (!pattern.empty() && pattern.front() == L' ') pattern.remove_prefix(1);
        while (!pattern.empty() && pattern.back() == L' ') pattern.remove_suffix(1);
        if (!pattern.empty() && MatchOne(name, pattern)) return true;
        if (end == std::wstring_view::npos) return false;
        patterns.remove_prefix(end + 1);
    }
}

std::vector<std::wstring> ListFiles(const std::filesystem::path& folder,
                                    std::wstring_view patterns) {
    std::vector<std::wstring> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return names; // no folder: an empty list
    for (const auto& entry : entries) {
        std::error_code kindError;
        if (!entry.is_regular_file(kindError)) continue; // folders and the like are not listed
        std::wstring name = entry.path().filename().wstring();
        if (MatchesPattern(name, patterns)) names.push_back(std::move(name));
    }
    return names;
}

} // namespace velt
