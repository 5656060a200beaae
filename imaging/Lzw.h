#pragma once
// The variable-length LZW of GIF image data: codes of minimum code size + 1 bits, growing to 12,
// a clear code that resets the table, an end code, and a table that stays full at 4096 entries
// until the next clear code.
#include <cstddef>
#include <cstdint>
#include <span>

namespace velt {

enum class LzwEnd {
    Complete,  // the output is full (or the end code came just as it filled)
    EndCode,   // the end code came before the output was full
    OutOfData, // the data stopped before the output was full
    BadCode,   // a code that is not in the table yet
};

struct LzwResult {
    size_t produced = 0; // bytes of out written, from the start
    LzwEnd end = LzwEnd::Complete;
};

// Decodes data (the image's sub-blocks joined) into out. minCodeSize must be 1 to 8: the
// caller checks it.
LzwResult LzwDecode(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out);

} // namespace velt
