#include "imaging/BmpParser.h"

#include "imaging/ByteReader.h"
#include "imaging/DibDecode.h"
#include "imaging/c32bppDIB.h"

namespace velt {

namespace {

constexpr size_t kFileHeaderBytes = 14;

// Our own decoding of a "BM" file: false, with the host untouched, for what it does not read.
bool DecodeBmp(std::span<const uint8_t> bytes, c32bppDIB& host) {
    DibHeader header;
    if (!ReadDibHeader(bytes.subspan(kFileHeaderBytes), header)) return false;
    const uint64_t paletteAt = uint64_t{kFileHeaderBytes} + header.headerSize +
                               header.maskBytesAfterHeader;
    const uint64_t paletteBytes = uint64_t{header.PaletteEntries()} * header.PaletteEntryBytes();
    if (paletteAt > bytes.size() || paletteBytes > bytes.size() - paletteAt) return false;
    uint64_t pixelsAt = ByteReader::ReadU32LE(bytes.data() + 10);
    if (pixelsAt == 0) pixelsAt = paletteAt + paletteBytes; // some writers leave it unset
    if (pixelsAt > bytes.size()) return false;
    const auto bits = bytes.subspan(static_cast<size_t>(pixelsAt));
    const bool runLength = header.compression == kBiRle8 || header.compression == kBiRle4;
    if (runLength) {
        if (int64_t{header.width} * header.Rows() > kMaxRunLengthPixels) return false;
    } else if (DibPixelBytes(header) == 0 || DibPixelBytes(header) > bits.size()) {
        return false; // rows missing: not a complete picture
    }
    if (!host.InitializeDIB(header.width, header.Rows())) return false;
    const auto palette = bytes.subspan(static_cast<size_t>(paletteAt),
                                       static_cast<size_t>(paletteBytes));
    if (!DecodeDibPixels(header, palette, bits, host.Pixels())) {
        host.DestroyDIB();
        return false;
    }
    // Only plain 32-bit pixels may carry alpha; every other bitmap is opaque (other depths
    // were decoded with alpha 255 already).
    int32_t type = itBitmap;
    bool alpha = false;
    if (header.bitCount == 32) {
        type = header.compression == kBiRgb ? itBlank : itNone;
        alpha = ClassifyAlpha(host.Pixels(), true, type);
    }
    DecoderAccess::SetAlpha(host, alpha);
    DecoderAccess::SetImageType(host, type);
    return true;
}

} // namespace

bool cBMPparser::LoadStream(std::span<const uint8_t> inStream, c32bppDIB& cHost,
                            size_t streamOffset, size_t streamLength) {
    if (streamOffset > inStream.size()) return false;
    auto bytes = inStream.subspan(streamOffset);
    if (streamLength != 0 && streamLength < bytes.size()) bytes = bytes.first(streamLength);

    if (bytes.size() >= kFileHeaderBytes + 16 && bytes[0] == 'B' && bytes[1] == 'M') {
        const auto width = static_cast<int32_t>(ByteReader::ReadU32LE(bytes.data() + 18));
        const auto height = static_cast<int32_t>(ByteReader::ReadU32LE(bytes.data() + 22));
        // A bitmap without pixels is refused here, not offered to anyone else.
        if (width < 1 || height == 0) return false;
        if (DecodeBmp(bytes, cHost)) return true;
    }
    if (cHost.Handle() || !m_platformLoader) return false;
    return m_platformLoader(bytes, cHost);
}

} // namespace velt
