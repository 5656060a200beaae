#include "imaging/ZlibBinding.h"

namespace velt {

// The build without any zlib: the probe finds nothing, so PNG decoding uses our own inflater
// and checks no CRCs.
ZlibProbeResult ProbeZlib(bool) {
    ZlibProbeResult result;
    result.name = "zlib.dll";
    return result;
}

ZlibLibrary::ZlibLibrary() : m_probe(ProbeZlib(false)) {}

} // namespace velt
