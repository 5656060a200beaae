#include "imaging/ZlibBinding.h"

#include <zlib.h>

namespace velt {

// The native build links the system zlib, so the probe always finds it: C convention and
// compress2 present.
ZlibProbeResult ProbeZlib(bool quick) {
    ZlibProbeResult result;
    result.found = true;
    result.which = 2;
    result.name = "libz";
    result.cConvention = !quick;
    result.hasCompress2 = true;
    return result;
}

ZlibLibrary::ZlibLibrary() : m_probe(ProbeZlib(false)) {
    m_api.crc32 = ::crc32;
    m_api.uncompress = ::uncompress;
    m_api.compress = ::compress;
    m_api.compress2 = ::compress2;
}

} // namespace velt
