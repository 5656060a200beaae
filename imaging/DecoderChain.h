#pragma once
// The decoders the load dispatcher offers data to after PNG, in this order: GIF, icon and
// cursor, bitmap (which also hands other formats to the system picture loader). Each returns
// true when it recognised its format; the dispatcher then tries no further decoder.
#include <cstdint>
#include <span>

#ifdef _WIN32
struct IPicture;
#endif

namespace velt {

class c32bppDIB;
struct PngServices;

struct StreamSource {
    std::span<const uint8_t> bytes; // the selected part of the caller's data
    int32_t iconCx = 0;
    int32_t iconCy = 0;
    int32_t iconBitDepth = 32;
    const PngServices* png = nullptr; // for PNG entries of icon files
};

using StreamDecoder = bool (*)(const StreamSource& source, c32bppDIB& host);

std::span<const StreamDecoder> StreamDecodersAfterPng();

#ifdef _WIN32
// Standard pictures are converted by the icon decoder (icons) and by the bitmap decoder
// (bitmaps and metafiles).
using PictureConverter = bool (*)(IPicture* picture, c32bppDIB& host);
PictureConverter IconPictureConverter();
PictureConverter OtherPictureConverter();
#endif

} // namespace velt
