// The alpha image control where there is no window system: no painting, and the control-size
// cache drawn with the software path, so that hit shapes come out as on Windows.
#include "imaging/aicAlphaImage.h"

#include "imaging/SoftwareDraw.h"

namespace velt {

void aicAlphaImage::Paint(NativeDC) {}

void aicAlphaImage::DrawIntoCache() {
    if (!m_cache || !m_cache->BitsPointer() || !m_image->BitsPointer()) return;
    const std::int32_t w = m_drawnWidth, h = m_drawnHeight;
    if (w < 1 || h < 1) return;
    std::int32_t x = m_imageLeft, y = m_imageTop;
    if (m_rotatedLayout) {
        if (m_rotation % 360 != 0) return; // turning a picture needs the platform's drawing
        x = Width() / 2 - w / 2;
        y = Height() / 2 - h / 2;
        DecoderAccess::SetAlpha(*m_cache, true);
    } else {
        DecoderAccess::SetAlpha(*m_cache, m_image->Alpha());
    }
    PixelView source = m_image->Pixels();
    SourceRect src{0, 0, source.width, source.height};
    WorkBuffer scaled;
    if (w != source.width || h != source.height) {
        if (!ScaleCopy(source, src, w, h, m_image->HighQualityInterpolation(), &scaled, nullptr))
            return;
        source = scaled.view();
        src = {0, 0, w, h};
    }
    const PixelView cache = m_cache->Pixels();
    BlendSurface target{cache.bits, cache.width, cache.height, cache.rowBytes(), 4};
    BlendToTarget(source, 0, 0, target, x, y, w, h, 255, -1);
}

// The colours of the classic Windows scheme, for the few system colours a control may name.
std::uint32_t aicAlphaImage::SystemColour(std::int32_t index) {
    switch (index) {
    case 5: return 0xFFFFFF;  // window
    case 8: return 0x000000;  // window text
    case 15: return 0xF0F0F0; // button face
    case 16: return 0xA0A0A0; // button shadow
    case 20: return 0xFFFFFF; // button highlight
    default: return 0x000000;
    }
}

} // namespace velt

namespace velt {

namespace {

// No windows here: no pointer, no properties, no timers.
class NoWindows final : public HoverPlatform {
public:
    Point CursorPos() override { return {}; }
    Window WindowFromPoint(Point) override { return 0; }
    Point ClientOrigin(Window) override { return {}; }
    Window TopLevel(Window) override { return 0; }
    Window Owner(Window) override { return 0; }
    std::uintptr_t ReadProp(Window, const std::wstring&) override { return 0; }
    void WriteProp(Window, const std::wstring&, std::uintptr_t) override {}
    void DeleteProp(Window, const std::wstring&) override {}
    void SetTimer(Window, std::uintptr_t, std::uint32_t) override {}
    void KillTimer(Window, std::uintptr_t) override {}
};

} // namespace

HoverPlatform& SystemHoverPlatform() {
    static NoWindows platform;
    return platform;
}

} // namespace velt
