// The load entry points that start from Windows objects: resources, standard pictures, GDI
// handles and the clipboard.
#include "imaging/c32bppDIB.h"

#include "imaging/DecoderChain.h"
#include "imaging/modParsers_win.h"
#include "platform/ComRef_win.h"

#include <olectl.h>

namespace velt {

bool c32bppDIB::LoadPicture_Resource(const wchar_t* ResIndex, const wchar_t* ResSection,
                                     HMODULE ResourceHost, int32_t iconCx, int32_t iconCy,
                                     int32_t streamStart, int32_t streamLength,
                                     int32_t iconBitDepth) {
    HMODULE module = ResourceHost ? ResourceHost : GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, ResIndex, ResSection);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (!data || size == 0) {
        DestroyDIB();
        return false;
    }
    std::span<const uint8_t> bytes(static_cast<const uint8_t*>(data), size);
    return LoadPicture_Stream(bytes, iconCx, iconCy, streamStart, streamLength, false,
                              iconBitDepth);
}

bool c32bppDIB::LoadPicture_Resource(const wchar_t* ResIndex, int32_t ResSection,
                                     HMODULE ResourceHost, int32_t iconCx, int32_t iconCy, int32_t,
                                     int32_t, int32_t) {
    HMODULE module = ResourceHost ? ResourceHost : GetModuleHandleW(nullptr);
    static constexpr UINT kKinds[] = {IMAGE_BITMAP, IMAGE_ICON, IMAGE_CURSOR};
    static constexpr int16_t kPictureTypes[] = {PICTYPE_BITMAP, PICTYPE_ICON, PICTYPE_ICON};
    if (ResSection < 0 || ResSection > 2) {
        DestroyDIB();
        return false;
    }
    UINT flags = ResSection == 0 ? LR_CREATEDIBSECTION : LR_DEFAULTCOLOR;
    HANDLE handle = LoadImageW(module, ResIndex, kKinds[ResSection], ResSection ? iconCx : 0,
                               ResSection ? iconCy : 0, flags);
    // The picture takes the handle over; until it has, the handle is ours.
    auto adopt = [&](auto owned) {
        ComRef<IPicture> made(owned ? HandleToPicture(owned.get(), kPictureTypes[ResSection])
                                    : nullptr);
        if (made) owned.release();
        return made;
    };
    ComRef<IPicture> picture = ResSection == 0 ? adopt(UniqueBitmap(static_cast<HBITMAP>(handle)))
                                               : adopt(UniqueIcon(static_cast<HICON>(handle)));
    return LoadPicture_StdPicture(picture.get());
}

bool c32bppDIB::LoadPicture_StdPicture(IPicture* Picture) {
    DestroyDIB();
    if (!Picture) return false;
    SHORT type = PICTYPE_NONE;
    if (FAILED(Picture->get_Type(&type))) return false;
    PictureConverter convert = nullptr;
    if (type == PICTYPE_ICON) convert = IconPictureConverter();
    else if (type == PICTYPE_BITMAP || type == PICTYPE_METAFILE || type == PICTYPE_ENHMETAFILE)
        convert = OtherPictureConverter();
    if (!convert) return false;
    convert(Picture, *this);
    return m_bits != nullptr;
}

bool c32bppDIB::LoadPicture_ByHandle(HANDLE Handle) {
    if (!Handle) {
        DestroyDIB();
        return false;
    }
    // The caller keeps its handle: the picture made over it does not take ownership.
    ComRef<IPicture> picture;
    DWORD kind = GetObjectType(Handle);
    if (kind == OBJ_BITMAP || kind == OBJ_METAFILE || kind == OBJ_ENHMETAFILE) {
        picture = ComRef<IPicture>(HandleToPicture(Handle, PICTYPE_BITMAP, false));
    } else {
        ICONINFO info{};
        if (GetIconInfo(static_cast<HICON>(Handle), &info)) {
            UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
            picture = ComRef<IPicture>(HandleToPicture(Handle, PICTYPE_ICON, false));
        }
    }
    return LoadPicture_StdPicture(picture.get());
}

bool c32bppDIB::LoadPicture_ClipBoard() {
    const bool available = IsClipboardFormatAvailable(CF_BITMAP) ||
                           IsClipboardFormatAvailable(CF_DIB) ||
                           IsClipboardFormatAvailable(CF_ENHMETAFILE) ||
                           IsClipboardFormatAvailable(CF_METAFILEPICT);
    if (!available) {
        DestroyDIB();
        return false;
    }
    OpenedClipboard clipboard;
    if (!clipboard) {
        DestroyDIB();
        return false;
    }
    // The clipboard keeps its data; the picture only borrows it while the clipboard is open.
    ComRef<IPicture> picture;
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) {
        picture = ComRef<IPicture>(HandleToPicture(bitmap, PICTYPE_BITMAP, false));
    } else if (HANDLE metafile = GetClipboardData(CF_ENHMETAFILE)) {
        picture = ComRef<IPicture>(HandleToPicture(metafile, PICTYPE_ENHMETAFILE, false));
    }
    bool loaded = LoadPicture_StdPicture(picture.get());
    picture.reset();
    return loaded;
}

} // namespace velt
