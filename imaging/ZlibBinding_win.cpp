#include "imaging/ZlibBinding.h"

#include "platform/TrustedLibrary_win.h"

namespace velt {

namespace {

template <typename Fn>
Fn Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// "zlib1.dll" is the name current builds use; "zlib.dll" the older one.
constexpr const char* kZlibNames[] = {"zlib1.dll", "zlib.dll"};

} // namespace

ZlibProbeResult ProbeZlib(bool quick) { return ProbeZlibAmong(kZlibNames, quick); }

ZlibProbeResult ProbeZlibAmong(std::span<const char* const> names, bool quick) {
    ZlibProbeResult result;
    int tries = static_cast<int>(names.size());
    for (const char* name : names) {
        result.name = name;
        UniqueModule module = LoadTrustedLibrary(name);
        if (module && GetProcAddress(module.get(), "crc32")) {
            result.hasCompress2 = GetProcAddress(module.get(), "compress2") != nullptr;
            // x64 has a single calling convention, in which the caller removes the arguments:
            // the C convention. Only the full probe reports it.
            result.cConvention = !quick;
            break;
        }
        --tries; // missing, or not a zlib: try the next name
    }
    result.found = tries > 0;
    result.which = tries;
    return result;
}

ZlibLibrary::ZlibLibrary() : ZlibLibrary(kZlibNames) {}

ZlibLibrary::ZlibLibrary(std::span<const char* const> names)
    : m_probe(ProbeZlibAmong(names, false)) {
    if (!m_probe.found) return;
    m_module = LoadTrustedLibrary(m_probe.name.c_str());
    if (!m_module) return;
    HMODULE module = m_module.get();
    m_api.crc32 = Entry<ZlibApi::Crc32Fn>(module, "crc32");
    m_api.uncompress = Entry<ZlibApi::UncompressFn>(module, "uncompress");
    m_api.compress = Entry<ZlibApi::CompressFn>(module, "compress");
    m_api.compress2 = Entry<ZlibApi::Compress2Fn>(module, "compress2");
}

} // namespace velt
