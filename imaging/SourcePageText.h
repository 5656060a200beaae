#pragma once
// What the image source page says about a picture: one line naming its size and kind, or for an
// icon or cursor file the list of its entries with the one to use chosen.
#include "imaging/IconEntryList.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

// "100 x 50 - PNG file"; the kind is left empty for image types without a name.
std::string ImageFormatText(std::int32_t width, std::int32_t height, std::int32_t imageType,
                            bool hasAlpha);

// The icon list as the page fills it: lines smallest first, the last one selected, and a choice
// offered only when there is more than one. selected is -1 for an empty list.
struct IconListView {
    std::vector<std::string> lines;
    int selected = -1;
    bool enabled = false;
};
IconListView MakeIconList(std::span<const IconSizeRow> rows);

// The entry a list line names: width from characters 1 to 3, height from 5 to 7, bit depth from
// the three after "{". A part that holds no number reads 0.
struct IconChoice {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitDepth = 0;
    friend bool operator==(const IconChoice&, const IconChoice&) = default;
};
IconChoice ReadIconChoice(std::string_view line);

// The open-file dialog's filters in the page's order: description and pattern pairs, each text
// ended by a null character and the whole by one more.
std::wstring ImageFileFilters();

} // namespace velt
