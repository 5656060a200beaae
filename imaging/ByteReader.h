#pragma once
// A cursor over a byte span that checks every read. The first read past the end marks the
// reader failed; later reads return zero, so a parser can read a record and test once.
#include <cstddef>
#include <cstdint>
#include <span>

namespace velt {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    size_t position() const { return m_pos; }
    size_t remaining() const { return m_bytes.size() - m_pos; }
    bool Has(uint64_t count) const { return count <= remaining(); }

    void Seek(size_t position) {
        if (position > m_bytes.size()) {
            m_ok = false;
            m_pos = m_bytes.size();
        } else {
            m_pos = position;
        }
    }

    void Skip(uint64_t count) {
        if (!Has(count)) {
            m_ok = false;
            m_pos = m_bytes.size();
            return;
        }
        m_pos += static_cast<size_t>(count);
    }

    // The next count bytes, or an empty span (and a failed reader) when they are not there.
    std::span<const uint8_t> Take(uint64_t count) {
        if (!Has(count)) {
            m_ok = false;
            m_pos = m_bytes.size();
            return {};
        }
        auto part = m_bytes.subspan(m_pos, static_cast<size_t>(count));
        m_pos += static_cast<size_t>(count);
        return part;
    }

    uint8_t U8() {
        auto b = Take(1);
        return b.empty() ? 0 : b[0];
    }
    uint16_t U16BE() {
        auto b = Take(2);
        return b.empty() ? 0 : static_cast<uint16_t>(b[0] << 8 | b[1]);
    }
    uint32_t U32BE() {
        auto b = Take(4);
        return b.empty() ? 0 : ReadU32BE(b.data());
    }
    uint16_t U16LE() {
        auto b = Take(2);
        return b.empty() ? 0 : static_cast<uint16_t>(b[1] << 8 | b[0]);
    }
    uint32_t U32LE() {
        auto b = Take(4);
        return b.empty() ? 0 : ReadU32LE(b.data());
    }

    static uint32_t ReadU32BE(const uint8_t* p) {
        return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
    }
    static uint32_t ReadU32LE(const uint8_t* p) {
        return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace velt
