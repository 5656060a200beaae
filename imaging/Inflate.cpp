#include "imaging/Inflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <iterator>
#include <memory>

namespace velt {

namespace {

// A table entry: bits 0-7 code length to consume, 8-11 extra bits, 12-15 kind, 16-31 value.
enum Kind : uint32_t {
    kInvalid = 0,
    kLiteral = 1,
    kLength = 2,
    kEnd = 3,
    kLink = 4,
    kDistance = 5
};

constexpr uint32_t Entry(Kind kind, uint32_t length, uint32_t extra, uint32_t value) {
    return length | extra << 8 | static_cast<uint32_t>(kind) << 12 | value << 16;
}
constexpr uint32_t EntryLength(uint32_t e) { return e & 0xFF; }
constexpr uint32_t EntryExtra(uint32_t e) { return (e >> 8) & 0xF; }
constexpr uint32_t EntryKind(uint32_t e) { return (e >> 12) & 0xF; }
constexpr uint32_t EntryValue(uint32_t e) { return e >> 16; }

constexpr int kMaxCodeBits = 15;
constexpr int kLitRootBits = 10;
constexpr int kDistRootBits = 8;
constexpr int kMaxLitSymbols = 288;
constexpr int kMaxDistSymbols = 32;

// Room for the root table plus one full-depth sub-table per symbol longer than the root.
constexpr size_t kLitTableSize = (1u << kLitRootBits) +
                                 kMaxLitSymbols * (1u << (kMaxCodeBits - kLitRootBits));
constexpr size_t kDistTableSize = (1u << kDistRootBits) +
                                  kMaxDistSymbols * (1u << (kMaxCodeBits - kDistRootBits));

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

uint32_t SymbolEntry(bool literalAlphabet, int symbol, uint32_t length) {
    if (!literalAlphabet) {
        if (symbol >= 30) return Entry(kInvalid, length, 0, 0);
        return Entry(kDistance, length, kDistExtra[symbol], kDistBase[symbol]);
    }
    if (symbol < 256) return Entry(kLiteral, length, 0, static_cast<uint32_t>(symbol));
    if (symbol == 256) return Entry(kEnd, length, 0, 0);
    if (symbol > 285) return Entry(kInvalid, length, 0, 0);
    return Entry(kLength, length, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
}

uint32_t ReverseBits(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i, code >>= 1) reversed = reversed << 1 | (code & 1);
    return reversed;
}

// Builds a lookup table from code lengths. Over-subscribed sets fail; incomplete sets are kept,
// with their unused codes decoding as invalid.
bool BuildTable(const uint8_t* lengths, int count, bool literalAlphabet, int rootBits,
                uint32_t* table, size_t tableSize) {
    int lengthCount[kMaxCodeBits + 1] = {};
    for (int i = 0; i < count; ++i) ++lengthCount[lengths[i]];
    lengthCount[0] = 0;
    int left = 1;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        left = (left << 1) - lengthCount[len];
        if (left < 0) return false;
    }
    uint32_t nextCode[kMaxCodeBits + 2] = {};
    uint32_t code = 0;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        code = (code + static_cast<uint32_t>(lengthCount[len - 1])) << 1;
        nextCode[len] = code;
    }

    const size_t rootSize = size_t{1} << rootBits;
    const int subBits = kMaxCodeBits - rootBits;
    const size_t subSize = size_t{1} << subBits;
    std::fill(table, table + rootSize, Entry(kInvalid, 1, 0, 0));
    size_t used = rootSize;
    for (int symbol = 0; symbol < count; ++symbol) {
        int len = lengths[symbol];
        if (len == 0) continue;
        uint32_t reversed = ReverseBits(nextCode[len]++, len);
        uint32_t entry = SymbolEntry(literalAlphabet, symbol, static_cast<uint32_t>(len));
        if (len <= rootBits) {
            for (size_t i = reversed; i < rootSize; i += size_t{1} << len) table[i] = entry;
            continue;
        }
        size_t rootIndex = reversed & (rootSize - 1);
        if (EntryKind(table[rootIndex]) != kLink) {
            if (used + subSize > tableSize) return false;
            std::fill(table + used, table + used + subSize, Entry(kInvalid, kMaxCodeBits, 0, 0));
            table[rootIndex] = Entry(kLink, static_cast<uint32_t>(rootBits), 0,
                                     static_cast<uint32_t>(used));
            used += subSize;
        }
        uint32_t* sub = table + EntryValue(table[rootIndex]);
        int step = len - rootBits;
        for (size_t i = reversed >> rootBits; i < subSize; i += size_t{1} << step) sub[i] = entry;
    }
    return true;
}

struct Tables {
    std::array<uint32_t, kLitTableSize> lit;
    std::array<uint32_t, kDistTableSize> dist;
};

const Tables& FixedTables() {
    static const Tables fixed = [] {
        Tables t{};
        uint8_t lengths[kMaxLitSymbols];
        for (int i = 0; i < 144; ++i) lengths[i] = 8;
        for (int i = 144; i < 256; ++i) lengths[i] = 9;
        for (int i = 256; i < 280; ++i) lengths[i] = 7;
        for (int i = 280; i < 288; ++i) lengths[i] = 8;
        BuildTable(lengths, kMaxLitSymbols, true, kLitRootBits, t.lit.data(), t.lit.size());
        uint8_t distLengths[30];
        std::fill(std::begin(distLengths), std::end(distLengths), uint8_t{5});
        BuildTable(distLengths, 30, false, kDistRootBits, t.dist.data(), t.dist.size());
        return t;
    }();
    return fixed;
}

class Inflater {
public:
    Inflater(std::span<const uint8_t> in, std::span<uint8_t> out)
        : m_in(in.data()), m_inSize(in.size()), m_out(out.data()), m_outSize(out.size()) {}

    InflateResult Run() {
        if (m_inSize < 2) return {};
        m_pos = 2; // the zlib header is not read
        bool final = false;
        while (!final) {
            Refill();
            if (Overrun()) return {false, m_outPos};
            final = Bits(1) != 0;
            uint32_t type = Bits(2);
            bool ok = false;
            if (type == 0) ok = Stored();
            else if (type == 1) ok = Codes(FixedTables().lit.data(), FixedTables().dist.data());
            else if (type == 2) ok = Dynamic();
            if (!ok || Overrun()) return {false, m_outPos};
        }
        return {true, m_outPos};
    }

private:
    // Keeps at least 56 bits buffered. Past the end of the input it feeds zero bytes and counts
    // them, so that running out is detected at the next check rather than read out of bounds.
    void Refill() {
        if (m_pos + 8 <= m_inSize) {
            uint64_t word;
            std::memcpy(&word, m_in + m_pos, 8);
            m_bitBuf |= LittleEndian(word) << m_bitCount;
            m_pos += (63 - m_bitCount) >> 3;
            m_bitCount |= 56;
            return;
        }
        while (m_bitCount <= 56) {
            uint64_t byte = m_pos < m_inSize ? m_in[m_pos] : 0;
            m_bitBuf |= byte << m_bitCount;
            ++m_pos;
            m_bitCount += 8;
        }
    }

    static uint64_t LittleEndian(uint64_t word) {
        if constexpr (std::endian::native == std::endian::little) return word;
        else return __builtin_bswap64(word);
    }

    // True once more bits were consumed than the input holds.
    bool Overrun() const { return m_pos * 8 - m_bitCount > m_inSize * 8; }

    uint32_t Bits(uint32_t count) {
        uint32_t value = static_cast<uint32_t>(m_bitBuf & ((uint64_t{1} << count) - 1));
        m_bitBuf >>= count;
        m_bitCount -= count;
        return value;
    }

    void Drop(uint32_t count) {
        m_bitBuf >>= count;
        m_bitCount -= count;
    }

    uint32_t Decode(const uint32_t* table, int rootBits) {
        uint32_t e = table[m_bitBuf & ((uint64_t{1} << rootBits) - 1)];
        if (EntryKind(e) == kLink) {
            uint32_t sub = static_cast<uint32_t>(m_bitBuf >> rootBits) &
                           ((1u << (kMaxCodeBits - rootBits)) - 1);
            e = table[EntryValue(e) + sub];
        }
        Drop(EntryLength(e));
        return e;
    }

    bool Stored() {
        // Back to a byte boundary: whole bytes still in the bit buffer are returned to the input.
        Drop(m_bitCount & 7);
        m_pos -= m_bitCount >> 3;
        m_bitBuf = 0;
        m_bitCount = 0;
        if (m_pos > m_inSize || m_inSize - m_pos < 4) return false;
        uint32_t len = m_in[m_pos] | m_in[m_pos + 1] << 8;
        uint32_t check = m_in[m_pos + 2] | m_in[m_pos + 3] << 8;
        m_pos += 4;
        if (len != (~check & 0xFFFF)) return false;
        if (m_inSize - m_pos < len || m_outSize - m_outPos < len) return false;
        std::memcpy(m_out + m_outPos, m_in + m_pos, len);
        m_pos += len;
        m_outPos += len;
        return true;
    }

    bool Dynamic() {
        static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                               11, 4,  12, 3, 13, 2, 14, 1, 15};
        Refill();
        uint32_t litCount = Bits(5) + 257;
        uint32_t distCount = Bits(5) + 1;
        uint32_t codeLengthCount = Bits(4) + 4;
        if (litCount > 286 || distCount > 30) return false;
        uint8_t codeLengthLengths[19] = {};
        for (uint32_t i = 0; i < codeLengthCount; ++i) {
            Refill();
            codeLengthLengths[kOrder[i]] = static_cast<uint8_t>(Bits(3));
        }
        uint32_t clTable[1u << 7];
        if (!BuildCodeLengthTable(codeLengthLengths, clTable)) return false;

        uint8_t lengths[kMaxLitSymbols + kMaxDistSymbols] = {};
        uint32_t total = litCount + distCount;
        for (uint32_t i = 0; i < total;) {
            Refill();
            if (Overrun()) return false;
            uint32_t e = clTable[m_bitBuf & 0x7F];
            if (EntryKind(e) == kInvalid) return false;
            Drop(EntryLength(e));
            uint32_t symbol = EntryValue(e);
            if (symbol < 16) {
                lengths[i++] = static_cast<uint8_t>(symbol);
                continue;
            }
            uint8_t fill = 0;
            uint32_t repeat;
            if (symbol == 16) {
                if (i == 0) return false;
                fill = lengths[i - 1];
                repeat = 3 + Bits(2);
            } else if (symbol == 17) {
                repeat = 3 + Bits(3);
            } else {
                repeat = 11 + Bits(7);
            }
            if (repeat > total - i) return false;
            std::memset(lengths + i, fill, repeat);
            i += repeat;
        }
        if (lengths[256] == 0) return false; // a block must be able to end
        if (!m_tables) m_tables = std::make_unique<Tables>();
        if (!BuildTable(lengths, static_cast<int>(litCount), true, kLitRootBits,
                        m_tables->lit.data(), m_tables->lit.size()))
            return false;
        if (!BuildTable(lengths + litCount, static_cast<int>(distCount), false, kDistRootBits,
                        m_tables->dist.data(), m_tables->dist.size()))
            return false;
        return Codes(m_tables->lit.data(), m_tables->dist.data());
    }

    static bool BuildCodeLengthTable(const uint8_t* lengths, uint32_t* table) {
        // Code-length codes are at most 7 bits, so one root table of 128 entries holds them all.
        int lengthCount[8] = {};
        for (int i = 0; i < 19; ++i) ++lengthCount[lengths[i]];
        lengthCount[0] = 0;
        int left = 1;
        for (int len = 1; len <= 7; ++len) {
            left = (left << 1) - lengthCount[len];
            if (left < 0) return false;
        }
        uint32_t nextCode[9] = {};
        uint32_t code = 0;
        for (int len = 1; len <= 7; ++len) {
            code = (code + static_cast<uint32_t>(lengthCount[len - 1])) << 1;
            nextCode[len] = code;
        }
        std::fill(table, table + 128, Entry(kInvalid, 1, 0, 0));
        for (int symbol = 0; symbol < 19; ++symbol) {
            int len = lengths[symbol];
            if (len == 0) continue;
            uint32_t reversed = ReverseBits(nextCode[len]++, len);
            for (uint32_t i = reversed; i < 128; i += 1u << len)
                table[i] = Entry(kLiteral, static_cast<uint32_t>(len), 0,
                                 static_cast<uint32_t>(symbol));
        }
        return true;
    }

    bool Codes(const uint32_t* lit, const uint32_t* dist) {
        uint8_t* const out = m_out;
        const size_t outSize = m_outSize;
        size_t outPos = m_outPos;
        for (;;) {
            // One refill covers a length code with its extra bits and a distance code with its
            // extra bits: at most 15 + 5 + 15 + 13 = 48 of the 56 buffered bits.
            Refill();
            uint32_t e = Decode(lit, kLitRootBits);
            uint32_t kind = EntryKind(e);
            if (kind == kLiteral) {
                if (outPos >= outSize) break;
                out[outPos++] = static_cast<uint8_t>(EntryValue(e));
                continue;
            }
            if (kind == kEnd) {
                m_outPos = outPos;
                return true;
            }
            if (kind != kLength) break;
            size_t length = EntryValue(e) + Bits(EntryExtra(e));
            uint32_t d = Decode(dist, kDistRootBits);
            if (EntryKind(d) != kDistance) break;
            size_t distance = EntryValue(d) + Bits(EntryExtra(d));
            if (distance > outPos || length > outSize - outPos) break;
            // Matches never read input, so a stream that ran out can only loop until the output
            // fills; check now and then so a truncated stream stops early.
            if (Overrun()) break;
            uint8_t* dst = out + outPos;
            const uint8_t* src = dst - distance;
            if (distance >= 8 && outSize - outPos >= length + 8) {
                // Whole 8-byte words; the source stays at least 8 bytes behind the destination.
                for (size_t i = 0; i < length; i += 8) std::memcpy(dst + i, src + i, 8);
            } else if (distance == 1) {
                std::memset(dst, *src, length);
            } else {
                for (size_t i = 0; i < length; ++i) dst[i] = src[i];
            }
            outPos += length;
        }
        m_outPos = outPos;
        return false;
    }

    const uint8_t* m_in;
    size_t m_inSize;
    size_t m_pos = 0;
    uint64_t m_bitBuf = 0;
    uint32_t m_bitCount = 0;
    uint8_t* m_out;
    size_t m_outSize;
    size_t m_outPos = 0;
    std::unique_ptr<Tables> m_tables;
};

} // namespace

InflateResult InflateZlibStream(std::span<const uint8_t> in, std::span<uint8_t> out) {
    return Inflater(in, out).Run();
}

} // namespace velt
