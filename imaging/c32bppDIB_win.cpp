// The Windows half of c32bppDIB: the DIB section, its memory DC, what the system allows, and
// the GDI+ and AlphaBlend copies.
#include "imaging/c32bppDIB.h"

#include "imaging/AlphaRegion_win.h"
#include "imaging/GdiplusApi_win.h"
#include "imaging/PlatformHooks.h"
#include "imaging/ZlibBinding.h"
#include "imaging/cGDIPlus_win.h"
#include "imaging/modParsers_win.h"
#include "platform/Files.h"

namespace velt {

namespace {

UniqueMemoryDC ScreenCompatibleDC() {
    WindowDC screen(nullptr);
    return UniqueMemoryDC(CreateCompatibleDC(screen.get()));
}

bool LoadPngWithGdiplus(const std::filesystem::path* file, std::span<const uint8_t> bytes,
                        c32bppDIB& host) {
    return cGDIPlus().LoadWithGdip(file, bytes, host);
}

} // namespace

bool c32bppDIB::AllocatePixels(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      width,
                      height,
                      1,
                      32,
                      BI_RGB,
                      static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4};
    WindowDC screen(nullptr);
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (m_manageOwnDC && !m_dc) m_dc.reset(CreateCompatibleDC(screen.get()));
    if (!dib || !bits) return false;
    m_dib = std::move(dib);
    m_bits = static_cast<uint8_t*>(bits);
    return true;
}

void c32bppDIB::ReleasePixels() {
    if (m_dc) {
        if (m_previousBitmap) SelectObject(m_dc.get(), m_previousBitmap);
        m_dc.reset();
    }
    m_previousBitmap = nullptr;
    m_dib.reset();
}

c32bppDIB::ImageHandle c32bppDIB::Handle() const { return m_dib.get(); }

uint32_t c32bppDIB::DetectCapabilities() const {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
    }
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return version.dwMinorVersion == 0 ? cfNoGdiPlus
                                           : cfAlphaBlendUsable | cfAlphaBlendNoDibCopy;
    if (version.dwMajorVersion > 4) return cfAlphaBlendUsable | cfAlphaBlendOn;
    return version.wServicePackMajor < 6 ? uint32_t{cfNoGdiPlus} : 0u;
}

bool c32bppDIB::PlatformGdiplusUsable() const { return cGDIPlus().isGDIplusOk(); }

bool c32bppDIB::isZlibEnabled() const { return ProbeZlib(true).found; }

void c32bppDIB::ManageOwnDC(bool value) {
    if (!value && m_dc) {
        if (m_bits && m_previousBitmap) SelectObject(m_dc.get(), m_previousBitmap);
        m_previousBitmap = nullptr;
        m_dc.reset();
    } else if (value && m_bits && !m_dc) {
        m_dc = ScreenCompatibleDC();
    }
    m_manageOwnDC = value;
}

HDC c32bppDIB::LoadDIBinDC(bool bLoad) {
    if (bLoad) {
        if (!m_bits) return nullptr;
        if (!m_dc) m_dc = ScreenCompatibleDC();
        if (!m_dc) return nullptr;
        if (!m_previousBitmap) m_previousBitmap = SelectObject(m_dc.get(), m_dib.get());
        return m_dc.get();
    }
    if (m_previousBitmap && m_dc) SelectObject(m_dc.get(), m_previousBitmap);
    if (!m_manageOwnDC) m_dc.reset();
    m_previousBitmap = nullptr;
    return nullptr;
}

UniqueRegion c32bppDIB::CreateRegion(int32_t Style, int32_t xOffset, int32_t yOffset) const {
    if (!m_bits || Style < 0 || Style > 2) return {};
    UniqueRegion region = BuildAlphaRegion(*this, Style);
    if (region && (xOffset || yOffset)) OffsetRgn(region.get(), xOffset, yOffset);
    return region;
}

bool c32bppDIB::CopyWithGdiplus(c32bppDIB& target, int32_t newWidth, int32_t newHeight) {
    cGDIPlus::DrawRequest request;
    request.dw = newWidth;
    request.dh = newHeight;
    request.sw = m_width;
    request.sh = m_height;
    request.highQuality = true;
    return cGDIPlus().RenderWithGdip(*this, target, request);
}

bool c32bppDIB::CopyWithAlphaBlend(c32bppDIB& target, int32_t newWidth, int32_t newHeight) {
    const bool wasSelected = target.m_previousBitmap != nullptr;
    HDC dc = target.LoadDIBinDC(true);
    bool ok = dc &&
              Render(dc, 0, 0, newWidth, newHeight, 0, 0, 0, 0, 100, true, false, &target, -1);
    if (!wasSelected) target.LoadDIBinDC(false);
    return ok;
}

bool c32bppDIB::SavePngWithPlatform(const std::filesystem::path* file, std::vector<uint8_t>* out) {
    if (!file) return cGDIPlus().SaveToPNG({}, *out, *this);
    // Encoded in memory first, so that a failed save never leaves a partial file behind.
    std::vector<uint8_t> bytes;
    if (!cGDIPlus().SaveToPNG({}, bytes, *this)) return false;
    const std::span<const uint8_t> parts[] = {bytes};
    return ReplaceFileWith(*file, parts);
}

bool c32bppDIB::ConfirmOverwrite() {
    return MessageBoxW(nullptr, L"Overwrite current file?", L"Overwrite Confirmation",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

PngServices::PlatformLoader PlatformPngLoader() {
    return ProcessGdiplus() ? LoadPngWithGdiplus : nullptr;
}

} // namespace velt
