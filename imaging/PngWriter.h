#pragma once
// cPNGwriter: writes an image as an 8-bit PNG of the smallest fitting colour type (palette,
// grey with a transparent key, truecolour with a key or with alpha), and keeps the PNG
// properties (texts, modification time, background, row filter) that an image writes with its
// next PNG save. zlib compresses and checksums; without it nothing is written.
#include "imaging/PngProperty.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

class c32bppDIB;

class cPNGwriter {
public:
    // False, storing nothing, for an unknown id, a null value, a modification time that is not
    // a date, a custom text whose caption is not a valid keyword, or a number out of range.
    bool SetProperty(int32_t id, const PngPropertyValue& value, std::wstring_view caption = {});
    // True when the property was there and is now gone.
    bool RemoveProperty(int32_t id, std::wstring_view caption = {});
    // Text for the text ids (empty when unset), the date for the modification time, the colour
    // for the background (-1 when unset), the filter choice (0 when unset); nothing for an
    // unknown id.
    PngPropertyValue GetProperty(int32_t id, std::wstring_view caption = {}) const;

    // Writes the image to Filename, or into outStream when Filename is empty (outStream then
    // holds exactly the file). A file is only replaced once the whole PNG is written; on any
    // failure outStream is empty and false is returned.
    bool WritePng(const c32bppDIB& image, const std::filesystem::path& Filename,
                  std::vector<uint8_t>& outStream) const;

    struct CustomText {
        std::wstring keyword;
        std::wstring text;
    };
    static constexpr int kStandardTexts = 10;
    // What a save reads.
    uint32_t SetMask() const { return m_setMask; }
    const std::wstring& StandardText(int slot) const { return m_texts[static_cast<size_t>(slot)]; }
    const std::vector<CustomText>& CustomTexts() const { return m_custom; }
    PngDate ModifiedTime() const;
    uint32_t Background() const { return m_background; }
    int32_t FilterChoice() const { return m_filter; }

private:
    // Texts of the ten standard keywords, then the modification time as text.
    std::array<std::wstring, kStandardTexts + 1> m_texts;
    std::vector<CustomText> m_custom;
    uint32_t m_setMask = 0;
    uint32_t m_background = 0;
    int32_t m_filter = 0;
};

// The standard keyword of a text id (1, 2, 4 ... 512), or an empty view for other ids.
std::wstring_view StandardKeyword(int32_t id);

} // namespace velt
