// The Windows ends of the load dispatcher: standard pictures to pixels, and the system picture
// loader for what our decoders do not read.
#include "imaging/DecoderChain.h"

#include "imaging/BmpParser.h"
#include "imaging/IcoParser.h"
#include "imaging/PlatformHooks.h"
#include "imaging/modParsers_win.h"
#include "platform/ComRef_win.h"

namespace velt {

namespace {

bool ConvertIcon(IPicture* picture, c32bppDIB& host) {
    return cICOparser().ConvertstdPicTo32bpp(picture, host);
}

bool ConvertOther(IPicture* picture, c32bppDIB& host) {
    return cBMPparser::ConvertstdPicTo32bpp(picture, host, 0);
}

// ArrayToPicture checks the bytes before the system loader sees them.
bool LoadWithSystem(std::span<const uint8_t> bytes, c32bppDIB& host) {
    ComRef<IPicture> picture(ArrayToPicture(bytes));
    return picture && cBMPparser::ConvertstdPicTo32bpp(picture.get(), host, 0);
}

} // namespace

PictureConverter IconPictureConverter() { return ConvertIcon; }
PictureConverter OtherPictureConverter() { return ConvertOther; }
PictureLoader PlatformPictureLoader() { return LoadWithSystem; }

} // namespace velt
