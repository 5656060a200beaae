#include "platform/Surface_win.h"

#include "platform/BmpCheck.h"
#include "platform/ComRef_win.h"
#include "platform/Files.h"
#include "platform/Stream_win.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace velt {

namespace {

constexpr int kMaxSide = 16384;
constexpr std::uint64_t kMaxFileBytes = 64u << 20;

bool SizeOf(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

// Draws the picture object into a new bitmap of its own pixel size.
UniqueBitmap RenderPicture(IPicture* picture, int& width, int& height) {
    SHORT type = PICTYPE_NONE;
    picture->get_Type(&type);
    if (type == PICTYPE_BITMAP) {
        OLE_HANDLE handle = 0;
        picture->get_Handle(&handle);
        auto source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        if (!SizeOf(source, width, height)) return {};
        // The picture keeps its bitmap selected in a device context of its own, so the pixels
        // are read out rather than copied through another device context.
        void* bits = nullptr;
        UniqueBitmap copy = CreateSurfaceBitmap(width, height, &bits);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        WindowDC screen(nullptr);
        if (!copy || !bits ||
            GetDIBits(screen.get(), source, 0, static_cast<UINT>(height), bits, &info,
                      DIB_RGB_COLORS) != height)
            return {};
        return copy;
    }
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    width = MulDiv(himetricWidth, 96, 2540); // the 96 DPI the program assumes
    height = MulDiv(himetricHeight, 96, 2540);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
    UniqueBitmap canvas = CreateSurfaceBitmap(width, height);
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!canvas || !dc) return {};
    Selected selected(dc.get(), canvas.get());
    RECT all{0, 0, width, height};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE)); // behind transparent parts
    if (FAILED(picture->Render(dc.get(), 0, 0, width, height, 0, himetricHeight, himetricWidth,
                               -himetricHeight, nullptr)))
        return {};
    return canvas;
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

bool Surface::Load(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > kMaxFileBytes) return false;
    if (LooksLikeBmp(bytes) && !BmpIsComplete(bytes)) return false; // the loader would read past it
    ComRef<IStream> stream(StreamOverCopy(bytes));
    if (!stream) return false;
    ComRef<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.put()))) ||
        !picture)
        return false;
    int width = 0, height = 0;
    UniqueBitmap bitmap = RenderPicture(picture.get(), width, height);
    return Adopt(std::move(bitmap), width, height);
}

bool Surface::LoadFile(const std::wstring& path) {
    std::int64_t length = FileLength(path);
    if (length <= 0 || static_cast<std::uint64_t>(length) > kMaxFileBytes) return false;
    Bytes bytes;
    return ReadWholeFile(path, bytes) && Load(bytes);
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

Bytes Surface::ToBmp() const {
    if (Empty()) return {};
    // 24 bits a pixel, rows bottom-up, each padded to four bytes.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, m_height, 1, 24, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap rows(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!rows || !bits || !dc) return {};
    {
        Selected selected(dc.get(), rows.get());
        if (!BitBlt(dc.get(), 0, 0, m_width, m_height, m_dc.get(), 0, 0, SRCCOPY)) return {};
    }
    GdiFlush();
    std::size_t stride = (static_cast<std::size_t>(m_width) * 3 + 3) & ~std::size_t{3};
    std::size_t pixelBytes = stride * static_cast<std::size_t>(m_height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
    info.bmiHeader.biSizeImage = static_cast<DWORD>(pixelBytes);
    info.bmiHeader.biXPelsPerMeter = info.bmiHeader.biYPelsPerMeter = 3780; // 96 DPI
    Bytes out(file.bfSize);
    std::memcpy(out.data(), &file, sizeof(file));
    std::memcpy(out.data() + sizeof(file), &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    std::memcpy(out.data() + file.bfOffBits, bits, pixelBytes);
    return out;
}

bool Surface::SaveFile(const std::wstring& path) const {
    Bytes bytes = ToBmp();
    if (bytes.empty()) return false;
    std::span<const std::uint8_t> whole(bytes);
    return WriteWholeFile(path, {&whole, 1});
}

} // namespace velt
