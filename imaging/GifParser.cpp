#include "imaging/GifParser.h"

#include "imaging/DecodeScratch.h"
#include "imaging/Lzw.h"
#include "imaging/c32bppDIB.h"

#include <algorithm>
#include <cstring>

namespace velt {

namespace {

constexpr size_t kScreenHeaderBytes = 13;
constexpr size_t kDescriptorBytes = 10;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kGraphicControl = 0xF9;
constexpr uint8_t kImageSeparator = 0x2C;

uint16_t U16At(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool IsGifHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < 6) return false;
    char header[6];
    for (size_t i = 0; i < 6; ++i)
        header[i] = static_cast<char>(bytes[i] | (bytes[i] >= 'A' && bytes[i] <= 'Z' ? 0x20 : 0));
    return std::memcmp(header, "gif89a", 6) == 0 || std::memcmp(header, "gif87a", 6) == 0;
}

// Past the data sub-blocks starting at pos (each a length byte and that many bytes, ended by a
// zero length); false when the data ends first.
bool SkipSubBlocks(std::span<const uint8_t> bytes, size_t& pos) {
    while (pos < bytes.size()) {
        const uint8_t size = bytes[pos++];
        if (size == 0) return true;
        pos += size;
    }
    return false;
}

// The colour table of 2^(bits + 1) entries at pos, if the data holds it.
bool TakeColourTable(std::span<const uint8_t> bytes, uint8_t packed, size_t& pos,
                     std::span<const uint8_t>& table) {
    if (!(packed & 0x80)) return true;
    const size_t size = size_t{3} << ((packed & 7) + 1);
    if (size > bytes.size() - pos) return false;
    table = bytes.subspan(pos, size);
    pos += size;
    return true;
}

// Image row y (from the top) of the r-th row in the data: interlaced frames store every 8th row
// from 0, then every 8th from 4, every 4th from 2 and every 2nd from 1.
class RowOrder {
public:
    RowOrder(int32_t height, bool interlaced) : m_height(height), m_interlaced(interlaced) {}
    int32_t Next() {
        if (!m_interlaced) return m_y++;
        static constexpr int32_t kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
        while (m_pass < 4) {
            const int32_t y = kStart[m_pass] + m_step * kStep[m_pass];
            if (y < m_height) {
                ++m_step;
                return y;
            }
            ++m_pass;
            m_step = 0;
        }
        return 0; // never reached: there are exactly height rows
    }

private:
    int32_t m_height;
    bool m_interlaced;
    int32_t m_y = 0;
    int m_pass = 0;
    int32_t m_step = 0;
};

} // namespace

bool cGIFparser::LoadStream(std::span<const uint8_t> inStream, c32bppDIB& cHost,
                            size_t streamOffset, size_t streamLength) {
    if (streamOffset > inStream.size()) return false;
    auto bytes = inStream.subspan(streamOffset);
    if (streamLength != 0 && streamLength < bytes.size()) bytes = bytes.first(streamLength);
    if (!IsGifHeader(bytes) || bytes.size() < kScreenHeaderBytes) return false;

    size_t pos = kScreenHeaderBytes;
    std::span<const uint8_t> globalTable, localTable;
    if (!TakeColourTable(bytes, bytes[10], pos, globalTable)) return false;

    // Walk the blocks before the first image; the last graphic control extension counts.
    bool transparent = false;
    uint8_t transparentIndex = 0;
    for (;;) {
        if (pos >= bytes.size()) return false;
        const uint8_t block = bytes[pos];
        if (block == 0) {
            ++pos;
        } else if (block == kExtension) {
            if (bytes.size() - pos < 2) return false;
            if (bytes[pos + 1] == kGraphicControl) {
                if (bytes.size() - pos < 8) return false;
                transparent = (bytes[pos + 3] & 1) != 0;
                transparentIndex = bytes[pos + 6];
                pos += 8;
            } else {
                pos += 2;
                if (!SkipSubBlocks(bytes, pos)) return false;
            }
        } else {
            break;
        }
    }
    if (bytes[pos] != kImageSeparator || bytes.size() - pos < kDescriptorBytes) return false;
    const int32_t width = U16At(bytes, pos + 5);
    const int32_t height = U16At(bytes, pos + 7);
    const uint8_t packed = bytes[pos + 9];
    pos += kDescriptorBytes;
    if (!TakeColourTable(bytes, packed, pos, localTable)) return false;
    if (pos >= bytes.size() || width == 0 || height == 0) return false;
    const int minCodeSize = bytes[pos++];

    // From here on the GIF is ours: a frame we cannot decode leaves the host empty.
    if (int64_t{width} * height > kMaxGifPixels || minCodeSize < 1 || minCodeSize > 8) {
        cHost.DestroyDIB();
        return true;
    }
    DecodeScratch ownScratch;
    DecodeScratch& scratch = m_scratch ? *m_scratch : ownScratch;
    // The sub-blocks joined; a last block cut short by the end of the data counts as far as it
    // goes. Measured first, so that the buffer is sized once.
    size_t dataBytes = 0;
    for (size_t at = pos; at < bytes.size();) {
        const size_t size = bytes[at++];
        if (size == 0) break;
        dataBytes += std::min(size, bytes.size() - at);
        at += size;
    }
    uint8_t* data = scratch.compressed.Reserve(std::max<size_t>(dataBytes, 1));
    if (!data) {
        cHost.DestroyDIB();
        return true;
    }
    for (size_t at = pos, filled = 0; filled < dataBytes;) {
        const size_t take = std::min<size_t>(bytes[at], dataBytes - filled);
        std::memcpy(data + filled, bytes.data() + at + 1, take);
        filled += take;
        at += 1 + size_t{bytes[at]};
    }
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint8_t* indexes = scratch.inflated.Reserve(pixelCount);
    if (!indexes || !cHost.InitializeDIB(width, height)) {
        cHost.DestroyDIB();
        return true;
    }
    const LzwResult decoded = LzwDecode({data, dataBytes}, minCodeSize, {indexes, pixelCount});

    // Indexes through the frame's colour table (missing entries black), the transparent one clear.
    const auto table = localTable.empty() ? globalTable : localTable;
    uint32_t colours[256];
    for (size_t i = 0; i < 256; ++i) {
        colours[i] = 0xFF000000u;
        if (3 * i + 2 < table.size())
            colours[i] |= uint32_t{table[3 * i]} << 16 | uint32_t{table[3 * i + 1]} << 8 |
                          table[3 * i + 2];
    }
    if (transparent) colours[transparentIndex] = 0;

    // Pixels the data never reached stay transparent, as the frame's background.
    const PixelView pixels = cHost.Pixels();
    RowOrder order(height, (packed & 0x40) != 0);
    for (int32_t r = 0; r < height; ++r) {
        auto* out = reinterpret_cast<uint32_t*>(pixels.Row(order.Next()));
        const size_t rowStart = static_cast<size_t>(r) * static_cast<size_t>(width);
        const size_t ready = decoded.produced > rowStart
                                 ? std::min<size_t>(decoded.produced - rowStart, width)
                                 : 0;
        if (ready == 0) break; // the rest of the frame was never reached: new pixels are clear
        const uint8_t* in = indexes + rowStart;
        for (size_t x = 0; x < ready; ++x) out[x] = colours[in[x]];
    }
    DecoderAccess::SetAlpha(cHost, transparent || decoded.produced < pixelCount);
    DecoderAccess::SetImageType(cHost, itGIF);
    return true;
}

} // namespace velt
