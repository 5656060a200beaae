// DesktopsManager.dll: fxBlur blurs an area of a device context, reading it from another area
// (the same one when it blurs in place). Velt binds it by name at run time.
#include "platform/DesktopsManager/BoxBlur.h"
#include "platform/Handles_win.h"

#include <cstdint>

namespace {

constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;
constexpr int kMaxRadius = 64;

HDC AsDC(std::int32_t value) { return static_cast<HDC>(LongToHandle(value)); }

} // namespace

// Device contexts travel as 32-bit integers, as every handle's significant bits fit in 32. The
// source area is scaled to the destination's size when they differ. last: the radius in pixels,
// 0 for the default. Non-zero when the area was blurred.
extern "C" __declspec(dllexport) std::int32_t WINAPI
    fxBlur(std::int32_t destination, std::int32_t x, std::int32_t y, std::int32_t width,
           std::int32_t height, std::int32_t source, std::int32_t sourceX, std::int32_t sourceY,
           std::int32_t sourceWidth, std::int32_t sourceHeight, std::int32_t last) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return 0;
    if (std::int64_t{width} * height > kMaxPixels) return 0;
    HDC target = AsDC(destination);
    HDC from = AsDC(source);

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    velt::UniqueBitmap area(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    velt::UniqueMemoryDC work(CreateCompatibleDC(nullptr));
    if (!area || !bits || !work) return 0;
    velt::Selected selected(work.get(), area.get());

    BOOL read = width == sourceWidth && height == sourceHeight
                    ? BitBlt(work.get(), 0, 0, width, height, from, sourceX, sourceY, SRCCOPY)
                    : StretchBlt(work.get(), 0, 0, width, height, from, sourceX, sourceY,
                                 sourceWidth, sourceHeight, SRCCOPY);
    if (!read) return 0;
    GdiFlush(); // the pixels must be in memory before the blur reads them

    int radius = last > 0 ? (last < kMaxRadius ? last : kMaxRadius) : velt::kDefaultBlurRadius;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    velt::BoxBlur({pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height)},
                  width, height, radius, velt::kBlurPasses);
    return BitBlt(target, x, y, width, height, work.get(), 0, 0, SRCCOPY) ? 1 : 0;
}
