#pragma once
// zlib is not linked into the program: it is looked for at run time as "zlib1.dll" or
// "zlib.dll" in the application's folder, then the system folder, and the program runs without
// it (our own inflater, no CRC checks, no encoder).
// The native build binds the system zlib through the same interface.
#include <cstdint>
#include <span>
#include <string>

#ifdef _WIN32
#include "platform/Handles_win.h"
#endif

namespace velt {

// The entry points the imaging code calls, with zlib's own types (uLong is 32 bits on Windows).
struct ZlibApi {
    using Crc32Fn = unsigned long (*)(unsigned long crc, const unsigned char* buf,
                                      unsigned int len);
    using UncompressFn = int (*)(unsigned char* dest, unsigned long* destLen,
                                 const unsigned char* source, unsigned long sourceLen);
    using CompressFn = int (*)(unsigned char* dest, unsigned long* destLen,
                               const unsigned char* source, unsigned long sourceLen);
    using Compress2Fn = int (*)(unsigned char* dest, unsigned long* destLen,
                                const unsigned char* source, unsigned long sourceLen, int level);

    Crc32Fn crc32 = nullptr;
    UncompressFn uncompress = nullptr;
    CompressFn compress = nullptr;
    Compress2Fn compress2 = nullptr; // optional: older libraries lack it

    bool canDecode() const { return crc32 && uncompress; }
};

struct ZlibProbeResult {
    bool found = false;
    int32_t which = 0; // 2 "zlib1.dll", 1 "zlib.dll", 0 none
    std::string name;  // the name found, or the last one tried
    bool cConvention = false;
    bool hasCompress2 = false;
};

// Looks for a zlib library and reports what it offers; never keeps it loaded. The quick probe
// does not determine the calling convention (cConvention stays false).
ZlibProbeResult ProbeZlib(bool quick);

#ifdef _WIN32
// The same probe over other library names, in order; which counts down from names.size().
ZlibProbeResult ProbeZlibAmong(std::span<const char* const> names, bool quick);
#endif

// The zlib library found by a full probe, loaded for the life of this object.
class ZlibLibrary {
public:
    ZlibLibrary();
#ifdef _WIN32
    // Looks among other library names (ProbeZlibAmong).
    explicit ZlibLibrary(std::span<const char* const> names);
#endif
    ZlibLibrary(ZlibLibrary&&) noexcept = default;
    ZlibLibrary& operator=(ZlibLibrary&&) noexcept = default;

    const ZlibProbeResult& probe() const { return m_probe; }
    // The bound entry points, or nullptr when no usable library was found.
    const ZlibApi* api() const { return m_api.canDecode() ? &m_api : nullptr; }

private:
    ZlibProbeResult m_probe;
    ZlibApi m_api;
#ifdef _WIN32
    UniqueModule m_module;
#endif
};

} // namespace velt
