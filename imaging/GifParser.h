#pragma once
// cGIFparser reads the first frame of a GIF (87a or 89a) into a c32bppDIB, sized to that frame,
// with the transparent index of the last graphic control extension before it. The LZW data is
// decoded here, not by the platform.
#include <cstddef>
#include <cstdint>
#include <span>

namespace velt {

class c32bppDIB;
struct DecodeScratch;

class cGIFparser {
public:
    // scratch may be null; the parser then uses buffers of its own.
    explicit cGIFparser(DecodeScratch* scratch = nullptr) : m_scratch(scratch) {}

    // False when the bytes are not a GIF or hold no image; true otherwise, with the host empty
    // when the frame could not be decoded. streamLength 0 means: to the end of inStream.
    bool LoadStream(std::span<const uint8_t> inStream, c32bppDIB& cHost, size_t streamOffset = 0,
                    size_t streamLength = 0);

private:
    DecodeScratch* m_scratch;
};

// A frame is at most this many pixels: a few bytes of LZW data can describe any size.
inline constexpr int64_t kMaxGifPixels = int64_t{1} << 24;

} // namespace velt
