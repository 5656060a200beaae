#pragma once
// The blur library: fxBlur of DesktopsManager.dll, bound by name when first needed.
#include "platform/Handles_win.h"

#include <cstdint>

namespace velt {

// Blurs the area (0, 0, width, height) of the device context in place. The two last arguments
// are accepted and not used. Does nothing when the library or its function is absent.
void BlurInPlace(HDC dc, int width, int height, int unused1, int unused2);

class BlurLibrary {
public:
    explicit BlurLibrary(const wchar_t* fileName);
    bool Loaded() const { return m_fxBlur != nullptr; }
    // The call BlurInPlace makes: the same device context and area as source and destination.
    void BlurInPlace(HDC dc, int width, int height) const;

private:
    using FxBlur = std::int32_t(WINAPI*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                         std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                         std::int32_t, std::int32_t, std::int32_t);
    UniqueModule m_module;
    FxBlur m_fxBlur = nullptr;
};

} // namespace velt
