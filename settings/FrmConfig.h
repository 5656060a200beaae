#pragma once
// The configuration window's rules that need no window: toggle captions, where each skin
// thumbnail goes, and what an apply writes to Config.ini, in order.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velt {

// The caption with "+" appended, unless it already ends in one.
std::wstring mrk(const std::wstring& caption);
// The caption without a trailing "+"; unchanged when it has none.
std::wstring demrk(const std::wstring& caption);

// A thumbnail's place on the Appearance page, twips.
struct ThumbnailPlace {
    std::int32_t left = 0;
    std::int32_t top = 0;
    friend bool operator==(const ThumbnailPlace&, const ThumbnailPlace&) = default;
};

// The template thumbnail and the page it sits on, twips.
struct ThumbnailGrid {
    ThumbnailPlace origin;  // the template's left and top
    std::int32_t width = 0; // a thumbnail
    std::int32_t height = 0;
    std::int32_t pageWidth = 0;
};

inline constexpr std::int32_t kSkinThumbnailGap = 100;

// Thumbnails in reading order, 100 twips apart: each goes right of the previous one unless it
// would pass the page's right edge, then it starts a new row at the template's left. Rows below
// the page are placed all the same; they are cut off.
std::vector<ThumbnailPlace> LayOutThumbnails(const ThumbnailGrid& grid, std::size_t count);

struct IniWrite {
    std::wstring section;
    std::wstring key;
    std::wstring value;
    friend bool operator==(const IniWrite&, const IniWrite&) = default;
};

// The codes of the three pickers of the overview hotkey, in the stored keys' order Control,
// Shift, Alt; nothing for a picker that has no code yet.
using PickedKeys = std::array<std::optional<std::int16_t>, 3>;

// What an apply writes, in order: "Corner", the picked keys of slot 0, and "Background" (even
// when empty). A picker without a code leaves its key as it was.
std::vector<IniWrite> ApplyWrites(bool cornerSensitive, const PickedKeys& keys,
                                  const std::wstring& selectedSkin);

// Whether two paths name the same file, compared without regard to case.
bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b);

} // namespace velt
