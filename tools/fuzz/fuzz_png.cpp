// libFuzzer target for the PNG stream decoder: every input is decoded twice, with zlib (CRCs
// checked, uncompress) and without (no CRCs, our own inflater), and any image made is read
// through so that the sanitizers see every pixel written.
#include "imaging/PngParser.h"
#include "imaging/ZlibBinding.h"
#include "imaging/c32bppDIB.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static velt::ZlibLibrary zlib;
    for (const velt::ZlibApi* api : {zlib.api(), static_cast<const velt::ZlibApi*>(nullptr)}) {
        velt::c32bppDIB host;
        velt::PngServices services;
        services.zlib = api;
        velt::cPNGparser parser(services);
        parser.LoadStream({data, size}, host);
        if (const uint8_t* bits = host.BitsPointer()) {
            size_t bytes = static_cast<size_t>(host.scanWidth()) *
                           static_cast<size_t>(host.Height());
            uint32_t sum = 0;
            for (size_t i = 0; i < bytes; i += 4) sum += bits[i + 3] >= bits[i] ? 1u : 0u;
            // Premultiplied: no colour byte may exceed its alpha.
            if (sum != bytes / 4) __builtin_trap();
        }
    }
    return 0;
}
