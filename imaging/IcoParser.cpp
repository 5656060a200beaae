#include "imaging/IcoParser.h"

#include "imaging/ByteReader.h"
#include "imaging/DibDecode.h"
#include "imaging/PngParser.h"
#include "imaging/c32bppDIB.h"

#include <cstdlib>
#include <cstring>

namespace velt {

namespace {

constexpr size_t kFileHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint16_t U16At(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

int32_t Side(uint8_t stored) { return stored == 0 ? 256 : stored; }

// Bit count of a PNG entry from its header: what its pixels hold once decoded.
uint16_t PngBitCount(uint8_t bitDepth, uint8_t colourType) {
    if (bitDepth == 16 || colourType == 4 || colourType == 6) return 32;
    if (colourType == 2) return 24;
    return bitDepth;
}

} // namespace

const cICOparser::Entry* cICOparser::At(int32_t Index) const {
    if (Index < 1 || Index > IconCount()) return nullptr;
    return &m_entries[static_cast<size_t>(Index - 1)];
}

int32_t cICOparser::Width(int32_t Index) const {
    const Entry* e = At(Index);
    return e ? Side(e->width) : 0;
}

int32_t cICOparser::Height(int32_t Index) const {
    const Entry* e = At(Index);
    return e ? Side(e->height) : 0;
}

int32_t cICOparser::bitDepth(int32_t Index) const {
    const Entry* e = At(Index);
    return e ? e->bitCount : 0;
}

bool cICOparser::IsIconPNG(int32_t Index) const {
    const Entry* e = At(Index);
    return e && e->planes == 255;
}

int32_t cICOparser::ColorCount(int32_t Index) const {
    const Entry* e = At(Index);
    if (!e || e->bitCount > 8) return 0;
    // From the raw directory bytes: what the entry holds beyond its header, bits and mask.
    const int64_t colourBits = int64_t{RowBytes(e->bitCount, e->width)} * e->height;
    const int64_t mask = int64_t{RowBytes(1, e->width)} * e->height;
    const int64_t rest = int64_t{e->bytesInResource} - (colourBits + mask + (e->headerSize & 0xFF));
    return static_cast<int32_t>(rest / 4);
}

int64_t cICOparser::ColorByteOffset(int32_t Index) const {
    const Entry* e = At(Index);
    if (!e) return 0;
    return int64_t{e->imageOffset} + e->headerSize +
           (e->bitCount < 16 ? (int64_t{1} << e->bitCount) * 4 : 0);
}

bool cICOparser::Validate(std::span<const uint8_t> bytes) {
    m_entries.clear();
    m_type = 0;
    if (bytes.size() < kFileHeaderBytes) return false;
    const uint16_t type = U16At(bytes, 2);
    const uint16_t count = U16At(bytes, 4);
    if (U16At(bytes, 0) != 0 || (type != 1 && type != 2) || count < 1) return false;
    const uint64_t directoryEnd = kFileHeaderBytes + uint64_t{kEntryBytes} * count;
    if (bytes.size() < directoryEnd) return false;

    std::vector<Entry> entries(count);
    uint64_t totalData = 0;
    for (size_t k = 0; k < count; ++k) {
        const uint8_t* d = bytes.data() + kFileHeaderBytes + kEntryBytes * k;
        Entry& e = entries[k];
        e.width = d[0];
        e.height = d[1];
        e.colourCount = d[2];
        e.bitCount = static_cast<uint16_t>(d[6] | d[7] << 8);
        e.bytesInResource = ByteReader::ReadU32LE(d + 8);
        e.imageOffset = ByteReader::ReadU32LE(d + 12);
        totalData += e.bytesInResource;
    }
    if (bytes.size() - directoryEnd < totalData) return false;

    for (Entry& e : entries) {
        e.planes = 1;
        // Every entry must at least hold the part of its header that says what it is.
        if (uint64_t{e.imageOffset} + 16 > bytes.size()) return false;
        const auto data = bytes.subspan(e.imageOffset);
        if (data[14] == 'D' && data[15] == 'R') { // the end of "IHDR": a PNG entry
            e.planes = 255;
            if (data.size() < 26 || std::memcmp(data.data(), kPngSignature, 8) != 0 ||
                std::memcmp(data.data() + 12, "IHDR", 4) != 0)
                return false;
            const uint32_t width = ByteReader::ReadU32BE(data.data() + 16);
            const uint32_t height = ByteReader::ReadU32BE(data.data() + 20);
            if (width >= 1 && width <= 256) e.width = static_cast<uint8_t>(width & 0xFF);
            if (height >= 1 && height <= 256) e.height = static_cast<uint8_t>(height & 0xFF);
            const bool sizeOutside = width < 1 || width > 256 || height < 1 || height > 256;
            if (e.bitCount == 0 || sizeOutside) e.bitCount = PngBitCount(data[24], data[25]);
            continue; // a PNG entry whose bit count stays 0 is never chosen
        }
        e.headerSize = ByteReader::ReadU32LE(data.data());
        const uint16_t headerBits = U16At(data, 14);
        if (headerBits != 0) e.bitCount = headerBits;
        else if (e.bitCount == 0) return false; // no bit count anywhere
    }
    m_type = type;
    m_entries = std::move(entries);
    return true;
}

int32_t cICOparser::SelectEntry(int32_t desiredWidth, int32_t desiredHeight, int32_t depth) const {
    if (desiredWidth < 1) desiredWidth = 32;
    if (desiredHeight < 1) desiredHeight = 32;
    const int32_t count = IconCount();
    if (count == 1) return bitDepth(1) != 0 ? 1 : 0;
    auto score = [&](int32_t i) -> int64_t {
        if (bitDepth(i) > 32) return -10000;
        int64_t dW = Width(i) - desiredWidth;
        int64_t dH = Height(i) - desiredHeight;
        if (dW < 0) dW *= 2; // narrower than asked counts double
        if (dH < 0) dH *= 2;
        return dW + dH + std::llabs(int64_t{depth} - bitDepth(i));
    };
    // First pass: an exact match, else the smallest positive score; the earlier entry on a tie.
    int64_t best = 10000;
    int32_t chosen = 0;
    for (int32_t i = 1; i <= count; ++i) {
        if (bitDepth(i) == 0) continue;
        const int64_t s = score(i);
        if (s == 0) return i;
        if (s > 0 && s < best) {
            best = s;
            chosen = i;
        }
    }
    if (chosen) return chosen;
    // Only smaller (or deeper than 32-bit) entries: the closest, with the fewest missing bits;
    // the later entry on a tie.
    for (int32_t i = count; i >= 1; --i) {
        if (bitDepth(i) == 0) continue;
        const int64_t s = std::llabs(score(i)) + std::llabs(int64_t{32} - bitDepth(i));
        if (s < best) {
            best = s;
            chosen = i;
        }
    }
    return chosen ? chosen : 1;
}

bool cICOparser::DecodeBitmapEntry(std::span<const uint8_t> bytes, int32_t index,
                                   c32bppDIB& host) const {
    const Entry& e = *At(index);
    const int32_t width = Width(index), height = Height(index);
    if (e.headerSize < 40 || e.headerSize > bytes.size() - e.imageOffset) return false;
    // Our copy of the header says what the directory says: the stored height counts the mask
    // rows too, and the bit count may have come from the directory.
    const size_t copyBytes = std::min<size_t>(bytes.size() - e.imageOffset,
                                              size_t{e.headerSize} + 12);
    std::vector<uint8_t> header(bytes.begin() + e.imageOffset,
                                bytes.begin() + e.imageOffset +
                                    static_cast<std::ptrdiff_t>(copyBytes));
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            header[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    const uint32_t mostColours = e.bitCount <= 8 ? 1u << e.bitCount : 0;
    const int32_t colours = ColorCount(index);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    header[14] = static_cast<uint8_t>(e.bitCount);
    header[15] = static_cast<uint8_t>(e.bitCount >> 8);
    put32(20, 0);
    put32(24, 0);
    put32(28, 0);
    put32(32, colours > 0 && static_cast<uint32_t>(colours) <= mostColours
                  ? static_cast<uint32_t>(colours)
                  : 0);
    DibHeader dib;
    if (!ReadDibHeader(header, dib)) return false;

    const uint64_t paletteAt = uint64_t{e.imageOffset} + e.headerSize;
    const uint64_t paletteBytes = uint64_t{dib.PaletteEntries()} * 4;
    const int64_t bitsAt = ColorByteOffset(index);
    if (paletteAt + paletteBytes > bytes.size() || static_cast<uint64_t>(bitsAt) > bytes.size())
        return false;
    const auto palette = bytes.subspan(static_cast<size_t>(paletteAt),
                                       static_cast<size_t>(paletteBytes));
    const auto bits = bytes.subspan(static_cast<size_t>(bitsAt));

    // The AND mask: the last rows of the entry, one bit a pixel, bottom row first.
    const uint64_t maskStride = static_cast<uint64_t>(RowBytes(1, width));
    const uint64_t maskBytes = maskStride * static_cast<uint64_t>(height);
    const uint64_t entryEnd = uint64_t{e.imageOffset} + e.bytesInResource;
    const bool alphaEntry = e.bitCount == 32;
    if (!alphaEntry && (entryEnd > bytes.size() || maskBytes > e.bytesInResource)) return false;

    if (!host.InitializeDIB(width, height)) return false;
    const PixelView pixels = host.Pixels();
    if (!DecodeDibPixels(dib, palette, bits, pixels)) return false;

    bool anyClear = false;
    if (alphaEntry) {
        // The entry's own alpha, whatever its mask says.
        uint8_t* p = pixels.bits;
        for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n;
             ++i, p += 4) {
            const uint32_t a = p[3];
            if (a == 255) continue;
            if (a == 0) {
                std::memset(p, 0, 4);
                continue;
            }
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(MulDiv255(p[c], a));
        }
        anyClear = true;
    } else {
        const uint8_t* mask = bytes.data() + (entryEnd - maskBytes);
        for (int32_t row = 0; row < height; ++row) {
            const uint8_t* bitsRow = mask + static_cast<size_t>(row) * maskStride;
            uint8_t* p = pixels.bits + static_cast<size_t>(row) * pixels.rowBytes();
            for (int32_t x = 0; x < width; ++x, p += 4) {
                if (bitsRow[x >> 3] & (0x80 >> (x & 7))) {
                    std::memset(p, 0, 4);
                    anyClear = true;
                }
            }
        }
    }
    DecoderAccess::SetAlpha(host, anyClear);
    DecoderAccess::SetImageType(host, alphaEntry ? (IsCursor() ? itCursorAlpha : itIconAlpha)
                                                 : (IsCursor() ? itCursor : itIcon));
    return true;
}

bool cICOparser::LoadStream(std::span<const uint8_t> inStream, int32_t desiredWidth,
                            int32_t desiredHeight, c32bppDIB* cHost, size_t streamOffset,
                            size_t streamLength, int32_t icoBitDepth) {
    if (streamOffset > inStream.size()) return false;
    auto bytes = inStream.subspan(streamOffset);
    if (streamLength != 0 && streamLength < bytes.size()) bytes = bytes.first(streamLength);
    if (!Validate(bytes)) return false;
    if (!cHost) return true;

    const int32_t index = SelectEntry(desiredWidth, desiredHeight, icoBitDepth);
    if (index == 0) { // a lone entry without a bit count: nothing to decode
        cHost->DestroyDIB();
        return true;
    }
    const Entry& e = *At(index);
    if (e.planes == 255) {
        const size_t length = std::min<size_t>(e.bytesInResource, bytes.size() - e.imageOffset);
        const PngServices none;
        cPNGparser png(m_png ? *m_png : none, &DecoderAccess::Scratch(*cHost));
        const bool recognised = png.LoadStream(bytes.subspan(e.imageOffset, length), *cHost);
        if (cHost->Handle()) DecoderAccess::SetImageType(*cHost, itIconPNG);
        return recognised;
    }
    if (!DecodeBitmapEntry(bytes, index, *cHost)) cHost->DestroyDIB();
    return true;
}

} // namespace velt
