// A standard picture holding an icon or cursor turned into an image: its colour bitmap, with
// its mask as the transparency.
#include "imaging/IcoParser.h"

#include "imaging/c32bppDIB.h"
#include "platform/Handles_win.h"

#include <olectl.h>

#include <cstring>
#include <vector>

namespace velt {

namespace {

struct MonochromeInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

bool QueryHeader(HDC dc, HBITMAP bitmap, BITMAPINFOHEADER& header) {
    MonochromeInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    if (!GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
        return false;
    header = info.header;
    return header.biWidth > 0 && header.biHeight != 0;
}

} // namespace

bool cICOparser::ConvertstdPicTo32bpp(IPicture* stdPic, c32bppDIB& cHost) {
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (!stdPic || FAILED(stdPic->get_Type(&type)) || type != PICTYPE_ICON ||
        FAILED(stdPic->get_Handle(&handle)))
        return false;
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(static_cast<uintptr_t>(handle)), &info)) return false;
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    m_type = info.fIcon ? 1 : 2;
    m_entries.assign(1, Entry{});

    WindowDC screen(nullptr);
    BITMAPINFOHEADER maskHeader{};
    if (!mask || !QueryHeader(screen.get(), mask.get(), maskHeader)) return false;
    const int32_t maskRows = maskHeader.biHeight < 0 ? -maskHeader.biHeight : maskHeader.biHeight;
    int32_t firstMaskRow = 0;
    if (colour) {
        BITMAPINFOHEADER colourHeader{};
        if (!QueryHeader(screen.get(), colour.get(), colourHeader)) return false;
        const int32_t rows = colourHeader.biHeight < 0 ? -colourHeader.biHeight
                                                       : colourHeader.biHeight;
        if (!cHost.InitializeDIB(colourHeader.biWidth, rows)) return false;
        BITMAPINFO read{};
        read.bmiHeader = {sizeof(BITMAPINFOHEADER), cHost.Width(), cHost.Height(), 1, 32, BI_RGB};
        if (!GetDIBits(screen.get(), colour.get(), 0, static_cast<UINT>(cHost.Height()),
                       cHost.BitsPointer(), &read, DIB_RGB_COLORS)) {
            cHost.DestroyDIB();
            return false;
        }
    } else {
        // A monochrome icon: its mask bitmap holds the AND mask above the picture's own bits.
        if (!cHost.InitializeDIB(maskHeader.biWidth, maskRows / 2)) return false;
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        stdPic->get_Width(&w);
        stdPic->get_Height(&h);
        HDC dc = cHost.LoadDIBinDC(true);
        if (dc) stdPic->Render(dc, 0, 0, cHost.Width(), cHost.Height(), 0, h, w, -h, nullptr);
        cHost.LoadDIBinDC(false);
        GdiFlush();
        firstMaskRow = maskRows - cHost.Height(); // rows count from the bottom: the top half
    }

    // The mask's rows for the picture, one bit a pixel, bottom row first.
    const int32_t width = cHost.Width(), height = cHost.Height();
    const size_t stride = static_cast<size_t>(RowBytes(1, maskHeader.biWidth));
    std::vector<uint8_t> bits(stride * static_cast<size_t>(height));
    MonochromeInfo read{};
    read.header = {sizeof(BITMAPINFOHEADER), maskHeader.biWidth, maskRows, 1, 1, BI_RGB};
    const int copied = GetDIBits(screen.get(), mask.get(), static_cast<UINT>(firstMaskRow),
                                 static_cast<UINT>(height), bits.data(),
                                 reinterpret_cast<BITMAPINFO*>(&read), DIB_RGB_COLORS);
    if (copied <= 0) {
        cHost.DestroyDIB();
        return false;
    }
    Entry& e = m_entries[0];
    e.width = static_cast<uint8_t>(width);
    e.height = static_cast<uint8_t>(height);
    e.bitCount = 1;
    e.bytesInResource = static_cast<uint32_t>(bits.size());

    bool anyClear = false;
    const PixelView pixels = cHost.Pixels();
    const int32_t maskWidth = std::min<int32_t>(width, maskHeader.biWidth);
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* maskRow = bits.data() + static_cast<size_t>(row) * stride;
        uint8_t* p = pixels.bits + static_cast<size_t>(row) * pixels.rowBytes();
        for (int32_t x = 0; x < width; ++x, p += 4) {
            if (x < maskWidth && (maskRow[x >> 3] & (0x80 >> (x & 7)))) {
                std::memset(p, 0, 4);
                anyClear = true;
            } else {
                p[3] = 255;
            }
        }
    }
    DecoderAccess::SetAlpha(cHost, anyClear);
    DecoderAccess::SetImageType(cHost, IsCursor() ? itCursor : itIcon);
    return true;
}

} // namespace velt
