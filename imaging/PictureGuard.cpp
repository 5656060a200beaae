#include "imaging/PictureGuard.h"

#include "imaging/ByteReader.h"
#include "imaging/IcoParser.h"
#include "platform/BmpCheck.h"

#include <cstring>

namespace velt {

namespace {

bool LooksLikeIcon(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 &&
           (bytes[2] == 1 || bytes[2] == 2) && bytes[3] == 0;
}

// A valid directory whose every entry lies inside the bytes.
bool IconIsComplete(std::span<const uint8_t> bytes) {
    if (!cICOparser().LoadStream(bytes, 0, 0, nullptr)) return false;
    const size_t count = static_cast<size_t>(bytes[4] | bytes[5] << 8);
    for (size_t k = 0; k < count; ++k) {
        const uint8_t* entry = bytes.data() + 6 + 16 * k;
        const uint64_t size = ByteReader::ReadU32LE(entry + 8);
        const uint64_t offset = ByteReader::ReadU32LE(entry + 12);
        if (offset + size > bytes.size()) return false;
    }
    return true;
}

bool StartsWith(std::span<const uint8_t> bytes, const char* text, size_t length, bool anyCase) {
    if (bytes.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        uint8_t b = bytes[i];
        if (anyCase && b >= 'A' && b <= 'Z') b = static_cast<uint8_t>(b + 32);
        if (b != static_cast<uint8_t>(text[i])) return false;
    }
    return true;
}

} // namespace

bool PlatformLoaderMayRead(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return false;
    if (LooksLikeBmp(bytes)) return BmpIsComplete(bytes);
    if (LooksLikeIcon(bytes)) return IconIsComplete(bytes);
    if (StartsWith(bytes, "gif8", 4, true)) return false;
    if (StartsWith(bytes, "\x89PNG", 4, false)) return false;
    return true;
}

} // namespace velt
