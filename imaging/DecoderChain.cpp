#include "imaging/DecoderChain.h"

#include "imaging/BmpParser.h"
#include "imaging/GifParser.h"
#include "imaging/IcoParser.h"
#include "imaging/PlatformHooks.h"
#include "imaging/c32bppDIB.h"

#include <array>

namespace velt {

namespace {

bool DecodeGif(const StreamSource& source, c32bppDIB& host) {
    return cGIFparser(&DecoderAccess::Scratch(host)).LoadStream(source.bytes, host);
}

bool DecodeIcon(const StreamSource& source, c32bppDIB& host) {
    return cICOparser(source.png)
        .LoadStream(source.bytes, source.iconCx, source.iconCy, &host, 0, 0, source.iconBitDepth);
}

bool DecodeBitmap(const StreamSource& source, c32bppDIB& host) {
    return cBMPparser(PlatformPictureLoader()).LoadStream(source.bytes, host);
}

constexpr std::array<StreamDecoder, 3> kDecodersAfterPng{DecodeGif, DecodeIcon, DecodeBitmap};

} // namespace

std::span<const StreamDecoder> StreamDecodersAfterPng() { return kDecodersAfterPng; }

} // namespace velt
