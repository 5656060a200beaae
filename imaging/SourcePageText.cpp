#include "imaging/SourcePageText.h"

#include "imaging/ImageTypes.h"

namespace velt {

namespace {

// A number as a person types it into a short field: blanks skipped, digits read up to the first
// other character. Capped well below overflow; list lines hold three digits at most.
std::int32_t LeadingNumber(std::string_view text) {
    std::int32_t value = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if (c < '0' || c > '9') break;
        if (value < 100000000) value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view Part(std::string_view text, std::size_t start, std::size_t length) {
    if (start >= text.size()) return {};
    return text.substr(start, length);
}

} // namespace

std::string ImageFormatText(std::int32_t width, std::int32_t height, std::int32_t imageType,
                            bool hasAlpha) {
    const char* kind = "";
    switch (imageType) {
    case itBitmap: kind = "Bitmap or JPG file"; break;
    case itMetafile:
    case itEnhMetafile: kind = "Windows Meta File"; break;
    case itBitmapAlpha:
    case itBitmapPremultiplied: kind = "Alpha Bitmap"; break;
    case itGIF: kind = hasAlpha ? "Transparent GIF" : "GIF file"; break;
    case itPNG: kind = "PNG file"; break;
    default: break;
    }
    return std::to_string(width) + " x " + std::to_string(height) + " - " + kind;
}

IconListView MakeIconList(std::span<const IconSizeRow> rows) {
    IconListView view;
    for (const IconSizeRow& row : IconListOrder(rows)) view.lines.push_back(IconEntryText(row));
    view.selected = static_cast<int>(view.lines.size()) - 1;
    view.enabled = view.lines.size() > 1;
    return view;
}

IconChoice ReadIconChoice(std::string_view line) {
    IconChoice choice;
    choice.width = LeadingNumber(Part(line, 0, 3));
    choice.height = LeadingNumber(Part(line, 4, 3));
    const std::size_t brace = line.find('{');
    if (brace != std::string_view::npos) choice.bitDepth = LeadingNumber(Part(line, brace + 1, 3));
    return choice;
}

std::wstring ImageFileFilters() {
    static constexpr const wchar_t* kFilters[][2] = {
        {L"All Images", L"*gif;*.bmp;*.jpg;*.jpeg;*.ico;*.cur;*.wmf;*.emf;*.png"},
        {L"Bitmaps", L"*.bmp"},
        {L"GIFs", L"*.gif"},
        {L"Icons and Cursors", L"*.ico;*.cur"},
        {L"JPGs", L"*.jpg;*.jpeg"},
        {L"Meta Files", L"*.wmf;*.emf"},
        {L"PNGs", L"*.png"},
        {L"All Files", L"*.*"},
    };
    std::wstring filters;
    for (const auto& filter : kFilters) {
        filters += filter[0];
        filters += L'\0';
        filters += filter[1];
        filters += L'\0';
    }
    filters += L'\0';
    return filters;
}

} // namespace velt
