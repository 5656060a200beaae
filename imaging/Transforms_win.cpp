// The transforms of c32bppDIB that draw onto device contexts: rotation through GDI+ when it is
// enabled, otherwise through a turned copy drawn with Render.
#include "imaging/c32bppDIB.h"

#include "imaging/SoftwareDraw.h"
#include "imaging/Transforms.h"
#include "imaging/cGDIPlus_win.h"

#include <cmath>
#include <cstdlib>

namespace velt {

bool c32bppDIB::RotateAtCenterPoint(HDC hdc, float Angle, int32_t CenterPointX,
                                    int32_t CenterPointY, int32_t destWidth, int32_t destHeight,
                                    int32_t SrcX, int32_t SrcY, int32_t SrcWidth, int32_t SrcHeight,
                                    int32_t Opacity, c32bppDIB* destHostDIB, int32_t grayScale) {
    if (destWidth == 0) destWidth = m_width;
    if (destHeight == 0) destHeight = m_height;
    return RotateAtTopLeft(hdc, Angle, CenterPointX - destWidth / 2, CenterPointY - destHeight / 2,
                           destWidth, destHeight, SrcX, SrcY, SrcWidth, SrcHeight, Opacity,
                           destHostDIB, grayScale);
}

bool c32bppDIB::RotateAtTopLeft(HDC hdc, float Angle, int32_t TopX, int32_t TopY, int32_t destWidth,
                                int32_t destHeight, int32_t SrcX, int32_t SrcY, int32_t SrcWidth,
                                int32_t SrcHeight, int32_t Opacity, c32bppDIB* destHostDIB,
                                int32_t grayScale) {
    if (std::fmod(Angle, 360.0f) == 0)
        return Render(hdc, TopX, TopY, destWidth, destHeight, SrcX, SrcY, SrcWidth, SrcHeight,
                      Opacity, true, destHostDIB == nullptr, destHostDIB, grayScale);
    if (!m_bits || !hdc || SrcX < 0 || SrcY < 0 || SrcX >= m_width || SrcY >= m_height)
        return false;
    if (SrcWidth < 1 || SrcWidth > m_width - SrcX) SrcWidth = m_width - SrcX;
    if (SrcHeight < 1 || SrcHeight > m_height - SrcY) SrcHeight = m_height - SrcY;
    if (destWidth == 0) destWidth = m_width;
    if (destHeight == 0) destHeight = m_height;
    if (destWidth == INT32_MIN || destHeight == INT32_MIN) return false;
    if (Opacity == 0) return true; // nothing to draw, as with Render

    if (isGDIplusEnabled()) {
        cGDIPlus::DrawRequest request{Angle, 0,    TopX,     TopY,      destWidth,     destHeight,
                                      SrcX,  SrcY, SrcWidth, SrcHeight, m_highQuality, grayScale};
        request.opacity = static_cast<int32_t>(std::llabs(int64_t{Opacity}) % 100);
        if (request.opacity == 0) request.opacity = 100;
        // Into an image, GDI+ draws on its pixels so that their alpha survives.
        const bool drawn = destHostDIB ? cGDIPlus().RenderWithGdip(*this, *destHostDIB, request)
                                       : cGDIPlus().RenderWithGdip(*this, hdc, request);
        if (drawn) return true;
    }

    PixelView source = Pixels();
    SourceRect src{SrcX, SrcY, SrcWidth, SrcHeight};
    WorkBuffer mirrored;
    // A mirrored axis extends left or up from the corner given.
    const int64_t left = int64_t{TopX} - (destWidth < 0 ? -int64_t{destWidth} : 0);
    const int64_t top = int64_t{TopY} - (destHeight < 0 ? -int64_t{destHeight} : 0);
    if (destWidth < 0 || destHeight < 0) {
        if (!MirrorCopy(source, src, destWidth, destHeight, &mirrored, nullptr)) return false;
        source = mirrored.view();
    }
    const int32_t side = RotatedSquareSide(destWidth, destHeight);
    c32bppDIB square;
    square.isGDIplusEnabled(isGDIplusEnabled());
    square.HighQualityInterpolation(m_highQuality);
    if (side < 1 || !square.InitializeDIB(side, side)) return false;
    if (!RotateIntoSquare(source, src, destWidth, destHeight, Angle, m_highQuality,
                          square.Pixels()))
        return false;
    const int64_t x = left + destWidth / 2 - side / 2, y = top + destHeight / 2 - side / 2;
    if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return false;
    return square.Render(hdc, static_cast<int32_t>(x), static_cast<int32_t>(y), side, side, 0, 0, 0,
                         0, Opacity, true, destHostDIB == nullptr, destHostDIB, grayScale);
}

} // namespace velt
