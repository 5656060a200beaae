#pragma once
// The values PNG properties are set with and read as: text, a whole number, a number, a date,
// or nothing (the null value, which no property accepts).
#include <cstdint>
#include <string>
#include <variant>

namespace velt {

// A calendar date and time, as written to a tIME chunk (no time zone: taken as given).
struct PngDate {
    int32_t year = 1899; // the "no date" value: 30 December 1899, midnight
    int32_t month = 12;
    int32_t day = 30;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;

    friend bool operator==(const PngDate&, const PngDate&) = default;
};

using PngPropertyValue = std::variant<std::monostate, std::wstring, int32_t, double, PngDate>;

// Property ids; each is one bit of a set.
enum PngPropertyId : int32_t {
    pngTitle = 1,
    pngAuthor = 2,
    pngDescription = 4,
    pngCopyright = 8,
    pngCreationTime = 16,
    pngSoftware = 32,
    pngDisclaimer = 64,
    pngWarning = 128,
    pngSource = 256,
    pngComment = 512,
    pngCustomText = 1024, // keyword given as the caption
    pngModifiedTime = 2048,
    pngBackground = 4096, // colour, red in the low byte
    pngFilter = 8192,
    pngDropAll = -1, // for the image's PngPropertySet only
};

} // namespace velt
