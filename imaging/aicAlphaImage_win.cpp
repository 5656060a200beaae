// The alpha image control on Windows: painting on the container's device context, the
// control-size cache drawn with the image object's own drawing, and the loaders that start from
// Windows objects.
#include "imaging/aicAlphaImage.h"

#include "platform/Handles_win.h"

#include <ocidl.h>

namespace velt {

void aicAlphaImage::Paint(NativeDC dc) {
    if (m_drawnWidth < 0 || !dc) return; // an auto-size resize is in progress
    const std::int32_t side = m_rotatedLayout ? m_diagonal : 0;
    const RECT image{m_imageLeft, m_imageTop, m_imageLeft + (side ? side : m_drawnWidth),
                     m_imageTop + (side ? side : m_drawnHeight)};
    RECT clip{}, area{};
    if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&area, &image, &clip)) return;
    const int x = area.left, y = area.top, cx = area.right - area.left, cy = area.bottom - area.top;
    if (m_cache) {
        // The picture is laid out in the cache already; opacity and grey come now.
        m_cache->Render(dc, x, y, cx, cy, x, y, cx, cy, m_opacity, true, true, nullptr,
                        m_grayFormula);
    } else if (m_rotatedLayout) {
        m_image->RotateAtCenterPoint(dc, static_cast<float>(m_rotation), Width() / 2, Height() / 2,
                                     m_drawnWidth, m_drawnHeight, 0, 0, 0, 0, m_opacity, nullptr,
                                     m_grayFormula);
    } else if (m_unscaled) {
        m_image->Render(dc, x, y, cx, cy, x - m_imageLeft, y - m_imageTop, cx, cy, m_opacity, true,
                        true, nullptr, m_grayFormula);
    } else {
        m_image->Render(dc, m_imageLeft, m_imageTop, m_drawnWidth, m_drawnHeight, 0, 0, 0, 0,
                        m_opacity, true, true, nullptr, m_grayFormula);
    }
}

void aicAlphaImage::DrawIntoCache() {
    if (!m_cache || !m_image->BitsPointer()) return;
    HDC dc = m_cache->LoadDIBinDC(true);
    if (!dc) return;
    if (m_rotatedLayout) {
        DecoderAccess::SetAlpha(*m_cache, true);
        m_image->RotateAtCenterPoint(dc, static_cast<float>(m_rotation), m_cache->Width() / 2,
                                     m_cache->Height() / 2, m_drawnWidth, m_drawnHeight, 0, 0, 0, 0,
                                     100, m_cache.get(), -1);
    } else {
        DecoderAccess::SetAlpha(*m_cache, m_image->Alpha());
        m_image->Render(dc, m_imageLeft, m_imageTop, m_drawnWidth, m_drawnHeight, 0, 0, 0, 0, 100,
                        true, false, m_cache.get(), -1);
    }
    GdiFlush(); // the hit shape reads these pixels next
}

std::uint32_t aicAlphaImage::SystemColour(std::int32_t index) { return GetSysColor(index); }

namespace {

// Pictures from Windows objects carry no file of their own: a bitmap file stands in for it.
void KeepAsBitmapFile(c32bppDIB& image) {
    std::vector<std::uint8_t> bytes;
    if (image.SaveToStream(bytes)) DecoderAccess::SetOriginalFormat(image, bytes);
}

} // namespace

bool aicAlphaImage::LoadImage_FromStdPicture(IPicture* stdPic) {
    const bool loaded = m_image->LoadPicture_StdPicture(stdPic);
    if (loaded && m_keepOriginalFormat) KeepAsBitmapFile(*m_image);
    return AfterLoad(loaded);
}

bool aicAlphaImage::LoadImage_FromClipboard() {
    const bool loaded = m_image->LoadPicture_ClipBoard();
    if (loaded && m_keepOriginalFormat) KeepAsBitmapFile(*m_image);
    return AfterLoad(loaded);
}

bool aicAlphaImage::LoadImage_FromHandle(HANDLE Handle) {
    const bool loaded = m_image->LoadPicture_ByHandle(Handle);
    if (loaded && m_keepOriginalFormat) KeepAsBitmapFile(*m_image);
    return AfterLoad(loaded);
}

bool aicAlphaImage::LoadImage_FromResource(HMODULE ResourceHost, const wchar_t* ResSection,
                                           const wchar_t* ResID, std::int32_t desiredIconWidth,
                                           std::int32_t desiredIconHeight,
                                           std::int32_t desiredIconBitDepth) {
    return AfterLoad(m_image->LoadPicture_Resource(
        ResID, ResSection, ResourceHost, IconWidth(desiredIconWidth), IconHeight(desiredIconHeight),
        0, 0, desiredIconBitDepth < 1 ? 32 : desiredIconBitDepth));
}

} // namespace velt
