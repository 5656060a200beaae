#include "imaging/cGDIPlus_win.h"

#include "imaging/GdipDraw_win.h"
#include "imaging/GdiplusApi_win.h"
#include "imaging/PixelOps.h"
#include "imaging/SoftwareDraw.h"
#include "imaging/c32bppDIB.h"
#include "imaging/modParsers_win.h"
#include "platform/ComRef_win.h"
#include "platform/Files.h"

#include <cstring>
#include <memory>

namespace velt {

namespace {

using namespace Gdiplus;

constexpr PixelFormat kPremultiplied = PixelFormat32bppPARGB; // &HE200B
constexpr PixelFormat kStraightAlpha = PixelFormat32bppARGB;  // &H26200A
// The JPEG quality parameter; gdiplus.dll is not linked, so its GUID is spelled out here.
constexpr GUID kEncoderQuality = {
    0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};

// A GDI+ bitmap over an image's own pixel memory, upright: it starts at the top row and steps
// backwards through the bottom-up rows, so nothing has to be flipped in place.
bool BitmapOver(const GdiplusApi& api, PixelView pixels, GdipBitmap& bitmap) {
    if (pixels.empty()) return false;
    return api.GdipCreateBitmapFromScan0(pixels.width, pixels.height,
                                         -static_cast<INT>(pixels.rowBytes()), kPremultiplied,
                                         pixels.Row(0), bitmap.put()) == Ok;
}

bool FindEncoder(const GdiplusApi& api, const wchar_t* mimeType, CLSID& clsid) {
    UINT count = 0, size = 0;
    if (api.GdipGetImageEncodersSize(&count, &size) != Ok || size == 0) return false;
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size]);
    if (!buffer) return false;
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.get());
    if (api.GdipGetImageEncoders(count, size, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && lstrcmpiW(codecs[i].MimeType, mimeType) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool CopyStream(IStream* stream, std::vector<uint8_t>& out) {
    HGLOBAL memory = nullptr;
    if (FAILED(GetHGlobalFromStream(stream, &memory))) return false;
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
    size_t size = static_cast<size_t>(stat.cbSize.QuadPart);
    const void* bytes = GlobalLock(memory);
    if (!bytes) return false;
    bool ok = true;
    try {
        out.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    GlobalUnlock(memory);
    return ok;
}

bool Save(const std::filesystem::path& file, std::vector<uint8_t>& out, const c32bppDIB& host,
          const wchar_t* mimeType, const EncoderParameters* parameters) {
    const GdiplusApi* gdiplus = ProcessGdiplus();
    if (!host.BitsPointer() || !gdiplus) return false;
    const GdiplusApi& api = *gdiplus;
    GdipBitmap bitmap(api);
    CLSID encoder{};
    if (!BitmapOver(api, host.Pixels(), bitmap) || !FindEncoder(api, mimeType, encoder))
        return false;
    if (file.empty()) {
        out.clear();
        ComRef<IStream> stream;
        if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return false;
        if (api.GdipSaveImageToStream(bitmap.get(), stream.get(), &encoder, parameters) != Ok)
            return false;
        return CopyStream(stream.get(), out);
    }
    if (!RemoveFile(file)) return false; // a file in use stays as it was
    return api.GdipSaveImageToFile(bitmap.get(), file.c_str(), &encoder, parameters) == Ok;
}

} // namespace

bool DrawWithGdip(const GdiplusApi& api, GpGraphics* graphics, const c32bppDIB& image,
                  const cGDIPlus::DrawRequest& r) {
    const int32_t hSign = r.dw < 0 ? -1 : 1, vSign = r.dh < 0 ? -1 : 1;
    const int32_t dw = r.dw * hSign, dh = r.dh * vSign;
    // Mirroring is done here, on a copy of the source rectangle: drawing into rectangles of
    // negative extent is not mapped the same way by every GDI+.
    PixelView source = image.Pixels();
    SourceRect src{r.sx, r.sy, r.sw, r.sh};
    WorkBuffer mirrored;
    if (hSign < 0 || vSign < 0) {
        int32_t w = r.dw, h = r.dh;
        if (!MirrorCopy(source, src, w, h, &mirrored, nullptr)) return false;
        source = mirrored.view();
    }
    GdipBitmap bitmap(api);
    if (!BitmapOver(api, source, bitmap)) return false;
    api.GdipSetInterpolationMode(graphics, r.highQuality ? InterpolationModeHighQualityBicubic
                                                         : InterpolationModeNearestNeighbor);
    // Pixel centres at half coordinates: otherwise scaled and mirrored drawings shift by half a
    // source pixel.
    api.GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);

    // Scaled pixels at the picture's edges sample their neighbours mirrored back inside it, not
    // the transparent outside: otherwise an enlarged opaque picture fades along its right and
    // bottom edges. Attributes that cannot be made or set are left out: the picture is still
    // drawn, only without them.
    GdipAttributes attributes(api);
    GpImageAttributes* used = nullptr;
    if (api.GdipCreateImageAttributes(attributes.put()) == Ok) {
        used = attributes.get();
        api.GdipSetImageAttributesWrapMode(used, WrapModeTileFlipXY, 0, FALSE);
    }
    ColorMatrix matrix{};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1;
    bool useMatrix = false;
    if (r.grayFormula != -1) {
        GrayWeightSet w = GrayWeights(r.grayFormula);
        for (int column = 0; column < 3; ++column) {
            matrix.m[0][column] = w.red;
            matrix.m[1][column] = w.green;
            matrix.m[2][column] = w.blue;
        }
        useMatrix = true;
    }
    if (r.angle != 0 || r.opacity != 100) {
        matrix.m[3][3] = static_cast<REAL>(r.opacity) / 100.0f;
        useMatrix = true;
    }
    if (useMatrix && used)
        api.GdipSetImageAttributesColorMatrix(used, ColorAdjustTypeDefault, TRUE, &matrix, nullptr,
                                              ColorMatrixFlagsDefault);

    if (r.angle != 0) {
        // Turn about the destination's centre: the rectangle drawn negated is the image turned
        // by 180 degrees, which the extra 180 of the rotation undoes.
        api.GdipRotateWorldTransform(graphics, r.angle + 180.0f, MatrixOrderPrepend);
        api.GdipTranslateWorldTransform(graphics, static_cast<REAL>(r.dx + (dw / 2) * hSign),
                                        static_cast<REAL>(r.dy + (dh / 2) * vSign),
                                        MatrixOrderAppend);
        return api.GdipDrawImageRectRectI(graphics, bitmap.get(), dw / 2, dh / 2, -dw, -dh, src.x,
                                          src.y, src.width, src.height, UnitPixel, used, nullptr,
                                          nullptr) == Ok;
    }
    return api.GdipDrawImageRectRectI(graphics, bitmap.get(), r.dx, r.dy, dw, dh, src.x, src.y,
                                      src.width, src.height, UnitPixel, used, nullptr,
                                      nullptr) == Ok;
}

bool cGDIPlus::isGDIplusOk() { return ProcessGdiplus() != nullptr; }

bool cGDIPlus::SaveToPNG(const std::filesystem::path& Filename, std::vector<uint8_t>& outStream,
                         const c32bppDIB& cHost) {
    return Save(Filename, outStream, cHost, L"image/png", nullptr);
}

bool cGDIPlus::SaveToJPG(const std::filesystem::path& Filename, std::vector<uint8_t>& outStream,
                         const c32bppDIB& cHost) {
    ULONG quality = 90;
    EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = kEncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    return Save(Filename, outStream, cHost, L"image/jpeg", &parameters);
}

bool cGDIPlus::RenderWithGdip(const c32bppDIB& image, HDC destination, const DrawRequest& request) {
    if (request.opacity == 0) return true;
    const GdiplusApi* api = ProcessGdiplus();
    if (!api || !destination) return false;
    GdipGraphics graphics(*api);
    if (api->GdipCreateFromHDC(destination, graphics.put()) != Ok) return false;
    return DrawWithGdip(*api, graphics.get(), image, request);
}

bool cGDIPlus::RenderWithGdip(const c32bppDIB& image, c32bppDIB& destination,
                              const DrawRequest& request) {
    if (request.opacity == 0) return true;
    if (!ProcessGdiplus()) return false;
    const GdiplusApi& api = *ProcessGdiplus();
    GdipBitmap target(api);
    GdipGraphics graphics(api);
    if (!BitmapOver(api, destination.Pixels(), target) ||
        api.GdipGetImageGraphicsContext(target.get(), graphics.put()) != Ok)
        return false;
    return DrawWithGdip(api, graphics.get(), image, request);
}

bool cGDIPlus::LoadWithGdip(const std::filesystem::path* file, std::span<const uint8_t> bytes,
                            c32bppDIB& host) {
    if (!ProcessGdiplus()) return false;
    const GdiplusApi& api = *ProcessGdiplus();
    GdipImage picture(api);
    if (file) {
        if (api.GdipLoadImageFromFile(file->c_str(), picture.put()) != Ok) return false;
    } else {
        ComRef<IStream> stream(StreamOverCopy(bytes));
        if (!stream || api.GdipLoadImageFromStream(stream.get(), picture.put()) != Ok) return false;
    }
    RectF bounds{};
    Unit unit = UnitPixel;
    PixelFormat format = 0;
    bool drawn = false;
    if (api.GdipGetImageBounds(picture.get(), &bounds, &unit) == Ok && bounds.Width >= 1 &&
        bounds.Height >= 1 && bounds.Width < INT32_MAX && bounds.Height < INT32_MAX &&
        host.InitializeDIB(static_cast<int32_t>(bounds.Width),
                           static_cast<int32_t>(bounds.Height))) {
        GdipBitmap target(api);
        GdipGraphics graphics(api);
        drawn = BitmapOver(api, host.Pixels(), target) &&
                api.GdipGetImageGraphicsContext(target.get(), graphics.put()) == Ok &&
                api.GdipDrawImageRectRectI(graphics.get(), picture.get(), 0, 0, host.Width(),
                                           host.Height(), static_cast<INT>(bounds.X),
                                           static_cast<INT>(bounds.Y), host.Width(), host.Height(),
                                           UnitPixel, nullptr, nullptr, nullptr) == Ok &&
                api.GdipGetImagePixelFormat(picture.get(), &format) == Ok;
    }
    if (!drawn) {
        host.DestroyDIB();
        return false;
    }
    // Formats other than 32-bit ARGB can carry transparency too (palettes with a tRNS chunk,
    // 64-bit ARGB), so transparency that came through counts as well.
    bool alpha = format == kStraightAlpha || format == kPremultiplied;
    if (!alpha) {
        PixelView pixels = host.Pixels();
        size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
        for (size_t i = 0; i < count && !alpha; ++i) alpha = pixels.bits[i * 4 + 3] != 255;
    }
    DecoderAccess::SetAlpha(host, alpha);
    DecoderAccess::SetImageType(host, itPNG);
    return true;
}

} // namespace velt
