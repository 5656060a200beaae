#include "settings/FrmConfig.h"

#include <cwctype>

namespace velt {

std::wstring mrk(const std::wstring& caption) {
    return caption.ends_with(L'+') ? caption : caption + L'+';
}

std::wstring demrk(const std::wstring& caption) {
    return caption.ends_with(L'+') ? caption.substr(0, caption.size() - 1) : caption;
}

std::vector<ThumbnailPlace> LayOutThumbnails(const ThumbnailGrid& grid, std::size_t count) {
    std::vector<ThumbnailPlace> places;
    places.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (places.empty()) {
            places.push_back(grid.origin);
            continue;
        }
        ThumbnailPlace next = places.back();
        next.left += grid.width + kSkinThumbnailGap;
        if (next.left + grid.width > grid.pageWidth) {
            next.left = grid.origin.left;
            next.top += grid.height + kSkinThumbnailGap;
        }
        places.push_back(next);
    }
    return places;
}

std::vector<IniWrite> ApplyWrites(bool cornerSensitive, const PickedKeys& keys,
                                  const std::wstring& selectedSkin) {
    std::vector<IniWrite> writes{{L"Main", L"Corner", cornerSensitive ? L"True" : L"False"}};
    static constexpr const wchar_t* kStems[] = {L"Control", L"Shift", L"Alt"};
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i])
            writes.push_back({L"Keys", kStems[i] + std::wstring(L"0"), std::to_wstring(*keys[i])});
    writes.push_back({L"Main", L"Background", selectedSkin});
    return writes;
}

bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return true;
}

} // namespace velt
