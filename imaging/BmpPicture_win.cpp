// Standard pictures that are not icons (bitmaps, metafiles, enhanced metafiles) drawn into an
// image: the system loader's results and the picture, handle, clipboard and resource loads.
#include "imaging/BmpParser.h"

#include "imaging/c32bppDIB.h"
#include "platform/Handles_win.h"

#include <olectl.h>

#include <cmath>
#include <cstring>

namespace velt {

namespace {

// A HIMETRIC extent in pixels of the screen, through twips as the picture's size is measured.
int32_t HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int dotsPerInch) {
    const double twipsPerPixel = 1440 / (dotsPerInch > 0 ? dotsPerInch : 96);
    return static_cast<int32_t>(std::nearbyint(himetric * 1440.0 / 2540.0 / twipsPerPixel));
}

} // namespace

bool cBMPparser::ConvertstdPicTo32bpp(IPicture* stdPic, c32bppDIB& cHost, int32_t) {
    if (!stdPic) return false;
    SHORT type = PICTYPE_NONE;
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    if (FAILED(stdPic->get_Type(&type)) || type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED ||
        FAILED(stdPic->get_Width(&himetricWidth)) || FAILED(stdPic->get_Height(&himetricHeight)))
        return false;
    int32_t width, height;
    {
        WindowDC screen(nullptr);
        width = HimetricToPixels(himetricWidth, GetDeviceCaps(screen.get(), LOGPIXELSX));
        height = HimetricToPixels(himetricHeight, GetDeviceCaps(screen.get(), LOGPIXELSY));
    }
    if (!cHost.InitializeDIB(width, height)) return false;
    const bool metafile = type == PICTYPE_METAFILE || type == PICTYPE_ENHMETAFILE;
    const size_t bytes = static_cast<size_t>(cHost.scanWidth()) * static_cast<size_t>(height);
    // Drawing calls write 0 into the fourth byte of what they paint, so a metafile's untouched
    // pixels keep this 255 and can be told apart.
    if (metafile) std::memset(cHost.BitsPointer(), 255, bytes);
    HDC dc = cHost.LoadDIBinDC(true);
    // The source rectangle runs upwards from the bottom, which draws the picture upright.
    const bool drawn = dc && SUCCEEDED(stdPic->Render(dc, 0, 0, width, height, 0, himetricHeight,
                                                      himetricWidth, -himetricHeight, nullptr));
    cHost.LoadDIBinDC(false);
    GdiFlush();
    if (!drawn) {
        cHost.DestroyDIB();
        return false;
    }
    bool anyTransparent = false;
    if (metafile) {
        uint8_t* p = cHost.BitsPointer();
        for (size_t i = 0; i < bytes; i += 4) {
            if (p[i + 3] == 255) {
                std::memset(p + i, 0, 4);
                anyTransparent = true;
            } else {
                p[i + 3] = 255;
            }
        }
    } else {
        int32_t none = itNone; // any alpha a bitmap picture carried is dropped
        ClassifyAlpha(cHost.Pixels(), true, none);
    }
    DecoderAccess::SetAlpha(cHost, anyTransparent);
    DecoderAccess::SetImageType(cHost, type);
    return true;
}

} // namespace velt
