#pragma once
// The drawing step of the GDI+ renderer, on a graphics object of the caller's, through the entry
// points of api (tests hand it entry points that fail).
#include "imaging/GdiplusApi_win.h"
#include "imaging/cGDIPlus_win.h"

namespace velt {

// Draws image with graphics as request says (opacity already 1..100).
bool DrawWithGdip(const GdiplusApi& api, Gdiplus::GpGraphics* graphics, const c32bppDIB& image,
                  const cGDIPlus::DrawRequest& request);

} // namespace velt
