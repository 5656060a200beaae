#pragma once
// Writes GIF files for tests: our own LZW encoder (with or without clear codes when the table
// fills), frames with local tables, interlacing and graphic control extensions, and every block
// under the test's control so that damaged files are easy to make.
#include "BmpBuilder.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velt::test {

struct LzwOptions {
    bool clearWhenFull = true; // else the full table is kept until the data ends
    bool endCode = true;
};

class LzwBitWriter {
public:
    void Put(uint32_t code, int width) {
        m_bits |= uint64_t{code} << m_count;
        m_count += width;
        while (m_count >= 8) {
            bytes.push_back(static_cast<uint8_t>(m_bits));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    std::vector<uint8_t> Finish() {
        if (m_count > 0) bytes.push_back(static_cast<uint8_t>(m_bits));
        m_bits = 0;
        m_count = 0;
        return bytes;
    }
    std::vector<uint8_t> bytes;

private:
    uint64_t m_bits = 0;
    int m_count = 0;
};

// Width of the next code: what the decoder, one table entry behind the encoder, expects.
inline int LzwWidth(uint32_t next, int minCodeSize) {
    int width = minCodeSize + 1;
    while (width < 12 && next - 1 >= (1u << width)) ++width;
    return width;
}

inline std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& indexes, int minCodeSize,
                                      LzwOptions options = {}) {
    const uint32_t clear = 1u << minCodeSize;
    uint32_t next = clear + 2;
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> table;
    LzwBitWriter out;
    out.Put(clear, LzwWidth(next, minCodeSize));
    if (!indexes.empty()) {
        uint32_t current = indexes[0];
        for (size_t i = 1; i < indexes.size(); ++i) {
            const auto key = std::make_pair(current, indexes[i]);
            if (auto found = table.find(key); found != table.end()) {
                current = found->second;
                continue;
            }
            out.Put(current, LzwWidth(next, minCodeSize));
            if (next < 4096) {
                table[key] = next++;
            } else if (options.clearWhenFull) {
                out.Put(clear, 12);
                table.clear();
                next = clear + 2;
            }
            current = indexes[i];
        }
        out.Put(current, LzwWidth(next, minCodeSize));
    }
    if (options.endCode) out.Put(clear + 1, LzwWidth(next + 1, minCodeSize));
    return out.Finish();
}

// Data cut into sub-blocks of at most 255 bytes, then the terminator.
inline std::vector<uint8_t> SubBlocks(const std::vector<uint8_t>& data, size_t blockSize = 255) {
    std::vector<uint8_t> out;
    for (size_t at = 0; at < data.size(); at += blockSize) {
        const size_t n = std::min(blockSize, data.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    return out;
}

struct GifFrame {
    uint16_t left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<uint8_t> localTable; // 3 bytes an entry, a power of two entries
    int minCodeSize = 8;
    std::vector<uint8_t> indexes; // top row first, in picture order
    bool control = false;         // a graphic control extension before the frame
    bool transparent = false;
    uint8_t transparentIndex = 0;
    LzwOptions lzw;
    std::vector<uint8_t> rawData; // when set: the LZW bytes written as they are
};

struct GifFile {
    uint16_t width = 0, height = 0;
    std::vector<uint8_t> globalTable;
    std::string signature = "GIF89a";
    std::vector<uint8_t> beforeFrames; // extension blocks written after the header
    std::vector<GifFrame> frames;
};

// Table size field for a table of the given byte size (which must hold a power of two entries).
inline uint8_t TableBits(size_t bytes) {
    uint8_t bits = 0;
    while ((size_t{3} << (bits + 1)) < bytes) ++bits;
    return bits;
}

inline std::vector<uint8_t> StoredRowOrder(const GifFrame& f) {
    if (!f.interlaced) return f.indexes;
    std::vector<uint8_t> out;
    const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < f.height; y += step[pass])
            out.insert(out.end(), f.indexes.begin() + y * f.width,
                       f.indexes.begin() + (y + 1) * f.width);
    return out;
}

inline std::vector<uint8_t> BuildGif(const GifFile& g) {
    std::vector<uint8_t> out(g.signature.begin(), g.signature.end());
    PutLE16(out, g.width);
    PutLE16(out, g.height);
    out.push_back(static_cast<uint8_t>(
        g.globalTable.empty() ? 0 : 0x80 | 0x70 | TableBits(g.globalTable.size())));
    out.push_back(0); // background
    out.push_back(0); // aspect
    out.insert(out.end(), g.globalTable.begin(), g.globalTable.end());
    out.insert(out.end(), g.beforeFrames.begin(), g.beforeFrames.end());
    for (const GifFrame& f : g.frames) {
        if (f.control) {
            const uint8_t control[] = {0x21,
                                       0xF9,
                                       4,
                                       static_cast<uint8_t>(f.transparent ? 1 : 0),
                                       10,
                                       0,
                                       f.transparentIndex,
                                       0};
            out.insert(out.end(), std::begin(control), std::end(control));
        }
        out.push_back(0x2C);
        PutLE16(out, f.left);
        PutLE16(out, f.top);
        PutLE16(out, f.width);
        PutLE16(out, f.height);
        out.push_back(static_cast<uint8_t>(
            (f.localTable.empty() ? 0 : 0x80 | TableBits(f.localTable.size())) |
            (f.interlaced ? 0x40 : 0)));
        out.insert(out.end(), f.localTable.begin(), f.localTable.end());
        out.push_back(static_cast<uint8_t>(f.minCodeSize));
        const std::vector<uint8_t> data = f.rawData.empty()
                                              ? LzwEncode(StoredRowOrder(f), f.minCodeSize, f.lzw)
                                              : f.rawData;
        const std::vector<uint8_t> blocks = SubBlocks(data);
        out.insert(out.end(), blocks.begin(), blocks.end());
    }
    out.push_back(0x3B);
    return out;
}

// A frame of random indexes below colours, with a random local table when local is set.
inline GifFrame RandomFrame(uint16_t width, uint16_t height, int colourBits, bool local,
                            std::mt19937& rng) {
    GifFrame f;
    f.width = width;
    f.height = height;
    f.minCodeSize = colourBits < 2 ? 2 : colourBits;
    const uint32_t colours = 1u << colourBits;
    if (local) f.localTable = RandomPalette(colours, rng, 3);
    // Stretches of one index between noise, so that strings of every length occur.
    for (size_t i = 0; i < size_t{width} * height; ++i)
        f.indexes.push_back(
            static_cast<uint8_t>(i % 11 < 5 && i ? f.indexes.back() : rng() % colours));
    return f;
}

} // namespace velt::test
