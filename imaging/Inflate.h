#pragma once
// Our own Deflate decoder, used when no zlib library is present. It reads a zlib stream but
// skips the two header bytes unread (no preset dictionary) and ignores the Adler-32 trailer.
#include <cstddef>
#include <cstdint>
#include <span>

namespace velt {

struct InflateResult {
    bool ok = false;
    size_t produced = 0; // bytes written to the output
};

// Decodes until the block marked final. Fails on running out of input, on any block that would
// write past the end of out, on a stored block whose length check does not match, on block
// type 3 and on invalid codes or distances. Never reads or writes outside the two spans.
InflateResult InflateZlibStream(std::span<const uint8_t> in, std::span<uint8_t> out);

} // namespace velt
