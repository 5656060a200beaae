#include "platform/BmpCheck.h"

namespace velt {

namespace {

constexpr std::int64_t kMaxSide = 16384;
constexpr std::size_t kFileHeader = 14;

std::uint32_t Read(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

} // namespace

bool LooksLikeBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

bool BmpIsComplete(std::span<const std::uint8_t> bytes) {
    if (!LooksLikeBmp(bytes) || bytes.size() < kFileHeader + 12) return false;
    std::uint32_t pixelOffset = Read(bytes, 10, 4);
    std::uint32_t headerSize = Read(bytes, kFileHeader, 4);
    bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > bytes.size() - kFileHeader)) return false;

    std::int64_t width, height;
    std::uint32_t planes, bits, compression = 0, coloursUsed = 0;
    if (core) {
        width = Read(bytes, 18, 2);
        height = Read(bytes, 20, 2);
        planes = Read(bytes, 22, 2);
        bits = Read(bytes, 24, 2);
    } else {
        width = static_cast<std::int32_t>(Read(bytes, 18, 4));
        height = static_cast<std::int32_t>(Read(bytes, 22, 4));
        planes = Read(bytes, 26, 2);
        bits = Read(bytes, 28, 2);
        compression = Read(bytes, 30, 4);
        coloursUsed = Read(bytes, 46, 4);
    }
    if (height < 0) height = -height; // top-down rows
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || planes != 1)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    std::uint64_t tables = kFileHeader + headerSize;
    if (compression == 3) { // bit fields: three masks after a 40-byte header
        if (bits != 16 && bits != 32) return false;
        if (headerSize == 40) tables += 12;
    } else if (compression != 0) {
        return false; // run-length and embedded formats are not taken
    }
    if (bits <= 8) {
        std::uint64_t most = std::uint64_t{1} << bits;
        std::uint64_t colours = coloursUsed == 0 ? most : coloursUsed;
        if (colours > most) return false;
        tables += colours * (core ? 3 : 4);
    }
    std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    std::uint64_t pixels = stride * static_cast<std::uint64_t>(height);
    return tables <= pixelOffset && pixelOffset <= bytes.size() &&
           pixels <= bytes.size() - pixelOffset;
}

} // namespace velt
