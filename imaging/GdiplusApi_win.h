#pragma once
// gdiplus.dll bound at run time, so that the program starts on systems without it, started once
// for the whole process, and owners for the GDI+ objects it makes.
#include "platform/Handles_win.h"

#include <objidl.h>

#include <gdiplus.h>

namespace velt {

#define VELT_GDIPLUS_FUNCTIONS(X)                                                                  \
    X(GdipCreateBitmapFromScan0)                                                                   \
    X(GdipDisposeImage)                                                                            \
    X(GdipGetImageEncodersSize)                                                                    \
    X(GdipGetImageEncoders)                                                                        \
    X(GdipSaveImageToStream)                                                                       \
    X(GdipSaveImageToFile)                                                                         \
    X(GdipCreateFromHDC)                                                                           \
    X(GdipGetImageGraphicsContext)                                                                 \
    X(GdipDeleteGraphics)                                                                          \
    X(GdipSetInterpolationMode)                                                                    \
    X(GdipSetPixelOffsetMode)                                                                      \
    X(GdipCreateImageAttributes)                                                                   \
    X(GdipDisposeImageAttributes)                                                                  \
    X(GdipSetImageAttributesColorMatrix)                                                           \
    X(GdipSetImageAttributesWrapMode)                                                              \
    X(GdipRotateWorldTransform)                                                                    \
    X(GdipTranslateWorldTransform)                                                                 \
    X(GdipDrawImageRectRectI)                                                                      \
    X(GdipLoadImageFromFile)                                                                       \
    X(GdipLoadImageFromStream)                                                                     \
    X(GdipGetImageBounds)                                                                          \
    X(GdipGetImagePixelFormat)

class GdiplusApi {
public:
    GdiplusApi();
    bool ok() const { return m_ok; }

    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown = nullptr;
#define VELT_GDIPLUS_MEMBER(name) decltype(&Gdiplus::DllExports::name) name = nullptr;
    VELT_GDIPLUS_FUNCTIONS(VELT_GDIPLUS_MEMBER)
#undef VELT_GDIPLUS_MEMBER

private:
    UniqueModule m_module;
    bool m_ok = false;
};

// GDI+ loaded, bound and started on first use and kept running until the process ends: every
// image object asks for it, and a start costs milliseconds. Null when gdiplus.dll is missing,
// lacks an entry point or does not start; that answer is kept too.
const GdiplusApi* ProcessGdiplus();

// A GDI+ object released through the entry point Release of the session's library.
template <typename T, auto Release>
class GdipOwned {
public:
    explicit GdipOwned(const GdiplusApi& api) : m_api(&api) {}
    ~GdipOwned() {
        if (m_object) (m_api->*Release)(m_object);
    }
    GdipOwned(const GdipOwned&) = delete;
    GdipOwned& operator=(const GdipOwned&) = delete;

    T** put() { return &m_object; }
    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    const GdiplusApi* m_api;
    T* m_object = nullptr;
};

using GdipImage = GdipOwned<Gdiplus::GpImage, &GdiplusApi::GdipDisposeImage>;
using GdipBitmap = GdipOwned<Gdiplus::GpBitmap, &GdiplusApi::GdipDisposeImage>;
using GdipGraphics = GdipOwned<Gdiplus::GpGraphics, &GdiplusApi::GdipDeleteGraphics>;
using GdipAttributes =
    GdipOwned<Gdiplus::GpImageAttributes, &GdiplusApi::GdipDisposeImageAttributes>;

} // namespace velt
