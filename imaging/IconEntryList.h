#pragma once
// The entries of an icon or cursor file as a list shows them to a person: one line each,
// "032x032 {8 bit, 256 colors}", smallest first.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velt {

// One row of SourceIconSizes: an entry's width, height, bit depth and colour column (2, 4, 16
// or 256 up to 8 bits, 16776960 for 9 to 23 bits, -16777216 for 24 bits, -1 above).
struct IconSizeRow {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitDepth = 0;
    int32_t colours = 0;
};

// The colour column for a bit depth.
int32_t IconColourColumn(int32_t bitDepth);

// "WWWxHHH {N bit, TEXT}" with the width and height in three digits.
std::string IconEntryText(const IconSizeRow& row);

// The rows in list order: by width × height + bit depth, ascending; a row goes after the rows
// already placed with the same key.
std::vector<IconSizeRow> IconListOrder(std::span<const IconSizeRow> rows);

} // namespace velt
