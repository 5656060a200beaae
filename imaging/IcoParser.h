#pragma once
// cICOparser reads icon and cursor files: it checks the directory on a copy of its own (the
// caller's bytes are never changed), picks the entry that best fits a requested size and depth,
// and decodes it into a c32bppDIB. Bitmap entries go through our bitmap decoding, PNG entries
// through the PNG decoder.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#ifdef _WIN32
struct IPicture;
#endif

namespace velt {

class c32bppDIB;
struct PngServices;

class cICOparser {
public:
    // png: what the PNG decoder of PNG entries may use; null gives it no platform loader and no
    // zlib.
    explicit cICOparser(const PngServices* png = nullptr) : m_png(png) {}

    // True when the bytes form a valid icon or cursor file; the image exists only if the host
    // was filled. Without a host the file is only checked and the entry properties filled.
    // streamLength 0 means: to the end of inStream.
    bool LoadStream(std::span<const uint8_t> inStream, int32_t desiredWidth, int32_t desiredHeight,
                    c32bppDIB* cHost, size_t streamOffset = 0, size_t streamLength = 0,
                    int32_t icoBitDepth = 32);

#ifdef _WIN32
    // A standard picture holding an icon or cursor, with its mask as the transparency.
    bool ConvertstdPicTo32bpp(IPicture* stdPic, c32bppDIB& cHost);
#endif

    // Entry properties after a LoadStream; Index counts from 1, and 0 is the answer outside.
    int32_t IconCount() const { return static_cast<int32_t>(m_entries.size()); }
    int32_t Width(int32_t Index) const;
    int32_t Height(int32_t Index) const;
    int32_t bitDepth(int32_t Index) const;
    bool IsIconPNG(int32_t Index) const;
    int32_t ColorCount(int32_t Index) const;
    int64_t ColorByteOffset(int32_t Index) const;
    bool IsCursor() const { return m_type == 2; }

    // The entry (from 1) that LoadStream decodes for the request: the best-fitting one.
    int32_t SelectEntry(int32_t desiredWidth, int32_t desiredHeight, int32_t bitDepth) const;

private:
    struct Entry {
        uint8_t width = 0; // 0 means 256
        uint8_t height = 0;
        uint8_t colourCount = 0;
        uint16_t planes = 0; // 255 marks a PNG entry
        uint16_t bitCount = 0;
        uint32_t bytesInResource = 0;
        uint32_t imageOffset = 0;
        uint32_t headerSize = 0; // of a bitmap entry, as stored
    };

    bool Validate(std::span<const uint8_t> bytes);
    bool DecodeBitmapEntry(std::span<const uint8_t> bytes, int32_t index, c32bppDIB& host) const;
    const Entry* At(int32_t Index) const;

    const PngServices* m_png;
    uint16_t m_type = 0;
    std::vector<Entry> m_entries;
};

} // namespace velt
