#pragma once
// cPNGparser turns PNG data into the premultiplied pixels of a c32bppDIB. It is hermetic: bytes
// in, host image out. What it needs from the platform comes in through PngServices.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace velt {

class c32bppDIB;
struct DecodeScratch;
struct ZlibApi;

struct PngServices {
    // The platform's own loader, tried first (GDI+ on Windows). Given the file name when there
    // is one, and the bytes; on success it has filled the host, set Alpha and ImageType 10.
    using PlatformLoader = bool (*)(const std::filesystem::path* file,
                                    std::span<const uint8_t> bytes, c32bppDIB& host);
    PlatformLoader platformLoader = nullptr;
    // With zlib: chunk CRCs are checked and uncompress is tried first. Without: our inflater.
    const ZlibApi* zlib = nullptr;
};

class cPNGparser {
public:
    // scratch may be null; the parser then uses buffers of its own.
    explicit cPNGparser(const PngServices& services, DecodeScratch* scratch = nullptr);
    ~cPNGparser();
    cPNGparser(const cPNGparser&) = delete;
    cPNGparser& operator=(const cPNGparser&) = delete;

    // True as soon as the bytes carry the PNG signature, whether or not an image was made;
    // the host's Handle tells. streamLength 0 means: to the end of Stream.
    bool LoadStream(std::span<const uint8_t> Stream, c32bppDIB& dibClass, size_t streamOffset = 0,
                    size_t streamLength = 0);
    // False also when the file cannot be read.
    bool LoadFile(const std::filesystem::path& Filename, c32bppDIB& dibClass);
    // LoadFile for a file whose bytes the caller already holds.
    bool LoadFileBytes(const std::filesystem::path& Filename, std::span<const uint8_t> fileBytes,
                       c32bppDIB& dibClass);

    // Size of the last image made through the platform loader, for callers that ask.
    int32_t platformWidth() const { return m_platformWidth; }
    int32_t platformHeight() const { return m_platformHeight; }

private:
    bool Load(const std::filesystem::path* file, std::span<const uint8_t> bytes, c32bppDIB& host);

    PngServices m_services;
    DecodeScratch* m_scratch;
    std::unique_ptr<DecodeScratch> m_ownScratch;
    int32_t m_platformWidth = 0;
    int32_t m_platformHeight = 0;
};

} // namespace velt
