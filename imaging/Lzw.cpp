#include "imaging/Lzw.h"

#include <cstring>

namespace velt {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr uint32_t kTableSize = 1u << kMaxCodeBits;

// Codes are read least significant bit first; the reader holds up to 64 bits.
class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> data) : m_data(data) {}

    // The next code of the given width, or false when the data has run out.
    bool Read(int width, uint32_t& code) {
        if (m_count < width) {
            Refill();
            if (m_count < width) return false;
        }
        code = static_cast<uint32_t>(m_bits) & ((1u << width) - 1);
        m_bits >>= width;
        m_count -= width;
        return true;
    }

private:
    void Refill() {
        if (m_data.size() - m_pos >= 8) {
            uint64_t word;
            std::memcpy(&word, m_data.data() + m_pos, 8);
            m_bits |= word << m_count;
            m_pos += static_cast<size_t>(63 - m_count) >> 3;
            m_count |= 56;
            return;
        }
        while (m_count <= 56 && m_pos < m_data.size()) {
            m_bits |= uint64_t{m_data[m_pos++]} << m_count;
            m_count += 8;
        }
    }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    uint64_t m_bits = 0;
    int m_count = 0;
};

struct Table {
    uint16_t prefix[kTableSize];
    uint16_t length[kTableSize];
    uint8_t suffix[kTableSize];
    uint8_t first[kTableSize];
};

} // namespace

LzwResult LzwDecode(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out) {
    LzwResult result;
    if (minCodeSize < 1 || minCodeSize > 8) {
        result.end = LzwEnd::BadCode;
        return result;
    }
    Table table; // entries past the literals are written before they are read
    const uint32_t clear = 1u << minCodeSize;
    const uint32_t endCode = clear + 1;
    for (uint32_t c = 0; c < clear; ++c) {
        table.prefix[c] = 0;
        table.length[c] = 1;
        table.suffix[c] = static_cast<uint8_t>(c);
        table.first[c] = static_cast<uint8_t>(c);
    }
    uint32_t next = clear + 2;
    int width = minCodeSize + 1;
    uint32_t previous = kTableSize; // none: the first code after a clear must be a literal
    BitReader reader(data);
    uint8_t* const begin = out.data();
    const size_t size = out.size();
    size_t at = 0;

    while (at < size) {
        uint32_t code;
        if (!reader.Read(width, code)) {
            result.end = LzwEnd::OutOfData;
            break;
        }
        if (code == clear) {
            next = clear + 2;
            width = minCodeSize + 1;
            previous = kTableSize;
            continue;
        }
        if (code == endCode) {
            result.end = LzwEnd::EndCode;
            break;
        }
        if (previous == kTableSize) {
            if (code >= clear) {
                result.end = LzwEnd::BadCode;
                break;
            }
            begin[at++] = static_cast<uint8_t>(code);
            previous = code;
            // With 1-bit codes the table already reaches the width's limit after a clear.
            if (next == (1u << width)) ++width;
            continue;
        }
        uint32_t emit = code;
        uint8_t firstByte;
        if (code < next) {
            firstByte = table.first[code];
        } else if (code == next && next < kTableSize) {
            firstByte = table.first[previous]; // the string being defined by this very code
        } else {
            result.end = LzwEnd::BadCode;
            break;
        }
        if (next < kTableSize) {
            table.prefix[next] = static_cast<uint16_t>(previous);
            table.suffix[next] = firstByte;
            table.length[next] = static_cast<uint16_t>(table.length[previous] + 1);
            table.first[next] = table.first[previous];
            ++next;
            if (next == (1u << width) && width < kMaxCodeBits) ++width;
        }
        // Strings are written from their last byte back to their first; a string longer than
        // the room left is cut at the end of the output.
        size_t length = table.length[emit];
        while (length > size - at) {
            emit = table.prefix[emit];
            --length;
        }
        uint8_t* p = begin + at + length;
        for (size_t i = 0; i < length; ++i) {
            *--p = table.suffix[emit];
            emit = table.prefix[emit];
        }
        at += length;
        previous = code;
    }
    result.produced = at;
    if (at == size && result.end != LzwEnd::BadCode) result.end = LzwEnd::Complete;
    return result;
}

} // namespace velt
