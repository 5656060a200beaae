#include "imaging/modParsers_win.h"

#include "imaging/PictureGuard.h"
#include "platform/ComRef_win.h"
#include "platform/TrustedLibrary_win.h"

#include <olectl.h>

namespace velt {

bool DllHasFunction(const wchar_t* library, const char* function) {
    UniqueModule module = LoadTrustedLibrary(library);
    return module && GetProcAddress(module.get(), function) != nullptr;
}

IPicture* ArrayToPicture(std::span<const uint8_t> bytes) {
    if (bytes.size() > 0x7FFFFFFF || !PlatformLoaderMayRead(bytes)) return nullptr;
    ComRef<IStream> stream(StreamOverCopy(bytes));
    if (!stream) return nullptr;
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture))))
        return nullptr;
    return picture;
}

IPicture* HandleToPicture(HANDLE handle, int16_t pictureType, bool takeOwnership) {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.picType = static_cast<UINT>(pictureType);
    switch (pictureType) {
    case PICTYPE_BITMAP: description.bmp.hbitmap = static_cast<HBITMAP>(handle); break;
    case PICTYPE_ICON: description.icon.hicon = static_cast<HICON>(handle); break;
    case PICTYPE_METAFILE: description.wmf.hmeta = static_cast<HMETAFILE>(handle); break;
    case PICTYPE_ENHMETAFILE: description.emf.hemf = static_cast<HENHMETAFILE>(handle); break;
    default: return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPicture, takeOwnership,
                                        reinterpret_cast<void**>(&picture))))
        return nullptr;
    return picture;
}

} // namespace velt
