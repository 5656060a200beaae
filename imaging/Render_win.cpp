// c32bppDIB::Render: AlphaBlend when the system can do the work, GDI+ when it is enabled, and
// our own mirroring, resampling and composing otherwise.
#include "imaging/c32bppDIB.h"

#include "imaging/SoftwareDraw.h"
#include "imaging/cGDIPlus_win.h"

#include <cstdlib>

namespace velt {

namespace {

// Composes onto a device context through a 24-bit copy of the destination area.
bool BlendOntoDC(HDC dc, PixelView source, const SourceRect& src, int32_t destX, int32_t destY,
                 uint8_t constantAlpha, int32_t grayFormula) {
    const int32_t width = src.width, height = src.height;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap section(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (!section || !bits || !memory) return false;
    {
        Selected selected(memory.get(), section.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, dc, destX, destY, SRCCOPY)) return false;
    }
    GdiFlush();
    BlendSurface surface{static_cast<uint8_t*>(bits), width, height,
                         static_cast<size_t>(RowBytes(24, width)), 3};
    BlendToTarget(source, src.x, src.y, surface, 0, 0, width, height, constantAlpha, grayFormula);
    return SetDIBitsToDevice(dc, destX, destY, static_cast<DWORD>(width),
                             static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), bits,
                             &info, DIB_RGB_COLORS) != 0;
}

} // namespace

bool c32bppDIB::Render(HDC destinationDC, int32_t destX, int32_t destY, int32_t destWidth,
                       int32_t destHeight, int32_t SrcX, int32_t SrcY, int32_t SrcWidth,
                       int32_t SrcHeight, int32_t Opacity, bool Blend, bool SetHalfTone,
                       c32bppDIB* destHostDIB, int32_t grayScale) {
    if (!m_bits || !destinationDC || SrcWidth < 0 || SrcHeight < 0) return false;
    if (Opacity == 0) return true;
    // 100 and 200 are both fully opaque; 150 is half.
    Opacity = static_cast<int32_t>(std::llabs(int64_t{Opacity}) % 100);
    if (Opacity == 0) Opacity = 100;
    const uint8_t constantAlpha = static_cast<uint8_t>(Opacity * 255 / 100);

    if (SrcWidth == 0) SrcWidth = m_width;
    if (SrcHeight == 0) SrcHeight = m_height;
    if (SrcX < 0) SrcX = 0;
    if (SrcY < 0) SrcY = 0;
    if (SrcX >= m_width || SrcY >= m_height) return false;
    if (SrcWidth > m_width - SrcX) SrcWidth = m_width - SrcX;
    if (SrcHeight > m_height - SrcY) SrcHeight = m_height - SrcY;

    // A destination size of 0 is the image's size, not the source rectangle's.
    if (destWidth == 0) destWidth = m_width;
    if (destHeight == 0) destHeight = m_height;
    if (destWidth == INT32_MIN || destHeight == INT32_MIN) return false;
    const bool mirrored = destWidth < 0 || destHeight < 0;
    const bool stretched = std::abs(destWidth) != SrcWidth || std::abs(destHeight) != SrcHeight;
    const bool useAlphaBlend = isAlphaBlendFriendly() && !mirrored && grayScale == -1 &&
                               (!stretched || !m_highQuality);

    if (isGDIplusEnabled() && !useAlphaBlend) {
        cGDIPlus::DrawRequest request{0,    Opacity, destX,    destY,     destWidth,     destHeight,
                                      SrcX, SrcY,    SrcWidth, SrcHeight, m_highQuality, grayScale};
        // Into a host image GDI+ draws on its pixels, so that the host's alpha comes out right.
        if (destHostDIB && destHostDIB->m_bits)
            return cGDIPlus().RenderWithGdip(*this, *destHostDIB, request);
        return cGDIPlus().RenderWithGdip(*this, destinationDC, request);
    }

    if (useAlphaBlend) {
        const bool wasSelected = m_previousBitmap != nullptr;
        HDC source = LoadDIBinDC(true);
        if (!source) return false;
        int previousMode = SetHalfTone ? SetStretchBltMode(destinationDC, HALFTONE) : 0;
        BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha,
                            static_cast<BYTE>(m_alpha && Blend ? AC_SRC_ALPHA : 0)};
        bool ok = AlphaBlend(destinationDC, destX, destY, destWidth, destHeight, source, SrcX, SrcY,
                             SrcWidth, SrcHeight, blend) != 0;
        if (previousMode) SetStretchBltMode(destinationDC, previousMode);
        if (!wasSelected) LoadDIBinDC(false);
        return ok;
    }

    PixelView source = Pixels();
    SourceRect src{SrcX, SrcY, SrcWidth, SrcHeight};
    WorkBuffer mirroredPixels, scaledPixels;
    if (mirrored) {
        if (!MirrorCopy(source, src, destWidth, destHeight, &mirroredPixels, nullptr)) return false;
        source = mirroredPixels.view();
    }
    if (stretched) {
        if (!ScaleCopy(source, src, destWidth, destHeight, m_highQuality, &scaledPixels, nullptr))
            return false;
        source = scaledPixels.view();
        src = {0, 0, destWidth, destHeight};
    }
    if (destHostDIB) {
        if (!destHostDIB->m_bits) return false;
        BlendSurface surface{destHostDIB->m_bits, destHostDIB->m_width, destHostDIB->m_height,
                             static_cast<size_t>(destHostDIB->scanWidth()), 4};
        BlendToTarget(source, src.x, src.y, surface, destX, destY, src.width, src.height,
                      constantAlpha, grayScale);
        return true;
    }
    return BlendOntoDC(destinationDC, source, src, destX, destY, constantAlpha, grayScale);
}

} // namespace velt
