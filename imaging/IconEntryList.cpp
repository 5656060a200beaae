#include "imaging/IconEntryList.h"

#include <algorithm>
#include <cstdio>

namespace velt {

int32_t IconColourColumn(int32_t bitDepth) {
    if (bitDepth > 24) return -1;
    if (bitDepth == 24) return -16777216;
    if (bitDepth > 8) return 16776960;
    return bitDepth < 1 ? 0 : 1 << bitDepth;
}

std::string IconEntryText(const IconSizeRow& row) {
    std::string colours;
    if (row.bitDepth == 24) colours = "True Color";
    else if (row.bitDepth > 24) colours = "True Color Alpha";
    else if (row.bitDepth > 8) colours = "High Color";
    else colours = std::to_string(row.colours) + " colors";
    char size[32];
    std::snprintf(size, sizeof size, "%03dx%03d", row.width, row.height);
    return std::string(size) + " {" + std::to_string(row.bitDepth) + " bit, " + colours + "}";
}

std::vector<IconSizeRow> IconListOrder(std::span<const IconSizeRow> rows) {
    std::vector<IconSizeRow> list(rows.begin(), rows.end());
    auto key = [](const IconSizeRow& r) { return int64_t{r.width} * r.height + r.bitDepth; };
    std::stable_sort(list.begin(), list.end(),
                     [&](const IconSizeRow& a, const IconSizeRow& b) { return key(a) < key(b); });
    return list;
}

} // namespace velt
