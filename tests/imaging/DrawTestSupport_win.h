#pragma once
// A device context drawn into by the Windows tests, backed by a 32-bit top-down DIB section
// whose pixels the tests read back.
#include "platform/Handles_win.h"

#include "imaging/c32bppDIB.h"

#include <cstdint>
#include <cstdlib>

namespace velt::test {

class TargetDC {
public:
    TargetDC(int width, int height, uint32_t fillBgra) : m_width(width), m_height(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        m_bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<uint32_t*>(bits);
        m_dc.reset(CreateCompatibleDC(nullptr));
        m_previous = SelectObject(m_dc.get(), m_bitmap.get());
        for (int i = 0; i < width * height; ++i) m_bits[i] = fillBgra;
    }
    ~TargetDC() { SelectObject(m_dc.get(), m_previous); }
    TargetDC(const TargetDC&) = delete;
    TargetDC& operator=(const TargetDC&) = delete;

    HDC dc() const { return m_dc.get(); }
    // 0xAARRGGBB as stored; only the colour bytes mean something on a DC.
    uint32_t At(int x, int y) const {
        GdiFlush();
        return m_bits[y * m_width + x];
    }
    uint32_t Rgb(int x, int y) const { return At(x, y) & 0xFFFFFF; }

private:
    int m_width, m_height;
    UniqueBitmap m_bitmap;
    UniqueMemoryDC m_dc;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

// Every colour channel of two 0xRRGGBB values within tolerance.
inline bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}

// Which drawing path an image takes: the system AlphaBlend, GDI+ or our own.
enum class DrawPath { AlphaBlend, Gdiplus, Software };

inline void ChoosePath(c32bppDIB& image, DrawPath path) {
    image.isAlphaBlendFriendly(path == DrawPath::AlphaBlend);
    image.isGDIplusEnabled(path == DrawPath::Gdiplus);
    image.HighQualityInterpolation(false);
}

} // namespace velt::test
