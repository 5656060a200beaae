#include "imaging/DibDecode.h"

#include "imaging/ByteReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace velt {

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

uint16_t U16At(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// One colour channel of a 16- or 32-bit pixel: which bits hold it, widened to 8 bits the way the
// system's bitmap code widens it (the top bits repeated once below the value).
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    int length = 0;

    explicit Field(uint32_t m) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        length = 32 - std::countl_zero(m >> shift);
    }
    uint32_t Expand(uint32_t pixel) const {
        if (!length) return 0;
        uint32_t value = (pixel & mask) >> shift;
        if (length >= 8) return value >> (length - 8);
        uint32_t high = value << (8 - length);
        return (high | high >> length) & 0xFF;
    }
};

struct Palette {
    uint32_t colours[256];

    Palette(const DibHeader& header, std::span<const uint8_t> table) {
        std::fill(std::begin(colours), std::end(colours), kOpaqueBlack);
        const size_t entryBytes = header.PaletteEntryBytes();
        const size_t count = std::min<size_t>(header.PaletteEntries(), table.size() / entryBytes);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = table.data() + i * entryBytes;
            colours[i] = kOpaqueBlack | uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0];
        }
    }
};

void StoreRow(uint8_t* out, const uint32_t* pixels, int32_t width) {
    std::memcpy(out, pixels, static_cast<size_t>(width) * 4);
}

void Indexed1(const uint8_t* in, uint32_t* out, int32_t width, const Palette& p) {
    int32_t x = 0;
    for (; x + 8 <= width; x += 8, ++in)
        for (int bit = 0; bit < 8; ++bit) out[x + bit] = p.colours[(*in >> (7 - bit)) & 1];
    for (int bit = 0; x < width; ++x, ++bit) out[x] = p.colours[(*in >> (7 - bit)) & 1];
}

void Indexed4(const uint8_t* in, uint32_t* out, int32_t width, const Palette& p) {
    int32_t x = 0;
    for (; x + 2 <= width; x += 2, ++in) {
        out[x] = p.colours[*in >> 4];
        out[x + 1] = p.colours[*in & 15];
    }
    if (x < width) out[x] = p.colours[*in >> 4];
}

void Indexed8(const uint8_t* in, uint32_t* out, int32_t width, const Palette& p) {
    for (int32_t x = 0; x < width; ++x) out[x] = p.colours[in[x]];
}

void Masked16(const uint8_t* in, uint32_t* out, int32_t width, const Field (&f)[3]) {
    for (int32_t x = 0; x < width; ++x, in += 2) {
        uint32_t v = static_cast<uint32_t>(in[0] | in[1] << 8);
        out[x] = kOpaqueBlack | f[0].Expand(v) << 16 | f[1].Expand(v) << 8 | f[2].Expand(v);
    }
}

// The standard 5-5-5 layout, through a table of each 5-bit value widened.
void Rgb555(const uint8_t* in, uint32_t* out, int32_t width) {
    static constexpr auto kWide = [] {
        std::array<uint8_t, 32> wide{};
        for (uint32_t v = 0; v < 32; ++v) wide[v] = static_cast<uint8_t>(v << 3 | v >> 2);
        return wide;
    }();
    for (int32_t x = 0; x < width; ++x, in += 2) {
        uint32_t v = static_cast<uint32_t>(in[0] | in[1] << 8);
        out[x] = kOpaqueBlack | uint32_t{kWide[(v >> 10) & 31]} << 16 |
                 uint32_t{kWide[(v >> 5) & 31]} << 8 | kWide[v & 31];
    }
}

void Rgb24(const uint8_t* in, uint32_t* out, int32_t width) {
    int32_t x = 0;
    // Four pixels from three aligned-size loads; the last pixels one at a time.
    for (; x + 4 <= width; x += 4, in += 12) {
        uint32_t a, b, c;
        std::memcpy(&a, in, 4);
        std::memcpy(&b, in + 4, 4);
        std::memcpy(&c, in + 8, 4);
        out[x] = kOpaqueBlack | (a & 0xFFFFFF);
        out[x + 1] = kOpaqueBlack | a >> 24 | (b & 0xFFFF) << 8;
        out[x + 2] = kOpaqueBlack | b >> 16 | (c & 0xFF) << 16;
        out[x + 3] = kOpaqueBlack | c >> 8;
    }
    for (; x < width; ++x, in += 3)
        out[x] = kOpaqueBlack | uint32_t{in[2]} << 16 | uint32_t{in[1]} << 8 | in[0];
}

void Masked32(const uint8_t* in, uint32_t* out, int32_t width, const Field (&f)[3]) {
    for (int32_t x = 0; x < width; ++x, in += 4) {
        uint32_t v = ByteReader::ReadU32LE(in);
        out[x] = (v & 0xFF000000u) | f[0].Expand(v) << 16 | f[1].Expand(v) << 8 | f[2].Expand(v);
    }
}

bool DecodeRows(const DibHeader& h, const Palette& palette, std::span<const uint8_t> bits,
                PixelView out) {
    const uint64_t stride = static_cast<uint64_t>(RowBytes(h.bitCount, h.width));
    const int32_t rows = h.Rows();
    if (stride == 0 || bits.size() / stride < static_cast<uint64_t>(rows)) return false;
    const Field fields[3] = {Field(h.masks[0]), Field(h.masks[1]), Field(h.masks[2])};
    const bool plain555 = h.bitCount == 16 && h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 &&
                          h.masks[2] == 0x001F;
    const bool plain32 = h.bitCount == 32 && h.compression == kBiRgb;
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t* in = bits.data() + static_cast<size_t>(r) * stride;
        // Memory rows run bottom-up like bottom-up files; top-down files are turned over.
        uint8_t* target = out.bits +
                          static_cast<size_t>(h.height < 0 ? rows - 1 - r : r) * out.rowBytes();
        auto* pixels = reinterpret_cast<uint32_t*>(target);
        switch (h.bitCount) {
        case 1: Indexed1(in, pixels, h.width, palette); break;
        case 4: Indexed4(in, pixels, h.width, palette); break;
        case 8: Indexed8(in, pixels, h.width, palette); break;
        case 16:
            if (plain555) Rgb555(in, pixels, h.width);
            else Masked16(in, pixels, h.width, fields);
            break;
        case 24: Rgb24(in, pixels, h.width); break;
        default:
            if (plain32) StoreRow(target, reinterpret_cast<const uint32_t*>(in), h.width);
            else Masked32(in, pixels, h.width, fields);
            break;
        }
    }
    return true;
}

// Run-length data: pairs (count, value) and escapes (0, 0) end of row, (0, 1) end of picture,
// (0, 2, dx, dy) a jump, (0, n) n literal pixels padded to a 16-bit boundary. Rows run from the
// bottom. Pixels past the right edge are dropped; data that stops early ends the picture.
void DecodeRle(const DibHeader& h, const Palette& palette, std::span<const uint8_t> bits,
               PixelView out) {
    const bool four = h.compression == kBiRle4;
    const int64_t width = h.width, rows = h.height;
    int64_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (x < width && y < rows)
            reinterpret_cast<uint32_t*>(out.bits + static_cast<size_t>(y) *
                                                       out.rowBytes())[x] = palette.colours[index];
        ++x;
    };
    ByteReader in(bits);
    while (y < rows) {
        const uint8_t count = in.U8();
        const uint8_t value = in.U8();
        if (!in.ok()) return;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(four ? (i & 1 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            x += in.U8();
            y += in.U8();
        } else {
            const size_t dataBytes = four ? (value + 1u) / 2 : value;
            auto literal = in.Take(dataBytes + (dataBytes & 1));
            if (literal.empty()) return;
            for (int i = 0; i < value && x < width; ++i)
                put(four ? (i & 1 ? literal[i / 2] & 15 : literal[i / 2] >> 4) : literal[i]);
        }
    }
}

} // namespace

uint32_t DibHeader::PaletteEntries() const {
    if (bitCount > 8) return 0;
    const uint32_t most = 1u << bitCount;
    return coloursUsed == 0 || coloursUsed > most ? most : coloursUsed;
}

bool ReadDibHeader(std::span<const uint8_t> bytes, DibHeader& header) {
    header = {};
    if (bytes.size() < 12) return false;
    header.headerSize = ByteReader::ReadU32LE(bytes.data());
    if (header.core()) {
        header.width = U16At(bytes, 4);
        header.height = U16At(bytes, 6);
        header.bitCount = U16At(bytes, 10);
    } else {
        if (header.headerSize < 40 || bytes.size() < 40) return false;
        header.width = static_cast<int32_t>(ByteReader::ReadU32LE(bytes.data() + 4));
        header.height = static_cast<int32_t>(ByteReader::ReadU32LE(bytes.data() + 8));
        header.bitCount = U16At(bytes, 14);
        header.compression = ByteReader::ReadU32LE(bytes.data() + 16);
        header.coloursUsed = ByteReader::ReadU32LE(bytes.data() + 32);
    }
    if (header.width < 1 || header.height == 0 || header.height == INT32_MIN) return false;
    switch (header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (header.compression == kBiRgb) break;
        if (header.compression == kBiRle8 && header.bitCount == 8) break;
        if (header.compression == kBiRle4 && header.bitCount == 4) break;
        return false;
    case 16:
    case 32:
        if (header.core() || (header.compression != kBiRgb && header.compression != kBiBitfields))
            return false;
        break;
    default: return false;
    }
    // Run-length pictures are always stored bottom-up.
    if (header.compression != kBiRgb && header.compression != kBiBitfields && header.height < 0)
        return false;
    if (header.compression == kBiBitfields) {
        // Masks live in the larger headers, or in the 12 bytes after a 40-byte one.
        const size_t at = 40;
        if (header.headerSize == 40) header.maskBytesAfterHeader = 12;
        if (bytes.size() < at + 12) return false;
        for (int i = 0; i < 3; ++i)
            header.masks[i] = ByteReader::ReadU32LE(bytes.data() + at + 4 * static_cast<size_t>(i));
    } else if (header.bitCount == 16) {
        header.masks[0] = 0x7C00;
        header.masks[1] = 0x03E0;
        header.masks[2] = 0x001F;
    } else if (header.bitCount == 32) {
        header.masks[0] = 0xFF0000;
        header.masks[1] = 0xFF00;
        header.masks[2] = 0xFF;
    }
    return true;
}

uint64_t DibPixelBytes(const DibHeader& header) {
    return static_cast<uint64_t>(RowBytes(header.bitCount, header.width)) *
           static_cast<uint64_t>(header.Rows());
}

bool DecodeDibPixels(const DibHeader& header, std::span<const uint8_t> palette,
                     std::span<const uint8_t> bits, PixelView out) {
    if (out.empty() || out.width != header.width || out.height != header.Rows()) return false;
    const Palette colours(header, palette);
    if (header.compression == kBiRle8 || header.compression == kBiRle4) {
        auto* pixels = reinterpret_cast<uint32_t*>(out.bits);
        std::fill(pixels, pixels + static_cast<size_t>(out.width) * static_cast<size_t>(out.height),
                  kOpaqueBlack);
        DecodeRle(header, colours, bits, out);
        return true;
    }
    return DecodeRows(header, colours, bits, out);
}

} // namespace velt
