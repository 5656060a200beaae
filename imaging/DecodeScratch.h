#pragma once
// Buffers an image object lends its decoders and keeps between loads, so that decoding one
// large picture after another does not fault in fresh pages every time.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace velt {

// Uninitialised bytes that only grow; allocation failure is reported, not thrown.
class ByteBuffer {
public:
    // At least size bytes, or nullptr when they cannot be had. Contents are not kept.
    uint8_t* Reserve(size_t size) {
        if (size > m_capacity) {
            m_data.reset();
            m_capacity = 0;
            m_data.reset(new (std::nothrow) uint8_t[size]);
            if (!m_data) return nullptr;
            m_capacity = size;
        }
        return m_data.get();
    }
    // Grows to at least size bytes keeping the first keep bytes.
    bool Grow(size_t size, size_t keep) {
        if (size <= m_capacity) return true;
        std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[size]);
        if (!bigger) return false;
        if (keep) std::memcpy(bigger.get(), m_data.get(), keep);
        m_data = std::move(bigger);
        m_capacity = size;
        return true;
    }
    uint8_t* data() const { return m_data.get(); }
    size_t capacity() const { return m_capacity; }

private:
    std::unique_ptr<uint8_t[]> m_data;
    size_t m_capacity = 0;
};

struct DecodeScratch {
    ByteBuffer compressed; // concatenated IDAT data
    ByteBuffer inflated;   // decompressed scanlines
    ByteBuffer zeroRow;    // the row above the first row of an image or pass
};

} // namespace velt
