#include "platform/Surface_win.h"

namespace velt {

namespace {

constexpr int kMaxSide = 16384;

bool SizeOf(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

} // namespace

UniqueBitmap CreateSurfaceBitmap(int width, int height, void** bits) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bits) *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

Surface::~Surface() { Clear(); }

void Surface::Clear() {
    if (m_dc && m_original) SelectObject(m_dc.get(), m_original); // a selected bitmap cannot go
    m_bitmap.reset();
    m_width = m_height = 0;
}

bool Surface::Adopt(UniqueBitmap bitmap, int width, int height) {
    if (!bitmap) return false;
    if (!m_dc) m_dc.reset(CreateCompatibleDC(nullptr));
    if (!m_dc) return false;
    HGDIOBJ previous = SelectObject(m_dc.get(), bitmap.get());
    if (!previous) return false;
    if (!m_original) m_original = previous;
    m_bitmap = std::move(bitmap); // the old picture is no longer selected
    m_width = width;
    m_height = height;
    return true;
}

bool Surface::Assign(HBITMAP source) {
    int width = 0, height = 0;
    if (!SizeOf(source, width, height)) return false;
    UniqueBitmap copy = CreateSurfaceBitmap(width, height);
    UniqueMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    if (!copy || !from || !to) return false;
    {
        Selected selectedFrom(from.get(), source), selectedTo(to.get(), copy.get());
        if (!BitBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, SRCCOPY)) return false;
    }
    return Adopt(std::move(copy), width, height);
}

bool Surface::Assign(const Surface& source) {
    if (&source == this || source.Empty()) return false;
    UniqueBitmap copy = source.Copy();
    return copy && Adopt(std::move(copy), source.m_width, source.m_height);
}

UniqueBitmap Surface::Copy() const {
    if (Empty()) return {};
    UniqueBitmap copy = CreateSurfaceBitmap(m_width, m_height);
    UniqueMemoryDC to(CreateCompatibleDC(nullptr));
    if (!copy || !to) return {};
    Selected selected(to.get(), copy.get());
    if (!BitBlt(to.get(), 0, 0, m_width, m_height, m_dc.get(), 0, 0, SRCCOPY)) return {};
    return copy;
}

bool Surface::Resize(int width, int height, COLORREF fill) {
    UniqueBitmap bitmap = CreateSurfaceBitmap(width, height);
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return false;
    {
        Selected selected(dc.get(), bitmap.get());
        RECT all{0, 0, width, height};
        SetBkColor(dc.get(), fill);
        ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        if (!Empty()) BitBlt(dc.get(), 0, 0, m_width, m_height, m_dc.get(), 0, 0, SRCCOPY);
    }
    return Adopt(std::move(bitmap), width, height);
}

} // namespace velt
