#pragma once
// cBMPparser reads .bmp data ("BM" files of every depth and compression) into a c32bppDIB.
// 32-bit plain files keep their alpha channel; every other bitmap is opaque. Whatever it does not
// read itself goes to the platform's picture loader when one is given (JPEG, metafiles...).
#include <cstddef>
#include <cstdint>
#include <span>

#ifdef _WIN32
struct IPicture;
#endif

namespace velt {

class c32bppDIB;

// Fills the host from bytes the platform's picture loader reads; false when it reads none.
using PictureLoader = bool (*)(std::span<const uint8_t> bytes, c32bppDIB& host);

class cBMPparser {
public:
    explicit cBMPparser(PictureLoader platformLoader = nullptr)
        : m_platformLoader(platformLoader) {}

    // True when an image was produced. streamLength 0 means: to the end of inStream.
    bool LoadStream(std::span<const uint8_t> inStream, c32bppDIB& cHost, size_t streamOffset = 0,
                    size_t streamLength = 0);

#ifdef _WIN32
    // A standard picture that is not an icon (bitmap, metafile, enhanced metafile) drawn into
    // the host. bitCount has no effect.
    static bool ConvertstdPicTo32bpp(IPicture* stdPic, c32bppDIB& cHost, int32_t bitCount = 0);
#endif

private:
    PictureLoader m_platformLoader;
};

// A run-length picture is at most this many pixels: a few bytes can describe any size, and no
// real picture comes near it.
inline constexpr int64_t kMaxRunLengthPixels = int64_t{1} << 24;

} // namespace velt
